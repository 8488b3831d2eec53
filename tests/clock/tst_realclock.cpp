#include "clock/realclock.h"
#include "clock/timer.h"

#include <QTest>

// The production clock, over short real intervals (no program wait is this short).
class tst_RealClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timersTickDuringAWait()
    {
        RealClock clock;
        int ticks = 0;
        Timer timer(clock, 10, true);
        connect(&timer, &Timer::tick, this, [&] {
            if (++ticks == 3)
                timer.setEnabled(false);
        });
        const qint64 start = clock.tickCount();
        clock.waitMilliseconds(120);
        QVERIFY(clock.tickCount() - start >= 120);
        QCOMPARE(ticks, 3);
    }

    void flagWaitReturnsAsSoonAsTheFlagIsSet()
    {
        RealClock clock;
        bool done = false;
        QTimer::singleShot(20, this, [&] { done = true; });
        const qint64 start = clock.tickCount();
        QVERIFY(clock.waitUntil([&] { return done; }, 10000));
        QVERIFY(clock.tickCount() - start < 5000);
    }
};

QTEST_GUILESS_MAIN(tst_RealClock)
#include "tst_realclock.moc"
