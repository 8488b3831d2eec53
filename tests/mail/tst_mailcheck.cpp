#include "alerts/desktopnotices.h"
#include "app/brisvaneapp.h"
#include "checkmailfixture.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "mail/mailschedule.h"
#include "mail/ui/frmmailservererror.h"
#include "support/widgetbyname.h"

#include <QTest>

namespace {
std::pair<SettingKey, QString> value(const SettingKey &key, const char *text)
{
    return {key, QString::fromLatin1(text)};
}
} // namespace

// The ways a multi-account check starts: the schedule, the check after connecting.
class tst_MailCheck : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scheduleOffNeverOpensTheCheck();
    void firstScheduledCheckComesTheIntervalAfterTheFirstTick();
    void scheduledWaitsNeverOverlap();
    void scheduleWaitsForTheLine();
    void scheduledRoundLeavesAnOpenPopupCheckAlone();
    void aFailedLastAccountNeverHoldsTheSchedule();
    void aLineLostDuringTheCheckEndsItAtOnce();
    void checkAfterConnectingRunsFiveSecondsAfterTheLineComesUp();
    void checkAfterConnectingKeepsItsFiveSecondsBesideAThirtyMinuteSchedule();
    void aNewRunDoesNotTakeTheOldWindowsQuitForItsLogOn();
    void newMailIsAnnouncedNamingThreeMessages();
    void countOnlyAnnouncesTheCountAndAClearedBoxNothing();
    void aFailingAccountIsAnnouncedWithoutItsPassword();
    void notificationActionsShowTheWindowAndOpenTheMailProgram();
    void serverAlertsAreToldOncePerAccountAndCheck();
};

void tst_MailCheck::scheduleOffNeverOpensTheCheck()
{
    TestContext t;
    MailProgram p(t, 1, true, {value(Keys::CheckMailMinutes, "1")});
    p.mail(1, {QStringLiteral("Invoice")});
    p.connectLine();
    p.startSchedule();
    p.run(3600);
    QCOMPARE(p.server.controlsMade, 0);
    QVERIFY(p.schedule().isEnabled());
}

void tst_MailCheck::firstScheduledCheckComesTheIntervalAfterTheFirstTick()
{
    TestContext t;
    // "Check mail after connection" stays off: the dial starts the schedule all the same.
    MailProgram p(
        t, 1, true, {value(Keys::CheckMessages, "1"), value(Keys::CheckMailMinutes, "2")});
    p.mail(1, {});
    qint64 up = -1;
    QObject::connect(&t.line(), &DialUpService::stepped, &t.line(), [&](int value) {
        if (value == DialState::Connected && up < 0)
            up = t.clock().tickCount();
    });
    p.connectLine();
    p.run(121);
    // The line wakes the schedule; its first tick comes within 500 ms, then two minutes.
    const qint64 first = p.server.when(QStringLiteral("LOGON")) - up;
    QVERIFY2(first >= 120000 && first < 120510, qPrintable(QString::number(first)));
    // No mail: the scheduler closes the window and gives the timers back.
    QVERIFY(!p.window());
    QVERIFY(p.trayShows(QStringLiteral("net10a.ico")));
    QVERIFY(p.customizeTimersRunning());
}

void tst_MailCheck::scheduledWaitsNeverOverlap()
{
    TestContext t;
    MailProgram p(
        t, 1, true, {value(Keys::CheckMessages, "1"), value(Keys::CheckMailMinutes, "1")});
    p.mail(1, {});
    p.connectLine();
    p.startSchedule();
    p.run(600);
    const QStringList logOns = p.server.linesLike(QStringLiteral("LOGON"));
    // A tick every 500 ms during the wait would give hundreds of checks.
    QVERIFY(logOns.size() >= 9 && logOns.size() <= 10);
    for (int i = 1; i < logOns.size(); ++i) {
        const qint64 gap = p.server.when(QStringLiteral("LOGON"), i)
            - p.server.when(QStringLiteral("LOGON"), i - 1);
        QVERIFY2(gap >= 60000 && gap < 61000, qPrintable(QString::number(gap)));
    }
}

void tst_MailCheck::scheduleWaitsForTheLine()
{
    TestContext t;
    MailProgram p(
        t, 1, true, {value(Keys::CheckMessages, "1"), value(Keys::CheckMailMinutes, "1")});
    p.mail(1, {QStringLiteral("Invoice")});
    p.startSchedule();
    p.run(600);
    QCOMPARE(p.server.controlsMade, 0);
}

void tst_MailCheck::scheduledRoundLeavesAnOpenPopupCheckAlone()
{
    TestContext t;
    MailProgram p(
        t, 1, true, {value(Keys::CheckMessages, "1"), value(Keys::CheckMailMinutes, "1")});
    p.mail(1, {QStringLiteral("Invoice")});
    p.connectLine();
    // Half-way through the schedule's wait the user checks from the popup menu.
    Timer popup(t.clock(), 30000, true);
    connect(&popup, &Timer::tick, this, [&] {
        popup.setEnabled(false);
        // From inside a tick the check is only started; the test's clock runs it.
        p.check().mnuAllAccounts_Click();
    });
    p.startSchedule();
    p.run(45);
    frmCheckMail *manual = p.window();
    QVERIFY(manual);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
    QCOMPARE(p.window(), manual);
    QCOMPARE(p.check().manualCheck, qint16(1));
}

// Nobody at the screen: the last account is refused at every round, and still every round
// comes at its time; the one error dialog goes once that account logs on again.
void tst_MailCheck::aFailedLastAccountNeverHoldsTheSchedule()
{
    TestContext t;
    MailProgram p(
        t, 2, true, {value(Keys::CheckMessages, "1"), value(Keys::CheckMailMinutes, "1")});
    p.mail(1, {QStringLiteral("Invoice")});
    p.refuse(2);
    p.connectLine();
    // A minute's wait, slot 1's minute of countdown, the gap, slot 2 refused.
    p.run(60 + 0.5 + 60 + 5 + 1);
    QPointer<frmMailServerError> error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible() && !error->cmdNextAccount->isEnabled());
    QVERIFY(!p.check().checkOpen());
    QVERIFY(p.customizeTimersRunning());
    p.run(60);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop1")).size(), 2);
    p.run(66);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 2);
    QCOMPARE(p.check().serverErrorDialog(), error.data()); // the open one, taken over
    QVERIFY(error->isVisible() && !p.check().checkOpen());
    p.server.boxes[MailProgram::host(2)].refuseLogOn = false;
    p.run(60 + 0.5 + 60 + 5 + 1);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 3);
    QVERIFY(!error || !error->isVisible());
}

// The line drops while the check counts down after the first account: the check ends there
// (the second account is not tried over a dead line) and the watch tells of the lost line
// within its tick, not after the check's time-outs.
void tst_MailCheck::aLineLostDuringTheCheckEndsItAtOnce()
{
    TestContext t;
    MailProgram p(t, 2, true);
    p.mail(1, {QStringLiteral("Invoice")});
    p.mail(2, {QStringLiteral("Lunch")});
    p.connectLine();
    p.checkAllAccounts();
    QVERIFY(p.window() && p.window()->run().countingDown());
    t.line().setCarrier(false);
    p.run(2);
    QVERIFY(!p.window());
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
    QVERIFY(t.notifier().summaries().contains(QStringLiteral("Connection lost")));
    QVERIFY(!p.line().dialUp().IsConnected());
}

void tst_MailCheck::checkAfterConnectingRunsFiveSecondsAfterTheLineComesUp()
{
    TestContext t;
    qint64 up = -1;
    // Connected before the program's own controls, so it sees the step first.
    QObject::connect(&t.line(), &DialUpService::stepped, &t.line(), [&](int value) {
        if (value == DialState::Connected && up < 0)
            up = t.clock().tickCount();
    });
    MailProgram p(t, 1, true, {value(Keys::MailConnected, "1")});
    p.mail(1, {});
    p.connectLine();
    p.run(30);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
    const qint64 after = p.server.when(QStringLiteral("LOGON")) - up;
    QVERIFY2(after >= 5000 && after < 6000, qPrintable(QString::number(after)));
    // Nothing to show: the window is closed and the timers run again.
    QVERIFY(!p.window());
    QVERIFY(p.customizeTimersRunning());
}

// The schedule's 30-minute wait starts from a tick while the check after connecting waits its
// five seconds. Waits that ran the event loop in their caller's stack let the schedule's wait
// hold the check up for the full half hour, then ran both sessions in the same second.
void tst_MailCheck::checkAfterConnectingKeepsItsFiveSecondsBesideAThirtyMinuteSchedule()
{
    TestContext t;
    qint64 up = -1;
    QObject::connect(&t.line(), &DialUpService::stepped, &t.line(), [&](int value) {
        if (value == DialState::Connected && up < 0)
            up = t.clock().tickCount();
    });
    MailProgram p(t, 1, true,
        {value(Keys::MailConnected, "1"), value(Keys::CheckMessages, "1"),
            value(Keys::CheckMailMinutes, "30")});
    p.mail(1, {});
    widget<QComboBox>(p.dialog().connectionTab(), "Combo1")
        ->setCurrentText(QString::fromLatin1(MailProgram::kLine));
    widget<QPushButton>(p.dialog().connectionTab(), "cmdConnect")->click();
    QVERIFY(t.clock().advanceUntil([&] { return up >= 0; }, 60000));
    p.run(4.9);
    QVERIFY(p.server.log.isEmpty());
    p.run(1);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
    const qint64 after = p.server.when(QStringLiteral("LOGON")) - up;
    QVERIFY2(after >= 5000 && after < 5100, qPrintable(QString::number(after)));
    QVERIFY(!p.window());
    QVERIFY(p.customizeTimersRunning());
    // The schedule keeps its own time: one round, 30 minutes after its first tick.
    p.run(29 * 60);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
    p.run(60);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 2);
    const qint64 round = p.server.when(QStringLiteral("LOGON"), 1) - up;
    QVERIFY2(round >= 1800000 && round < 1801000, qPrintable(QString::number(round)));
}

void tst_MailCheck::aNewRunDoesNotTakeTheOldWindowsQuitForItsLogOn()
{
    TestContext t;
    MailProgram p(t, 2, true);
    p.mail(1, {QStringLiteral("Invoice")});
    p.connectLine();
    p.checkAllAccounts();
    QVERIFY(p.window());
    // The second run unloads the paused first one (a QUIT goes out) and logs on again; its
    // log-on is refused, so the run must park at the error, not go on to slot 2.
    p.refuse(1);
    p.checkAllAccounts();
    p.run(10);
    QVERIFY(p.check().serverErrorDialog() && p.check().serverErrorDialog()->isVisible());
    QVERIFY(p.server.linesLike(QStringLiteral("LOGON pop2")).isEmpty());
}

void tst_MailCheck::newMailIsAnnouncedNamingThreeMessages()
{
    TestContext t;
    MailProgram p(t, 2, true);
    p.mail(1,
        {QStringLiteral("Invoice"), QStringLiteral("Lunch"), QStringLiteral("Minutes"),
            QStringLiteral("Draft"), QStringLiteral("Offer")});
    p.mail(2, {});
    p.connectLine();
    p.checkAllAccounts();
    QCOMPARE(t.notifier().sent().size(), 1);
    const Notifier::Notification n = t.notifier().sent().first();
    QCOMPARE(n.summary, QStringLiteral("You have new mail"));
    QCOMPARE(n.body,
        QStringLiteral("Account 1: 5 messages waiting\nsender1@example.org: Invoice\n"
                       "sender2@example.org: Lunch\nsender3@example.org: Minutes\nand 2 more"));
    QVERIFY(n.icon.endsWith(QStringLiteral("mail.ico")));
    QCOMPARE(n.actions.size(), 2);
    QCOMPARE(n.actions.at(0).label, QStringLiteral("Open mail program"));
    QCOMPARE(n.actions.at(1).label, QStringLiteral("Show messages"));
    // The next round's mail for the account takes the place of this notification.
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    p.checkAllAccounts();
    QCOMPARE(t.notifier().sent().size(), 2);
    QCOMPARE(t.notifier().sent().at(1).tag, n.tag);
}

void tst_MailCheck::countOnlyAnnouncesTheCountAndAClearedBoxNothing()
{
    for (const char *box : {"1", "0"}) {
        TestContext t;
        MailProgram p(t, 2, false, {value(Keys::DesktopNotifications, box)});
        p.mail(1, {QStringLiteral("Invoice")});
        p.mail(2, {});
        p.connectLine();
        p.checkAllAccounts();
        p.run(120);
        QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 2);
        const QStringList expected = QStringLiteral("1") == QLatin1String(box)
            ? QStringList{QStringLiteral(
                "Account 1: 1 message waiting\nsender1@example.org: Invoice")}
            : QStringList();
        QCOMPARE(t.notifier().bodies(), expected);
    }
}

void tst_MailCheck::aFailingAccountIsAnnouncedWithoutItsPassword()
{
    TestContext t;
    MailProgram p(t, 2, true, {value(Keys::MailPassword(2), "open sesame")});
    p.mail(1, {});
    p.refuse(2);
    p.server.boxes[MailProgram::host(2)].echoPassword = true;
    p.connectLine();
    p.checkAllAccounts();
    p.run(10);
    QCOMPARE(t.notifier().summaries(), QStringList{QStringLiteral("Mail account failed")});
    QCOMPARE(
        t.notifier().bodies(), QStringList{QStringLiteral("Account 2: -ERR refused for ********")});
    // The account answers at the next check: the notification that it failed goes.
    p.server.boxes[MailProgram::host(2)].refuseLogOn = false;
    p.checkAllAccounts();
    p.run(10);
    QVERIFY(t.notifier().withdrawn().contains(QStringLiteral("account-failed/Account 2")));
}

void tst_MailCheck::notificationActionsShowTheWindowAndOpenTheMailProgram()
{
    TestContext t;
    MailProgram p(t, 2, true,
        {value(Keys::MailProgram, "thunderbird -mail"),
            {Keys::CloseMailProgramMessage, SettingValues::FalseText}});
    p.mail(1, {QStringLiteral("Invoice")});
    p.connectLine();
    p.checkAllAccounts();
    const QString tag = t.notifier().sent().value(0).tag;
    p.window()->showMinimized();
    t.notifier().invoke(tag, DesktopNotices::ShowMessages);
    QVERIFY(p.window()->isVisible());
    QVERIFY(!p.window()->isMinimized());
    QVERIFY(p.trayShows(QStringLiteral("mail.ico")));
    // As Run Mail Program: the window closes and the program starts, watched; the mail is
    // read from now on, and the envelope goes.
    t.notifier().invoke(tag, DesktopNotices::OpenMailProgram);
    QVERIFY(!p.window());
    QCOMPARE(t.programs().watched, QStringList{QStringLiteral("thunderbird -mail")});
    QVERIFY(p.trayShows(QStringLiteral("net10a.ico")));
    // With no check window left, the program still starts.
    t.programs().exitAll();
    t.notifier().invoke(tag, DesktopNotices::OpenMailProgram);
    QCOMPARE(t.programs().watched.size(), 2);
    // With no check window left, "Show messages" lists the notification's own account.
    t.programs().exitAll();
    t.notifier().invoke(tag, DesktopNotices::ShowMessages);
    p.run(10);
    frmCheckMail *listing = p.check().slotWindow();
    QVERIFY(listing && listing->isVisible());
    QCOMPARE(listing->run().control().MessageCount(), 1);
    QCOMPARE(t.settings().get(Keys::MailSlotChosen), QStringLiteral("1"));
}

// Each header's answer repeats the alert: the desktop hears it once per account and check.
void tst_MailCheck::serverAlertsAreToldOncePerAccountAndCheck()
{
    TestContext t;
    MailProgram p(t, 2, true);
    p.mail(1, {QStringLiteral("Invoice"), QStringLiteral("Lunch")});
    p.mail(2, {});
    for (int slot : {1, 2})
        p.server.boxes[MailProgram::host(slot)].alert = QStringLiteral("Quota nearly full");
    p.connectLine();
    p.checkAllAccounts();
    p.run(120);
    p.checkAllAccounts();
    p.run(120);
    const QString told = QStringLiteral("Account %1: Quota nearly full");
    QCOMPARE(t.notifier().bodies().filter(QStringLiteral("Quota")),
        QStringList({told.arg(1), told.arg(2), told.arg(1), told.arg(2)}));
}

QTEST_MAIN(tst_MailCheck)
#include "tst_mailcheck.moc"
