#include "mail/imapconnection.h"

#include "mail/answerlimits.h"
#include "mail/mailerror.h"
#include "mail/mailsocket.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcImap, "bvane.mail.imap", QtWarningMsg)

ImapConnection::ImapConnection(Clock &clock, PopEndpoint endpoint, Options options, QObject *parent)
    : QObject(parent)
    , m_endpoint(std::move(endpoint))
    , m_options(std::move(options))
    , m_socket(new QSslSocket(this))
    , m_limits(new AnswerLimits(
          clock, {m_options.timeoutMs, m_options.deadlineMs, QStringLiteral("response")},
          [this] { return where(); }, this))
    , m_reader(m_options.limits)
{
    connect(m_limits, &AnswerLimits::expired, this,
        [this](const QString &text) { fail(MailError::TimedOut, text); });
    connect(m_socket, &QSslSocket::readyRead, this, &ImapConnection::onReadyRead);
    connect(m_socket, &QSslSocket::errorOccurred, this, &ImapConnection::onSocketError);
    connect(m_socket, &QSslSocket::disconnected, this,
        [this] { fail(MailError::ConnectionClosed, tr("%1 closed the connection").arg(where())); });
    connect(m_socket, &QSslSocket::sslErrors, this,
        [this](const QList<QSslError> &errors) { m_sslErrors = errors; });
    connect(m_socket, &QSslSocket::encrypted, this, [this] {
        m_handshaking = false;
        updateTimeout();
        if (auto ready = std::exchange(m_onTlsReady, nullptr))
            ready();
    });
}

ImapConnection::~ImapConnection() = default;

QString ImapConnection::where() const
{
    return MailSocket::where(m_endpoint.host, m_endpoint.port);
}

void ImapConnection::open(Handler onGreeting)
{
    m_onGreeting = std::move(onGreeting);
    if (!m_endpoint.implicitTls) {
        m_socket->connectToHost(m_endpoint.host, m_endpoint.port);
        updateTimeout();
        restartDeadline();
        return;
    }
    if (const auto refused = MailSocket::readyTls(*m_socket, m_options.caCertificates)) {
        fail(refused->first, refused->second);
        return;
    }
    m_handshaking = true;
    m_socket->connectToHostEncrypted(m_endpoint.host, m_endpoint.port);
    updateTimeout();
    restartDeadline();
}

void ImapConnection::send(
    const QByteArray &command, Handler onDone, const QByteArray &logText, Handler onContinue)
{
    if (m_dead)
        return;
    const QByteArray tag = 'b' + QByteArray::number(m_nextTag++);
    qCDebug(lcImap) << where() << "<<" << tag << (logText.isEmpty() ? command : logText);
    const bool wasAwaiting = awaitingServer();
    m_commands.push_back({tag, std::move(onDone), std::move(onContinue)});
    m_socket->write(tag + ' ' + command + "\r\n");
    updateTimeout();
    if (!wasAwaiting)
        restartDeadline();
}

void ImapConnection::sendLine(const QByteArray &line, const QByteArray &logText)
{
    if (m_dead)
        return;
    qCDebug(lcImap) << where() << "<<" << (logText.isEmpty() ? line : logText);
    m_socket->write(line + "\r\n");
    updateTimeout();
}

void ImapConnection::startTls(std::function<void()> onReady)
{
    if (m_dead)
        return;
    const auto refused = MailSocket::readyUpgrade(
        *m_socket, m_reader.pending(), where(), "STARTTLS", m_options.caCertificates);
    if (refused) {
        fail(refused->first, refused->second);
        return;
    }
    m_onTlsReady = std::move(onReady);
    m_handshaking = true;
    updateTimeout();
    restartDeadline();
    m_socket->startClientEncryption();
}

void ImapConnection::setQuiet(bool on)
{
    m_quiet = on;
    updateTimeout();
    restartDeadline();
}

void ImapConnection::onReadyRead()
{
    const QByteArray data = m_socket->readAll();
    if (data.isEmpty() || m_dead)
        return;
    m_reader.append(data);
    updateTimeout();
    ImapResponse response;
    for (;;) {
        switch (m_reader.next(&response)) {
        case ImapResponseReader::Result::NeedMore: return;
        case ImapResponseReader::Result::Response:
            if (!take(response))
                return;
            break;
        case ImapResponseReader::Result::TooLarge:
            fail(MailError::ResponseTooLarge,
                tr("%1 sent a response with %2").arg(where(), m_reader.problem()));
            return;
        case ImapResponseReader::Result::Malformed:
            fail(MailError::ProtocolError,
                tr("%1 sent something that is not an IMAP response: %2")
                    .arg(where(), m_reader.problem()));
            return;
        }
    }
}

// Returns false once the connection is dead or is switching to TLS.
bool ImapConnection::take(const ImapResponse &response)
{
    qCDebug(lcImap) << where() << ">>" << response.tag << response.status << response.keyword
                    << response.number << response.text.left(60);
    if (m_onGreeting) {
        if (response.kind != ImapResponse::Kind::Untagged || !response.isStatus()) {
            fail(MailError::ProtocolError, tr("%1 did not greet as an IMAP server").arg(where()));
            return false;
        }
        updateTimeout();
        std::exchange(m_onGreeting, nullptr)(response);
        restartDeadline();
        return !m_dead && !m_handshaking;
    }
    switch (response.kind) {
    case ImapResponse::Kind::Untagged:
        if (response.status == "BYE" && !m_byeExpected) {
            fail(MailError::ConnectionClosed,
                tr("%1 closed the session: %2").arg(where(), imapStatusWords(response)));
            return false;
        }
        if (onUntagged)
            onUntagged(response);
        break;
    case ImapResponse::Kind::Continuation:
        if (m_commands.empty() || !m_commands.front().onContinue) {
            fail(MailError::ProtocolError,
                tr("%1 asked for more of a command that has no more").arg(where()));
            return false;
        }
        m_commands.front().onContinue(response);
        break;
    case ImapResponse::Kind::Tagged: {
        const auto command = std::find_if(m_commands.begin(), m_commands.end(),
            [&](const Command &c) { return c.tag == response.tag; });
        if (command == m_commands.end()) {
            fail(MailError::ProtocolError,
                tr("%1 answered a command that was not sent: %2")
                    .arg(where(), MailSocket::quoted(response.tag)));
            return false;
        }
        Handler onDone = std::move(command->onDone);
        m_commands.erase(command);
        updateTimeout();
        if (onDone)
            onDone(response);
        break;
    }
    }
    restartDeadline(); // a whole response came: the next one has its own
    return !m_dead && !m_handshaking;
}

void ImapConnection::onSocketError(QAbstractSocket::SocketError error)
{
    if (error == QAbstractSocket::RemoteHostClosedError && m_byeExpected && m_commands.empty())
        return;
    const auto [number, text]
        = MailSocket::failure(error, *m_socket, m_endpoint.host, where(), m_sslErrors);
    fail(number, text);
}

void ImapConnection::fail(int number, const QString &text)
{
    if (m_dead)
        return;
    qCDebug(lcImap) << where() << "failed:" << text;
    m_dead = true;
    m_handshaking = false;
    m_limits->stop();
    m_socket->disconnect(this);
    m_socket->abort();
    m_commands.clear();
    Q_EMIT failed(number, text);
}

bool ImapConnection::awaitingServer() const
{
    return !m_dead && (m_handshaking || m_onGreeting || (!m_commands.empty() && !m_quiet));
}

void ImapConnection::updateTimeout()
{
    m_limits->dataMoved(awaitingServer());
}

void ImapConnection::restartDeadline()
{
    m_limits->answerBegins(awaitingServer());
}

void ImapConnection::closeGracefully()
{
    if (m_dead)
        return;
    m_dead = true;
    m_limits->stop();
    m_commands.clear();
    m_socket->disconnect(this);
    MailSocket::closeOnItsOwn(std::exchange(m_socket, nullptr));
}

void ImapConnection::abort()
{
    if (m_dead)
        return;
    m_dead = true;
    m_limits->stop();
    m_socket->disconnect(this);
    m_socket->abort();
    m_commands.clear();
}
