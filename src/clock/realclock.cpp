#include "clock/realclock.h"

#include "clock/timer.h"

#include <ctime>

RealClock::RealClock(QObject *parent)
    : Clock(parent)
{ }

RealClock::~RealClock()
{
    deleteOwnedObjects();
    qDeleteAll(m_backends);
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
    QTimer *&backend = m_backends[timer];
    if (!backend) {
        backend = new QTimer;
        backend->setTimerType(Qt::PreciseTimer);
        connect(backend, &QTimer::timeout, timer, [this, timer, backend = backend] {
            // Qt starts a repeating backend's next interval on its own.
            if (backend->isActive())
                m_dueAt.insert(timer, tickCount() + backend->interval());
            fire(timer);
        });
    }
    if (timer->isArmed()) {
        const qint64 now = tickCount();
        const qint64 delay = timer->nextDelay(now);
        backend->start(int(qMin<qint64>(delay, INT_MAX)));
        m_dueAt.insert(timer, now + delay);
    } else {
        backend->stop();
        m_dueAt.remove(timer);
    }
}

void RealClock::timerDestroyed(Timer *timer)
{
    delete m_backends.take(timer);
    m_dueAt.remove(timer);
}

void RealClock::catchUp()
{
    const QList<Timer *> timers = m_dueAt.keys();
    for (Timer *timer : timers) {
        const QTimer *backend = m_backends.value(timer);
        if (backend && backend->isActive() && m_dueAt.contains(timer))
            timer->setNextDueAt(m_dueAt.value(timer));
    }
}
