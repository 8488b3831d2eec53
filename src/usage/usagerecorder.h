#pragma once

#include "clock/timer.h"
#include "connection/dialupservice.h"
#include "connection/linecontroller.h"
#include "usage/usagestore.h"

#include <QObject>

#include <functional>

class AppContext;

// Keeps the usage record of our line: a row when the line comes up, brought up to date every
// minute while it stays up (so a crash or a power loss loses at most a minute), closed when
// the line goes down (by the user, or dropped) or when the program ends with it up. It
// follows the line controller's signals and has its own minute timer on the clock; the bytes
// come from the line's interface counters.
class UsageRecorder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kUpdateMs = 60000;

    UsageRecorder(
        AppContext &context, UsageStore &store, LineController &line, QObject *parent = nullptr);
    // A row still open is closed as ended by the program's exit.
    ~UsageRecorder() override;

    // The wall clock rows are dated by (UTC); their lengths come from the clock's tick count.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTimeUtc(); };

    bool recording() const { return m_session.id != 0; }
    // The open row as last measured.
    const UsageSession &current() const { return m_session; }
    Timer &updateTimer() { return m_update; }

Q_SIGNALS:
    // A row was started, updated or closed.
    void recorded();

private:
    void lineUp();
    void lineDown(LineController::LineEnd by);
    void Timer_Update();
    // The seconds and bytes of the open row from the tick count and the counters.
    void measure();
    void end(const QString &endedBy);
    QString entryName() const;

    AppContext &m_context;
    UsageStore &m_store;
    LineController &m_line;
    Timer m_update;
    UsageSession m_session;
    qint64 m_startTick = 0;
    // The counters when the line came up, their last reading, and what an interface that
    // started counting again (recreated) had counted before.
    LineCounters m_base;
    LineCounters m_last;
    LineCounters m_before;
};
