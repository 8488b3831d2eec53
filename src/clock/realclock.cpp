#include "clock/realclock.h"

#include "clock/timer.h"

#include <ctime>

namespace pinlib6 {

RealClock::RealClock(QObject *parent)
    : Clock(parent)
{ }

RealClock::~RealClock()
{
    deleteOwnedObjects();
    for (const Backend &backend : std::as_const(m_backends))
        delete backend.timer;
}

qint64 RealClock::tickCount() const
{
    timespec now = {};
    clock_gettime(CLOCK_BOOTTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

QTime RealClock::timeOfDay() const
{
    return QTime::currentTime();
}

void RealClock::timerChanged(Timer *timer)
{
    Backend &backend = m_backends[timer];
    if (!backend.timer) {
        backend.timer = new QTimer;
        backend.timer->setTimerType(Qt::PreciseTimer);
        connect(backend.timer, &QTimer::timeout, timer, [this, timer, qtTimer = backend.timer] {
            // Qt starts a repeating backend's next interval on its own.
            m_backends[timer].dueAt = tickCount() + qtTimer->interval();
            fire(timer);
        });
    }
    if (timer->isArmed()) {
        const qint64 now = tickCount();
        const qint64 delay = timer->nextDelay(now);
        backend.timer->start(int(qMin<qint64>(delay, INT_MAX)));
        backend.dueAt = now + delay;
    } else {
        backend.timer->stop();
    }
}

void RealClock::timerDestroyed(Timer *timer)
{
    delete m_backends.take(timer).timer;
}

void RealClock::catchUp()
{
    // Moving a timer's tick changes its backend: the moments are read first.
    QList<std::pair<Timer *, qint64>> running;
    for (auto it = m_backends.cbegin(); it != m_backends.cend(); ++it) {
        if (it->timer && it->timer->isActive())
            running.append({it.key(), it->dueAt});
    }
    for (const auto &[timer, dueAt] : running)
        timer->setNextDueAt(dueAt);
}

} // namespace pinlib6
