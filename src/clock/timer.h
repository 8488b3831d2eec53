#pragma once

#include "bvaneclock_export.h"

#include <QObject>
#include <QPointer>

namespace pinlib6 {

class Clock;

// A timer with the old desktop semantics: it ticks every `interval` ms while enabled; an
// interval of 0 never ticks; setting the interval restarts the count; a tick handler may
// disable the timer (a one-shot timer is one whose handler does). A tick never re-enters
// a handler that is still running (a handler that waits does not tick itself again).
//
// So that an idle program does not wake for nothing, a timer that only waits for a known
// moment or for an event can say so: setNextDueAt() moves its next tick to a tick count (then
// the interval applies again), and sleepUntilWoken() keeps it enabled but silent until wake()
// (or setEnabled(true)) makes it tick at once.
class BVANECLOCK_EXPORT Timer : public QObject
{
    Q_OBJECT

public:
    explicit Timer(Clock &clock, QObject *parent = nullptr);
    Timer(Clock &clock, int intervalMs, bool enabled, QObject *parent = nullptr);
    ~Timer() override;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int interval() const { return m_interval; }
    void setInterval(int ms);
    // Enabled with a non-zero interval, and not asleep.
    bool isArmed() const { return m_enabled && m_interval > 0 && !m_asleep && m_holds == 0; }
    bool isAsleep() const { return m_asleep; }
    // The next tick falls at tick count `tick` (at once if that has passed), not one interval
    // after the last; the interval applies again after it.
    void setNextDueAt(qint64 tick);
    // Milliseconds from `now` to the next tick of an armed timer.
    qint64 nextDelay(qint64 now) const;
    // Stays enabled but does not tick until woken.
    void sleepUntilWoken();
    // An enabled timer, asleep or not, ticks at once (from the event loop, not inside this
    // call), then keeps its interval.
    void wake();
    bool isTicking() const { return m_inTick; }
    Clock &clock() const { return m_clock; }

    // Keeps the timer from ticking while it lives. A handler that goes on as a coroutine takes
    // one when it starts, so that its timer does not start it again while it waits.
    class BVANECLOCK_EXPORT Hold
    {
    public:
        explicit Hold(Timer *timer);
        Hold(Hold &&other) noexcept;
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;
        Hold &operator=(Hold &&) = delete;
        ~Hold();

    private:
        QPointer<Timer> m_timer;
    };
    [[nodiscard]] Hold hold() { return Hold(this); }
    bool isHeld() const { return m_holds > 0; }

Q_SIGNALS:
    void tick();

private:
    friend class Clock;
    BVANECLOCK_NO_EXPORT void fire();

    // Tells the clock the timer's state changed (armed or not, when next).
    BVANECLOCK_NO_EXPORT void rearm();

    Clock &m_clock;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_inTick = false;
    int m_holds = 0;
    bool m_asleep = false;
    qint64 m_dueAt = -1;
};

} // namespace pinlib6
