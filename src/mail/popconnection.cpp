#include "mail/popconnection.h"

#include "mail/mailerror.h"
#include "mail/mailsocket.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPop, "bvane.mail.pop3", QtWarningMsg)

PopConnection::PopConnection(
    Clock &clock, MailEndpoint endpoint, Options options, Limits limits, QObject *parent)
    : MailConnection(clock, std::move(endpoint), std::move(options), QStringLiteral("reply"),
        "STLS", "pop3s", parent)
    , m_bounds(limits)
    , m_reader(limits.maxLine)
{ }

PopConnection::~PopConnection() = default;

void PopConnection::open(Handler onGreeting)
{
    Command greeting;
    greeting.onReply = std::move(onGreeting);
    greeting.written = true;
    m_queue.push_back(std::move(greeting));
    updateTimeout();
    restartDeadline();
    connectStream();
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

void PopConnection::sendAuth(
    const QByteArray &command, Handler onReply, Handler onChallenge, const QByteArray &logText)
{
    send(command, Expect::Single, std::move(onReply), logText);
    if (!m_dead)
        m_queue.back().onChallenge = std::move(onChallenge);
}

void PopConnection::sendLine(const QByteArray &line, const QByteArray &logText)
{
    if (m_dead || !m_stream)
        return;
    qCDebug(lcPop) << where() << "<<" << (logText.isEmpty() ? line : logText);
    m_stream->write(line + "\r\n");
    progressMade();
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

void PopConnection::consume(const QByteArray &data)
{
    m_reader.append(data);
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
    if (!status && head.onChallenge && (line == "+" || line.startsWith("+ "))) {
        qCDebug(lcPop) << where() << ">>" << line.left(80);
        PopReply challenge;
        challenge.status.text = line.mid(2);
        progressMade();
        head.onChallenge(challenge);
        return !m_dead;
    }
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
        head.collector = std::make_unique<MultiLineCollector>(mode, m_bounds.maxReply);
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

// Reading on would only drop what comes, for as long as the server likes to send it.
void PopConnection::failTooLarge()
{
    fail(MailError::ResponseTooLarge,
        tr("%1 sent a reply over the limit of %2 KiB or a line over %3 KiB; the connection is "
           "dropped")
            .arg(where())
            .arg(m_bounds.maxReply / 1024)
            .arg(m_bounds.maxLine / 1024));
}

// The greeting is the one command without a line.
bool PopConnection::awaitingGreeting() const
{
    return !m_queue.empty() && m_queue.front().line.isEmpty();
}

bool PopConnection::awaitingServer() const
{
    return !m_dead && (!m_queue.empty() || m_handshaking);
}

void PopConnection::dropCommands()
{
    m_queue.clear();
}

QByteArray PopConnection::unwritten() const
{
    QByteArray out;
    for (const Command &command : m_queue) {
        if (!command.written)
            out += command.line + "\r\n";
    }
    return out;
}

qsizetype PopConnection::buffered() const
{
    return m_reader.pending();
}

QString PopConnection::takeBufferedWords()
{
    QByteArray line;
    const auto status
        = m_reader.next(&line) == LineReader::Result::Line ? parseStatusLine(line) : std::nullopt;
    return status ? statusWords(*status) : QString();
}
