#include "mail/imapconnection.h"

#include "mail/mailerror.h"
#include "mail/mailsocket.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcImap, "bvane.mail.imap", QtWarningMsg)

ImapConnection::ImapConnection(Clock &clock, MailEndpoint endpoint, Options options,
    ImapResponseReader::Limits limits, QObject *parent)
    : MailConnection(clock, std::move(endpoint), std::move(options), QStringLiteral("response"),
        "STARTTLS", "imaps", parent)
    , m_reader(limits)
{ }

ImapConnection::~ImapConnection() = default;

void ImapConnection::open(Handler onGreeting)
{
    m_onGreeting = std::move(onGreeting);
    if (!connectStream())
        return;
    updateTimeout();
    restartDeadline();
    progress();
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
        progress();
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

void ImapConnection::setQuiet(bool on)
{
    m_quiet = on;
    updateTimeout();
    restartDeadline();
    progress();
}

void ImapConnection::consume(const QByteArray &data)
{
    m_reader.append(data);
    using Result = ImapResponseReader::Result;
    ImapResponse response;
    Result result = m_reader.next(&response);
    for (; result == Result::Response; result = m_reader.next(&response)) {
        if (response.kind == ImapResponse::Kind::Tagged)
            m_untaggedBytes = 0;
        else
            m_untaggedBytes += m_reader.lastSize();
        if (m_untaggedBytes > m_reader.limits().maxBetweenTagged) {
            fail(MailError::ResponseTooLarge,
                tr("%1 sent more than %2 MB of responses without finishing a command")
                    .arg(where())
                    .arg(m_reader.limits().maxBetweenTagged / (1024 * 1024)));
            return;
        }
        if (!take(response))
            return;
    }
    if (result == Result::TooLarge) {
        fail(MailError::ResponseTooLarge,
            tr("%1 sent a response with %2").arg(where(), m_reader.problem()));
    } else if (result == Result::Malformed) {
        fail(MailError::ProtocolError,
            tr("%1 sent something that is not an IMAP response: %2")
                .arg(where(), m_reader.problem()));
    }
}

// Returns false once the connection is dead or is switching to TLS.
bool ImapConnection::take(const ImapResponse &response)
{
    qCDebug(lcImap) << where() << ">>" << response.tag << response.status << response.keyword
                    << response.number << response.text.left(60);
    // A refusal (a tagged NO or BAD, BYE, a greeting that turns away) carries an alert in its
    // failure's text; any other goes out on its own.
    const bool refusal = !response.ok()
        && (response.kind == ImapResponse::Kind::Tagged || response.status == "BYE"
            || m_onGreeting);
    if (!refusal && response.code.compare("ALERT", Qt::CaseInsensitive) == 0)
        Q_EMIT alert(imapStatusWords(response).mid(8)); // the words after "[ALERT] "
    if (m_onGreeting) {
        if (response.kind != ImapResponse::Kind::Untagged || !response.isStatus()) {
            fail(MailError::ProtocolError, tr("%1 did not greet as an IMAP server").arg(where()));
            return false;
        }
        updateTimeout();
        std::exchange(m_onGreeting, nullptr)(response);
        restartDeadline();
        progress();
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
            progress();
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
        progress();
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
        progress();
        if (onDone)
            onDone(response);
        break;
    }
    }
    restartDeadline(); // a whole response came: the next one has its own
    return !m_dead && !m_handshaking;
}

void ImapConnection::streamFailed(const MailStream::Failure &failure)
{
    // The server closing after LOGOUT's BYE is the end that was asked for.
    if (failure.first == MailError::ConnectionClosed && m_byeExpected && m_commands.empty())
        return;
    fail(failure.first, failure.second);
}

bool ImapConnection::awaitingServer() const
{
    return !m_dead && (m_handshaking || m_onGreeting || (!m_commands.empty() && !m_quiet));
}

void ImapConnection::progress()
{
    m_stalled.clear();
    progressMade();
}

// A response half in (a long literal trickling) may yet turn out to be the progress awaited:
// it is judged once whole, and the deadline bounds it. Dripping other responses byte by byte
// so gains nothing: the first of them to end fails the command.
void ImapConnection::stalled(const QString &text)
{
    if (m_reader.pending() > 0)
        m_stalled = text;
    else
        fail(MailError::TimedOut, text);
}

void ImapConnection::dropCommands()
{
    m_commands.clear();
}

qsizetype ImapConnection::buffered() const
{
    return m_reader.pending();
}

QString ImapConnection::takeBufferedWords()
{
    ImapResponse response;
    const bool whole = m_reader.next(&response) == ImapResponseReader::Result::Response;
    return whole && response.isStatus() ? imapStatusWords(response) : QString();
}
