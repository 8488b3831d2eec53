#include "clock/timer.h"

#include "clock/clock.h"

#include <QPointer>

#include <utility>

namespace pinlib6 {

Timer::Timer(Clock &clock, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
{ }

Timer::Timer(Clock &clock, int intervalMs, bool enabled, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_interval(qMax(0, intervalMs))
    , m_enabled(enabled)
{
    m_clock.timerChanged(this);
}

Timer::~Timer()
{
    m_clock.timerDestroyed(this);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled && m_enabled && m_asleep) {
        wake();
        return;
    }
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_asleep = false;
    m_dueAt = -1;
    m_clock.timerChanged(this);
}

void Timer::setInterval(int ms)
{
    m_interval = qMax(0, ms);
    m_asleep = false;
    m_dueAt = -1;
    m_clock.timerChanged(this);
}

void Timer::setNextDueAt(qint64 tick)
{
    m_asleep = false;
    m_dueAt = tick;
    m_clock.timerChanged(this);
}

void Timer::rearm()
{
    m_clock.timerChanged(this);
}

qint64 Timer::nextDelay(qint64 now) const
{
    return m_dueAt >= 0 ? qMax<qint64>(0, m_dueAt - now) : m_interval;
}

void Timer::sleepUntilWoken()
{
    if (m_asleep)
        return;
    m_asleep = true;
    m_dueAt = -1;
    m_clock.timerChanged(this);
}

void Timer::wake()
{
    if (m_enabled)
        setNextDueAt(m_clock.tickCount());
}

void Timer::fire()
{
    if (!isArmed())
        return;
    if (m_dueAt >= 0) {
        // The moved tick has come: back to the interval (the handler may move the next one).
        m_dueAt = -1;
        m_clock.timerChanged(this);
    }
    if (m_inTick)
        return;
    QPointer<Timer> alive(this);
    m_inTick = true;
    Q_EMIT tick();
    if (alive)
        m_inTick = false;
}

Timer::Hold::Hold(Timer *timer)
    : m_timer(timer)
{
    // A held timer is not armed at all, so it does not wake the program while it is held.
    if (++timer->m_holds == 1)
        timer->rearm();
}

Timer::Hold::Hold(Hold &&other) noexcept
    : m_timer(std::exchange(other.m_timer, nullptr))
{ }

Timer::Hold::~Hold()
{
    if (m_timer && --m_timer->m_holds == 0)
        m_timer->rearm();
}

} // namespace pinlib6
