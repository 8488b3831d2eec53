#include "mail/mailsession.h"

#include "mail/bearer.h"
#include "mail/mailconnection.h"
#include "mail/mailerror.h"

MailSession::MailSession(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{ }

MailSession::~MailSession()
{
    // A QUIT or LOGOUT already issued still reaches the server, so its deletions are made.
    if (m_connection)
        m_connection->closeGracefully();
}

// --- actions ---------------------------------------------------------------------------------

void MailSession::LogOn()
{
    dropSession();
    m_requests.clear();
    m_headers.clear();
    m_deleted.clear();
    m_deleting.clear();
    m_deletedNumbers.clear();
    m_readNumbers.clear();
    m_batch = {};
    m_messageCount = 0;
    m_identities.clear();
    m_identityProblem.clear();
    m_readAhead = true;
    m_loggedOnWithTls = false;
    m_refusedCertificate.clear();
    m_lostReason.clear();
    m_fields = {};
    resetProtocol();
    m_requests.push_back({Request::LogOn});
    ++m_logOnNumber;
    m_tokenRefreshed = false;
    if (m_tokenSource)
        askToken(false);
    else
        logOn();
}

void MailSession::askToken(bool fresh)
{
    postStatus(fresh ? tr("Renewing the sign-in token") : tr("Getting the sign-in token"));
    const int number = m_logOnNumber;
    m_tokenSource->accessToken(
        fresh, this, [this, number](const QString &token, const QString &problem) {
            // Posted: the log-on must not start inside whatever ended the last one.
            post([this, number, token, problem] {
                if (number != m_logOnNumber || m_requests.empty()
                    || m_requests.front().kind != Request::LogOn)
                    return; // a later LogOn took over
                if (token.isEmpty()) {
                    logOnFailed(MailError::TokenUnavailable, problem);
                    return;
                }
                m_bearerToken = token;
                resetProtocol();
                logOn();
            });
        });
}

void MailSession::RetrieveHeader()
{
    m_requests.push_back({Request::Header, m_messageNumber});
    if (m_requests.size() == 1)
        startHeader(m_messageNumber);
}

void MailSession::PrefetchHeaders(const QList<int> &numbers)
{
    m_readAhead = false;
    QList<int> wanted;
    for (int number : numbers)
        if (!problemWith(number) && !m_headers.contains(number))
            wanted.append(number);
    if (!wanted.isEmpty())
        prefetch(wanted);
}

void MailSession::DeleteMessage()
{
    if (const auto problem = problemWith(m_messageNumber)) {
        postError(problem->first, problem->second);
        return;
    }
    markDeleted(m_messageNumber);
}

void MailSession::DeleteByIdentity(const QString &identity)
{
    const int number = int(m_identities.indexOf(identity)) + 1;
    if (number == 0) {
        postError(MailError::NoSuchMessage,
            tr("The message %1 is no longer on the server; nothing is deleted in its place")
                .arg(identity));
        return;
    }
    if (const auto problem = problemWith(number)) {
        postError(problem->first, problem->second);
        return;
    }
    markIdentityDeleted(number);
}

void MailSession::DeleteListed(const QList<int> &numbers)
{
    if (!m_loggedOn || !m_connection) {
        const Problem problem = *problemWith(0);
        postError(problem.first, problem.second);
        return;
    }
    m_batch = {};
    m_batch.active = true;
    for (int number : numbers) {
        if (problemWith(number)) {
            ++m_batch.refused;
            m_batch.refusal = tr("there is no message %1").arg(number);
        } else if (!m_deletedNumbers.contains(number)) {
            m_batch.waiting.push_back(number);
        }
    }
    postStatus(tr("Deleting %n message(s)", nullptr, int(m_batch.waiting.size())));
    if (m_batch.waiting.empty())
        endBatch();
    else
        feedDeletions();
}

void MailSession::MarkListedRead(const QList<int> &numbers)
{
    if (!m_loggedOn || !m_connection) {
        const Problem problem = *problemWith(0);
        postError(problem.first, problem.second);
        return;
    }
    QList<int> unread;
    for (int number : numbers) {
        if (!problemWith(number) && isUnread(number) && !m_deletedNumbers.contains(number))
            unread.append(number);
    }
    if (unread.isEmpty()) {
        post([this] { Q_EMIT ReadMarked({}); });
        return;
    }
    markRead(unread);
}

void MailSession::readAnswered(const QList<int> &numbers, bool ok, const QString &serverWords)
{
    if (!ok) {
        postError(MailError::ServerError,
            tr("The server refused to mark %n message(s) read: %1", nullptr, int(numbers.size()))
                .arg(serverWords));
        return;
    }
    for (int number : numbers)
        m_readNumbers.insert(number);
    post([this, numbers] { Q_EMIT ReadMarked(numbers); });
}

void MailSession::StopDeleting()
{
    if (!m_batch.active)
        return;
    m_batch.waiting.clear();
    if (m_batch.answered == m_batch.sent)
        endBatch();
}

void MailSession::markListedDeleted(const QList<int> &numbers)
{
    for (int number : numbers)
        markIdentityDeleted(number);
}

void MailSession::feedDeletions()
{
    const int room = deletionWindow() - (m_batch.sent - m_batch.answered);
    QList<int> next;
    while (next.size() < room && !m_batch.waiting.empty()) {
        next.append(m_batch.waiting.front());
        m_batch.waiting.pop_front();
    }
    if (next.isEmpty())
        return;
    m_batch.sent += int(next.size());
    markListedDeleted(next);
}

void MailSession::batchAnswered(bool ok, const QString &serverWords)
{
    ++m_batch.answered;
    if (!ok && m_batch.refused++ == 0)
        m_batch.refusal = serverWords;
    if (m_batch.answered == m_batch.sent && m_batch.waiting.empty()) {
        endBatch();
        return;
    }
    // The figure moves often enough to be seen, not once per message.
    constexpr int kProgressStep = 100;
    if (m_batch.answered % kProgressStep == 0)
        post([this, answered = m_batch.answered, sent = m_batch.sent] {
            Q_EMIT DeletionProgress(answered, sent);
        });
    feedDeletions();
}

void MailSession::endBatch()
{
    const DeletionBatch batch = std::exchange(m_batch, {});
    post([this, batch] { Q_EMIT DeletionProgress(batch.answered, batch.sent); });
    if (batch.refused > 0)
        postError(MailError::ServerError,
            tr("The server refused to delete %n message(s): %1", nullptr, batch.refused)
                .arg(batch.refusal));
}

void MailSession::Quit()
{
    StopDeleting();
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
    m_quitting = true;
    m_requests.push_back({Request::Quit});
    postStatus(tr("Closing the connection to %1").arg(m_connection->where()));
    quit();
}

// --- requests --------------------------------------------------------------------------------

void MailSession::startNext()
{
    if (!m_requests.empty() && m_requests.front().kind == Request::Header)
        startHeader(m_requests.front().number);
}

void MailSession::finishRequest()
{
    post([this] {
        m_quitting = false;
        Q_EMIT Done();
    });
    if (!m_requests.empty())
        m_requests.pop_front();
    startNext();
}

void MailSession::failRequest(int number, const QString &text)
{
    postError(number, text);
    if (!m_requests.empty())
        m_requests.pop_front();
    startNext();
}

void MailSession::attach(MailConnection *connection)
{
    m_connection = connection;
    connect(connection, &MailConnection::failed, this, &MailSession::onConnectionFailed);
    connect(connection, &MailConnection::alert, this, [this](const QString &text) {
        post([this, text = scrubbed(text)] { Q_EMIT Alert(text); });
    });
}

MailAccount MailSession::account() const
{
    MailAccount account{m_userName, m_password, m_requireTls, m_pipelining};
    account.bearerToken = m_bearerToken;
    account.allowClearText = m_allowClearText;
    account.tlsBefore = m_tlsBefore;
    return account;
}

void MailSession::loggedOn(int count, const QString &status)
{
    m_loggedOn = true;
    m_loggedOnWithTls = m_connection && m_connection->isEncrypted();
    m_messageCount = qint16(count);
    postStatus(status);
    finishRequest();
}

void MailSession::logOnFailed(int number, const QString &text)
{
    if (m_connection)
        m_refusedCertificate = m_connection->refusedCertificate();
    dropSession();
    if (number == MailError::TokenRefused && m_tokenSource && !m_tokenRefreshed) {
        m_tokenRefreshed = true;
        askToken(true);
        return;
    }
    failRequest(number, text);
}

std::optional<MailSession::Problem> MailSession::problemWith(int number) const
{
    if (!m_loggedOn || !m_connection) {
        QString text = tr("Not logged on to a mail server");
        if (!m_lostReason.isEmpty())
            text += QLatin1String(": ") + m_lostReason;
        return Problem(MailError::NotConnected, text);
    }
    if (number < 1 || number > m_messageCount) {
        return Problem(MailError::NoSuchMessage,
            tr("There is no message %1; the mailbox holds %n message(s)", nullptr, m_messageCount)
                .arg(number));
    }
    return std::nullopt;
}

// --- headers ---------------------------------------------------------------------------------

void MailSession::startHeader(int number)
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
    requestHeader(number);
}

void MailSession::storeHeader(int number, const HeaderResult &result)
{
    m_headers.insert(number, result);
    deliverWaiting();
}

void MailSession::deliverWaiting()
{
    if (!m_requests.empty() && m_requests.front().kind == Request::Header
        && m_headers.contains(m_requests.front().number))
        deliverHeader(m_requests.front().number);
}

void MailSession::deliverHeader(int number)
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

// --- deletions, the end and failures ---------------------------------------------------------

void MailSession::deletionAnswered(int number, qint64 key, bool ok, const QString &serverWords)
{
    m_deleting.remove(key);
    if (!ok)
        m_deleted.remove(key);
    else
        m_deletedNumbers.insert(number);
    if (m_batch.active) {
        batchAnswered(ok, serverWords);
        return;
    }
    if (ok) {
        postStatus(tr("Message %1 marked for deletion").arg(number));
        return;
    }
    postError(MailError::ServerError,
        tr("The server refused to delete message %1: %2").arg(number).arg(serverWords));
}

void MailSession::sessionClosed(const QString &problem)
{
    m_loggedOn = false;
    m_deleted.clear();
    m_connection->closeGracefully();
    m_connection->deleteLater();
    m_connection = nullptr;
    if (problem.isEmpty())
        finishRequest();
    else
        failRequest(MailError::ServerError, problem);
}

void MailSession::onConnectionFailed(int number, const QString &text)
{
    m_lostReason = text;
    if (m_connection)
        m_refusedCertificate = m_connection->refusedCertificate();
    dropSession();
    connectionLost();
    // One Error for the dead connection: it names the deletions it lost, and the requests
    // queued behind the one in progress end quietly.
    QString lost = text;
    if (!m_deleting.isEmpty()) {
        lost += QLatin1String("; ")
            + tr("%n message(s) marked for deletion were not deleted", nullptr,
                int(m_deleting.size()));
        for (qint64 key : std::as_const(m_deleting))
            m_deleted.remove(key);
    }
    const bool report = !m_requests.empty() || !m_deleting.isEmpty();
    m_deleting.clear();
    m_requests.clear();
    // Nothing marked in a session that never saw its QUIT is deleted.
    m_deletedNumbers.clear();
    if (m_batch.active) {
        m_batch.waiting.clear();
        m_batch.refused = 0;
        endBatch();
    }
    if (!report) {
        postStatus(text);
        return;
    }
    m_fields = {};
    postError(number, lost);
}

void MailSession::dropSession()
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

void MailSession::post(std::function<void()> event)
{
    QMetaObject::invokeMethod(this, std::move(event), Qt::QueuedConnection);
}

QString MailSession::scrubbed(QString text) const
{
    if (m_password.size() >= 3)
        text.replace(m_password, QStringLiteral("********"));
    if (m_bearerToken.size() >= 3)
        text.replace(m_bearerToken, QStringLiteral("********"));
    return text;
}

void MailSession::postStatus(const QString &text)
{
    post([this, text = scrubbed(text)] { Q_EMIT Status(text); });
}

void MailSession::postError(int number, const QString &text)
{
    post([this, number, text = scrubbed(text)] {
        m_quitting = false;
        Q_EMIT Error(number, text);
    });
}
