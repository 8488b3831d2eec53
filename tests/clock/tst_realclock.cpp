#include "clock/realclock.h"
#include "clock/timer.h"

#include <QCoro/QCoroTask>
#include <QTest>

// The production clock, over short real intervals (no program wait is this short).
class tst_RealClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A coroutine suspended on the clock leaves the event loop free: the timer ticks during
    // the wait, and the wait ends after its time, not before.
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
        qint64 endedAt = -1;
        [](RealClock &c, qint64 &at) -> QCoro::Task<> {
            co_await c.sleep(0.12);
            at = c.tickCount();
        }(clock, endedAt);
        QCOMPARE(endedAt, -1);
        QTRY_VERIFY_WITH_TIMEOUT(endedAt >= 0, 10000);
        QVERIFY(endedAt - start >= 120);
        QCOMPARE(ticks, 3);
    }
};

QTEST_GUILESS_MAIN(tst_RealClock)
#include "tst_realclock.moc"
