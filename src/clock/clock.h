#pragma once

#include "bvaneclock_export.h"

#include <QObject>
#include <QTime>

#include <functional>

class Timer;

// The one source of time for the program. Every timer and every timed wait goes through a
// Clock, so that tests can run minutes of schedule in virtual time without sleeping.
//
// Waits are cooperative, as the program has always done them: they note the time and keep
// yielding to the event loop until the time has passed or a condition holds, so timer ticks,
// tray clicks and control events run inside them.
class BVANECLOCK_EXPORT Clock : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~Clock() override;

    // Milliseconds since an arbitrary origin; never goes backwards.
    virtual qint64 tickCount() const = 0;
    // Wall-clock time of day (for display only; never measure a wait with it).
    virtual QTime timeOfDay() const = 0;
    double secondsSinceMidnight() const;

    // Yields until `seconds` have elapsed on the tick count, so a wait that starts just before
    // midnight still lasts its full length.
    void waitSeconds(double seconds);
    void waitMilliseconds(qint64 ms);
    // Yields until `done()` holds. With a time-out (ms, >= 0) it gives up after that long.
    // Returns whether `done()` held.
    bool waitUntil(const std::function<bool()> &done, qint64 timeoutMs = -1);

protected:
    // One step of a wait that ends at tick `deadline` (or never, for -1): run what is pending
    // and let time move on.
    virtual void yieldOnce(qint64 deadline) = 0;

    // Timers tell their clock when they are armed, disarmed or destroyed.
    friend class Timer;
    virtual void timerChanged(Timer *timer) = 0;
    virtual void timerDestroyed(Timer *timer) = 0;
    static void fire(Timer *timer);
};
