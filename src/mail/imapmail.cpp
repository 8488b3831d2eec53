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
    : QObject(parent)
    , m_clock(clock)
{ }

ImapMail::~ImapMail()
{
    // A LOGOUT already sent still reaches the server.
    if (m_connection)
        m_connection->closeGracefully();
}

// --- actions ---------------------------------------------------------------------------------

void ImapMail::LogOn()
{
    dropSession();
    m_requests.clear();
    m_headers.clear();
    m_uids.clear();
    m_fetching.clear();
    m_askedUpTo = 0;
    m_deleted.clear();
    m_messageCount = 0;
    m_lostReason.clear();
    m_quitProblem.clear();
    m_fields = {};
    m_requests.push_back({Request::LogOn});
    startLogOn();
}

void ImapMail::RetrieveHeader()
{
    m_requests.push_back({Request::Header, m_messageNumber});
    if (m_requests.size() == 1)
        startHeader(m_messageNumber);
}

void ImapMail::EndMessage()
{
    m_fields = {};
}

void ImapMail::PrepareMessage()
{
    m_fields = {};
}

void ImapMail::DeleteMessage()
{
    const int number = m_messageNumber;
    if (const auto problem = problemWith(number)) {
        postError(problem->first, problem->second);
        return;
    }
    const qint64 uid = m_uids.value(number);
    if (uid == 0) {
        postError(MailError::NoSuchMessage,
            tr("Message %1 has not been listed, so it is not deleted").arg(number));
        return;
    }
    if (m_deleted.contains(uid))
        return;
    m_deleted.insert(uid);
    postStatus(tr("Deleting message %1 (UID %2)").arg(number).arg(uid));
    m_connection->send("UID STORE " + QByteArray::number(uid) + " +FLAGS.SILENT (\\Deleted)",
        [this, number, uid](const ImapResponse &reply) {
            if (reply.ok())
                return;
            m_deleted.remove(uid);
            postError(MailError::ServerError,
                tr("The server refused to delete message %1: %2")
                    .arg(number)
                    .arg(imapStatusWords(reply)));
        });
}

void ImapMail::Quit()
{
    m_requests.clear();
    if (!m_connection || !m_loggedOn) {
        dropSession();
        if (!m_deleted.isEmpty()) {
            postError(MailError::ConnectionClosed,
                tr("The connection was lost before it was closed; %n message(s) marked "
                   "for deletion stay on the server",
                    nullptr, int(m_deleted.size())));
        }
        m_deleted.clear();
        return;
    }
    m_requests.push_back({Request::Quit});
    postStatus(tr("Closing the connection to %1").arg(m_connection->where()));
    if (m_deleted.isEmpty())
        logOut();
    else
        expunge();
}

// --- requests --------------------------------------------------------------------------------

void ImapMail::startNext()
{
    if (!m_requests.empty() && m_requests.front().kind == Request::Header)
        startHeader(m_requests.front().number);
}

void ImapMail::finishRequest()
{
    postDone();
    if (!m_requests.empty())
        m_requests.pop_front();
    startNext();
}

void ImapMail::failRequest(int number, const QString &text)
{
    postError(number, text);
    if (!m_requests.empty())
        m_requests.pop_front();
    startNext();
}

void ImapMail::startLogOn()
{
    const auto endpoint = parseImapHost(m_host);
    if (!endpoint) {
        failRequest(MailError::InvalidHost, tr("\"%1\" is not a mail server name").arg(m_host));
        return;
    }
    ImapConnection::Options options;
    options.timeoutMs = m_timeoutMs;
    options.caFile = m_caFile;
    m_connection = new ImapConnection(m_clock, *endpoint, options, this);
    connect(m_connection, &ImapConnection::failed, this, &ImapMail::onConnectionFailed);
    ImapLogOn::Callbacks callbacks;
    callbacks.status = [this](const QString &text) { postStatus(text); };
    callbacks.done = [this](const ImapLogOn::Result &result) {
        m_loggedOn = true;
        m_capabilities = result.capabilities;
        m_messageCount = qint16(result.messageCount);
        m_connection->onUntagged = [this](const ImapResponse &r) { return onUntagged(r); };
        postStatus(tr("%n message(s) in INBOX", nullptr, result.messageCount));
        finishRequest();
    };
    callbacks.failed = [this](int number, const QString &text) {
        dropSession();
        failRequest(number, text);
    };
    m_logOn = std::make_unique<ImapLogOn>(
        *m_connection, ImapLogOn::Account{m_userName, m_password, m_requireTls}, callbacks);
    m_logOn->start();
}

std::optional<std::pair<int, QString>> ImapMail::problemWith(int number) const
{
    if (!m_loggedOn || !m_connection) {
        QString text = tr("Not logged on to a mail server");
        if (!m_lostReason.isEmpty())
            text += QLatin1String(": ") + m_lostReason;
        return std::make_pair(int(MailError::NotConnected), text);
    }
    if (number < 1 || number > m_messageCount) {
        return std::make_pair(int(MailError::NoSuchMessage),
            tr("There is no message %1; the mailbox holds %n message(s)", nullptr, m_messageCount)
                .arg(number));
    }
    return std::nullopt;
}

// --- headers ---------------------------------------------------------------------------------

void ImapMail::startHeader(int number)
{
    if (m_headers.contains(number)) {
        deliverHeader(number);
        return;
    }
    if (const auto problem = problemWith(number)) {
        m_fields = {};
        failRequest(problem->first, problem->second);
        return;
    }
    if (!isFetching(number))
        fetchFrom(number);
    // Halfway through a window the next one is asked for, so that long lists do not wait.
    if (m_pipelining && m_askedUpTo < m_messageCount && number + kFetchWindow / 2 > m_askedUpTo)
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
    const QByteArray range = QByteArray::number(number)
        + (last > number ? ':' + QByteArray::number(last) : QByteArray());
    m_connection->send("FETCH " + range + " (UID BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)])",
        [this, number, last](const ImapResponse &reply) { onFetched(number, last, reply); });
}

// A header asked for and not yet in, or the SEARCH result: progress of a command. The rest
// (flags changed elsewhere, a header sent twice, news) is not.
bool ImapMail::onUntagged(const ImapResponse &response)
{
    if (response.keyword == "SEARCH") {
        for (const ImapValue &value : response.data)
            m_searched << value.text.toLongLong();
        return true;
    }
    const int number = int(response.number);
    if (response.keyword != "FETCH" || !isFetching(number) || response.data.isEmpty()
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
    // Other FETCH responses (flags changed elsewhere) carry no header.
    if (!header || m_headers.contains(number))
        return false;
    if (uid > 0)
        m_uids.insert(number, uid);
    HeaderResult result;
    result.ok = true;
    result.fields = parseHeaderFields(headerLines(*header));
    m_headers.insert(number, result);
    return true;
}

void ImapMail::onFetched(int first, int last, const ImapResponse &reply)
{
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
    if (!m_requests.empty() && m_requests.front().kind == Request::Header) {
        const int waiting = m_requests.front().number;
        if (waiting >= first && waiting <= last)
            deliverHeader(waiting);
    }
}

void ImapMail::deliverHeader(int number)
{
    const HeaderResult result = m_headers.take(number);
    if (!result.ok) {
        m_fields = {};
        failRequest(result.error, result.text);
        return;
    }
    m_fields = result.fields;
    finishRequest();
}

// --- quitting --------------------------------------------------------------------------------

void ImapMail::expunge()
{
    const QList<qint64> deleted(m_deleted.begin(), m_deleted.end());
    if (m_capabilities.contains("UIDPLUS")) {
        m_connection->send("UID EXPUNGE " + uidSet(deleted), [this](const ImapResponse &reply) {
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
    m_connection->send("UID SEARCH DELETED", [this, deleted](const ImapResponse &reply) {
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
    m_connection->send("EXPUNGE", [this](const ImapResponse &reply) {
        if (!reply.ok())
            m_quitProblem = tr("The server refused to expunge the deleted messages: %1")
                                .arg(imapStatusWords(reply));
        logOut();
    });
}

void ImapMail::logOut()
{
    m_connection->expectBye();
    m_connection->send("LOGOUT", [this](const ImapResponse &) {
        m_loggedOn = false;
        m_deleted.clear();
        m_connection->closeGracefully();
        m_connection->deleteLater();
        m_connection = nullptr;
        if (m_quitProblem.isEmpty())
            finishRequest();
        else
            failRequest(MailError::ServerError, std::exchange(m_quitProblem, QString()));
    });
}

// --- failures and events ---------------------------------------------------------------------

void ImapMail::onConnectionFailed(int number, const QString &text)
{
    m_lostReason = text;
    dropSession();
    if (m_requests.empty()) {
        postStatus(text);
        return;
    }
    m_fields = {};
    failRequest(number, text);
}

void ImapMail::dropSession()
{
    m_loggedOn = false;
    if (!m_connection)
        return;
    m_connection->disconnect(this);
    m_connection->onUntagged = nullptr;
    m_connection->abort();
    m_connection->deleteLater();
    m_connection = nullptr;
}

void ImapMail::post(std::function<void()> event)
{
    QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
}

QString ImapMail::scrubbed(QString text) const
{
    if (m_password.size() >= 3)
        text.replace(m_password, QStringLiteral("********"));
    return text;
}

void ImapMail::postStatus(const QString &text)
{
    post([this, text = scrubbed(text)] { Q_EMIT Status(text); });
}

void ImapMail::postError(int number, const QString &text)
{
    post([this, number, text = scrubbed(text)] { Q_EMIT Error(number, text); });
}

void ImapMail::postDone()
{
    post([this] { Q_EMIT Done(); });
}
