#include "mail/mmail.h"

#include "mail/encodedwords.h"
#include "mail/mailerror.h"
#include "mail/popconnection.h"
#include "mail/pophost.h"
#include "mail/poplogon.h"

mMail::mMail(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{ }

mMail::~mMail()
{
    // A QUIT already issued still reaches the server, so its deletions are made.
    if (m_connection)
        m_connection->closeGracefully();
}

// --- actions ---------------------------------------------------------------------------------

void mMail::LogOn()
{
    dropSession();
    m_requests.clear();
    m_headers.clear();
    m_asked.clear();
    m_highestAsked = 0;
    m_deleted.clear();
    m_deleting.clear();
    m_messageCount = 0;
    m_topMissing = false;
    m_lostReason.clear();
    m_fields = {};
    m_requests.push_back({Request::LogOn});
    startLogOn();
}

void mMail::RetrieveHeader()
{
    m_requests.push_back({Request::Header, m_messageNumber});
    if (m_requests.size() == 1)
        startHeader(m_messageNumber);
}

void mMail::EndMessage()
{
    m_fields = {};
}

void mMail::PrepareMessage()
{
    m_fields = {};
}

void mMail::DeleteMessage()
{
    const int number = m_messageNumber;
    if (const auto problem = problemWith(number)) {
        postError(problem->first, problem->second);
        return;
    }
    if (m_deleted.contains(number))
        return;
    m_deleted.insert(number);
    m_deleting.insert(number);
    postStatus(tr("Deleting message %1").arg(number));
    m_connection->send("DELE " + QByteArray::number(number), PopConnection::Expect::Single,
        [this, number](const PopReply &reply) { onDeleted(number, reply); });
}

void mMail::Quit()
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
    m_connection->send("QUIT", PopConnection::Expect::Single,
        [this](const PopReply &reply) { onQuitReply(reply); });
}

// --- requests --------------------------------------------------------------------------------

void mMail::startNext()
{
    if (!m_requests.empty() && m_requests.front().kind == Request::Header)
        startHeader(m_requests.front().number);
}

void mMail::finishRequest()
{
    postDone();
    if (!m_requests.empty())
        m_requests.pop_front();
    startNext();
}

void mMail::failRequest(int number, const QString &text)
{
    postError(number, text);
    if (!m_requests.empty())
        m_requests.pop_front();
    startNext();
}

void mMail::startLogOn()
{
    const auto endpoint = parsePopHost(m_host);
    if (!endpoint) {
        failRequest(MailError::InvalidHost, tr("\"%1\" is not a mail server name").arg(m_host));
        return;
    }
    PopConnection::Options options;
    options.timeoutMs = m_timeoutMs;
    options.deadlineMs = m_deadlineMs;
    options.caFile = m_caFile;
    m_connection = new PopConnection(m_clock, *endpoint, options, this);
    connect(m_connection, &PopConnection::failed, this, &mMail::onConnectionFailed);
    PopLogOn::Callbacks callbacks;
    callbacks.status = [this](const QString &text) { postStatus(text); };
    callbacks.done = [this](const PopLogOn::Result &result) {
        onLoggedOn(result.messageCount, result.capabilities);
    };
    callbacks.failed = [this](int number, const QString &text) {
        dropSession();
        failRequest(number, text);
    };
    m_logOn = std::make_unique<PopLogOn>(
        *m_connection, PopLogOn::Account{m_userName, m_password, m_requireTls}, callbacks);
    m_logOn->start();
}

void mMail::onLoggedOn(int count, const PopCapabilities &capabilities)
{
    m_loggedOn = true;
    m_capabilities = capabilities;
    m_messageCount = qint16(count);
    m_topMissing = capabilities.listed && !capabilities.top;
    if (m_topMissing)
        postStatus(tr("The server has no TOP; headers are read with RETR, bodies dropped"));
    m_connection->setPipelining(m_pipelining && capabilities.pipelining);
    postStatus(tr("%n message(s) waiting", nullptr, count));
    finishRequest();
}

void mMail::onQuitReply(const PopReply &reply)
{
    m_loggedOn = false;
    m_deleted.clear();
    m_connection->closeGracefully();
    m_connection->deleteLater();
    m_connection = nullptr;
    if (reply.status.ok) {
        finishRequest();
        return;
    }
    failRequest(MailError::ServerError,
        tr("The server answered QUIT with an error; deletions may not have been made: %1")
            .arg(statusWords(reply.status)));
}

std::optional<std::pair<int, QString>> mMail::problemWith(int number) const
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

void mMail::startHeader(int number)
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
    if (!m_asked.contains(number))
        askHeader(number);
    // Without TOP each header costs a whole message: no reading ahead then.
    if (m_pipelining && m_connection->pipelining() && !m_topMissing)
        prefetchFrom(m_highestAsked + 1);
}

void mMail::askHeader(int number)
{
    m_asked.insert(number);
    m_highestAsked = qMax(m_highestAsked, number);
    const QByteArray n = QByteArray::number(number);
    m_connection->send(m_topMissing ? "RETR " + n : "TOP " + n + " 0",
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
    m_headers.insert(number, result);
    if (!m_requests.empty() && m_requests.front().kind == Request::Header
        && m_requests.front().number == number)
        deliverHeader(number);
}

void mMail::deliverHeader(int number)
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

// --- deletions and failures ------------------------------------------------------------------

void mMail::onDeleted(int number, const PopReply &reply)
{
    m_deleting.remove(number);
    if (reply.status.ok) {
        postStatus(tr("Message %1 marked for deletion").arg(number));
        return;
    }
    m_deleted.remove(number);
    postError(MailError::ServerError,
        tr("The server refused to delete message %1: %2")
            .arg(number)
            .arg(statusWords(reply.status)));
}

void mMail::onConnectionFailed(int number, const QString &text)
{
    m_lostReason = text;
    dropSession();
    // One Error for the dead connection: it names the deletions it lost, and the requests
    // queued behind the one in progress end quietly.
    QString lost = text;
    if (!m_deleting.isEmpty()) {
        lost += QLatin1String("; ")
            + tr("%n message(s) marked for deletion were not deleted", nullptr,
                int(m_deleting.size()));
        for (int message : std::as_const(m_deleting))
            m_deleted.remove(message);
    }
    const bool report = !m_requests.empty() || !m_deleting.isEmpty();
    m_deleting.clear();
    m_asked.clear();
    m_requests.clear();
    if (!report) {
        postStatus(text);
        return;
    }
    m_fields = {};
    postError(number, lost);
}

void mMail::dropSession()
{
    m_loggedOn = false;
    if (!m_connection)
        return;
    m_connection->disconnect(this);
    m_connection->abort();
    m_connection->deleteLater();
    m_connection = nullptr;
}

// --- events ----------------------------------------------------------------------------------

void mMail::post(std::function<void()> event)
{
    QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
}

QString mMail::scrubbed(QString text) const
{
    if (m_password.size() >= 3)
        text.replace(m_password, QStringLiteral("********"));
    return text;
}

void mMail::postStatus(const QString &text)
{
    post([this, text = scrubbed(text)] { Q_EMIT Status(text); });
}

void mMail::postError(int number, const QString &text)
{
    post([this, number, text = scrubbed(text)] { Q_EMIT Error(number, text); });
}

void mMail::postDone()
{
    post([this] { Q_EMIT Done(); });
}
