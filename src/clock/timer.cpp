#include "clock/timer.h"

#include "clock/clock.h"

#include <QPointer>

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
    if (m_inTick || !isArmed())
        return;
    QPointer<Timer> alive(this);
    m_inTick = true;
    Q_EMIT tick();
    if (alive)
        m_inTick = false;
}
