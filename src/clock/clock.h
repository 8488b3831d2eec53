#pragma once

#include "bvaneclock_export.h"

#include <QObject>
#include <QTime>

// The timed waits are C++20 coroutines; a C++17 host sees the clock and its timers without
// them.
#if defined(__cpp_impl_coroutine)
#include "clock/clockwait.h"

#include <coroutine>
#include <functional>
#define PINLIB6_CLOCK_WAITS 1
#endif

namespace pinlib6 {

class Timer;

// The one source of time for the program. Every timer and every timed wait goes through a
// Clock, so that tests can run minutes of schedule in virtual time without sleeping.
//
// A timed wait is a coroutine suspended on the clock (see ClockWait): the caller returns to the
// event loop at once and the clock resumes the coroutine when its time has come. No wait runs
// the event loop inside its caller's stack, so two waits never hold each other up.
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

#ifdef PINLIB6_CLOCK_WAITS
    // `co_await clock.sleep(s, this)`: resumes once `seconds` have elapsed on the tick count
    // (so a wait that starts just before midnight still lasts its full length), or early with
    // false when `context` is destroyed.
    [[nodiscard]] ClockWait sleep(double seconds, const QObject *context = nullptr);
    // `co_await clock.until(done, sender, &Sender::signal, this)`: resumes when `done()` holds,
    // checking it at once and after each emission of `signal`; false when `context` is
    // destroyed first.
    template <typename Sender, typename Signal>
    [[nodiscard]] ClockWait until(std::function<bool()> done, const Sender *sender, Signal signal,
        const QObject *context = nullptr)
    {
        auto wake = [sender, signal](QObject *receiver, std::function<void()> check) {
            return QObject::connect(sender, signal, receiver, [check] { check(); });
        };
        return ClockWait(*this, -1, std::move(done), wake, context);
    }

    // Resumes `handle` from the event loop; every wait on this clock ends through here.
    void resumeLater(std::coroutine_handle<> handle);
#endif

protected:
    // Timers tell their clock when they are armed, disarmed or destroyed.
    friend class Timer;
    virtual void timerChanged(Timer *timer) = 0;
    virtual void timerDestroyed(Timer *timer) = 0;
    static void fire(Timer *timer);
    // Resumptions posted by resumeLater() that have not run yet. One posted while the event
    // loop delivers another waits for the loop's next pass; the virtual clock, which runs the
    // loop only between its timers, passes again until none is left.
    int resumesPending() const
    {
        return m_resumesPending;
    }
    // What lives as long as the clock (its children: a mail quit still under way, say) goes
    // first in a clock's destructor, while the clock can still take its timers' last words;
    // as QObject children they would go only after the clock's own parts are gone.
    void deleteOwnedObjects();

private:
    // A call dropped with the clock is never counted down: the count goes with the clock.
    int m_resumesPending = 0;
};

} // namespace pinlib6
