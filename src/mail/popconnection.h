#pragma once

#include "mail/linereader.h"
#include "mail/mailconnection.h"
#include "mail/popreply.h"

#include <QList>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>

// A whole reply: the status line and, for multi-line replies that succeeded, the lines.
struct PopReply {
    PopStatus status;
    QList<QByteArray> lines;
};

// One POP3 connection: the bounded line reader, and the replies matched in order to the
// commands sent. Commands wait in a queue and are written one at a time, or all at once when
// pipelining is on.
//
// Besides the failures of every mail connection, a reply that is not POP3 or a reply or line
// past its bound fails it. A reply is bounded three ways: the idle time-out counts while
// something is awaited and restarts whenever data comes in; the deadline counts from the
// moment a reply is awaited until it is whole, however steadily data comes; and the kept text
// may not pass maxReply (nor a line maxLine), which fails at once instead of reading an endless
// reply to its end.
class PopConnection : public MailConnection
{
    Q_OBJECT

public:
    enum class Expect { Single, MultiLine, HeaderOnly };
    using Handler = std::function<void(const PopReply &)>;

    struct Limits {
        qsizetype maxLine = 64 * 1024;
        qsizetype maxReply = 1024 * 1024;
    };

    PopConnection(Clock &clock, MailEndpoint endpoint, Options options, Limits limits,
        QObject *parent = nullptr);
    ~PopConnection() override;

    // Connects; the greeting is the first reply and goes to `onGreeting`.
    void open(Handler onGreeting);
    // `logText` stands in for the command in debug output (for commands with secrets).
    void send(
        const QByteArray &command, Expect expect, Handler onReply, const QByteArray &logText = {});
    // An AUTH command: a SASL challenge ("+ base64") before its reply goes to `onChallenge`
    // (its status text the challenge), which answers it with sendLine().
    void sendAuth(
        const QByteArray &command, Handler onReply, Handler onChallenge, const QByteArray &logText);
    // A line answering a challenge; not a command, so no reply of its own.
    void sendLine(const QByteArray &line, const QByteArray &logText = {});
    void setPipelining(bool on);
    bool pipelining() const { return m_pipelining; }
    // Commands sent whose replies have not all come yet.
    int awaiting() const { return int(m_queue.size()); }

private:
    struct Command {
        QByteArray line;
        Expect expect = Expect::Single;
        Handler onReply;
        Handler onChallenge;
        bool written = false;
        std::unique_ptr<MultiLineCollector> collector;
        PopStatus status;
    };

    void consume(const QByteArray &data) override;
    qsizetype buffered() const override;
    bool awaitingServer() const override;
    bool awaitingGreeting() const override;
    QString takeBufferedWords() override;
    void dropCommands() override;
    QByteArray unwritten() const override;
    void writeQueued();
    bool takeLine(const QByteArray &line);
    void finishHead();
    void failTooLarge();

    Limits m_bounds;
    LineReader m_reader;
    std::deque<Command> m_queue;
    bool m_pipelining = false;
};
