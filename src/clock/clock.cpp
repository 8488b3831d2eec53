#include "clock/clock.h"

#include "clock/clockwait.h"
#include "clock/timer.h"

#include <climits>
#include <memory>

namespace pinlib6 {

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
    ++m_resumesPending;
    QMetaObject::invokeMethod(
        this,
        [this, handle] {
            --m_resumesPending;
            handle.resume();
        },
        Qt::QueuedConnection);
}

void Clock::deleteOwnedObjects()
{
    // A destructor may take siblings with it: each round asks for the first child left.
    while (!children().isEmpty())
        delete children().constFirst();
}

void Clock::fire(Timer *timer)
{
    timer->fire();
}

ClockWait::ClockWait(
    Clock &clock, qint64 ms, std::function<bool()> done, Connector wake, const QObject *context)
    : m_clock(clock)
    , m_ms(ms)
    , m_done(std::move(done))
    , m_wake(std::move(wake))
    , m_context(context)
    , m_hasContext(context != nullptr)
{ }

ClockWait::~ClockWait() = default;

bool ClockWait::await_ready() const
{
    if (m_hasContext && !m_context)
        return true;
    if (m_done)
        return m_done();
    return m_ms <= 0;
}

void ClockWait::await_suspend(std::coroutine_handle<> handle)
{
    m_handle = handle;
    m_guard = std::make_unique<QObject>();
    if (m_ms >= 0) {
        m_timer = new Timer(m_clock, m_guard.get());
        // The virtual clock fires it after the other timers due at the same moment.
        m_timer->setProperty("clockTrailing", true);
        m_timer->setInterval(int(qMin<qint64>(m_ms, INT_MAX)));
        m_timer->setEnabled(true);
        QObject::connect(m_timer, &Timer::tick, m_guard.get(), [this] { end(); });
    }
    if (m_hasContext) {
        QObject::connect(m_context.data(), &QObject::destroyed, m_guard.get(), [this] {
            m_contextGone = true;
            end();
        });
    }
    if (m_wake) {
        m_wake(m_guard.get(), [this] {
            if (m_done())
                end();
        });
    }
}

void ClockWait::end()
{
    if (m_ending)
        return;
    m_ending = true;
    if (m_timer)
        m_timer->setEnabled(false);
    m_clock.resumeLater(m_handle);
}

} // namespace pinlib6
