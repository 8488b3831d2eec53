#include "clock/virtualclock.h"

#include "clock/timer.h"

#include <QCoreApplication>
#include <QTimer>

VirtualClock::VirtualClock(QTime startOfDay, QObject *parent)
    : Clock(parent)
    , m_startOfDay(startOfDay)
{ }

VirtualClock::~VirtualClock() = default;

QTime VirtualClock::timeOfDay() const
{
    return m_startOfDay.addMSecs(int(m_now % (24 * 3600 * 1000)));
}

void VirtualClock::advance(qint64 ms)
{
    runUntil(m_now + qMax<qint64>(0, ms));
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
    s.order = m_nextOrder++;
    fire(timer);
    runPendingEvents();
}

void VirtualClock::yieldOnce(qint64 deadline)
{
    runPendingEvents();
    if (!m_autoAdvance) {
        // Let real events (sockets, processes) arrive; a short real wake keeps this from
        // blocking forever when nothing comes.
        QTimer::singleShot(10, this, [] {});
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        return;
    }
    Timer *next = earliest();
    if (next && (deadline < 0 || m_armed.value(next).due <= deadline))
        fireNext(next);
    else if (deadline >= 0)
        runUntil(deadline);
    else
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

void VirtualClock::timerChanged(Timer *timer)
{
    if (timer->isArmed())
        m_armed.insert(timer, Schedule{m_now + timer->nextDelay(m_now), m_nextOrder++});
    else
        m_armed.remove(timer);
}

void VirtualClock::timerDestroyed(Timer *timer)
{
    m_armed.remove(timer);
}

void VirtualClock::runPendingEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
