#pragma once

#include "bvaneclock_export.h"

#include <QObject>
#include <QPointer>

#include <coroutine>
#include <functional>
#include <memory>

namespace pinlib6 {

class Clock;
class Timer;

// What a coroutine awaits to wait on the clock: `co_await clock.sleep(5, this)` or
// `co_await clock.until(done, sender, &Sender::signal, this)`. The coroutine suspends and the
// caller goes on; the clock resumes it from the event loop when the time has passed on the
// tick count (a Timer of the clock, so the virtual clock drives it), when `done()` holds after
// the wake signal, or as soon as `context` is destroyed. The result says which: true when the
// wait ended by itself, false when the context went away (touch nothing of it then).
//
// The resumption is always posted to the clock, never run inside the tick or the signal that
// ended the wait, so a resumed coroutine never runs inside another one's stack.
class BVANECLOCK_EXPORT ClockWait
{
public:
    using Connector = std::function<QMetaObject::Connection(QObject *, std::function<void()>)>;

    ClockWait(Clock &clock, qint64 ms, std::function<bool()> done, Connector wake,
        const QObject *context);
    // Movable until it is awaited (GCC moves an awaiter that QCoro's promise hands on).
    ClockWait(ClockWait &&) = default;
    ClockWait(const ClockWait &) = delete;
    ClockWait &operator=(const ClockWait &) = delete;
    ~ClockWait();

    bool await_ready() const;
    void await_suspend(std::coroutine_handle<> handle);
    bool await_resume() const { return !m_contextGone; }

private:
    BVANECLOCK_NO_EXPORT void end();

    Clock &m_clock;
    qint64 m_ms; // -1: no deadline
    std::function<bool()> m_done;
    Connector m_wake;
    QPointer<const QObject> m_context;
    bool m_hasContext;
    bool m_contextGone = false;
    bool m_ending = false;
    std::coroutine_handle<> m_handle;
    // Receiver of every connection of the wait and owner of its timer: its end ends them.
    std::unique_ptr<QObject> m_guard;
    Timer *m_timer = nullptr;
};

} // namespace pinlib6
