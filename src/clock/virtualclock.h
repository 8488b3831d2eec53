#pragma once

#include "clock/clock.h"

#include <QHash>

// The clock of the tests. Time moves only when a test advances it, or when a wait has nothing
// else to do: a wait in progress jumps to the next due timer or to its own deadline, firing
// timers in order on the way, so a 60-second wait costs no real time.
//
// Tests that talk to real peers over sockets turn auto-advance off: a wait then lets real
// events arrive and virtual time moves only through advance().
class BVANECLOCK_EXPORT VirtualClock : public Clock
{
    Q_OBJECT

public:
    explicit VirtualClock(QTime startOfDay = QTime(12, 0), QObject *parent = nullptr);
    ~VirtualClock() override;

    qint64 tickCount() const override { return m_now; }
    QTime timeOfDay() const override;

    // Moves time on by `ms`, firing every timer that falls due, in order of due time (timers
    // due at the same moment in the order they were armed), with pending events run between.
    void advance(qint64 ms);
    void setAutoAdvance(bool on) { m_autoAdvance = on; }
    bool autoAdvance() const { return m_autoAdvance; }
    // Tick at which the next armed timer falls due, or -1.
    qint64 nextDue() const;

protected:
    void yieldOnce(qint64 deadline) override;
    void timerChanged(Timer *timer) override;
    void timerDestroyed(Timer *timer) override;

private:
    struct Schedule {
        qint64 due;
        quint64 order;
    };
    Timer *earliest() const;
    void runUntil(qint64 target);
    void fireNext(Timer *timer);
    static void runPendingEvents();

    QTime m_startOfDay;
    qint64 m_now = 0;
    quint64 m_nextOrder = 0;
    bool m_autoAdvance = true;
    QHash<Timer *, Schedule> m_armed;
};
