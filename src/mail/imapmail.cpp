#include "mail/imapmail.h"

#include "mail/imapconnection.h"
#include "mail/imaplogon.h"
#include "mail/mailerror.h"
#include "mail/pophost.h"

namespace {

// "1:3,7" for a set of UIDs (sorted, runs joined).
QByteArray uidSet(QList<qint64> uids)
{
    std::sort(uids.begin(), uids.end());
    QByteArray out;
    for (qsizetype i = 0; i < uids.size();) {
        qsizetype j = i;
        while (j + 1 < uids.size() && uids.at(j + 1) == uids.at(j) + 1)
            ++j;
        if (!out.isEmpty())
            out += ',';
        out += QByteArray::number(uids.at(i));
        if (j > i)
            out += ':' + QByteArray::number(uids.at(j));
        i = j + 1;
    }
    return out;
}

// The header bytes of a FETCH literal as the lines parseHeaderFields takes.
QList<QByteArray> headerLines(const QByteArray &bytes)
{
    QList<QByteArray> lines = bytes.split('\n');
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

} // namespace

ImapMail::ImapMail(Clock &clock, QObject *parent)
    : MailSession(clock, parent)
{ }

ImapMail::~ImapMail() = default;

void ImapMail::resetProtocol()
{
    m_uids.clear();
    m_fetching.clear();
    m_askedUpTo = 0;
    m_listedUids.clear();
    m_numberOfUid.clear();
    m_byUid = false;
    m_quitProblem.clear();
}

void ImapMail::logOn()
{
    const auto endpoint = parseImapHost(m_host);
    if (!endpoint) {
        logOnFailed(MailError::InvalidHost, tr("\"%1\" is not a mail server name").arg(m_host));
        return;
    }
    auto *connection = new ImapConnection(m_clock, *endpoint,
        {m_timeoutMs, m_deadlineMs, m_caFile, m_trustedCertificate}, ImapResponseReader::Limits{},
        this);
    attach(connection);
    ImapLogOn::Callbacks callbacks;
    callbacks.status = [this](const QString &text) { postStatus(text); };
    callbacks.done = [this, connection](const ImapLogOn::Result &result) {
        m_capabilities = result.capabilities;
        connection->onUntagged = [this](const ImapResponse &r) { return onUntagged(r); };
        if (result.messageCount > 0 && !result.uidValidity.isEmpty()) {
            listIdentities(result.messageCount, result.uidValidity);
            return;
        }
        if (result.messageCount > 0)
            m_identityProblem = tr("The server gave no UIDVALIDITY, so it cannot tell new "
                                   "messages from old: each check announces them all");
        loggedOn(result.messageCount, tr("%n message(s) in INBOX", nullptr, result.messageCount));
    };
    callbacks.failed = [this](int number, const QString &text) { logOnFailed(number, text); };
    m_logOn = std::make_unique<ImapLogOn>(*connection, account(), callbacks);
    m_logOn->start();
}

// UIDs rise with the message numbers, so the sorted UIDs are those of messages 1, 2, ... (a
// message that arrived since SELECT adds one at the end). The unread ones come from a SEARCH
// of their own (after the first: their answers share one list): in the unread view they are
// the session's messages.
void ImapMail::listIdentities(int count, const QByteArray &uidValidity)
{
    m_searched.clear();
    if (m_unreadOnly) {
        searchUnseen(count, uidValidity);
        return;
    }
    connection<ImapConnection>()->send(
        "UID SEARCH ALL", [this, count, uidValidity](const ImapResponse &reply) {
            std::sort(m_searched.begin(), m_searched.end());
            if (reply.ok() && m_searched.size() >= count)
                m_listedUids = m_searched.first(count);
            m_searched.clear();
            searchUnseen(count, uidValidity);
        });
}

void ImapMail::searchUnseen(int count, const QByteArray &uidValidity)
{
    connection<ImapConnection>()->send(
        "UID SEARCH UNSEEN", [this, count, uidValidity](const ImapResponse &reply) {
            std::sort(m_searched.begin(), m_searched.end());
            const QList<qint64> unseen = reply.ok() ? m_searched : QList<qint64>();
            if (m_unreadOnly && reply.ok())
                m_listedUids = unseen;
            if (m_listedUids.isEmpty() && (!m_unreadOnly || !reply.ok())) {
                m_identityProblem = tr("The server did not list the messages' UIDs, so it "
                                       "cannot tell new messages from old: each check "
                                       "announces them all");
                loggedOn(count, tr("%n message(s) in INBOX", nullptr, count));
                return;
            }
            listUids(unseen, reply.ok(), uidValidity);
        });
}

void ImapMail::listUids(const QList<qint64> &unseen, bool readKnown, const QByteArray &uidValidity)
{
    m_byUid = m_unreadOnly;
    for (qsizetype i = 0; i < m_listedUids.size(); ++i) {
        const qint64 uid = m_listedUids.at(i);
        m_numberOfUid.insert(uid, int(i) + 1);
        m_identities << QString::fromLatin1(uidValidity) + u'.' + QString::number(uid);
        if (readKnown && !std::binary_search(unseen.begin(), unseen.end(), uid))
            m_readNumbers.insert(int(i) + 1);
    }
    const int listed = int(m_listedUids.size());
    loggedOn(listed,
        m_unreadOnly ? tr("%n unread message(s) in INBOX", nullptr, listed)
                     : tr("%n message(s) in INBOX", nullptr, listed));
}

void ImapMail::quit()
{
    if (m_deleted.isEmpty())
        logOut();
    else
        expunge();
}

// --- headers ---------------------------------------------------------------------------------

void ImapMail::requestHeader(int number)
{
    if (!isFetching(number))
        fetchFrom(number);
    // Halfway through a window the next one is asked for, so that long lists do not wait.
    if (m_readAhead && m_pipelining && m_askedUpTo < m_messageCount
        && number + kFetchWindow / 2 > m_askedUpTo)
        fetchFrom(m_askedUpTo + 1);
}

bool ImapMail::isFetching(int number) const
{
    return std::any_of(m_fetching.begin(), m_fetching.end(),
        [number](const auto &range) { return number >= range.first && number <= range.second; });
}

void ImapMail::fetchFrom(int number)
{
    const int window = m_pipelining ? kFetchWindow : 1;
    const int last = qMin<int>(m_messageCount, number + window - 1);
    m_fetching.append({number, last});
    m_askedUpTo = qMax(m_askedUpTo, last);
    const QByteArray range = m_byUid
        ? "UID FETCH " + uidSet(m_listedUids.mid(number - 1, last - number + 1))
        : "FETCH " + QByteArray::number(number)
            + (last > number ? ':' + QByteArray::number(last) : QByteArray());
    connection<ImapConnection>()->send(
        range + " (UID BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)])",
        [this, number, last](const ImapResponse &reply) {
            onFetched({{number, last}}, reply);
        });
}

void ImapMail::prefetch(const QList<int> &numbers)
{
    QList<std::pair<int, int>> ranges;
    QList<qint64> uids;
    for (int number : numbers) {
        if (isFetching(number))
            continue;
        ranges.append({number, number});
        uids.append(m_listedUids.value(number - 1));
    }
    if (ranges.isEmpty())
        return;
    m_fetching.append(ranges);
    const bool byUid = !uids.contains(0);
    QByteArray set;
    for (const auto &range : ranges)
        set += (set.isEmpty() ? "" : ",") + QByteArray::number(range.first);
    connection<ImapConnection>()->send((byUid ? "UID FETCH " + uidSet(uids) : "FETCH " + set)
            + " (UID BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)])",
        [this, ranges](const ImapResponse &reply) { onFetched(ranges, reply); });
}

// A header asked for and not yet in, or the SEARCH result: progress of a command. The rest
// (flags changed elsewhere, a header sent twice, news) is not.
bool ImapMail::onUntagged(const ImapResponse &response)
{
    if (response.keyword == "SEARCH") {
        // A mailbox holds fewer messages than this; a server that sends more is not listened
        // to (and the connection's limit ends it).
        constexpr qsizetype kMostSearched = 1 << 20;
        for (const ImapValue &value : response.data) {
            if (m_searched.size() < kMostSearched)
                m_searched << value.text.toLongLong();
        }
        return true;
    }
    if (response.keyword != "FETCH" || response.data.isEmpty()
        || response.data.first().kind != ImapValue::Kind::List)
        return false;
    const QList<ImapValue> &items = response.data.first().items;
    qint64 uid = 0;
    std::optional<QByteArray> header;
    for (qsizetype i = 0; i + 1 < items.size(); i += 2) {
        const ImapValue &key = items.at(i);
        const ImapValue &value = items.at(i + 1);
        if (key.isAtom("UID"))
            uid = value.text.toLongLong();
        else if (key.kind == ImapValue::Kind::Atom && key.text.toUpper().startsWith("BODY["))
            header = value.kind == ImapValue::Kind::String ? value.text : QByteArray();
    }
    // The unread view numbers its messages by their place among the unread UIDs.
    const int number = m_byUid ? m_numberOfUid.value(uid) : int(response.number);
    // Other FETCH responses (flags changed elsewhere) carry no header.
    if (!header || !isFetching(number) || m_headers.contains(number))
        return false;
    if (uid > 0)
        m_uids.insert(number, uid);
    HeaderResult result;
    result.ok = true;
    result.fields = parseHeaderFields(headerLines(*header));
    m_headers.insert(number, result);
    return true;
}

void ImapMail::onFetched(const QList<std::pair<int, int>> &ranges, const ImapResponse &reply)
{
    for (const auto &[first, last] : ranges) {
        m_fetching.removeOne(std::pair(first, last));
        for (int number = first; number <= last; ++number) {
            if (m_headers.contains(number))
                continue;
            HeaderResult result;
            result.error = MailError::ServerError;
            result.text = reply.ok() ? tr("The server sent no header for message %1").arg(number)
                                     : tr("The server refused the header of message %1: %2")
                                           .arg(number)
                                           .arg(imapStatusWords(reply));
            m_headers.insert(number, result);
        }
    }
    deliverWaiting();
}

// --- deletions and quitting ------------------------------------------------------------------

void ImapMail::markDeleted(int number)
{
    storeDeleted(number, m_uids.value(number));
}

// By the UID the log-on listed, which the identity names: not by the message's number now.
void ImapMail::markIdentityDeleted(int number)
{
    storeDeleted(number, m_listedUids.value(number - 1));
}

void ImapMail::storeDeleted(int number, qint64 uid)
{
    if (uid == 0) {
        postError(MailError::NoSuchMessage,
            tr("Message %1 has not been listed, so it is not deleted").arg(number));
        return;
    }
    if (m_deleted.contains(uid))
        return;
    m_deleted.insert(uid);
    m_deleting.insert(uid);
    postStatus(tr("Deleting message %1 (UID %2)").arg(number).arg(uid));
    connection<ImapConnection>()->send(
        "UID STORE " + QByteArray::number(uid) + " +FLAGS.SILENT (\\Deleted)",
        [this, number, uid](const ImapResponse &reply) {
            deletionAnswered(number, uid, reply.ok(), imapStatusWords(reply));
        });
}

// The whole batch in one UID STORE, by the UIDs the log-on listed.
void ImapMail::markListedDeleted(const QList<int> &numbers)
{
    QList<qint64> uids;
    QList<int> marked;
    QList<int> unlisted;
    for (int number : numbers) {
        const qint64 uid
            = m_listedUids.isEmpty() ? m_uids.value(number) : m_listedUids.value(number - 1);
        if (uid == 0 || m_deleted.contains(uid)) {
            unlisted.append(number);
            continue;
        }
        m_deleted.insert(uid);
        m_deleting.insert(uid);
        uids.append(uid);
        marked.append(number);
    }
    if (!uids.isEmpty())
        connection<ImapConnection>()->send(
            "UID STORE " + uidSet(uids) + " +FLAGS.SILENT (\\Deleted)",
            [this, marked, uids](const ImapResponse &reply) {
                const QString words = imapStatusWords(reply);
                for (qsizetype i = 0; i < marked.size(); ++i)
                    deletionAnswered(marked.at(i), uids.at(i), reply.ok(), words);
            });
    for (int number : unlisted)
        deletionAnswered(number, 0, false, tr("message %1 has not been listed").arg(number));
}

void ImapMail::markRead(const QList<int> &numbers)
{
    QList<qint64> uids;
    for (int number : numbers) {
        const qint64 uid
            = m_listedUids.isEmpty() ? m_uids.value(number) : m_listedUids.value(number - 1);
        if (uid > 0)
            uids.append(uid);
    }
    if (uids.isEmpty()) {
        readAnswered({}, true, {});
        return;
    }
    connection<ImapConnection>()->send("UID STORE " + uidSet(uids) + " +FLAGS.SILENT (\\Seen)",
        [this, numbers](const ImapResponse &reply) {
            readAnswered(numbers, reply.ok(), imapStatusWords(reply));
        });
}

void ImapMail::expunge()
{
    const QList<qint64> deleted(m_deleted.begin(), m_deleted.end());
    if (m_capabilities.contains("UIDPLUS")) {
        connection<ImapConnection>()->send(
            "UID EXPUNGE " + uidSet(deleted), [this](const ImapResponse &reply) {
                if (!reply.ok())
                    m_quitProblem = tr("The server refused to expunge the deleted messages: %1")
                                        .arg(imapStatusWords(reply));
                logOut();
            });
        return;
    }
    // Without UIDPLUS, EXPUNGE removes every message marked \Deleted; it may only run when
    // the marked ones are all ours.
    m_searched.clear();
    connection<ImapConnection>()->send(
        "UID SEARCH DELETED", [this, deleted](const ImapResponse &reply) {
            if (!reply.ok()) {
                m_quitProblem = tr("The server refused to search for deleted messages: %1")
                                    .arg(imapStatusWords(reply));
                logOut();
                return;
            }
            expungeIfOnlyOurs(deleted);
        });
}

void ImapMail::expungeIfOnlyOurs(const QList<qint64> &deleted)
{
    const qsizetype others = std::count_if(
        m_searched.begin(), m_searched.end(), [&](qint64 uid) { return !deleted.contains(uid); });
    if (others > 0) {
        m_quitProblem = tr("%n other message(s) in INBOX are marked for deletion and the "
                           "server cannot expunge single messages (no UIDPLUS); the %1 "
                           "message(s) deleted here stay marked for deletion",
            nullptr, int(others))
                            .arg(deleted.size());
        logOut();
        return;
    }
    connection<ImapConnection>()->send("EXPUNGE", [this](const ImapResponse &reply) {
        if (!reply.ok())
            m_quitProblem = tr("The server refused to expunge the deleted messages: %1")
                                .arg(imapStatusWords(reply));
        logOut();
    });
}

void ImapMail::logOut()
{
    connection<ImapConnection>()->expectBye();
    connection<ImapConnection>()->send("LOGOUT",
        [this](const ImapResponse &) { sessionClosed(std::exchange(m_quitProblem, QString())); });
}
