#pragma once

#include "mail/imapresponse.h"
#include "mail/mailstream.h"
#include "mail/pophost.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>

class Clock;
class AnswerLimits;

// One IMAP connection: the stream (plain, implicit TLS, or upgraded by STARTTLS), the bounded
// response reader, and tagged commands. Commands are written as they are sent (IMAP lets a
// client have several in flight); each one's tagged completion goes to its handler, a
// continuation request ("+") to its continuation handler, and every untagged response to
// onUntagged, in the order they come.
//
// Any failure of the connection itself (refused, dropped, TLS, time-out, a response that is
// not IMAP or too large, BYE before LOGOUT) is reported once through failed(), after which
// the connection is dead. The time-out counts while a command awaits completion, except
// while the server holds an IDLE, and restarts whenever data comes in. The deadline counts
// over the same stretches but restarts only when a whole response has come: a response that
// trickles in, however steadily, cannot hold the connection for longer. And the time-out
// counts once more from the last progress on the commands: a completion, a continuation
// request, or an untagged response that onUntagged takes as theirs. A server that answers a
// command with an endless stream of other untagged responses fails at the time-out.
class ImapConnection : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<void(const ImapResponse &)>;

    struct Options {
        int timeoutMs = 60000;
        int deadlineMs = 300000; // for one whole response
        ImapResponseReader::Limits limits;
        QString caFile; // authorities trusted besides the system's; none when empty
    };

    ImapConnection(Clock &clock, PopEndpoint endpoint, Options options, QObject *parent = nullptr);
    ~ImapConnection() override;

    // Connects; the greeting (an untagged OK, PREAUTH or BYE) goes to `onGreeting`.
    void open(Handler onGreeting);
    // Sends "tag command". `logText` stands in for the command in debug output.
    void send(const QByteArray &command, Handler onDone, const QByteArray &logText = {},
        Handler onContinue = {});
    // A line answering a continuation request (SASL response, IDLE's DONE).
    void sendLine(const QByteArray &line, const QByteArray &logText = {});
    // After OK to STARTTLS: the TLS handshake; `onReady` runs once it has succeeded.
    void startTls(std::function<void()> onReady);
    // While on, an unanswered command does not count towards the time-out (IDLE).
    void setQuiet(bool on);
    bool isEncrypted() const { return m_stream && m_stream->isEncrypted(); }
    bool isDead() const { return m_dead; }
    int awaiting() const { return int(m_commands.size()); }
    QString where() const;
    // Lets LOGOUT's BYE through without failing.
    void expectBye() { m_byeExpected = true; }
    // Sends nothing more and closes (the stream outlives this object until it is done).
    void closeGracefully();
    void abort();

    // Every untagged response; true when it belongs to a command in progress (a header the
    // FETCH asked for, the SELECT's count), which counts as its progress.
    std::function<bool(const ImapResponse &)> onUntagged;

Q_SIGNALS:
    void failed(int number, const QString &text);

private:
    struct Command {
        QByteArray tag;
        Handler onDone;
        Handler onContinue;
    };

    void onReadyRead();
    bool take(const ImapResponse &response);
    void onStreamFailed(const MailStream::Failure &failure);
    void fail(int number, const QString &text);
    void updateTimeout();
    void restartDeadline();
    void progressMade();
    void onStalled(const QString &text);
    bool awaitingServer() const;

    PopEndpoint m_endpoint;
    Options m_options;
    MailStream::Failure m_noStream; // why there is no stream (set while m_stream is made)
    std::unique_ptr<MailStream> m_stream; // null when the mail transport failed to load
    AnswerLimits *m_limits;
    ImapResponseReader m_reader;
    Handler m_onGreeting;
    std::deque<Command> m_commands;
    std::function<void()> m_onTlsReady;
    QString m_stalled; // the time-out without progress ran out within a response
    int m_nextTag = 1;
    bool m_dead = false;
    bool m_handshaking = false;
    bool m_quiet = false;
    bool m_byeExpected = false;
};
