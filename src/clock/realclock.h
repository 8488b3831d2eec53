#pragma once

#include "clock/clock.h"

#include <QHash>
#include <QTimer>

// The production clock: monotonic tick count, the system's time of day, Qt timers underneath.
class BVANECLOCK_EXPORT RealClock : public Clock
{
    Q_OBJECT

public:
    explicit RealClock(QObject *parent = nullptr);
    ~RealClock() override;

    qint64 tickCount() const override;
    QTime timeOfDay() const override;

protected:
    void timerChanged(Timer *timer) override;
    void timerDestroyed(Timer *timer) override;

private:
    QHash<Timer *, QTimer *> m_backends;
};
