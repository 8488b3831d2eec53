#include "clock/timer.h"
#include "clock/virtualclock.h"

#include <QCoro/QCoroTask>
#include <QElapsedTimer>
#include <QTest>

namespace {
// A timed procedure as the program writes them: it notes when it starts and when its wait
// ends, and whether the wait ended by itself.
QCoro::Task<> sleeper(Clock &clock, double seconds, QStringList &events, QString name,
    const QObject *context = nullptr)
{
    events << name + QStringLiteral(" from %1").arg(clock.tickCount());
    const bool ran = co_await clock.sleep(seconds, context);
    events << name
            + (ran ? QStringLiteral(" at %1") : QStringLiteral(" gone at %1"))
                  .arg(clock.tickCount());
}

QCoro::Task<> flagWaiter(Clock &clock, const bool &flag, const Timer *setter, qint64 &endedAt)
{
    co_await clock.until([&flag] { return flag; }, setter, &Timer::tick);
    endedAt = clock.tickCount();
}
} // namespace

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
    void waitStartedDuringAnotherEndsAtItsOwnTime();
    void flagWaitEndsWhenAnEventSetsTheFlag();
    void waitEndsEarlyWhenItsContextGoes();
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
    sleeper(clock, 60, events, QStringLiteral("waited"));
    QCOMPARE(events.takeFirst(), QStringLiteral("waited from 0"));
    clock.advance(59999);
    QVERIFY(!events.contains(QStringLiteral("waited at 60000")));
    clock.advance(1);

    QCOMPARE(clock.tickCount(), 60000);
    QVERIFY(real.elapsed() < 5000);
    QCOMPARE(events.first(), QStringLiteral("once@5"));
    QCOMPARE(events.at(1), QStringLiteral("repeat@2000"));
    QCOMPARE(events.count(QStringLiteral("once@5")), 1);
    QCOMPARE(events.filter(QStringLiteral("repeat@")).size(), 30);
    QCOMPARE(events.at(30), QStringLiteral("repeat@60000"));
    QCOMPARE(events.last(), QStringLiteral("waited at 60000"));
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

// A tick handler that goes on as a coroutine and waits (the hang-up pause) holds its timer:
// other timers run meanwhile, its own does not start it again until it has ended.
void tst_VirtualClock::handlerThatWaitsIsNotReentered()
{
    VirtualClock clock;
    int running = 0, maxRunning = 0, slowTicks = 0, fastTicks = 0;
    Timer slow(clock, 2000, true);
    Timer fast(clock, 500, true);
    connect(&fast, &Timer::tick, this, [&] { ++fastTicks; });
    const auto handler = [&]() -> QCoro::Task<> {
        const Timer::Hold held = slow.hold();
        ++slowTicks;
        maxRunning = qMax(maxRunning, ++running);
        co_await clock.sleep(3);
        --running;
    };
    connect(&slow, &Timer::tick, this, handler);
    clock.advance(5000);
    QCOMPARE(maxRunning, 1);
    QCOMPARE(running, 0);
    QCOMPARE(slowTicks, 1); // the tick at 4000 fell in the wait
    QCOMPARE(fastTicks, 10);
    QVERIFY(!slow.isHeld());
    // A held timer is not armed at all (it wakes nothing); it ticks again one interval after
    // the hold ends.
    clock.advance(1000);
    QCOMPARE(slowTicks, 1);
    clock.advance(1000);
    QCOMPARE(slowTicks, 2);
    clock.advance(3000); // the second run's wait ends too
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
    QStringList events;
    sleeper(clock, 5, events, QStringLiteral("pause"));
    clock.advance(4999);
    QCOMPARE(events.size(), 1);
    clock.advance(1);
    QCOMPARE(events.last(), QStringLiteral("pause at 5000"));
    QCOMPARE(clock.timeOfDay(), QTime(0, 0, 3));
}

// The fault of waits that ran the event loop in their caller's stack: a long wait started
// during a short one held the short one up until the long one ended. Each ends at its time.
void tst_VirtualClock::waitStartedDuringAnotherEndsAtItsOwnTime()
{
    VirtualClock clock;
    QStringList events;
    Timer starter(clock, 1000, true);
    connect(&starter, &Timer::tick, this, [&] {
        starter.setEnabled(false);
        sleeper(clock, 1800, events, QStringLiteral("schedule"));
    });
    sleeper(clock, 5, events, QStringLiteral("pause"));
    QCOMPARE(events, QStringList{QStringLiteral("pause from 0")});
    clock.advance(1800 * 1000 + 1000);
    QCOMPARE(events,
        QStringList({QStringLiteral("pause from 0"), QStringLiteral("schedule from 1000"),
            QStringLiteral("pause at 5000"), QStringLiteral("schedule at 1801000")}));
}

void tst_VirtualClock::flagWaitEndsWhenAnEventSetsTheFlag()
{
    VirtualClock clock;
    bool done = false;
    Timer setter(clock, 250, true);
    int ticks = 0;
    connect(&setter, &Timer::tick, this, [&] { done = ++ticks == 3; });
    qint64 endedAt = -1;
    flagWaiter(clock, done, &setter, endedAt);
    clock.advance(700);
    QCOMPARE(endedAt, -1);
    clock.advance(50);
    QCOMPARE(endedAt, 750);
    // A flag that already holds does not wait at all.
    endedAt = -1;
    flagWaiter(clock, done, &setter, endedAt);
    QCOMPARE(endedAt, 750);
}

// A window closed while its procedure waits: the procedure resumes at once, told not to touch
// the window, and ends instead of resuming into a dead object when the time comes.
void tst_VirtualClock::waitEndsEarlyWhenItsContextGoes()
{
    VirtualClock clock;
    QStringList events;
    auto window = std::make_unique<QObject>();
    sleeper(clock, 60, events, QStringLiteral("blink"), window.get());
    clock.advance(1000);
    window.reset();
    clock.advance(0);
    QCOMPARE(events.last(), QStringLiteral("blink gone at 1000"));
    QCOMPARE(clock.nextDue(), -1);
    clock.advance(60000);
    QCOMPARE(events.size(), 2);
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
