#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "mail/mailschedule.h"
#include "mail/ui/mailtab.h"
#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "programs/ui/programstab.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QApplication>
#include <QTabWidget>
#include <QTest>

namespace {
// The program after start-up, in the tray, with the reminder switched off.
struct Program {
    explicit Program(TestContext &t)
    {
        t.settings().save(Keys::FirstTime, SettingValues::FirstTime);
        t.settings().save(Keys::CustomizeBrisvaneReminder, SettingValues::FalseText);
        t.settings().save(Keys::DefaultConnection, QStringLiteral("Simulated line"));
        monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
        monitor->runStartup();
        monitor->commands().exitProgram = [this] { ++exits; };
    }
    void choose(const QString &tool) { monitor->commands().BandMenu1_ToolClick(tool); }
    MenuTools &menu() { return monitor->menu(); }
    frmBrisvane &dialog() { return monitor->customizeDialog(); }
    LineController &line() { return monitor->app().line(); }
    MailSchedule &schedule() { return monitor->app().mailSchedule(); }

    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
    int exits = 0;
};
} // namespace

class tst_PopupCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sameToggleTwiceRestoresMarkAndValues();
    void dialogOnStartupToggleGreysTheStartupBoxes();
    void customizeToolsShowTheDialogOnTheirTab();
    void missingProgramShowsNotFoundAndChangesNothingElse();
    void programToolStartsItsRow();
    void connectAndDisconnectDriveTheLine();
    void exitDuringAConnectionLeavesTheLineUp();
    void disableProgramsFollowsTheBox();
    void disableMailCheckingGreysTheSlotTools();
    void aboutShowsTheAboutWindow();
};

void tst_PopupCommands::sameToggleTwiceRestoresMarkAndValues()
{
    TestContext t;
    Program p(t);
    const QString tool = MenuNames::mnuShowDeleteMessageConfirmationDialog;
    const bool before = p.menu().toolChecked(tool);
    p.choose(tool);
    QCOMPARE(p.menu().toolChecked(tool), !before);
    QCOMPARE(t.settings().get(Keys::DeleteMessageConfirmation),
        before ? QStringLiteral("False") : QStringLiteral("True"));
    QCOMPARE(t.settings().get(Keys::DeleteMessageConfirmationDialog),
        before ? QStringLiteral("0") : QStringLiteral("1"));
    p.choose(tool);
    QCOMPARE(p.menu().toolChecked(tool), before);
    QCOMPARE(t.settings().get(Keys::ShowDeleteMessageConfirmation),
        before ? QStringLiteral("True") : QStringLiteral("False"));
}

void tst_PopupCommands::dialogOnStartupToggleGreysTheStartupBoxes()
{
    TestContext t;
    Program p(t);
    p.menu().setToolChecked(MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup, true);
    p.choose(MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup);
    QCOMPARE(t.settings().get(Keys::LoadCustomizeBrisvaneDialogonStartup), QStringLiteral("False"));
    QCOMPARE(t.settings().get(Keys::CustomizeBrisvaneDialogonStartup), QStringLiteral("0"));
    QVERIFY(!widget<QCheckBox>(p.dialog().settingsTab(), "chkMinimizeTaskbar")->isEnabled());
    QVERIFY(!widget<QCheckBox>(p.dialog().settingsTab(), "chkMinimizeSystemTray")->isEnabled());
    p.choose(MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup);
    QVERIFY(widget<QCheckBox>(p.dialog().settingsTab(), "chkMinimizeSystemTray")->isEnabled());
}

void tst_PopupCommands::customizeToolsShowTheDialogOnTheirTab()
{
    TestContext t;
    Program p(t);
    QVERIFY(!p.dialog().isVisible());
    p.choose(QStringLiteral("mnuSettings"));
    QVERIFY(p.dialog().isVisible());
    QCOMPARE(p.dialog().tabs().currentIndex(), int(frmBrisvane::SettingsTabIndex));
    QCOMPARE(p.dialog().windowTitle(), frmBrisvane::caption());
    p.dialog().showMinimized();
    p.choose(QStringLiteral("mnuMailProperties"));
    QVERIFY(!p.dialog().isMinimized());
    QCOMPARE(p.dialog().tabs().currentIndex(), int(frmBrisvane::MailTabIndex));
}

void tst_PopupCommands::missingProgramShowsNotFoundAndChangesNothingElse()
{
    TestContext t;
    t.settings().save(Keys::Program(4), QStringLiteral("/opt/gone/newsreader"));
    t.programs().missing << QStringLiteral("/opt/gone/newsreader");
    Program p(t);
    t.dialogs().clear();
    p.choose(MenuNames::mnuProgram(4));
    QCOMPARE(t.dialogs().shown().size(), 1);
    QCOMPARE(t.dialogs().shown().first().title, QStringLiteral("Brisvane"));
    QCOMPARE(t.dialogs().shown().first().icon, DialogService::Icon::Warning);
    QVERIFY(t.dialogs().shown().first().text.contains(QStringLiteral("/opt/gone/newsreader")));
    QVERIFY(t.programs().started.isEmpty());
    QVERIFY(!p.dialog().isVisible());
}

void tst_PopupCommands::programToolStartsItsRow()
{
    TestContext t;
    t.settings().save(Keys::Program(2), QStringLiteral("xterm -e top"));
    Program p(t);
    p.choose(MenuNames::mnuProgram(2));
    p.choose(MenuNames::mnuProgram(3)); // an empty slot starts nothing visible
    QCOMPARE(t.programs().started.value(0), QStringLiteral("xterm -e top"));
}

void tst_PopupCommands::connectAndDisconnectDriveTheLine()
{
    TestContext t;
    Program p(t);
    p.choose(MenuNames::mnuConnect);
    t.clock().advance(10000);
    QVERIFY(p.line().dialUp().IsConnected());
    QVERIFY(p.menu().toolEnabled(MenuNames::mnuDisconnect));
    p.choose(MenuNames::mnuDisconnect);
    QVERIFY(!p.line().dialUp().IsConnected());
    QVERIFY(p.menu().toolEnabled(MenuNames::mnuConnect));
}

void tst_PopupCommands::exitDuringAConnectionLeavesTheLineUp()
{
    TestContext t;
    Program p(t);
    p.choose(MenuNames::mnuConnect);
    t.clock().advance(10000);
    p.choose(QStringLiteral("mnuExit"));
    QCOMPARE(p.exits, 1);
    QVERIFY(p.line().dialUp().IsConnected());
}

void tst_PopupCommands::disableProgramsFollowsTheBox()
{
    TestContext t;
    Program p(t);
    p.choose(MenuNames::mnuDisableProgramsApplications);
    ProgramsTab &programs = p.dialog().programsTab();
    QVERIFY(widget<QCheckBox>(programs, "chkDisableProgramsApplications")->isChecked());
    QCOMPARE(t.settings().get(Keys::DisableProgramsApplications), QStringLiteral("1"));
    QVERIFY(!p.menu().toolEnabled(MenuNames::mnuProgram(1)));
    p.choose(MenuNames::mnuDisableProgramsApplications);
    QVERIFY(!widget<QCheckBox>(programs, "chkDisableProgramsApplications")->isChecked());
    QVERIFY(p.menu().toolEnabled(MenuNames::mnuProgram(10)));
}

void tst_PopupCommands::disableMailCheckingGreysTheSlotTools()
{
    TestContext t;
    t.settings().save(Keys::MailSlotCount, QStringLiteral("2"));
    Program p(t);
    p.choose(MenuNames::mnuDisableMailChecking);
    QVERIFY(p.menu().toolChecked(MenuNames::mnuDisableMailChecking));
    QVERIFY(!p.menu().toolEnabled(MenuNames::mnuMailSlot(1)));
    QVERIFY(widget<QCheckBox>(p.dialog().mailTab(), "chkDisableMailChecking")->isChecked());
    QCOMPARE(t.settings().get(Keys::MailCheck), QStringLiteral("1"));
    p.choose(MenuNames::mnuDisableMailChecking);
    QVERIFY(!p.menu().toolChecked(MenuNames::mnuDisableMailChecking));
    QVERIFY(!widget<QCheckBox>(p.dialog().mailTab(), "chkDisableMailChecking")->isChecked());
    QCOMPARE(t.settings().get(Keys::MailCheck), QStringLiteral("0"));
    QCOMPARE(t.settings().get(Keys::MailSlotCount), QStringLiteral("2"));
    QVERIFY(p.dialog().mailTab().option(2)->isEnabled());
    QVERIFY(!p.dialog().mailTab().option(3)->isEnabled());
}

void tst_PopupCommands::aboutShowsTheAboutWindow()
{
    TestContext t;
    Program p(t);
    p.choose(QStringLiteral("mnuAbout"));
    QWidget *about = nullptr;
    for (QWidget *w : QApplication::topLevelWidgets())
        about = w->objectName() == QLatin1String("frmAbout") && w->isVisible() ? w : about;
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("About Brisvane"));
    about->close();
}

QTEST_MAIN(tst_PopupCommands)
#include "tst_popupcommands.moc"
