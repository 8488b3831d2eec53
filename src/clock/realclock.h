#pragma once

#include "clock/clock.h"

#include <QHash>
#include <QTimer>

namespace pinlib6 {

// The production clock: a tick count that goes on while the machine sleeps (CLOCK_BOOTTIME),
// the system's time of day, Qt timers underneath. Qt's timers stand still while the machine
// sleeps: told of the wake, the clock moves each armed timer back to its moment on the tick
// count, so a timer whose moment passed in the sleep fires once at the wake (never a burst)
// and the others at their moments.
class BVANECLOCK_EXPORT RealClock : public Clock
{
    Q_OBJECT

public:
    explicit RealClock(QObject *parent = nullptr);
    ~RealClock() override;

    qint64 tickCount() const override;
    QTime timeOfDay() const override;
    // The machine woke from sleep.
    void catchUp();

protected:
    void timerChanged(Timer *timer) override;
    void timerDestroyed(Timer *timer) override;

private:
    struct Backend {
        QTimer *timer = nullptr;
        qint64 dueAt = 0; // where its next moment lies on the tick count, while it runs
    };
    QHash<Timer *, Backend> m_backends;
};

} // namespace pinlib6
