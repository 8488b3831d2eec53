#include "mail/mmail.h"

#include "mail/mailerror.h"
#include "mail/popconnection.h"
#include "mail/pophost.h"
#include "mail/poplogon.h"

mMail::mMail(Clock &clock, QObject *parent)
    : MailSession(clock, parent)
{ }

mMail::~mMail() = default;

void mMail::resetProtocol()
{
    m_asked.clear();
    m_highestAsked = 0;
    m_topMissing = false;
}

void mMail::logOn()
{
    const auto endpoint = parsePopHost(m_host);
    if (!endpoint) {
        logOnFailed(MailError::InvalidHost, tr("\"%1\" is not a mail server name").arg(m_host));
        return;
    }
    auto *connection = new PopConnection(m_clock, *endpoint,
        {m_timeoutMs, m_deadlineMs, m_caFile, m_trustedCertificate}, PopConnection::Limits{}, this);
    attach(connection);
    PopLogOn::Callbacks callbacks;
    callbacks.status = [this](const QString &text) { postStatus(text); };
    callbacks.done = [this](const PopLogOn::Result &result) {
        onLoggedOn(result.messageCount, result.capabilities);
    };
    callbacks.failed = [this](int number, const QString &text) { logOnFailed(number, text); };
    m_logOn = std::make_unique<PopLogOn>(*connection, account(), callbacks);
    m_logOn->start();
}

void mMail::onLoggedOn(int count, const PopCapabilities &capabilities)
{
    m_capabilities = capabilities;
    m_topMissing = capabilities.listed && !capabilities.top;
    if (m_topMissing)
        postStatus(tr("The server has no TOP; headers are read with RETR, bodies dropped"));
    connection<PopConnection>()->setPipelining(m_pipelining && capabilities.pipelining);
    if (count < 1) {
        loggedOn(count, tr("%n message(s) waiting", nullptr, count));
        return;
    }
    connection<PopConnection>()->send(
        "UIDL", PopConnection::Expect::MultiLine, [this, count](const PopReply &reply) {
            takeIdentities(count, reply);
            loggedOn(count, tr("%n message(s) waiting", nullptr, count));
        });
}

// "n id" per message; a server without UIDL, or with a list that misses messages, gives none.
void mMail::takeIdentities(int count, const PopReply &reply)
{
    if (!reply.status.ok) {
        m_identityProblem = tr("The server has no UIDL (%1), so it cannot tell new messages "
                               "from old: each check announces them all")
                                .arg(statusWords(reply.status));
        return;
    }
    QStringList identities(count);
    int found = 0;
    for (const QByteArray &line : reply.lines) {
        const QList<QByteArray> words = line.simplified().split(' ');
        bool ok = false;
        const int number = words.value(0).toInt(&ok);
        if (ok && words.size() == 2 && number >= 1 && number <= count
            && identities.at(number - 1).isEmpty()) {
            identities[number - 1] = QString::fromLatin1(words.at(1));
            ++found;
        }
    }
    if (found == count)
        m_identities = identities;
    else
        m_identityProblem = tr("The server's UIDL list misses messages, so it cannot tell new "
                               "messages from old: each check announces them all");
}

void mMail::quit()
{
    connection<PopConnection>()->send(
        "QUIT", PopConnection::Expect::Single, [this](const PopReply &reply) {
            sessionClosed(reply.status.ok
                    ? QString()
                    : tr("The server answered QUIT with an error; deletions may not have been "
                         "made: %1")
                          .arg(statusWords(reply.status)));
        });
}

void mMail::connectionLost()
{
    m_asked.clear();
}

// --- headers ---------------------------------------------------------------------------------

void mMail::requestHeader(int number)
{
    if (!m_asked.contains(number))
        askHeader(number);
    // Without TOP each header costs a whole message: no reading ahead then.
    if (m_readAhead && m_pipelining && connection<PopConnection>()->pipelining() && !m_topMissing)
        prefetchFrom(m_highestAsked + 1);
}

void mMail::askHeader(int number)
{
    m_asked.insert(number);
    m_highestAsked = qMax(m_highestAsked, number);
    const QByteArray n = QByteArray::number(number);
    connection<PopConnection>()->send(m_topMissing ? "RETR " + n : "TOP " + n + " 0",
        PopConnection::Expect::HeaderOnly,
        [this, number](const PopReply &reply) { onHeader(number, reply); });
}

void mMail::prefetchFrom(int number)
{
    for (; number <= m_messageCount; ++number) {
        if (m_asked.size() + m_headers.size() >= kPrefetchWindow)
            return;
        if (!m_deleted.contains(number) && !m_headers.contains(number))
            askHeader(number);
    }
}

void mMail::prefetch(const QList<int> &numbers)
{
    for (int number : numbers)
        if (!m_asked.contains(number) && !m_deleted.contains(number))
            askHeader(number);
}

void mMail::onHeader(int number, const PopReply &reply)
{
    m_asked.remove(number);
    HeaderResult result;
    if (!reply.status.ok && !m_topMissing && !m_capabilities.listed
        && !m_deleted.contains(number)) {
        // No CAPA to ask, and TOP refused for a message that exists: take TOP as missing.
        m_topMissing = true;
        postStatus(tr("The server refused TOP; headers are read with RETR, bodies dropped"));
        askHeader(number);
        return;
    }
    if (!reply.status.ok) {
        result.error = MailError::ServerError;
        result.text = tr("The server refused the header of message %1: %2")
                          .arg(number)
                          .arg(statusWords(reply.status));
    } else {
        result.ok = true;
        result.fields = parseHeaderFields(reply.lines);
    }
    storeHeader(number, result);
}

// --- deletions -------------------------------------------------------------------------------

// Pipelined, a window of DELEs goes out at once; otherwise one waits for the answer before
// the next is sent, so that a stopped batch leaves the rest unsent.
int mMail::deletionWindow() const
{
    return connection<PopConnection>()->pipelining() ? kDeleteWindow : 1;
}

void mMail::markDeleted(int number)
{
    if (m_deleted.contains(number))
        return;
    m_deleted.insert(number);
    m_deleting.insert(number);
    if (!deletionsUnderWay())
        postStatus(tr("Deleting message %1").arg(number));
    connection<PopConnection>()->send("DELE " + QByteArray::number(number),
        PopConnection::Expect::Single, [this, number](const PopReply &reply) {
            deletionAnswered(number, number, reply.status.ok, statusWords(reply.status));
        });
}
