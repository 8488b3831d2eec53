#pragma once

#include "bvaneclock_export.h"

#include <QObject>
#include <QPointer>

class Clock;

// A timer with the old desktop semantics: it ticks every `interval` ms while enabled; an
// interval of 0 never ticks; setting the interval restarts the count; a tick handler may
// disable the timer (a one-shot timer is one whose handler does). A tick never re-enters
// a handler that is still running (a handler that waits does not tick itself again).
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
    // Enabled with a non-zero interval.
    bool isArmed() const { return m_enabled && m_interval > 0; }
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
    void fire();

    Clock &m_clock;
    int m_interval = 0;
    bool m_enabled = false;
    bool m_inTick = false;
    int m_holds = 0;
};
