#include "app/brisvaneapp.h"
#include "clock/timer.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/connectiontab.h"
#include "mail/mailschedule.h"
#include "monitor/bandmenu/bandmenu.h"
#include "monitor/frmbrisvanemonitor.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString kLine = QStringLiteral("Simulated line");
const QString kBusy = QStringLiteral("Simulated line (always busy)");
const QString kBusyTwice = QStringLiteral("Simulated line (busy twice)");

// The program as it runs after start-up, on a virtual clock, a simulated line and a
// recording tray; the settings given are stored before start-up.
struct Program {
    explicit Program(TestContext &t, const QList<std::pair<SettingKey, QString>> &settings = {})
        : t(t)
    {
        t.settings().save(Keys::FirstTime, QStringLiteral("FirstTime"));
        for (const auto &[key, value] : settings)
            t.settings().save(key, value);
        monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
        monitor->runStartup();
    }
    frmBrisvane &dialog() { return monitor->customizeDialog(); }
    LineController &line() { return monitor->app().line(); }
    MailSchedule &schedule() { return monitor->app().mailSchedule(); }
    LineController &manager() { return line(); }
    ConnectionState &state() { return line().state(); }
    ConnectionTab &tab() { return dialog().connectionTab(); }
    void choose(const QString &entry) { widget<QComboBox>(tab(), "Combo1")->setCurrentText(entry); }
    void run(int seconds) { t.clock().advance(qint64(seconds) * 1000); }
    QStringList log() const
    {
        QStringList lines;
        QListWidget *list
            = widget<QListWidget>(monitor->customizeDialog().connectionTab(), "lstConnectState");
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    TestContext &t;
    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
};

const std::pair<SettingKey, QString> busyRetry(int count)
{
    return {Keys::ReconnectLineBusyCount, QString::number(count)};
}
const std::pair<SettingKey, QString> checked(const SettingKey &key)
{
    return {key, QStringLiteral("1")};
}
} // namespace

class tst_LineController : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialConnectsLogsEveryStepAndShowsTheConnectedIcon();
    void alwaysBusyDialsCountPlusOneTimesThenStartsOverNextTime();
    void busyThenConnectedKeepsTheRemainder();
    void busyWithoutRetryHangsUpAtOnce();
    void dropWithReconnectRedialsAfterThePause();
    void droppedLineIsRedialledUntilTheCarrierIsBack_data();
    void droppedLineIsRedialledUntilTheCarrierIsBack();
    void dropWithoutOptionsBlinksAMinuteBeforeHangingUp();
    void clockShowsHoursPastNinetyNine();
    void clockWritesTheTipOncePerSecond();
    void clockWakesOnEachSecondBoundaryAndFollowsTheDialog();
    void idleProgramArmsNoTimer();
    void dialWhileClockRunsStopsIt();
    void userSettingsDialPassesStoredValuesEvenEmpty();
    void noEntryChosenWarnsAndDialsNothing();
    void lineAlreadyUpAtStartupIsDetected();
    void singleClicksAlternateDialAndHangUp();
    void clickWithExistingConnectionOnlyWarns();
    void doubleClickDropsThePendingSingleClick();
    void statusNotifierDoubleClickZoomsAndNeverDials();
    void disconnectButtonLeavesLineStateAndStopsTheWatch();
    void dropAndReconnectAreAnnouncedUnlessSwitchedOff();
    void dialOnStartupCanBeHungUp();
    void dialBroughtForwardByShowConnectDropsTheOldTime();
};

void tst_LineController::dialConnectsLogsEveryStepAndShowsTheConnectedIcon()
{
    TestContext t;
    t.settings().save(Keys::AlertConnected, QStringLiteral("1"));
    Program p(t);
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    QVERIFY(p.monitor->tray().IsAnimating());
    QVERIFY(!widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
    QVERIFY(widget<QPushButton>(p.tab(), "cmdDisconnect")->isEnabled());
    QVERIFY(!p.monitor->menu().toolEnabled(MenuNames::mnuConnect));
    QVERIFY(p.monitor->menu().toolEnabled(MenuNames::mnuDisconnect));
    QCOMPARE(p.state().DialFlag, 1);
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    QCOMPARE(p.log().first(), QStringLiteral("0 Opening port"));
    QCOMPARE(p.log().last(), QStringLiteral("8192 Connected"));
    QCOMPARE(widget<QListWidget>(p.tab(), "lstConnectState")->currentRow(), p.log().size() - 1);
    QVERIFY(!p.monitor->tray().IsAnimating());
    QVERIFY(p.line().watchTimer().enabled());
    QCOMPARE(p.state().LineState, 0);
    QCOMPARE(t.sounds().names(), QStringList{QStringLiteral("<default>")});
}

void tst_LineController::alwaysBusyDialsCountPlusOneTimesThenStartsOverNextTime()
{
    TestContext t;
    Program p(t, {busyRetry(3), checked(Keys::ReconnectLineBusy)});
    QCOMPARE(p.state().BusyRetriesLeft, qint16(4));
    p.choose(kBusy);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(120);
    QCOMPARE(t.line().dialCount(), 4);
    QCOMPARE(p.state().BusyRetriesLeft, qint16(0));
    QVERIFY(!p.line().redialTimer().enabled());
    QVERIFY(widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
    QVERIFY(!widget<QPushButton>(p.tab(), "cmdDisconnect")->isEnabled());
    QCOMPARE(p.state().DialFlag, 0);
    // The counter ran out, so the next dial is given the whole count again.
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(120);
    QCOMPARE(t.line().dialCount(), 8);
}

void tst_LineController::busyThenConnectedKeepsTheRemainder()
{
    TestContext t;
    Program p(t, {busyRetry(3), checked(Keys::ReconnectLineBusy)});
    p.choose(kBusyTwice);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(60);
    QVERIFY(p.line().dialUp().IsConnected());
    QCOMPARE(t.line().dialCount(), 3);
    QCOMPARE(p.state().BusyRetriesLeft, qint16(2));
    // Each redial is announced, in one notification that the next one replaces; a first
    // connection is no reconnect.
    QCOMPARE(t.notifier().bodies(),
        QStringList({QStringLiteral("Redialling Simulated line (busy twice): attempt 1 of 3"),
            QStringLiteral("Redialling Simulated line (busy twice): attempt 2 of 3")}));
    QCOMPARE(t.notifier().sent().at(0).tag, t.notifier().sent().at(1).tag);
    // A count the user changed since counts from the next dial, not the remainder.
    t.settings().save(Keys::ReconnectLineBusyCount, QStringLiteral("5"));
    widget<QPushButton>(p.tab(), "cmdDisconnect")->click();
    p.run(5);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    QCOMPARE(p.state().BusyRetriesLeft, qint16(6));
}

void tst_LineController::busyWithoutRetryHangsUpAtOnce()
{
    TestContext t;
    Program p(t, {busyRetry(3)});
    p.choose(kBusy);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    QSignalSpy redials(&p.line().redialTimer(), &Timer::tick);
    p.run(60);
    QCOMPARE(t.line().dialCount(), 1);
    QCOMPARE(redials.count(), 0);
    QVERIFY(widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
    QCOMPARE(p.state().LineState, 2);
    QCOMPARE(p.log().last(), QStringLiteral("8193 Disconnected - Line Busy"));
}

void tst_LineController::dropWithReconnectRedialsAfterThePause()
{
    TestContext t;
    Program p(t,
        {checked(Keys::ReconnectwhenDisconnected), checked(Keys::AlertDisconnected),
            checked(Keys::RunDisconnected(1)), {Keys::Program(1), QStringLiteral("cleanup")}});
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    t.sounds().clear();
    t.line().dropLine();
    const qint64 droppedAt = t.clock().tickCount();
    // The watch notices within one tick, hangs up with its pause, then dials again.
    p.run(2);
    QCOMPARE(t.sounds().names().value(0), QStringLiteral("<default>"));
    QVERIFY(t.programs().started.isEmpty()); // still in the pause
    QCOMPARE(t.line().dialCount(), 1);
    p.run(2);
    QCOMPARE(t.programs().started, QStringList{QStringLiteral("cleanup")});
    QVERIFY(t.clock().tickCount() - droppedAt >= 3000);
    QCOMPARE(t.line().dialCount(), 2);
    QCOMPARE(p.state().LineState, 1);
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    QCOMPARE(p.state().LineState, 0);
}

// The carrier goes for a while: each redial is refused at once, as NetworkManager refuses to
// activate a device without a carrier, and is treated like a busy line. The redials go on,
// also once the busy retries are used up, and the line is back within seconds of the carrier.
void tst_LineController::droppedLineIsRedialledUntilTheCarrierIsBack_data()
{
    QTest::addColumn<bool>("busyRetry");
    QTest::newRow("reconnect only") << false;
    QTest::newRow("reconnect and two busy retries") << true;
}

void tst_LineController::droppedLineIsRedialledUntilTheCarrierIsBack()
{
    QFETCH(bool, busyRetry);
    TestContext t;
    QList<std::pair<SettingKey, QString>> settings{checked(Keys::ReconnectwhenDisconnected)};
    if (busyRetry)
        settings << checked(Keys::ReconnectLineBusy) << ::busyRetry(2);
    Program p(t, settings);
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    t.line().setCarrier(false);
    p.run(60);
    QVERIFY(!p.line().dialUp().IsConnected());
    const int refused = t.line().dialCount() - 1;
    QVERIFY2(refused >= 10, qPrintable(QString::number(refused)));
    t.line().setCarrier(true);
    // A redial within the watch's tick and the hang-up's pause, and its four seconds to connect.
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    QCOMPARE(p.state().LineState, 0);
}

void tst_LineController::dropWithoutOptionsBlinksAMinuteBeforeHangingUp()
{
    TestContext t;
    Program p(t);
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    bool blinkedWithButtonsOff = false;
    qint64 blinkStart = -1;
    qint64 blinkEnd = -1;
    Timer probe(t.clock(), 1000, true);
    connect(&probe, &Timer::tick, this, [&] {
        const bool blinking = p.monitor->tray().IsBlinking();
        if (blinking && blinkStart < 0)
            blinkStart = t.clock().tickCount();
        if (!blinking && blinkStart >= 0 && blinkEnd < 0)
            blinkEnd = t.clock().tickCount();
        if (blinking)
            blinkedWithButtonsOff = !widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled()
                && !widget<QPushButton>(p.tab(), "cmdDisconnect")->isEnabled()
                && !p.monitor->menu().toolEnabled(MenuNames::mnuConnect);
    });
    t.line().dropLine();
    p.run(5);
    // The drop is on the list at once, while the clock stands through the blink.
    QCOMPARE(p.log().last(), QStringLiteral("8193 Line lost"));
    p.run(85);
    QCOMPARE(p.log().filter(QStringLiteral("8193")).size(), 1);
    QVERIFY(blinkedWithButtonsOff);
    QVERIFY(blinkEnd - blinkStart >= 59000 && blinkEnd - blinkStart <= 61000);
    QCOMPARE(t.line().dialCount(), 1);
    QCOMPARE(p.state().LineState, 2);
    QVERIFY(widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
}

void tst_LineController::clockShowsHoursPastNinetyNine()
{
    QCOMPARE(LineController::connectedTime(0), QStringLiteral("00:00:00"));
    QCOMPARE(LineController::connectedTime(3723000), QStringLiteral("01:02:03"));
    QCOMPARE(LineController::connectedTime(100u * 3600000u + 59000u), QStringLiteral("100:00:59"));
    // The tick count difference wraps as an unsigned 32-bit number.
    QCOMPARE(LineController::connectedTime(quint32(qint64(5000) - qint64(1000))),
        QStringLiteral("00:00:04"));
}

void tst_LineController::clockWritesTheTipOncePerSecond()
{
    TestContext t;
    Program p(t, {checked(Keys::ConnectSingleClick)});
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    const int before = int(p.tray.calls().size());
    p.run(5);
    const auto tipCalls = [&] {
        int n = 0;
        for (int i = before; i < p.tray.calls().size(); ++i)
            n += (p.tray.calls().at(i).record.flags & NotifyRecord::kTipFlag) ? 1 : 0;
        return n;
    };
    QVERIFY(tipCalls() >= 4 && tipCalls() <= 6);
    QVERIFY(p.tray.lastTip().startsWith(
        QStringLiteral("Click to Disc/Dbclick to zoom dialog to and from tray 00:00:")));
    // The dialog is hidden, so the time goes into its caption.
    const QString time = p.tray.lastTip().section(u' ', -1);
    QCOMPARE(p.dialog().windowTitle(), time);
    // The hint follows the single-click box at once, and the time stays.
    t.settings().save(Keys::ConnectSingleClick, QStringLiteral("0"));
    QCOMPARE(
        p.tray.lastTip(), QStringLiteral("Single click to zoom dialog to and from tray ") + time);
}

void tst_LineController::clockWakesOnEachSecondBoundaryAndFollowsTheDialog()
{
    TestContext t;
    Program p(t);
    p.choose(kLine);
    // The icon's menu leads with the time for hosts without tooltips, followed while open.
    QMenu *menu = p.monitor->bandMenu().iconMenu(MenuNames::PopupBandBvane);
    QAction *timeLine = menu->actions().first();
    QVERIFY(!timeLine->isVisible() && !timeLine->isEnabled());
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    QList<qint64> ticks;
    connect(&p.line().clockTimer(), &Timer::tick, this,
        [&] { ticks << t.clock().tickCount() - p.state().ConnectStartTick; });
    p.run(10);
    QVERIFY2(ticks.size() <= 11, qPrintable(QString::number(ticks.size())));
    for (qint64 second = 1; second <= 10; ++second)
        QVERIFY(ticks.contains(second * 1000));
    QVERIFY(timeLine->isVisible() && !timeLine->text().endsWith(u"10"));
    Q_EMIT menu->aboutToShow();
    QCOMPARE(timeLine->text(), QStringLiteral("Connected 00:00:10"));
    // Shown, the dialog gets the time in lblTime at once, not at the next second.
    p.dialog().show();
    t.clock().advance(1);
    QCOMPARE(widget<QLabel>(p.tab(), "lblTime")->text(), QStringLiteral("00:00:10"));
    p.dialog().hide();
    t.clock().advance(1);
    QCOMPARE(p.dialog().windowTitle(), QStringLiteral("00:00:10"));
    // Hung up, the caption is the dialog's own again while it is still put away.
    widget<QPushButton>(p.tab(), "cmdDisconnect")->click();
    p.run(5);
    QCOMPARE(p.dialog().windowTitle(), frmBrisvane::caption());
    QVERIFY(!timeLine->isVisible());
}

// Without a line nothing wakes the program; a line coming up wakes the schedule.
void tst_LineController::idleProgramArmsNoTimer()
{
    TestContext t;
    Program p(t, {checked(Keys::CheckMessages)});
    p.run(5);
    QCOMPARE(t.clock().nextDue(), -1);
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    QVERIFY(!p.schedule().timer().isArmed()); // asleep, or stopped while the line is up
    QVERIFY(t.clock().nextDue() > 0); // the connected-time clock
}

void tst_LineController::dialWhileClockRunsStopsIt()
{
    TestContext t;
    Program p(t);
    p.choose(kLine);
    p.manager().cmdConnect_Click();
    QCOMPARE(p.line().clockTimer().interval(), 15);
    p.manager().cmdConnect_Click();
    QCOMPARE(p.line().clockTimer().interval(), 0);
    p.manager().cmdDisconnect_Click(true);
    QCOMPARE(widget<QLabel>(p.tab(), "lblTime")->text(), QStringLiteral("00:00:00"));
    p.manager().cmdConnect_Click();
    QCOMPARE(p.line().clockTimer().interval(), 15);
    QCOMPARE(p.state().ConnectStartTick, t.clock().tickCount());
}

void tst_LineController::userSettingsDialPassesStoredValuesEvenEmpty()
{
    TestContext t;
    Program p(t, {checked(Keys::UserLogonSettings)});
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    QCOMPARE(t.line().dialCount(), 1);
    const DialRequest &request = t.line().lastRequest();
    QVERIFY(request.useLogon);
    QCOMPARE(request.phoneNumber, QString());
    QCOMPARE(request.logonName, QString());
    QCOMPARE(request.logonPassword, QString());
    p.run(10);
    // No password ever reaches the state list.
    t.settings().save(Keys::Password, QStringLiteral("s3cret!"));
    t.settings().save(Keys::Number, QStringLiteral("5551234"));
    p.manager().cmdDisconnect_Click(true);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    QCOMPARE(t.line().lastRequest().logonPassword, QStringLiteral("s3cret!"));
    QVERIFY(!p.log().join(u'\n').contains(QStringLiteral("s3cret!")));
}

void tst_LineController::noEntryChosenWarnsAndDialsNothing()
{
    TestContext t;
    Program p(t);
    widget<QComboBox>(p.tab(), "Combo1")->setCurrentIndex(-1);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    QCOMPARE(t.line().dialCount(), 0);
    QCOMPARE(t.dialogs().shown().last().title, QStringLiteral("Brisvane"));
    QVERIFY(t.dialogs().shown().last().text.startsWith(
        QStringLiteral("Please select a dial-up connection")));
    QVERIFY(widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
}

void tst_LineController::lineAlreadyUpAtStartupIsDetected()
{
    TestContext t;
    t.settings().save(Keys::DefaultConnection, kLine);
    t.settings().save(Keys::RunConnected(1), QStringLiteral("1"));
    t.settings().save(Keys::Program(1), QStringLiteral("fetchnews"));
    mRAS other(t.context().dialUpService());
    other.setEntry(kLine);
    other.Dial();
    t.clock().advance(10000);
    QVERIFY(other.IsConnected());
    t.dialogs().answerNext(DialogService::Answer::Ok);
    t.dialogs().answerNext(DialogService::Answer::Yes);
    Program p(t);
    QCOMPARE(p.state().ExistingConnectionCount, 1);
    QCOMPARE(t.dialogs().shown().value(0).title, QStringLiteral("Connection Detected"));
    QVERIFY(!widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
    QVERIFY(!widget<QPushButton>(p.tab(), "cmdDisconnect")->isEnabled());
    QVERIFY(!p.monitor->menu().toolEnabled(MenuNames::mnuConnect));
    QVERIFY(p.schedule().isEnabled());
    QVERIFY(p.line().watchTimer().enabled());
    QCOMPARE(p.tray.lastTip(), QStringLiteral("Single click to zoom dialog to and from tray"));
    // A click cannot hang up a line that is not ours: with single click on, the tip says so.
    t.settings().save(Keys::ConnectSingleClick, QStringLiteral("1"));
    QCOMPARE(p.tray.lastTip(), QStringLiteral("Double-click to zoom dialog to and from tray"));
    QCOMPARE(t.programs().started, QStringList{QStringLiteral("fetchnews")});
}

void tst_LineController::singleClicksAlternateDialAndHangUp()
{
    TestContext t;
    Program p(t, {checked(Keys::ConnectSingleClick), {Keys::DefaultConnection, kLine}});
    p.monitor->Timer1.setInterval(400);
    p.tray.send(MouseMessage::LeftDown);
    p.tray.send(MouseMessage::LeftUp);
    p.run(1);
    QCOMPARE(t.line().dialCount(), 1);
    QCOMPARE(p.state().DialFlag, 1);
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    p.tray.send(MouseMessage::LeftDown);
    p.tray.send(MouseMessage::LeftUp);
    p.run(5);
    QVERIFY(!p.line().dialUp().IsConnected());
    QCOMPARE(p.state().DialFlag, 0);
    QVERIFY(!p.line().watchTimer().enabled());
    p.tray.send(MouseMessage::LeftUp);
    p.run(1);
    QCOMPARE(t.line().dialCount(), 2);
}

void tst_LineController::clickWithExistingConnectionOnlyWarns()
{
    TestContext t;
    t.settings().save(Keys::DefaultConnection, kLine);
    mRAS other(t.context().dialUpService());
    other.setEntry(kLine);
    other.Dial();
    t.clock().advance(10000);
    Program p(t, {checked(Keys::ConnectSingleClick)});
    p.monitor->Timer1.setInterval(400);
    t.dialogs().clear();
    p.monitor->Lumenpin1_Click();
    QCOMPARE(t.dialogs().shown().size(), 1);
    QCOMPARE(t.dialogs().shown().first().text,
        QStringLiteral("Existing connection exists. Unable to establish connection"));
    QVERIFY(!p.monitor->Timer1.enabled());
    QVERIFY(!p.schedule().isEnabled());
}

void tst_LineController::doubleClickDropsThePendingSingleClick()
{
    TestContext t;
    Program p(t, {checked(Keys::ConnectSingleClick), {Keys::DefaultConnection, kLine}});
    p.monitor->Timer1.setInterval(400);
    p.monitor->Lumenpin1_Click();
    QVERIFY(p.monitor->Timer1.enabled());
    p.monitor->Lumenpin1_LeftDblClick();
    p.run(2);
    QCOMPARE(t.line().dialCount(), 0);
    QVERIFY(p.dialog().isVisible());
}

// A StatusNotifier host sends one activation per click: two within the double-click time
// zoom the dialog, one alone dials once that time has passed on the clock.
void tst_LineController::statusNotifierDoubleClickZoomsAndNeverDials()
{
    TestContext t;
    Program p(t, {checked(Keys::ConnectSingleClick), {Keys::DefaultConnection, kLine}});
    p.tray.setHostShowsMenus(true);
    p.monitor->tray().setTrayVisible(false);
    p.monitor->tray().setTrayVisible(true); // into the tray again: the host takes the menu
    const int interval = QApplication::doubleClickInterval();
    p.monitor->Timer1.setInterval(interval);
    const bool shown = p.dialog().isVisible();
    for (int gap : {0, interval / 2, 2000}) {
        t.clock().advance(gap);
        p.tray.send(MouseMessage::LeftUp);
    }
    QCOMPARE(p.dialog().isVisible(), !shown);
    t.clock().advance(interval); // the last click came 5 ms later: still waiting
    QCOMPARE(t.line().dialCount(), 0);
    t.clock().advance(10);
    QCOMPARE(t.line().dialCount(), 1);
}

void tst_LineController::disconnectButtonLeavesLineStateAndStopsTheWatch()
{
    TestContext t;
    Program p(t, {checked(Keys::AlertDisconnected)});
    p.choose(kLine);
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    p.state().LineState = 0;
    widget<QPushButton>(p.tab(), "cmdDisconnect")->click();
    QCOMPARE(p.state().LineState, 0);
    // Hung up by the user: one line on the list and one disconnect alert.
    QCOMPARE(p.log().last(), QStringLiteral("8193 Disconnected"));
    QCOMPARE(t.sounds().names().size(), 1);
    QVERIFY(!p.line().watchTimer().enabled());
    QVERIFY(!p.line().dialUp().IsConnected());
    QVERIFY(p.tray.calls().last().record.icon.isNull() == false);
    // A hang-up the program asks for marks the line for a redial.
    widget<QPushButton>(p.tab(), "cmdConnect")->click();
    p.run(10);
    p.manager().cmdDisconnect_Click();
    QCOMPARE(p.state().LineState, 2);
}

void tst_LineController::dropAndReconnectAreAnnouncedUnlessSwitchedOff()
{
    for (const bool on : {true, false}) {
        TestContext t;
        Program p(t,
            {checked(Keys::ReconnectwhenDisconnected),
                {Keys::DesktopNotifications, on ? QStringLiteral("1") : QStringLiteral("0")}});
        p.choose(kLine);
        widget<QPushButton>(p.tab(), "cmdConnect")->click();
        p.run(10);
        t.line().dropLine();
        p.run(15);
        QVERIFY(p.line().dialUp().IsConnected());
        if (!on) {
            QVERIFY(t.notifier().sent().isEmpty());
            continue;
        }
        QCOMPARE(t.notifier().summaries(),
            QStringList({QStringLiteral("Connection lost"), QStringLiteral("Connected again")}));
        QCOMPARE(
            t.notifier().sent().at(0).body, QStringLiteral("The line to Simulated line was lost."));
        QCOMPARE(t.notifier().sent().at(1).urgency, Notifier::Urgency::Low);
        QCOMPARE(t.notifier().sent().at(0).tag, t.notifier().sent().at(1).tag);
        // The user's own hang-up and a later dial of theirs are no reconnect.
        widget<QPushButton>(p.tab(), "cmdDisconnect")->click();
        p.run(5);
        widget<QPushButton>(p.tab(), "cmdConnect")->click();
        p.run(10);
        QCOMPARE(t.notifier().sent().size(), 2);
    }
}

// "Connect automatically on startup" dials before the start-up test for a line already up;
// that test must not take our own dial for no line and take the hang-up commands away.
void tst_LineController::dialOnStartupCanBeHungUp()
{
    TestContext t;
    Program p(t, {checked(Keys::ConnectiononStartup), {Keys::DefaultConnection, kLine}});
    QCOMPARE(t.line().dialCount(), 1);
    QVERIFY(widget<QPushButton>(p.tab(), "cmdDisconnect")->isEnabled());
    QVERIFY(p.monitor->menu().toolEnabled(MenuNames::mnuDisconnect));
    QVERIFY(!p.monitor->menu().toolEnabled(MenuNames::mnuConnect));
    QCOMPARE(p.state().ExistingConnectionCount, 0);
    p.run(10);
    QVERIFY(p.line().dialUp().IsConnected());
    QVERIFY(!widget<QCheckBox>(p.dialog().settingsTab(), "chkConnectSingleClick")->isEnabled());
    widget<QPushButton>(p.tab(), "cmdDisconnect")->click();
    p.run(5);
    QVERIFY(!p.line().dialUp().IsConnected());
    QVERIFY(widget<QPushButton>(p.tab(), "cmdConnect")->isEnabled());
    QVERIFY(widget<QCheckBox>(p.dialog().settingsTab(), "chkConnectSingleClick")->isEnabled());
}

// While the dialog is away the clock writes the time into its caption; a dial from the tray
// that brings it forward must show the dialog's own caption again.
void tst_LineController::dialBroughtForwardByShowConnectDropsTheOldTime()
{
    TestContext t;
    Program p(t, {checked(Keys::ShowConnect), {Keys::DefaultConnection, kLine}});
    p.dialog().show(); // shown once, then put away: a later show brings no resize
    QCoreApplication::processEvents();
    p.dialog().hide();
    p.manager().cmdConnect_Click();
    p.run(17);
    QCOMPARE(p.dialog().windowTitle().left(6), QStringLiteral("00:00:"));
    p.manager().trayHangUp();
    p.run(5);
    p.dialog().ShowConnect();
    p.manager().cmdConnect_Click();
    QVERIFY(p.dialog().isVisible());
    p.run(6);
    QCOMPARE(p.dialog().windowTitle(), frmBrisvane::caption());
}

QTEST_MAIN(tst_LineController)
#include "tst_linecontroller.moc"
