#include "mail/imapconnection.h"

#include "mail/answerlimits.h"
#include "mail/mailerror.h"
#include "mail/mailsocket.h"
#include "mail/mailtransport.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcImap, "bvane.mail.imap", QtWarningMsg)

ImapConnection::ImapConnection(Clock &clock, PopEndpoint endpoint, Options options, QObject *parent)
    : QObject(parent)
    , m_endpoint(std::move(endpoint))
    , m_options(std::move(options))
    , m_stream(MailTransport::newStream(&m_noStream))
    , m_limits(new AnswerLimits(
          clock, {m_options.timeoutMs, m_options.deadlineMs, QStringLiteral("response")},
          [this] { return where(); }, this))
    , m_reader(m_options.limits)
{
    connect(m_limits, &AnswerLimits::expired, this,
        [this](const QString &text) { fail(MailError::TimedOut, text); });
    connect(m_limits, &AnswerLimits::stalled, this, &ImapConnection::onStalled);
    if (!m_stream)
        return;
    MailStream::Callbacks callbacks;
    callbacks.readyRead = [this] { onReadyRead(); };
    callbacks.failed = [this](const MailStream::Failure &failure) { onStreamFailed(failure); };
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
}

ImapConnection::~ImapConnection() = default;

QString ImapConnection::where() const
{
    return MailSocket::where(m_endpoint.host, m_endpoint.port);
}

void ImapConnection::open(Handler onGreeting)
{
    m_onGreeting = std::move(onGreeting);
    if (!m_stream) {
        fail(m_noStream.first, m_noStream.second);
        return;
    }
    if (!m_endpoint.implicitTls) {
        m_stream->connectPlain(m_endpoint.host, m_endpoint.port);
        updateTimeout();
        restartDeadline();
        progressMade();
        return;
    }
    m_handshaking = true;
    const auto refused
        = m_stream->connectEncrypted(m_endpoint.host, m_endpoint.port, m_options.caFile);
    if (refused) {
        fail(refused->first, refused->second);
        return;
    }
    updateTimeout();
    restartDeadline();
    progressMade();
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
    m_stream->write(tag + ' ' + command + "\r\n");
    updateTimeout();
    if (!wasAwaiting) {
        restartDeadline();
        progressMade();
    }
}

void ImapConnection::sendLine(const QByteArray &line, const QByteArray &logText)
{
    if (m_dead)
        return;
    qCDebug(lcImap) << where() << "<<" << (logText.isEmpty() ? line : logText);
    m_stream->write(line + "\r\n");
    updateTimeout();
}

void ImapConnection::startTls(std::function<void()> onReady)
{
    if (m_dead)
        return;
    m_onTlsReady = std::move(onReady);
    m_handshaking = true;
    updateTimeout();
    restartDeadline();
    progressMade();
    const auto refused = m_stream->upgrade(m_reader.pending(), "STARTTLS", m_options.caFile);
    if (refused)
        fail(refused->first, refused->second);
}

void ImapConnection::setQuiet(bool on)
{
    m_quiet = on;
    updateTimeout();
    restartDeadline();
    progressMade();
}

void ImapConnection::onReadyRead()
{
    const QByteArray data = m_stream->readAll();
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
        progressMade();
        return !m_dead && !m_handshaking;
    }
    switch (response.kind) {
    case ImapResponse::Kind::Untagged:
        if (response.status == "BYE" && !m_byeExpected) {
            fail(MailError::ConnectionClosed,
                tr("%1 closed the session: %2").arg(where(), imapStatusWords(response)));
            return false;
        }
        if (onUntagged && onUntagged(response)) {
            progressMade();
        } else if (!m_stalled.isEmpty()) {
            fail(MailError::TimedOut, m_stalled);
            return false;
        }
        break;
    case ImapResponse::Kind::Continuation:
        if (m_commands.empty() || !m_commands.front().onContinue) {
            fail(MailError::ProtocolError,
                tr("%1 asked for more of a command that has no more").arg(where()));
            return false;
        }
        progressMade();
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
        progressMade();
        if (onDone)
            onDone(response);
        break;
    }
    }
    restartDeadline(); // a whole response came: the next one has its own
    return !m_dead && !m_handshaking;
}

void ImapConnection::onStreamFailed(const MailStream::Failure &failure)
{
    // The server closing after LOGOUT's BYE is the end that was asked for.
    if (failure.first == MailError::ConnectionClosed && m_byeExpected && m_commands.empty())
        return;
    fail(failure.first, failure.second);
}

void ImapConnection::fail(int number, const QString &text)
{
    if (m_dead)
        return;
    qCDebug(lcImap) << where() << "failed:" << text;
    m_dead = true;
    m_handshaking = false;
    m_limits->stop();
    if (m_stream)
        m_stream->abort();
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

void ImapConnection::progressMade()
{
    m_stalled.clear();
    m_limits->progressMade(awaitingServer());
}

// A response half in (a long literal trickling) may yet turn out to be the progress awaited:
// it is judged once whole, and the deadline bounds it. Dripping other responses byte by byte
// so gains nothing: the first of them to end fails the command.
void ImapConnection::onStalled(const QString &text)
{
    if (m_reader.pending() > 0)
        m_stalled = text;
    else
        fail(MailError::TimedOut, text);
}

void ImapConnection::closeGracefully()
{
    if (m_dead)
        return;
    m_dead = true;
    m_limits->stop();
    m_commands.clear();
    m_stream.release()->closeOnItsOwn();
}

void ImapConnection::abort()
{
    if (m_dead)
        return;
    m_dead = true;
    m_limits->stop();
    if (m_stream)
        m_stream->abort();
    m_commands.clear();
}
