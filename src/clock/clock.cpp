#include "clock/clock.h"

#include "clock/timer.h"

Clock::~Clock() = default;

double Clock::secondsSinceMidnight() const
{
    return timeOfDay().msecsSinceStartOfDay() / 1000.0;
}

ClockWait Clock::sleep(double seconds, const QObject *context)
{
    return ClockWait(*this, qRound64(seconds * 1000.0), {}, {}, context);
}

void Clock::resumeLater(std::coroutine_handle<> handle)
{
    QMetaObject::invokeMethod(
        this, [handle] { handle.resume(); }, Qt::QueuedConnection);
}

void Clock::fire(Timer *timer)
{
    timer->fire();
}
