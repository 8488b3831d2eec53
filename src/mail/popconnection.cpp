#include "mail/popconnection.h"

#include "clock/clock.h"
#include "mail/answerlimits.h"
#include "mail/mailerror.h"
#include "mail/mailsocket.h"
#include "mail/mailtransport.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPop, "bvane.mail.pop3", QtWarningMsg)

PopConnection::PopConnection(Clock &clock, PopEndpoint endpoint, Options options, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_endpoint(std::move(endpoint))
    , m_options(std::move(options))
    , m_stream(MailTransport::newStream(&m_noStream))
    , m_limits(new AnswerLimits(
          clock, {m_options.timeoutMs, m_options.deadlineMs, QStringLiteral("reply")},
          [this] { return where(); }, this))
    , m_reader(m_options.maxLine)
{
    connect(m_limits, &AnswerLimits::expired, this,
        [this](const QString &text) { fail(MailError::TimedOut, text); });
    if (!m_stream)
        return;
    MailStream::Callbacks callbacks;
    callbacks.readyRead = [this] { onReadyRead(); };
    callbacks.failed
        = [this](const MailStream::Failure &failure) { fail(failure.first, failure.second); };
    callbacks.disconnected = [this] { onDisconnected(); };
    callbacks.encrypted = [this] {
        m_handshaking = false;
        updateTimeout();
        if (auto ready = std::exchange(m_onTlsReady, nullptr))
            ready();
    };
    m_stream->setCallbacks(std::move(callbacks));
}

PopConnection::~PopConnection() = default;

QString PopConnection::where() const
{
    return MailSocket::where(m_endpoint.host, m_endpoint.port);
}

void PopConnection::open(Handler onGreeting)
{
    Command greeting;
    greeting.onReply = std::move(onGreeting);
    greeting.written = true;
    m_queue.push_back(std::move(greeting));
    updateTimeout();
    restartDeadline();
    if (!m_stream) {
        fail(m_noStream.first, m_noStream.second);
        return;
    }
    if (!m_endpoint.implicitTls) {
        m_stream->connectPlain(m_endpoint.host, m_endpoint.port);
        return;
    }
    m_handshaking = true;
    const auto refused
        = m_stream->connectEncrypted(m_endpoint.host, m_endpoint.port, m_options.caFile);
    if (refused)
        fail(refused->first, refused->second);
}

void PopConnection::send(
    const QByteArray &command, Expect expect, Handler onReply, const QByteArray &logText)
{
    if (m_dead)
        return;
    qCDebug(lcPop) << where() << "<<" << (logText.isEmpty() ? command : logText);
    Command next;
    next.line = command;
    next.expect = expect;
    next.onReply = std::move(onReply);
    m_queue.push_back(std::move(next));
    writeQueued();
    updateTimeout();
    if (m_queue.size() == 1)
        restartDeadline();
}

void PopConnection::startTls(std::function<void()> onReady)
{
    if (m_dead)
        return;
    m_onTlsReady = std::move(onReady);
    m_handshaking = true;
    updateTimeout();
    restartDeadline();
    const auto refused = m_stream->upgrade(m_reader.pending(), "STLS", m_options.caFile);
    if (refused)
        fail(refused->first, refused->second);
}

void PopConnection::setPipelining(bool on)
{
    m_pipelining = on;
    writeQueued();
}

void PopConnection::writeQueued()
{
    if (m_handshaking || !m_stream)
        return;
    QByteArray out;
    for (Command &command : m_queue) {
        if (!command.written) {
            out += command.line + "\r\n";
            command.written = true;
        }
        if (!m_pipelining)
            break;
    }
    if (!out.isEmpty())
        m_stream->write(out);
}

void PopConnection::onReadyRead()
{
    const QByteArray data = m_stream->readAll();
    if (data.isEmpty() || m_dead)
        return;
    m_reader.append(data);
    updateTimeout();
    QByteArray line;
    for (;;) {
        switch (m_reader.next(&line)) {
        case LineReader::Result::NeedMore: return;
        case LineReader::Result::Line:
            if (!takeLine(line))
                return;
            break;
        case LineReader::Result::TooLong:
            if (m_queue.empty() || !m_queue.front().collector) {
                fail(MailError::ResponseTooLarge,
                    tr("%1 sent a reply line longer than %2 bytes")
                        .arg(where())
                        .arg(m_reader.maxLine()));
                return;
            }
            m_queue.front().collector->addDropped();
            if (m_queue.front().collector->overflowed()) {
                failTooLarge();
                return;
            }
            break;
        }
    }
}

// Returns false once the connection is dead or is switching to TLS.
bool PopConnection::takeLine(const QByteArray &line)
{
    if (m_queue.empty() || !m_queue.front().written) {
        qCDebug(lcPop) << where() << "unsolicited" << line.left(80);
        return true;
    }
    Command &head = m_queue.front();
    if (head.collector) {
        if (head.collector->add(line))
            finishHead();
        else if (head.collector->overflowed())
            failTooLarge();
        return !m_dead && !m_handshaking;
    }
    const auto status = parseStatusLine(line);
    if (!status) {
        fail(MailError::ProtocolError,
            tr("%1 sent something that is not a POP3 reply: %2")
                .arg(where(), MailSocket::quoted(line)));
        return false;
    }
    qCDebug(lcPop) << where() << ">>" << line.left(80);
    head.status = *status;
    if (status->ok && head.expect != Expect::Single) {
        const auto mode = head.expect == Expect::HeaderOnly ? MultiLineCollector::Mode::HeaderOnly
                                                            : MultiLineCollector::Mode::AllLines;
        head.collector = std::make_unique<MultiLineCollector>(mode, m_options.maxReply);
        return true;
    }
    finishHead();
    return !m_dead && !m_handshaking;
}

void PopConnection::finishHead()
{
    Command done = std::move(m_queue.front());
    m_queue.pop_front();
    PopReply reply;
    reply.status = done.status;
    if (done.collector)
        reply.lines = done.collector->lines();
    writeQueued();
    updateTimeout();
    restartDeadline();
    if (done.onReply)
        done.onReply(reply);
}

void PopConnection::onDisconnected()
{
    fail(MailError::ConnectionClosed, tr("%1 closed the connection").arg(where()));
}

// Reading on would only drop what comes, for as long as the server likes to send it.
void PopConnection::failTooLarge()
{
    fail(MailError::ResponseTooLarge,
        tr("%1 sent a reply over the limit of %2 KiB or a line over %3 KiB; the connection is "
           "dropped")
            .arg(where())
            .arg(m_options.maxReply / 1024)
            .arg(m_options.maxLine / 1024));
}

void PopConnection::fail(int number, const QString &text)
{
    if (m_dead)
        return;
    qCDebug(lcPop) << where() << "failed:" << text;
    m_dead = true;
    m_handshaking = false;
    m_limits->stop();
    if (m_stream)
        m_stream->abort();
    m_queue.clear();
    Q_EMIT failed(number, text);
}

bool PopConnection::awaitingServer() const
{
    return !m_dead && (!m_queue.empty() || m_handshaking);
}

void PopConnection::updateTimeout()
{
    m_limits->dataMoved(awaitingServer());
}

void PopConnection::restartDeadline()
{
    m_limits->answerBegins(awaitingServer());
}

void PopConnection::closeGracefully()
{
    if (m_dead)
        return;
    m_dead = true;
    m_limits->stop();
    for (Command &command : m_queue) {
        if (!command.written)
            m_stream->write(command.line + "\r\n");
    }
    m_queue.clear();
    m_stream.release()->closeOnItsOwn();
}

void PopConnection::abort()
{
    if (m_dead)
        return;
    m_dead = true;
    m_limits->stop();
    if (m_stream)
        m_stream->abort();
    m_queue.clear();
}
