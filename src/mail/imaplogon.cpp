#include "mail/imaplogon.h"

#include "mail/imapconnection.h"
#include "mail/mailerror.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ImapLogOn", text);
}

QString serverWords(const ImapResponse &response)
{
    const QString words = imapStatusWords(response);
    return words.isEmpty() ? tr("(no reason given)") : words;
}

// An IMAP quoted string (for LOGIN); the caller has ruled out line ends and NUL.
QByteArray quotedString(const QString &text)
{
    QByteArray out = "\"";
    for (char c : text.toUtf8()) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

bool fitsQuoted(const QString &text)
{
    return !text.contains(u'\r') && !text.contains(u'\n') && !text.contains(QChar(0));
}

} // namespace

ImapLogOn::ImapLogOn(ImapConnection &connection, Account account, Callbacks callbacks)
    : m_connection(connection)
    , m_account(std::move(account))
    , m_callbacks(std::move(callbacks))
{ }

void ImapLogOn::start()
{
    m_callbacks.status(tr("Connecting to %1").arg(m_connection.where()));
    m_connection.onUntagged = [this](const ImapResponse &response) { return onUntagged(response); };
    m_connection.open([this](const ImapResponse &greeting) { onGreeting(greeting); });
}

// Only what the log-on uses counts as progress: the capabilities, the message count and the
// UIDVALIDITY.
bool ImapLogOn::onUntagged(const ImapResponse &response)
{
    const QList<QByteArray> capabilities = imapCapabilities(response);
    if (!capabilities.isEmpty())
        m_capabilities = capabilities;
    if (response.keyword == "EXISTS")
        m_exists = response.number;
    const bool validity = response.status == "OK" && response.code.startsWith("UIDVALIDITY ");
    if (validity)
        m_uidValidity = response.code.mid(12).trimmed();
    return !capabilities.isEmpty() || response.keyword == "EXISTS" || validity;
}

bool ImapLogOn::offers(const QByteArray &capability) const
{
    return m_capabilities.contains(capability);
}

void ImapLogOn::onGreeting(const ImapResponse &greeting)
{
    if (greeting.status == "BYE" || greeting.status == "NO" || greeting.status == "BAD") {
        m_callbacks.failed(MailError::LogOnRefused,
            tr("%1 turned the connection away: %2")
                .arg(m_connection.where(), serverWords(greeting)));
        return;
    }
    onUntagged(greeting);
    // A plain connection that starts logged on leaves no way to TLS (STARTTLS comes before
    // the log-on): where TLS is required, that is refused like a server without it.
    if (greeting.status == "PREAUTH" && !m_connection.isEncrypted()
        && (m_account.requireTls || m_account.tlsBefore)) {
        m_callbacks.failed(MailError::TlsRequired,
            tr("%1 logged on in the clear at once (PREAUTH), where TLS is required")
                .arg(m_connection.where()));
        return;
    }
    if (greeting.status == "PREAUTH") {
        m_method = QStringLiteral("PREAUTH");
        m_authenticated = true;
        askCapabilities([this] { select(); });
        return;
    }
    if (m_capabilities.isEmpty())
        askCapabilities([this] { secure(); });
    else
        secure();
}

void ImapLogOn::askCapabilities(const std::function<void()> &then)
{
    m_connection.send("CAPABILITY", [this, then](const ImapResponse &reply) {
        if (!reply.ok()) {
            m_callbacks.failed(MailError::ProtocolError,
                tr("%1 refused CAPABILITY: %2").arg(m_connection.where(), serverWords(reply)));
            return;
        }
        then();
    });
}

void ImapLogOn::secure()
{
    if (!m_connection.isEncrypted() && !m_upgraded && offers("STARTTLS")) {
        m_callbacks.status(tr("Starting TLS with %1").arg(m_connection.where()));
        m_connection.send("STARTTLS", [this](const ImapResponse &reply) {
            if (!reply.ok()) {
                m_callbacks.failed(MailError::TlsFailed,
                    tr("%1 offered STARTTLS and then refused it: %2")
                        .arg(m_connection.where(), serverWords(reply)));
                return;
            }
            m_upgraded = true;
            // What the server said before TLS may have been tampered with: ask again.
            m_capabilities.clear();
            m_connection.startTls([this] { askCapabilities([this] { authenticate(); }); });
        });
        return;
    }
    if (const auto refusal = m_connection.clearTextRefusal(m_account)) {
        m_callbacks.failed(refusal->first, refusal->second);
        return;
    }
    authenticate();
}

void ImapLogOn::authenticate()
{
    if (!m_account.bearerToken.isEmpty()) {
        authenticateBearer();
        return;
    }
    if (offers("AUTH=PLAIN")) {
        authenticatePlain();
    } else if (offers("LOGINDISABLED")) {
        m_callbacks.failed(MailError::TlsRequired,
            tr("%1 refuses to log on without TLS and offers none (LOGINDISABLED)")
                .arg(m_connection.where()));
        return;
    } else if (!fitsQuoted(m_account.userName) || !fitsQuoted(m_account.password)) {
        m_callbacks.failed(MailError::LogOnRefused,
            tr("The user name or password holds a line break, which LOGIN cannot carry"));
        return;
    } else {
        login();
    }
    m_callbacks.status(tr("Logging on as %1 with %2").arg(m_account.userName, m_method));
}

void ImapLogOn::authenticatePlain()
{
    m_method = QStringLiteral("AUTHENTICATE PLAIN");
    const QByteArray token
        = ('\0' + m_account.userName.toUtf8() + '\0' + m_account.password.toUtf8()).toBase64();
    const auto done = [this](const ImapResponse &reply) { onAuthenticated(reply); };
    if (offers("SASL-IR")) {
        m_connection.send("AUTHENTICATE PLAIN " + token, done, "AUTHENTICATE PLAIN <credentials>");
        selectAhead();
        return;
    }
    m_connection.send("AUTHENTICATE PLAIN", done, {},
        [this, token](const ImapResponse &) { m_connection.sendLine(token, "<credentials>"); });
}

void ImapLogOn::login()
{
    m_method = QStringLiteral("LOGIN");
    m_connection.send(
        "LOGIN " + quotedString(m_account.userName) + ' ' + quotedString(m_account.password),
        [this](const ImapResponse &reply) { onAuthenticated(reply); },
        "LOGIN " + quotedString(m_account.userName) + " <password>");
    selectAhead();
}

// The token never goes out as a password: a server offering neither mechanism gets nothing.
// SELECT waits for the answer: the server's error challenge would take it for the response.
void ImapLogOn::authenticateBearer()
{
    if (!m_bearer.choose([this](const QByteArray &name) { return offers("AUTH=" + name); })) {
        m_callbacks.failed(
            MailError::LogOnRefused, Bearer::Exchange::nothingOffered(m_connection.where()));
        return;
    }
    m_usesToken = true;
    const QByteArray name = m_bearer.name();
    m_method = QString::fromLatin1(name);
    const QByteArray response = m_bearer.start(m_account.userName, m_account.bearerToken,
        m_connection.endpoint().host, m_connection.endpoint().port);
    const auto done = [this](const ImapResponse &reply) { onAuthenticated(reply); };
    const auto challenged = [this](const ImapResponse &challenge) { onBearerChallenge(challenge); };
    if (offers("SASL-IR")) {
        m_connection.send("AUTHENTICATE " + name + ' ' + response, done,
            "AUTHENTICATE " + name + " <token>", challenged);
        m_bearer.sentWithCommand();
    } else {
        m_connection.send("AUTHENTICATE " + name, done, {}, challenged);
    }
    m_callbacks.status(tr("Logging on as %1 with %2").arg(m_account.userName, m_method));
}

// The first continuation asks for the token where it did not go with the command; any other
// is the server's error, answered as the mechanism says so that the refusal follows.
void ImapLogOn::onBearerChallenge(const ImapResponse &challenge)
{
    const Bearer::Exchange::Answer answer = m_bearer.answer(challenge.text);
    m_connection.sendLine(answer.line, answer.token ? QByteArray("<token>") : QByteArray());
}

// Only behind a command of one line: a continuation request would take SELECT for its answer.
void ImapLogOn::selectAhead()
{
    if (m_account.pipelining)
        select();
}

void ImapLogOn::onAuthenticated(const ImapResponse &reply)
{
    if (!reply.ok()) {
        refused(reply);
        return;
    }
    m_authenticated = true;
    // The capabilities change with the log-on; most servers send the new ones along.
    const QList<QByteArray> capabilities = imapCapabilities(reply);
    if (capabilities.isEmpty()) {
        m_askingCapabilities = true;
        askCapabilities([this] {
            m_askingCapabilities = false;
            if (m_selectSent)
                finishIfReady();
            else
                select();
        });
        return;
    }
    m_capabilities = capabilities;
    if (m_selectSent)
        finishIfReady();
    else
        select();
}

void ImapLogOn::refused(const ImapResponse &reply)
{
    if (m_usesToken) {
        const QString text
            = m_bearer.refusal(m_connection.where(), m_account.userName, serverWords(reply));
        m_connection.abort();
        m_callbacks.failed(MailError::TokenRefused, text);
        return;
    }
    const QString text
        = tr("%1 refused the log-on of %2 (%3): %4")
              .arg(m_connection.where(), m_account.userName, m_method, serverWords(reply));
    m_connection.abort();
    m_callbacks.failed(MailError::LogOnRefused, text);
}

void ImapLogOn::select()
{
    m_exists = -1;
    m_selectSent = true;
    m_connection.send("SELECT INBOX", [this](const ImapResponse &reply) {
        if (!reply.ok()) {
            m_callbacks.failed(MailError::ServerError,
                tr("%1 refused to open INBOX: %2").arg(m_connection.where(), serverWords(reply)));
            return;
        }
        if (m_exists < 0) {
            m_callbacks.failed(MailError::ProtocolError,
                tr("%1 opened INBOX without a message count").arg(m_connection.where()));
            return;
        }
        m_selected = true;
        finishIfReady();
    });
}

void ImapLogOn::finishIfReady()
{
    if (!m_authenticated || !m_selected || m_askingCapabilities)
        return;
    Result result;
    result.capabilities = m_capabilities;
    result.messageCount = int(qMin<qint64>(m_exists, 32767));
    result.uidValidity = m_uidValidity;
    m_callbacks.done(result);
}
