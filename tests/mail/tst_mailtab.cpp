#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/connectiontab.h"
#include "mail/mailschedule.h"
#include "mail/ui/mailtab.h"
#include "monitor/bandmenu/band.h"
#include "monitor/bandmenu/bandmenu.h"
#include "monitor/bandmenu/bandtool.h"
#include "monitor/frmbrisvanemonitor.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/gapcheckbox.h"
#include "shell/ui/settingstab.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QTest>

// The Mail tab of the running program: what it stores, and how the popup menu and the
// schedule follow the settings it changes.
class tst_MailTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void slotCountZeroDisablesEveryOptionAndHidesTools();
    void slotCountOneShowsOnlyTheFirstTool();
    void toolsAreGreyedWhileTheLineIsDown();
    void accountNameFollowsIntoTheMenuOneKeystrokeAtATime();
    void slotBoxesAreStoredAndReloadedByOption();
    void spinnersStoreOnlyValuesOfTheirRange();
    void eachCounterSitsInItsGapOfTheSentence();
    void disablingMailCheckingStopsAndResumesTheSchedule();
    void scheduledCheckingGreysItsControls();

private:
    MenuTools &menu() { return monitor->menu(); }
    QString caption(const QString &tool)
    {
        return monitor->bandMenu().band(MenuNames::PopupBandMailSlots)->tool(tool)->caption();
    }
    MailSchedule &schedule() { return monitor->app().mailSchedule(); }
    void connectLine()
    {
        widget<QPushButton>(monitor->customizeDialog().connectionTab(), "cmdConnect")->click();
        t->clock().advance(10000);
        QVERIFY(monitor->app().line().dialUp().IsConnected());
    }

    std::unique_ptr<TestContext> t;
    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
    MailTab *tab = nullptr;
    QCheckBox *minimized = nullptr;
};

void tst_MailTab::init()
{
    t = std::make_unique<TestContext>();
    t->settings().save(Keys::FirstTime, SettingValues::FirstTime);
    t->settings().save(Keys::CustomizeBrisvaneReminder, SettingValues::FalseText);
    t->settings().save(Keys::DefaultConnection, QStringLiteral("Simulated line"));
    monitor = std::make_unique<frmBrisvaneMonitor>(t->context(), tray);
    monitor->runStartup();
    tab = &monitor->customizeDialog().mailTab();
    minimized
        = widget<QCheckBox>(monitor->customizeDialog().settingsTab(), "chkCheckMailwhenMinimized");
}

void tst_MailTab::cleanup()
{
    monitor.reset();
    t.reset();
}

void tst_MailTab::slotCountZeroDisablesEveryOptionAndHidesTools()
{
    widget<QLabel>(tab, "lblMailSlots")->setText(QStringLiteral("1"));
    widget<UpDown>(tab, "UpDown2")->stepDown();
    QCOMPARE(widget<QLabel>(tab, "lblMailSlots")->text(), QStringLiteral("0"));
    QCOMPARE(t->settings().get(Keys::MailSlotCount), QStringLiteral("0"));
    for (int slot = 1; slot <= MailTab::kSlots; ++slot) {
        QVERIFY(!tab->option(slot)->isEnabled());
        QVERIFY(!menu().toolVisible(MenuNames::mnuMailSlot(slot)));
    }
    QVERIFY(!menu().toolVisible(MenuNames::mnuAllAccounts));
    // Below 0 the spinner stays put and stores nothing new.
    widget<UpDown>(tab, "UpDown2")->stepDown();
    QCOMPARE(widget<QLabel>(tab, "lblMailSlots")->text(), QStringLiteral("0"));
}

void tst_MailTab::slotCountOneShowsOnlyTheFirstTool()
{
    widget<QLabel>(tab, "lblMailSlots")->setText(QStringLiteral("0"));
    widget<UpDown>(tab, "UpDown2")->stepUp();
    QVERIFY(menu().toolVisible(MenuNames::mnuMailSlot(1)));
    for (int slot = 2; slot <= MailTab::kSlots; ++slot) {
        QVERIFY(!menu().toolVisible(MenuNames::mnuMailSlot(slot)));
        QVERIFY(!tab->option(slot)->isEnabled());
    }
    QVERIFY(tab->option(1)->isEnabled());
    QVERIFY(!menu().toolVisible(MenuNames::mnuAllAccounts));
    widget<UpDown>(tab, "UpDown2")->stepUp();
    QVERIFY(menu().toolVisible(MenuNames::mnuAllAccounts));
    QCOMPARE(t->settings().get(Keys::MailSlotCount), QStringLiteral("2"));
}

void tst_MailTab::toolsAreGreyedWhileTheLineIsDown()
{
    widget<QLabel>(tab, "lblMailSlots")->setText(QStringLiteral("3"));
    tab->UpDown2_Change();
    for (int slot = 1; slot <= 3; ++slot) {
        QVERIFY(menu().toolVisible(MenuNames::mnuMailSlot(slot)));
        QVERIFY(!menu().toolEnabled(MenuNames::mnuMailSlot(slot)));
    }
    QVERIFY(!menu().toolEnabled(MenuNames::mnuAllAccounts));
    connectLine();
    for (int slot = 1; slot <= 3; ++slot)
        QVERIFY(menu().toolEnabled(MenuNames::mnuMailSlot(slot)));
    QVERIFY(!menu().toolVisible(MenuNames::mnuMailSlot(4)));
    QVERIFY(menu().toolEnabled(MenuNames::mnuAllAccounts));
    // Switched-off mail checking greys them whatever the line does.
    widget<QCheckBox>(tab, "chkDisableMailChecking")->setChecked(true);
    for (int slot = 1; slot <= 3; ++slot)
        QVERIFY(!menu().toolEnabled(MenuNames::mnuMailSlot(slot)));
    QVERIFY(!menu().toolEnabled(MenuNames::mnuAllAccounts));
}

void tst_MailTab::accountNameFollowsIntoTheMenuOneKeystrokeAtATime()
{
    QTest::keyClicks(widget<QLineEdit>(tab, "txtAccountName1"), QStringLiteral("Wo"));
    QCOMPARE(caption(MenuNames::mnuMailSlot(1)), QStringLiteral("Wo"));
    QCOMPARE(t->settings().get(Keys::AccountName(1)), QStringLiteral("Wo"));
    QTest::keyClicks(widget<QLineEdit>(tab, "txtAccountName1"), QStringLiteral("rk"));
    QCOMPARE(caption(MenuNames::mnuMailSlot(1)), QStringLiteral("Work"));
    // The menu carries the names from the start, too.
    monitor.reset();
    t->reopen();
    monitor = std::make_unique<frmBrisvaneMonitor>(t->context(), tray);
    monitor->runStartup();
    QCOMPARE(caption(MenuNames::mnuMailSlot(1)), QStringLiteral("Work"));
}

void tst_MailTab::slotBoxesAreStoredAndReloadedByOption()
{
    t->settings().save(Keys::AccountName(3), QStringLiteral("Home"));
    t->settings().save(Keys::MailPassword(3), QStringLiteral(" se cret "));
    widget<QLabel>(tab, "lblMailSlots")->setText(QStringLiteral("5"));
    tab->UpDown2_Change();
    widget<QRadioButton>(tab, "Option3")->click();
    QVERIFY(widget<QLineEdit>(tab, "txtAccountName3")->isVisibleTo(tab));
    QVERIFY(!widget<QLineEdit>(tab, "txtAccountName1")->isVisibleTo(tab));
    QCOMPARE(widget<QLineEdit>(tab, "txtAccountName3")->text(), QStringLiteral("Home"));
    QCOMPARE(widget<QLineEdit>(tab, "txtPassword3")->text(), QStringLiteral(" se cret "));
    QCOMPARE(widget<QLineEdit>(tab, "txtPassword3")->echoMode(), QLineEdit::Password);
    widget<QLineEdit>(tab, "txtDomain3")->setText(QStringLiteral("pop.example.org"));
    widget<QLineEdit>(tab, "txtUserName3")->setText(QStringLiteral("dave"));
    QCOMPARE(t->settings().get(Keys::Domain(3)), QStringLiteral("pop.example.org"));
    QCOMPARE(t->settings().get(Keys::MailUserName(3)), QStringLiteral("dave"));
    // One unread-only box, the shown slot's: on by default, cleared for slot 3 alone.
    QCheckBox *unreadOnly = widget<QCheckBox>(tab, "chkListUnreadOnly");
    QVERIFY(unreadOnly->isChecked());
    unreadOnly->click();
    widget<QRadioButton>(tab, "Option1")->click();
    QVERIFY(unreadOnly->isChecked());
    widget<QRadioButton>(tab, "Option3")->click();
    QVERIFY(!unreadOnly->isChecked());
    QCOMPARE(t->settings().get(Keys::ListUnreadOnly(3)), SettingValues::Unchecked);
    // The help on emptying a slot says what it is about.
    widget<QPushButton>(tab, "cmdRemovingMailAccount")->click();
    QCOMPARE(t->dialogs().shown().last().title, QStringLiteral("How to Remove a Mail Account"));
}

void tst_MailTab::spinnersStoreOnlyValuesOfTheirRange()
{
    widget<QCheckBox>(tab, "chkCheckMessages")
        ->setChecked(true); // the spinners work with scheduled checking on
    widget<QLabel>(tab, "lblCheckMailMinutes")->setText(QStringLiteral("29"));
    widget<UpDown>(tab, "UpDown1")->stepUp();
    widget<UpDown>(tab, "UpDown1")->stepUp();
    QCOMPARE(widget<QLabel>(tab, "lblCheckMailMinutes")->text(), QStringLiteral("30"));
    QCOMPARE(t->settings().get(Keys::CheckMailMinutes), QStringLiteral("30"));
    widget<QLabel>(tab, "lblPauseBetweenAccounts")->setText(QStringLiteral("9"));
    tab->UpDown3_Change();
    QVERIFY(!t->settings().contains(Keys::PauseBetweenAccounts));
    widget<UpDown>(tab, "UpDown3")->stepDown();
    QCOMPARE(widget<QLabel>(tab, "lblPauseBetweenAccounts")->text(), QStringLiteral("5"));
    QCOMPARE(t->settings().get(Keys::PauseBetweenAccounts), QStringLiteral("5"));
}

void tst_MailTab::eachCounterSitsInItsGapOfTheSentence()
{
    GapCheckBox *box = widget<GapCheckBox>(tab, "chkCheckMessages");
    QCOMPARE(box->text(),
        QStringLiteral("Chec&k messages every   minutes and pause between mail accounts"));
    QCOMPARE(box->shownPieces(),
        (QStringList{QStringLiteral("Chec&k messages every"), QStringLiteral("minutes and pause"),
            QStringLiteral("between mail accounts")}));
    box->resize(box->sizeHint());
    const QFontMetrics metrics = box->fontMetrics();
    const int minutes = widget<QLabel>(tab, "lblCheckMailMinutes")->geometry().left();
    const int pause = widget<QLabel>(tab, "lblPauseBetweenAccounts")->geometry().left();
    QCOMPARE(widget<QLabel>(tab, "lblCheckMailMinutes")->parentWidget(), box);
    QVERIFY(minutes > metrics.horizontalAdvance(QStringLiteral("Check messages every")));
    QVERIFY(widget<UpDown>(tab, "UpDown1")->geometry().left() > minutes);
    QVERIFY(pause > widget<UpDown>(tab, "UpDown1")->geometry().right()
            + metrics.horizontalAdvance(QStringLiteral("minutes and pause")));
    QVERIFY(box->sizeHint().width() > widget<UpDown>(tab, "UpDown3")->geometry().right()
            + metrics.horizontalAdvance(QStringLiteral("between mail accounts")));
    // A click on a counter is no click on the box.
    const bool ticked = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton, {},
        widget<QLabel>(tab, "lblPauseBetweenAccounts")->geometry().center());
    QCOMPARE(box->isChecked(), ticked);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QCOMPARE(box->isChecked(), !ticked);
}

void tst_MailTab::disablingMailCheckingStopsAndResumesTheSchedule()
{
    monitor->customizeDialog().show();
    widget<QLabel>(tab, "lblMailSlots")->setText(QStringLiteral("2"));
    widget<QCheckBox>(tab, "chkDisableMailChecking")->setChecked(true);
    QCOMPARE(t->settings().get(Keys::DisableMailChecking), QStringLiteral("1"));
    QVERIFY(!schedule().isEnabled());
    QVERIFY(!widget<QGroupBox>(tab, "fraMailSlots")->isVisibleTo(tab));
    QVERIFY(!widget<QGroupBox>(tab, "fraMailSchedule")->isVisibleTo(tab));
    QVERIFY(menu().toolChecked(MenuNames::mnuDisableMailChecking));
    QVERIFY(!menu().toolEnabled(MenuNames::mnuMailSlot(1)));

    widget<QCheckBox>(tab, "chkDisableMailChecking")->setChecked(false);
    QCOMPARE(t->settings().get(Keys::DisableMailChecking), QStringLiteral("0"));
    QVERIFY(schedule().isEnabled());
    QVERIFY(widget<QGroupBox>(tab, "fraMailSlots")->isVisibleTo(tab));
    QVERIFY(widget<QLineEdit>(tab, "txtAccountName1")->isVisibleTo(tab));
    QVERIFY(!menu().toolChecked(MenuNames::mnuDisableMailChecking));
    QCOMPARE(t->settings().get(Keys::MailSlotCount), QStringLiteral("2"));
}

void tst_MailTab::scheduledCheckingGreysItsControls()
{
    widget<QCheckBox>(tab, "chkCheckMessages")->setChecked(true);
    widget<QCheckBox>(tab, "chkCheckMessages")->setChecked(false);
    QCOMPARE(t->settings().get(Keys::CheckMessages), QStringLiteral("0"));
    QVERIFY(!widget<UpDown>(tab, "UpDown1")->isEnabled());
    QVERIFY(!widget<QLabel>(tab, "lblPauseBetweenAccounts")->isEnabled());
    QVERIFY(!minimized->isEnabled());
    widget<QCheckBox>(tab, "chkCheckMessages")->setChecked(true);
    QVERIFY(widget<UpDown>(tab, "UpDown3")->isEnabled());
    QVERIFY(minimized->isEnabled());
    widget<QCheckBox>(tab, "chkMailConnected")->setChecked(true);
    QCOMPARE(t->settings().get(Keys::MailConnected), QStringLiteral("1"));
}

QTEST_MAIN(tst_MailTab)
#include "tst_mailtab.moc"
