#pragma once

#include <QObject>
#include <QString>

#include <functional>

// The limits on a mail server's answer, counted on the project's clock while a connection
// awaits the server. The time-out counts from the last data that moved; the deadline from the
// start of the answer in progress, however steadily its data trickles in. A connection whose
// server may talk about other things meanwhile (IMAP's untagged responses) also counts the
// time-out from the last progress on the commands it awaits: bytes about something else do not
// keep a command alive. The first two stop them all and end in `expired` with the text to
// report, naming the server by `where()`; the third ends in `stalled`, and the connection
// judges.
class AnswerLimits : public QObject
{
    Q_OBJECT

public:
    struct Options {
        int timeoutMs;
        int deadlineMs;
        QString answer; // what one answer is called in the text: "reply", "response"
    };

    AnswerLimits(
        Clock &clock, Options options, std::function<QString()> where, QObject *parent = nullptr);

    // Data moved: while `awaiting`, the time-out counts again from now; otherwise it stops.
    void dataMoved(bool awaiting);
    // An answer begins (or a whole one came): the same for the deadline.
    void answerBegins(bool awaiting);
    // A command advanced (an answer that belongs to it came, or one was sent): the same for
    // the time-out without progress. Never called, it never runs.
    void progressMade(bool awaiting);
    void stop();

Q_SIGNALS:
    void expired(const QString &text);
    void stalled(const QString &text);

private:
    void expire(const QString &text);

    Options m_options;
    std::function<QString()> m_where;
    Timer *m_timeout;
    Timer *m_deadline;
    Timer *m_progress;
};
