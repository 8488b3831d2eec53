#include "clock/timer.h"

#include "clock/clock.h"

#include <QPointer>

#include <utility>

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
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_clock.timerChanged(this);
}

void Timer::setInterval(int ms)
{
    m_interval = qMax(0, ms);
    m_clock.timerChanged(this);
}

void Timer::fire()
{
    if (m_inTick || m_holds > 0 || !isArmed())
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
    ++timer->m_holds;
}

Timer::Hold::Hold(Hold &&other) noexcept
    : m_timer(std::exchange(other.m_timer, nullptr))
{ }

Timer::Hold::~Hold()
{
    if (m_timer)
        --m_timer->m_holds;
}
