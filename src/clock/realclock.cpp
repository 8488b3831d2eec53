#include "clock/realclock.h"

#include "clock/timer.h"

#include <QDeadlineTimer>

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
    return QDeadlineTimer::current(Qt::PreciseTimer).deadline();
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
        connect(backend, &QTimer::timeout, timer, [timer] { fire(timer); });
    }
    if (timer->isArmed())
        backend->start(int(qMin<qint64>(timer->nextDelay(tickCount()), INT_MAX)));
    else
        backend->stop();
}

void RealClock::timerDestroyed(Timer *timer)
{
    delete m_backends.take(timer);
}
