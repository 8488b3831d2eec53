#include "mail/mailconnection.h"

#include "mail/answerlimits.h"
#include "mail/mailerror.h"
#include "mail/mailsocket.h"

namespace {
// A TLS record (a handshake or an alert, version 3.x) opens so.
bool opensTlsRecord(const QByteArray &data)
{
    return data.size() >= 2 && (data[0] == 0x15 || data[0] == 0x16) && data[1] == 0x03;
}
} // namespace

MailConnection::MailConnection(Clock &clock, MailEndpoint endpoint, Options options,
    const QString &answer, const char *tlsCommand, const char *tlsScheme, QObject *parent)
    : QObject(parent)
    , m_stream(newMailStream())
    , m_limits(new AnswerLimits(
          clock, {options.timeoutMs, options.deadlineMs, answer}, [this] { return where(); }, this))
    , m_endpoint(std::move(endpoint))
    , m_options(std::move(options))
    , m_tlsCommand(tlsCommand)
    , m_tlsScheme(tlsScheme)
{
    connect(m_limits, &AnswerLimits::expired, this, [this](const QString &text) {
        // A port that speaks TLS at once is silent where the greeting belongs: it waits for
        // the client's hello. The text names the way there.
        const bool greeting = awaitingGreeting() && !m_endpoint.implicitTls;
        fail(MailError::TimedOut,
            greeting ? tr("%1; if it speaks TLS at once, use %2://")
                           .arg(text, QLatin1String(m_tlsScheme))
                     : text);
    });
    connect(m_limits, &AnswerLimits::stalled, this, &MailConnection::stalled);
    MailStream::Callbacks callbacks;
    callbacks.readyRead = [this] {
        const QByteArray data = m_stream->readAll();
        if (data.isEmpty() || m_dead || failsAsTlsAtOnce(data))
            return;
        updateTimeout();
        consume(data);
    };
    callbacks.failed = [this](const MailStream::Failure &failure) { streamFailed(failure); };
    callbacks.disconnected = [this] {
        fail(MailError::ConnectionClosed, tr("%1 closed the connection").arg(where()));
    };
    callbacks.encrypted = [this] {
        m_handshaking = false;
        updateTimeout();
        progressMade();
        if (auto ready = std::exchange(m_onTlsReady, nullptr))
            ready();
    };
    m_stream->setCallbacks(std::move(callbacks));
    m_stream->setTrustedCertificate(m_options.trustedCertificate);
}

MailConnection::~MailConnection() = default;

QString MailConnection::where() const
{
    return MailSocket::where(m_endpoint.host, m_endpoint.port);
}

bool MailConnection::connectStream()
{
    if (!m_endpoint.implicitTls) {
        m_stream->connectPlain(m_endpoint.host, m_endpoint.port);
        return true;
    }
    m_handshaking = true;
    const auto refused
        = m_stream->connectEncrypted(m_endpoint.host, m_endpoint.port, m_options.caFile);
    if (refused)
        fail(refused->first, refused->second);
    return !refused;
}

std::optional<std::pair<int, QString>> MailConnection::clearTextRefusal(
    const MailAccount &account) const
{
    if (isEncrypted())
        return std::nullopt;
    const QString command = QLatin1String(m_tlsCommand);
    if (account.tlsBefore) {
        return std::pair{int(MailError::TlsRequired),
            tr("%1 offers no TLS (%2) this time, though this account logged on with TLS "
               "before; someone on the way may have removed it. Not logging on in the clear")
                .arg(where(), command)};
    }
    if (account.requireTls) {
        return std::pair{int(MailError::TlsRequired),
            tr("%1 offers no TLS (%2); not logging on in the clear").arg(where(), command)};
    }
    if (account.allowClearText || (m_stream && m_stream->peerIsLoopback()))
        return std::nullopt;
    return std::pair{int(MailError::ClearTextRefused),
        tr("The server %1 offers no encryption (%2); the password was not sent unencrypted")
            .arg(where(), command)};
}

void MailConnection::startTls(std::function<void()> onReady)
{
    if (m_dead)
        return;
    m_onTlsReady = std::move(onReady);
    m_handshaking = true;
    updateTimeout();
    restartDeadline();
    progressMade();
    const auto refused = m_stream->upgrade(buffered(), m_tlsCommand, m_options.caFile);
    if (!refused)
        return;
    // Courier, for one, agrees and then says why it cannot start TLS: keep its words.
    const QString words = takeBufferedWords();
    fail(refused->first,
        words.isEmpty() ? refused->second : refused->second + QStringLiteral(": ") + words);
}

// First bytes of a plain connection that open a TLS record: the port speaks TLS at once, and
// waiting for a greeting would only run out the time-out.
bool MailConnection::failsAsTlsAtOnce(const QByteArray &data)
{
    if (m_endpoint.implicitTls || !awaitingGreeting() || buffered() > 0 || !opensTlsRecord(data))
        return false;
    fail(MailError::ProtocolError,
        tr("%1 speaks TLS at once: use %2://").arg(where(), QLatin1String(m_tlsScheme)));
    return true;
}

void MailConnection::streamFailed(const MailStream::Failure &failure)
{
    fail(failure.first, failure.second);
}

void MailConnection::stalled(const QString &text)
{
    fail(MailError::TimedOut, text);
}

void MailConnection::fail(int number, const QString &text)
{
    if (m_dead)
        return;
    stop();
    if (m_stream) {
        m_refusedCertificate = m_stream->refusedCertificate();
        m_stream->abort();
    }
    Q_EMIT failed(number, text);
}

void MailConnection::updateTimeout()
{
    m_limits->dataMoved(awaitingServer());
}

void MailConnection::restartDeadline()
{
    m_limits->answerBegins(awaitingServer());
}

void MailConnection::progressMade()
{
    m_limits->progressMade(awaitingServer());
}

void MailConnection::stop()
{
    m_dead = true;
    m_handshaking = false;
    m_limits->stop();
    dropCommands();
}

void MailConnection::closeGracefully()
{
    if (m_dead)
        return;
    const QByteArray rest = unwritten();
    stop();
    if (!rest.isEmpty())
        m_stream->write(rest);
    m_stream.release()->closeOnItsOwn();
}

void MailConnection::abort()
{
    if (m_dead)
        return;
    stop();
    if (m_stream)
        m_stream->abort();
}
