#include "clock/virtualclock.h"
#include "mail/mailschedule.h"
#include "settings/settingsmodel.h"
#include "support/testcontext.h"

#include <QTest>

// The schedule alone, in virtual time: the settings and the line decide when rounds start.
class tst_MailSchedule : public QObject, public MailRounds
{
    Q_OBJECT

public:
    bool checkOpen() const override { return windowOpen; }
    bool slotCheckOpen() const override { return false; }
    bool mailProgramRunning() const override { return false; }
    QCoro::Task<> runScheduledRound(int onlySlot) override
    {
        ++rounds;
        lastSlot = onlySlot;
        co_return;
    }

private Q_SLOTS:
    void init()
    {
        rounds = 0;
        windowOpen = false;
        lineUp = true;
    }
    void roundsFollowTheMinutesTheSwitchAndTheLine();
    void idleNewsChecksAtOnceButNotOverAnOpenWindow();

private:
    int rounds = 0;
    int lastSlot = -1;
    bool windowOpen = false;
    bool lineUp = true;
};

void tst_MailSchedule::roundsFollowTheMinutesTheSwitchAndTheLine()
{
    TestContext t;
    SettingsModel &settings = t.context().model();
    settings.setOn(Keys::CheckMessages, true);
    settings.setCount(Keys::CheckMailMinutes, 2);
    MailSchedule schedule(t.clock(), settings, [this] { return lineUp; });
    schedule.setRounds(this);
    // The first tick, half a second in, starts the first wait.
    t.clock().advance(120 * 1000 + 499);
    QCOMPARE(rounds, 0);
    t.clock().advance(1);
    QCOMPARE(rounds, 1);
    // A shorter interval shortens the wait under way: half a minute into two, one minute.
    t.clock().advance(30 * 1000);
    settings.setCount(Keys::CheckMailMinutes, 1);
    t.clock().advance(29 * 1000);
    QCOMPARE(rounds, 1);
    t.clock().advance(2 * 1000);
    QCOMPARE(rounds, 2);
    // Switching mail off stops the schedule, and the wait under way checks nothing.
    settings.setOn(Keys::DisableMailChecking, true);
    QVERIFY(!schedule.isEnabled());
    t.clock().advance(5 * 60 * 1000);
    QCOMPARE(rounds, 2);
    // With the line down it sleeps and starts nothing.
    lineUp = false;
    settings.setOn(Keys::DisableMailChecking, false);
    t.clock().advance(5 * 60 * 1000);
    QVERIFY(schedule.timer().isAsleep());
    QCOMPARE(rounds, 2);
}

void tst_MailSchedule::idleNewsChecksAtOnceButNotOverAnOpenWindow()
{
    TestContext t;
    SettingsModel &settings = t.context().model();
    settings.setOn(Keys::CheckMessages, true);
    MailSchedule schedule(t.clock(), settings, [this] { return lineUp; });
    schedule.setRounds(this);
    schedule.newMailByIdle(3);
    QCOMPARE(rounds, 1);
    // Only the account that signalled is checked.
    QCOMPARE(lastSlot, 3);
    windowOpen = true;
    schedule.newMailByIdle(3);
    QCOMPARE(rounds, 1);
    windowOpen = false;
    settings.setOn(Keys::CheckMessages, false);
    schedule.newMailByIdle(3);
    QCOMPARE(rounds, 1);
}

QTEST_GUILESS_MAIN(tst_MailSchedule)
#include "tst_mailschedule.moc"
