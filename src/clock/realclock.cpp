#include "clock/realclock.h"

#include "clock/timer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

#include <algorithm>
#include <climits>

RealClock::RealClock(QObject *parent)
    : Clock(parent)
{
    m_wake.setSingleShot(true);
    m_wake.setTimerType(Qt::PreciseTimer);
}

RealClock::~RealClock()
{
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

void RealClock::yieldOnce(qint64 deadline)
{
    // Block until something happens; the wake timer makes "the deadline passed" an event.
    if (deadline >= 0)
        m_wake.start(int(std::clamp<qint64>(deadline - tickCount(), 0, INT_MAX)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
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
