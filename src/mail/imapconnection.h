#pragma once

#include "mail/imapresponse.h"
#include "mail/mailconnection.h"

#include <QObject>

#include <deque>
#include <functional>
#include <memory>

// One IMAP connection: the bounded response reader and tagged commands. Commands are written as
// they are sent (IMAP lets a client have several in flight); each one's tagged completion goes to
// its handler, a continuation request ("+") to its continuation handler, and every untagged
// response to onUntagged, in the order they come.
//
// Besides the failures of every mail connection, a response that is not IMAP or too large,
// and BYE before LOGOUT, fail it. The time-out counts while a command awaits completion, except
// while the server holds an IDLE, and restarts whenever data comes in. The deadline counts
// over the same stretches but restarts only when a whole response has come: a response that
// trickles in, however steadily, cannot hold the connection for longer. And the time-out
// counts once more from the last progress on the commands: a completion, a continuation
// request, or an untagged response that onUntagged takes as theirs. A server that answers a
// command with an endless stream of other untagged responses fails at the time-out.
class ImapConnection : public MailConnection
{
    Q_OBJECT

public:
    using Handler = std::function<void(const ImapResponse &)>;

    ImapConnection(Clock &clock, MailEndpoint endpoint, Options options,
        ImapResponseReader::Limits limits = {}, QObject *parent = nullptr);
    ~ImapConnection() override;

    // Connects; the greeting (an untagged OK, PREAUTH or BYE) goes to `onGreeting`.
    void open(Handler onGreeting);
    // Sends "tag command". `logText` stands in for the command in debug output.
    void send(const QByteArray &command, Handler onDone, const QByteArray &logText = {},
        Handler onContinue = {});
    // A line answering a continuation request (SASL response, IDLE's DONE).
    void sendLine(const QByteArray &line, const QByteArray &logText = {});
    // While on, an unanswered command does not count towards the time-out (IDLE).
    void setQuiet(bool on);
    int awaiting() const { return int(m_commands.size()); }
    // Lets LOGOUT's BYE through without failing.
    void expectBye() { m_byeExpected = true; }

    // Every untagged response; true when it belongs to a command in progress (a header the
    // FETCH asked for, the SELECT's count), which counts as its progress.
    std::function<bool(const ImapResponse &)> onUntagged;

private:
    struct Command {
        QByteArray tag;
        Handler onDone;
        Handler onContinue;
    };

    void consume(const QByteArray &data) override;
    qsizetype buffered() const override;
    bool awaitingServer() const override;
    bool awaitingGreeting() const override { return bool(m_onGreeting); }
    QString takeBufferedWords() override;
    void dropCommands() override;
    void streamFailed(const MailStream::Failure &failure) override;
    void stalled(const QString &text) override;
    bool take(const ImapResponse &response);
    void progress();

    ImapResponseReader m_reader;
    Handler m_onGreeting;
    std::deque<Command> m_commands;
    QString m_stalled; // the time-out without progress ran out within a response
    qsizetype m_untaggedBytes = 0; // since the last tagged response
    int m_nextTag = 1;
    bool m_quiet = false;
    bool m_byeExpected = false;
};
