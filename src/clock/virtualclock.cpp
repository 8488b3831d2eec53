#include "clock/virtualclock.h"

#include "clock/timer.h"

#include <QCoreApplication>

namespace pinlib6 {

namespace {
// Timers with this property set fire last among those due at the same moment: the end of a
// wait of n seconds comes after the ticks that fall on its last moment, as it always has.
constexpr const char *kTrailing = "clockTrailing";
constexpr quint64 kTrailingOrder = quint64(1) << 62;

// The place of a timer among those due at the same moment; `next` counts arming order.
quint64 order(const Timer *timer, quint64 &next)
{
    return next++ + (timer->property(kTrailing).toBool() ? kTrailingOrder : 0);
}
} // namespace

VirtualClock::VirtualClock(QTime startOfDay, QObject *parent)
    : Clock(parent)
    , m_startOfDay(startOfDay)
{ }

VirtualClock::~VirtualClock()
{
    deleteOwnedObjects();
}

QTime VirtualClock::timeOfDay() const
{
    return m_startOfDay.addMSecs(int(m_now % (24 * 3600 * 1000)));
}

void VirtualClock::advance(qint64 ms)
{
    if (m_advancing)
        qFatal("VirtualClock::advance called from a timer it fired: a nested wait");
    m_advancing = true;
    runUntil(m_now + qMax<qint64>(0, ms));
    m_advancing = false;
}

bool VirtualClock::advanceUntil(const std::function<bool()> &done, qint64 limitMs)
{
    const qint64 end = m_now + qMax<qint64>(0, limitMs);
    advance(0);
    while (!done() && m_now < end) {
        const qint64 next = nextDue();
        advance((next < 0 || next > end ? end : next) - m_now);
    }
    return done();
}

qint64 VirtualClock::nextDue() const
{
    Timer *timer = earliest();
    return timer ? m_armed.value(timer).due : -1;
}

Timer *VirtualClock::earliest() const
{
    Timer *best = nullptr;
    Schedule bestAt{};
    for (auto it = m_armed.cbegin(); it != m_armed.cend(); ++it) {
        const Schedule &s = it.value();
        if (!best || s.due < bestAt.due || (s.due == bestAt.due && s.order < bestAt.order)) {
            best = it.key();
            bestAt = s;
        }
    }
    return best;
}

void VirtualClock::runUntil(qint64 target)
{
    runPendingEvents();
    while (Timer *timer = earliest()) {
        if (m_armed.value(timer).due > target)
            break;
        fireNext(timer);
    }
    m_now = qMax(m_now, target);
    runPendingEvents();
}

void VirtualClock::fireNext(Timer *timer)
{
    Schedule &s = m_armed[timer];
    m_now = qMax(m_now, s.due);
    // Re-arm before the tick, so that a handler that changes the timer has the last word.
    s.due = m_now + timer->interval();
    s.order = order(timer, m_nextOrder);
    fire(timer);
    runPendingEvents();
}

void VirtualClock::timerChanged(Timer *timer)
{
    if (timer->isArmed())
        m_armed.insert(timer, Schedule{m_now + timer->nextDelay(m_now), order(timer, m_nextOrder)});
    else
        m_armed.remove(timer);
}

void VirtualClock::timerDestroyed(Timer *timer)
{
    m_armed.remove(timer);
}

void VirtualClock::runPendingEvents() const
{
    // A chain of resumptions (one wait ending another) runs now, as the real event loop
    // would run it, not at the next timer. The bound only guards against a loop that never
    // settles.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    for (int pass = 0; resumesPending() > 0 && pass < 1000; ++pass)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

} // namespace pinlib6
