#include "mail/poplogon.h"

#include "mail/encodedwords.h"
#include "mail/mailerror.h"
#include "mail/popconnection.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("PopLogOn", text);
}

// The server's reason, for error texts.
QString serverWords(const PopStatus &status)
{
    const QString words = statusWords(status);
    return words.isEmpty() ? tr("(no reason given)") : words;
}

} // namespace

PopLogOn::PopLogOn(PopConnection &connection, Account account, Callbacks callbacks)
    : m_connection(connection)
    , m_account(std::move(account))
    , m_callbacks(std::move(callbacks))
{ }

void PopLogOn::start()
{
    m_callbacks.status(tr("Connecting to %1").arg(m_connection.where()));
    m_connection.open([this](const PopReply &reply) { onGreeting(reply); });
}

void PopLogOn::onGreeting(const PopReply &reply)
{
    if (!reply.status.ok) {
        m_callbacks.failed(MailError::LogOnRefused,
            tr("%1 turned the connection away: %2")
                .arg(m_connection.where(), serverWords(reply.status)));
        return;
    }
    m_timestamp = apopTimestamp(reply.status.text);
    askCapabilities();
}

void PopLogOn::askCapabilities()
{
    m_connection.send("CAPA", PopConnection::Expect::MultiLine,
        [this](const PopReply &reply) { onCapabilities(reply); });
}

void PopLogOn::onCapabilities(const PopReply &reply)
{
    // A server without CAPA answers -ERR: it is an RFC 1939 server with USER and maybe TOP.
    m_capabilities = reply.status.ok ? parseCapabilities(reply.lines) : PopCapabilities{};
    if (!m_connection.isEncrypted() && !m_upgraded && m_capabilities.stls) {
        upgrade();
        return;
    }
    if (const auto refusal = m_connection.clearTextRefusal(m_account)) {
        m_callbacks.failed(refusal->first, refusal->second);
        return;
    }
    authenticate();
}

void PopLogOn::upgrade()
{
    m_callbacks.status(tr("Starting TLS with %1").arg(m_connection.where()));
    m_connection.send("STLS", PopConnection::Expect::Single, [this](const PopReply &reply) {
        if (!reply.status.ok) {
            m_callbacks.failed(MailError::TlsFailed,
                tr("%1 offered STLS and then refused it: %2")
                    .arg(m_connection.where(), serverWords(reply.status)));
            return;
        }
        m_upgraded = true;
        // What the server said before TLS may have been tampered with: ask again.
        m_connection.startTls([this] { askCapabilities(); });
    });
}

void PopLogOn::authenticate()
{
    m_methods.clear();
    if (!m_account.bearerToken.isEmpty()) {
        authBearer();
        return;
    }
    if (!m_connection.isEncrypted() && !m_timestamp.isEmpty())
        m_methods << &PopLogOn::apop;
    if (m_capabilities.offersSasl("PLAIN"))
        m_methods << &PopLogOn::authPlain;
    else if (m_capabilities.user || m_methods.isEmpty())
        m_methods << &PopLogOn::userPass;
    m_connection.setPipelining(m_account.pipelining && m_capabilities.pipelining);
    tryNextMethod();
}

void PopLogOn::tryNextMethod()
{
    const auto method = m_methods.takeFirst();
    ++m_attempt;
    (this->*method)();
    m_tried << m_method;
    m_callbacks.status(tr("Logging on as %1 with %2").arg(m_account.userName, m_method));
}

// The answers to an attempt given up (refused, the next method on its way) are dropped.
void PopLogOn::sendStep(
    const QByteArray &command, void (PopLogOn::*next)(const PopReply &), const QByteArray &logText)
{
    const int attempt = m_attempt;
    m_connection.send(
        command, PopConnection::Expect::Single,
        [this, attempt, next](const PopReply &reply) {
            if (attempt == m_attempt)
                (this->*next)(reply);
        },
        logText);
}

void PopLogOn::askStatAhead()
{
    if (!m_connection.pipelining())
        return;
    m_statAhead = m_attempt;
    sendStep("STAT", &PopLogOn::onStat);
}

void PopLogOn::apop()
{
    m_method = QStringLiteral("APOP");
    const QByteArray digest = QCryptographicHash::hash(
        m_timestamp + m_account.password.toUtf8(), QCryptographicHash::Md5);
    sendStep("APOP " + m_account.userName.toUtf8() + ' ' + digest.toHex(),
        &PopLogOn::onAuthenticated, "APOP " + m_account.userName.toUtf8() + " <digest>");
    askStatAhead();
}

void PopLogOn::authPlain()
{
    m_method = QStringLiteral("AUTH PLAIN");
    const QByteArray token
        = ('\0' + m_account.userName.toUtf8() + '\0' + m_account.password.toUtf8()).toBase64();
    sendStep("AUTH PLAIN " + token, &PopLogOn::onAuthenticated, "AUTH PLAIN <credentials>");
    askStatAhead();
}

// The token never goes out as a password: a server offering neither mechanism gets nothing.
// An initial response may make the AUTH line at most 255 octets (RFC 5034); a longer one (most
// tokens) waits for the server's empty challenge. STAT waits for the answer: the server's error
// challenge would take it for the response.
void PopLogOn::authBearer()
{
    if (!m_bearer.choose(
            [this](const QByteArray &name) { return m_capabilities.offersSasl(name); })) {
        m_callbacks.failed(
            MailError::LogOnRefused, Bearer::Exchange::nothingOffered(m_connection.where()));
        return;
    }
    m_connection.setPipelining(false);
    ++m_attempt;
    const QByteArray name = m_bearer.name();
    m_method = QString::fromLatin1(name);
    m_tried << m_method;
    const QByteArray response = m_bearer.start(m_account.userName, m_account.bearerToken,
        m_connection.endpoint().host, m_connection.endpoint().port);
    QByteArray command = "AUTH " + name;
    if (command.size() + 1 + response.size() <= 255) {
        command += ' ' + response;
        m_bearer.sentWithCommand();
    }
    m_connection.sendAuth(
        command, [this](const PopReply &reply) { onAuthenticated(reply); },
        [this](const PopReply &challenge) { onBearerChallenge(challenge); },
        "AUTH " + name + " <token>");
    m_callbacks.status(tr("Logging on as %1 with %2").arg(m_account.userName, m_method));
}

// The first challenge asks for the token where it did not go with the command; any other is
// the server's error, answered as the mechanism says so that the refusal follows.
void PopLogOn::onBearerChallenge(const PopReply &challenge)
{
    const Bearer::Exchange::Answer answer = m_bearer.answer(challenge.status.text);
    m_connection.sendLine(answer.line, answer.token ? QByteArray("<token>") : QByteArray());
}

void PopLogOn::userPass()
{
    m_method = QStringLiteral("USER/PASS");
    sendStep("USER " + m_account.userName.toUtf8(), &PopLogOn::onUser);
    if (m_connection.pipelining())
        sendPass();
}

void PopLogOn::onUser(const PopReply &reply)
{
    if (!reply.status.ok)
        refused(reply);
    else if (!m_connection.pipelining())
        sendPass();
}

void PopLogOn::sendPass()
{
    sendStep("PASS " + m_account.password.toUtf8(), &PopLogOn::onAuthenticated, "PASS <password>");
    askStatAhead();
}

void PopLogOn::onAuthenticated(const PopReply &reply)
{
    if (!reply.status.ok)
        refused(reply);
    else if (m_statAhead != m_attempt)
        sendStep("STAT", &PopLogOn::onStat);
}

void PopLogOn::refused(const PopReply &reply)
{
    if (m_connection.isDead())
        return;
    // A locked mailbox or a wait imposed by the server refuses every method alike.
    const QByteArray code = reply.status.code;
    const bool credentials = code != "IN-USE" && code != "LOGIN-DELAY" && !code.startsWith("SYS");
    if (credentials && !m_methods.isEmpty()) {
        tryNextMethod();
        return;
    }
    if (!m_account.bearerToken.isEmpty() && credentials) {
        const QString text
            = m_bearer.refusal(m_connection.where(), m_account.userName, serverWords(reply.status));
        m_connection.abort();
        m_callbacks.failed(MailError::TokenRefused, text);
        return;
    }
    const QString text = tr("%1 refused the log-on of %2 (%3): %4")
                             .arg(m_connection.where(), m_account.userName,
                                 m_tried.join(tr(", then ")), serverWords(reply.status));
    m_connection.abort();
    m_callbacks.failed(MailError::LogOnRefused, text);
}

void PopLogOn::onStat(const PopReply &reply)
{
    if (!reply.status.ok) {
        m_callbacks.failed(MailError::ServerError,
            tr("%1 refused STAT: %2").arg(m_connection.where(), serverWords(reply.status)));
        return;
    }
    bool ok = false;
    const qlonglong count = reply.status.text.split(' ').value(0).toLongLong(&ok);
    if (!ok || count < 0) {
        m_callbacks.failed(MailError::ProtocolError,
            tr("%1 answered STAT with no message count").arg(m_connection.where()));
        return;
    }
    Result result;
    result.capabilities = m_capabilities;
    result.messageCount = int(qMin<qlonglong>(count, 32767));
    m_callbacks.done(result);
}
