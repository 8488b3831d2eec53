#include "clock/timer.h"
#include "clock/virtualclock.h"

#include <QElapsedTimer>
#include <QTest>

class tst_VirtualClock : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void waitInterleavesRepeatingAndOneShotTimers();
    void intervalZeroNeverTicksAndDisableStops();
    void settingIntervalRestartsTheCount();
    void handlerThatWaitsIsNotReentered();
    void sameDueTimeFiresInArmingOrder();
    void waitAcrossMidnightLastsItsLength();
    void flagWaitEndsWhenAnEventSetsTheFlag();
    void flagWaitWithTimeoutGivesUp();
    void movedTickThenIntervalAgain();
    void sleepingTimerTicksOnlyWhenWoken();
};

// A 60 s wait, a 2000 ms repeating timer and a 5 ms one-shot: the wait runs both on the way,
// in order, and ends at exactly 60 s, costing no real time.
void tst_VirtualClock::waitInterleavesRepeatingAndOneShotTimers()
{
    VirtualClock clock;
    QStringList events;
    Timer repeating(clock, 2000, true);
    connect(&repeating, &Timer::tick, this,
        [&] { events << QStringLiteral("repeat@%1").arg(clock.tickCount()); });
    Timer oneShot(clock, 5, true);
    connect(&oneShot, &Timer::tick, this, [&] {
        events << QStringLiteral("once@%1").arg(clock.tickCount());
        oneShot.setEnabled(false);
    });

    QElapsedTimer real;
    real.start();
    clock.waitSeconds(60);
    events << QStringLiteral("waited@%1").arg(clock.tickCount());

    QCOMPARE(clock.tickCount(), 60000);
    QVERIFY(real.elapsed() < 5000);
    QCOMPARE(events.first(), QStringLiteral("once@5"));
    QCOMPARE(events.at(1), QStringLiteral("repeat@2000"));
    QCOMPARE(events.count(QStringLiteral("once@5")), 1);
    QCOMPARE(events.filter(QStringLiteral("repeat@")).size(), 30);
    QCOMPARE(events.at(30), QStringLiteral("repeat@60000"));
    QCOMPARE(events.last(), QStringLiteral("waited@60000"));
}

void tst_VirtualClock::intervalZeroNeverTicksAndDisableStops()
{
    VirtualClock clock;
    int ticks = 0;
    Timer timer(clock, 0, true);
    connect(&timer, &Timer::tick, this, [&] { ++ticks; });
    clock.advance(10000);
    QCOMPARE(ticks, 0);
    QVERIFY(!timer.isArmed());

    timer.setInterval(15);
    clock.advance(150);
    QCOMPARE(ticks, 10);
    timer.setEnabled(false);
    clock.advance(1000);
    QCOMPARE(ticks, 10);
    QCOMPARE(clock.nextDue(), -1);
}

void tst_VirtualClock::settingIntervalRestartsTheCount()
{
    VirtualClock clock;
    QList<qint64> at;
    Timer timer(clock, 1000, true);
    connect(&timer, &Timer::tick, this, [&] { at << clock.tickCount(); });
    clock.advance(900);
    timer.setInterval(1000);
    clock.advance(1500);
    QCOMPARE(at, QList<qint64>({1900}));
    // Enabling an enabled timer leaves its count alone.
    timer.setEnabled(true);
    clock.advance(500);
    QCOMPARE(at, QList<qint64>({1900, 2900}));
}

// A tick handler that waits (the hang-up pause) lets other timers run but not itself.
void tst_VirtualClock::handlerThatWaitsIsNotReentered()
{
    VirtualClock clock;
    int depth = 0, maxDepth = 0, slowTicks = 0, fastTicks = 0;
    Timer slow(clock, 2000, true);
    Timer fast(clock, 500, true);
    connect(&fast, &Timer::tick, this, [&] { ++fastTicks; });
    connect(&slow, &Timer::tick, this, [&] {
        ++slowTicks;
        maxDepth = qMax(maxDepth, ++depth);
        clock.waitSeconds(3);
        --depth;
    });
    clock.advance(2000);
    QCOMPARE(maxDepth, 1);
    QCOMPARE(clock.tickCount(), 5000);
    QCOMPARE(slowTicks, 1);
    QCOMPARE(fastTicks, 10);
}

void tst_VirtualClock::sameDueTimeFiresInArmingOrder()
{
    VirtualClock clock;
    QStringList order;
    Timer a(clock), b(clock), c(clock);
    for (auto [timer, name] : {std::pair{&b, "b"}, std::pair{&c, "c"}, std::pair{&a, "a"}}) {
        connect(timer, &Timer::tick, this, [&order, timer, name] {
            order << QLatin1String(name);
            timer->setEnabled(false);
        });
        timer->setInterval(100);
        timer->setEnabled(true);
    }
    clock.advance(100);
    QCOMPARE(order, QStringList({"b", "c", "a"}));
}

void tst_VirtualClock::waitAcrossMidnightLastsItsLength()
{
    VirtualClock clock(QTime(23, 59, 58));
    QCOMPARE(clock.secondsSinceMidnight(), 86398.0);
    clock.waitSeconds(5);
    QCOMPARE(clock.tickCount(), 5000);
    QCOMPARE(clock.timeOfDay(), QTime(0, 0, 3));
}

void tst_VirtualClock::flagWaitEndsWhenAnEventSetsTheFlag()
{
    VirtualClock clock;
    bool done = false;
    Timer setter(clock, 750, true);
    connect(&setter, &Timer::tick, this, [&] {
        setter.setEnabled(false);
        // The flag is set from a queued call, as controls raise their events.
        QMetaObject::invokeMethod(
            this, [&] { done = true; }, Qt::QueuedConnection);
    });
    QVERIFY(clock.waitUntil([&] { return done; }));
    QCOMPARE(clock.tickCount(), 750);
}

void tst_VirtualClock::flagWaitWithTimeoutGivesUp()
{
    VirtualClock clock;
    QVERIFY(!clock.waitUntil([] { return false; }, 60000));
    QCOMPARE(clock.tickCount(), 60000);
}

// A tick moved to a given moment falls there; the interval counts again from it.
void tst_VirtualClock::movedTickThenIntervalAgain()
{
    VirtualClock clock;
    QList<qint64> at;
    Timer timer(clock, 15, true);
    connect(&timer, &Timer::tick, this, [&] { at << clock.tickCount(); });
    timer.setNextDueAt(1000);
    clock.advance(1030);
    QCOMPARE(at, (QList<qint64>{1000, 1015, 1030}));
    // A moment already past ticks at once; a handler may move each next tick again.
    connect(&timer, &Timer::tick, this, [&] { timer.setNextDueAt((at.last() / 1000 + 1) * 1000); });
    timer.setNextDueAt(0);
    clock.advance(3000);
    QCOMPARE(at, (QList<qint64>{1000, 1015, 1030, 1030, 2000, 3000, 4000}));
}

void tst_VirtualClock::sleepingTimerTicksOnlyWhenWoken()
{
    VirtualClock clock;
    QList<qint64> at;
    Timer timer(clock, 500, true);
    connect(&timer, &Timer::tick, this, [&] {
        at << clock.tickCount();
        timer.sleepUntilWoken();
    });
    clock.advance(10000);
    QCOMPARE(at, QList<qint64>{500});
    QVERIFY(timer.enabled() && timer.isAsleep());
    QCOMPARE(clock.nextDue(), -1); // nothing wakes an idle program
    timer.wake();
    clock.advance(0);
    timer.setEnabled(true); // enabling a sleeping timer wakes it too
    clock.advance(0);
    QCOMPARE(at, (QList<qint64>{500, 10000, 10000}));
    timer.setEnabled(false);
    timer.wake(); // a disabled timer stays quiet
    clock.advance(1000);
    QCOMPARE(at.size(), 3);
}

QTEST_GUILESS_MAIN(tst_VirtualClock)
#include "tst_virtualclock.moc"
