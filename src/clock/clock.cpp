#include "clock/clock.h"

#include "clock/timer.h"

Clock::~Clock() = default;

double Clock::secondsSinceMidnight() const
{
    return timeOfDay().msecsSinceStartOfDay() / 1000.0;
}

void Clock::waitSeconds(double seconds)
{
    waitMilliseconds(qRound64(seconds * 1000.0));
}

void Clock::waitMilliseconds(qint64 ms)
{
    if (ms <= 0)
        return;
    waitUntil([] { return false; }, ms);
}

bool Clock::waitUntil(const std::function<bool()> &done, qint64 timeoutMs)
{
    const qint64 deadline = timeoutMs >= 0 ? tickCount() + timeoutMs : -1;
    while (!done()) {
        if (deadline >= 0 && tickCount() >= deadline)
            return false;
        yieldOnce(deadline);
    }
    return true;
}

void Clock::fire(Timer *timer)
{
    timer->fire();
}
