#pragma once

#include "mail/linereader.h"
#include "mail/mailstream.h"
#include "mail/pophost.h"
#include "mail/popreply.h"

#include <QList>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>

class Clock;
class AnswerLimits;

// A whole reply: the status line and, for multi-line replies that succeeded, the lines.
struct PopReply {
    PopStatus status;
    QList<QByteArray> lines;
};

// One POP3 connection: the stream (plain, implicit TLS, or upgraded by STLS), the bounded
// line reader, and the replies matched in order to the commands sent. Commands wait in a
// queue and are written one at a time, or all at once when pipelining is on.
//
// Any failure of the connection itself (refused, dropped, TLS, time-out, a reply that is not
// POP3, a reply or line past its bound) is reported once through failed(), after which the
// connection is dead and takes no more commands. A reply is bounded three ways: the idle
// time-out counts while something is awaited and restarts whenever data comes in; the
// deadline counts from the moment a reply is awaited until it is whole, however steadily data
// comes; and the kept text may not pass maxReply (nor a line maxLine), which fails at once
// instead of reading an endless reply to its end.
class PopConnection : public QObject
{
    Q_OBJECT

public:
    enum class Expect { Single, MultiLine, HeaderOnly };
    using Handler = std::function<void(const PopReply &)>;

    struct Options {
        int timeoutMs = 60000;
        int deadlineMs = 300000;
        qsizetype maxLine = 64 * 1024;
        qsizetype maxReply = 1024 * 1024;
        QString caFile; // authorities trusted besides the system's; none when empty
    };

    PopConnection(Clock &clock, PopEndpoint endpoint, Options options, QObject *parent = nullptr);
    ~PopConnection() override;

    // Connects; the greeting is the first reply and goes to `onGreeting`.
    void open(Handler onGreeting);
    // `logText` stands in for the command in debug output (for commands with secrets).
    void send(
        const QByteArray &command, Expect expect, Handler onReply, const QByteArray &logText = {});
    // After "+OK" to STLS: the TLS handshake; `onReady` runs once it has succeeded.
    void startTls(std::function<void()> onReady);
    void setPipelining(bool on);
    bool pipelining() const { return m_pipelining; }
    bool isEncrypted() const { return m_stream && m_stream->isEncrypted(); }
    bool isDead() const { return m_dead; }
    // Commands sent whose replies have not all come yet.
    int awaiting() const { return int(m_queue.size()); }
    const PopEndpoint &endpoint() const { return m_endpoint; }
    QString where() const;
    // Sends what is queued, then closes (the stream outlives this object until it is done).
    void closeGracefully();
    void abort();

Q_SIGNALS:
    void failed(int number, const QString &text);

private:
    struct Command {
        QByteArray line;
        Expect expect = Expect::Single;
        Handler onReply;
        bool written = false;
        std::unique_ptr<MultiLineCollector> collector;
        PopStatus status;
    };

    void writeQueued();
    void onReadyRead();
    bool takeLine(const QByteArray &line);
    void finishHead();
    void onDisconnected();
    void fail(int number, const QString &text);
    bool awaitingServer() const;
    void updateTimeout();
    void restartDeadline();
    void failTooLarge();

    Clock &m_clock;
    PopEndpoint m_endpoint;
    Options m_options;
    MailStream::Failure m_noStream; // why there is no stream (set while m_stream is made)
    std::unique_ptr<MailStream> m_stream; // null when the mail transport failed to load
    AnswerLimits *m_limits;
    LineReader m_reader;
    std::deque<Command> m_queue;
    std::function<void()> m_onTlsReady;
    bool m_pipelining = false;
    bool m_dead = false;
    bool m_handshaking = false;
};
