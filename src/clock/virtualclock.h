#pragma once

#include "clock/clock.h"

#include <QHash>

#include <functional>

namespace pinlib6 {

// The clock of the tests. Time moves only when a test advances it, firing the timers that fall
// due in order on the way, so a 60-second wait costs no real time. Waits (coroutines suspended
// on the clock) resume as their timers fire. advance() is never re-entered: a handler that
// tried to wait by advancing the clock would be a wait nested in another, and stops the test.
class BVANECLOCK_EXPORT VirtualClock : public Clock
{
    Q_OBJECT

public:
    explicit VirtualClock(QTime startOfDay = QTime(12, 0), QObject *parent = nullptr);
    ~VirtualClock() override;

    qint64 tickCount() const override { return m_now; }
    QTime timeOfDay() const override;

    // Moves time on by `ms`, firing every timer that falls due, in order of due time (timers
    // due at the same moment in the order they were armed, trailing ones last), with pending
    // events run between.
    void advance(qint64 ms);
    // Moves time on from one due timer to the next until `done()` holds, at most `limitMs`;
    // returns whether it holds. For a test that runs a procedure to its end without knowing
    // how long its waits take.
    bool advanceUntil(const std::function<bool()> &done, qint64 limitMs);
    // Whether advance() is running (a test pump that moves time with real time skips then).
    bool isAdvancing() const { return m_advancing; }
    // Tick at which the next armed timer falls due, or -1.
    qint64 nextDue() const;

protected:
    void timerChanged(Timer *timer) override;
    void timerDestroyed(Timer *timer) override;

private:
    struct Schedule {
        qint64 due;
        quint64 order;
    };
    BVANECLOCK_NO_EXPORT Timer *earliest() const;
    BVANECLOCK_NO_EXPORT void runUntil(qint64 target);
    BVANECLOCK_NO_EXPORT void fireNext(Timer *timer);
    BVANECLOCK_NO_EXPORT void runPendingEvents() const;

    QTime m_startOfDay;
    qint64 m_now = 0;
    quint64 m_nextOrder = 0;
    bool m_advancing = false;
    QHash<Timer *, Schedule> m_armed;
};

} // namespace pinlib6
