#include "alerts/frmnotraynotice.h"
#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/connectiontab.h"
#include "mail/mailschedule.h"
#include "monitor/bandmenu/bandmenu.h"
#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "support/modalanswerer.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {
const QString kLine = QStringLiteral("Simulated line");
const QString kReminder = QStringLiteral("Closing Brisvane Customize Dialog");
using Settings = QList<std::pair<SettingKey, QString>>;

// The program started on a desktop whose tray service reports no tray, on a virtual clock
// and a simulated line; the settings given are stored before start-up.
struct Program {
    explicit Program(TestContext &t, const Settings &settings = {})
    {
        for (const auto &[key, value] : settings)
            t.settings().save(key, value);
        tray.setTrayAvailable(false);
        monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
        monitor->runStartup();
        monitor->commands().exitProgram = [this] { ++exits; };
    }
    frmBrisvane &dialog() const { return monitor->customizeDialog(); }
    LineController &line() const { return monitor->app().line(); }
    MailSchedule &schedule() const { return monitor->app().mailSchedule(); }
    QToolButton *menuButton() const
    {
        return dialog().findChild<QToolButton *>(QStringLiteral("cmdMenu"));
    }
    // Put away, but within reach: minimised to the taskbar, not hidden.
    bool onTaskbar() const { return !dialog().isHidden() && dialog().isMinimized(); }
    // Opens the menu from the dialog's button and chooses `tool` in it.
    void chooseFromMenuButton(const QString &tool)
    {
        menuButton()->click();
        QMenu *popup = monitor->bandMenu().currentPopup();
        QVERIFY(popup);
        QCOMPARE(popup->objectName(), MenuNames::PopupBandBvane);
        auto *action = popup->findChild<QAction *>(tool);
        QVERIFY2(action, qPrintable(tool));
        action->trigger();
    }

    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
    int exits = 0;
};

// A program past its first run, without the notices, showing the dialog at start unless told.
Settings quiet(Settings more = {})
{
    more.prepend({Keys::NoTrayNotice, SettingValues::FalseText});
    more.prepend({Keys::DefaultConnection, kLine});
    more.prepend({Keys::LoadCustomizeBrisvaneDialogonStartup, SettingValues::TrueText});
    more.prepend({Keys::FirstTime, SettingValues::FirstTime});
    return more;
}

// A click on the dialog's own surface, at its bottom left, where no control stands.
void clickSurface(frmBrisvane &dialog)
{
    const QPoint spot(2, dialog.height() - 2);
    QVERIFY(!dialog.childAt(spot));
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, spot);
}
} // namespace

// The monitor on a desktop without a tray: it says so, never hides the dialog where nothing
// brings it back, offers the tray's menu on the dialog, and gives the tray back its role as
// soon as one appears.
class tst_frmBrisvaneMonitor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void noTrayIsToldAtStartUntilItsBoxIsCleared();
    void trayArrivingLateEndsTheNotice();
    void everyWayIntoTheTrayMinimisesInstead_data();
    void everyWayIntoTheTrayMinimisesInstead();
    void menuButtonReachesThePopupCommands();
    void trayComingAndGoingSwitchesTheBehaviour();
};

void tst_frmBrisvaneMonitor::noTrayIsToldAtStartUntilItsBoxIsCleared()
{
    TestContext t;
    QString text;
    const qint64 grace = frmBrisvaneMonitor::kNoTrayGraceSeconds * 1000;
    {
        // The first start: the reminder over the shown dialog, and once the grace time has
        // passed with no tray, the notice.
        ModalAnswerer answerer;
        answerer.setBeforeAnswer([&](QWidget *w) {
            if (w->objectName() == QLatin1String("frmNoTrayNotice"))
                text = w->findChild<QLabel *>(QStringLiteral("Label1"))->text();
        });
        Program p(t);
        t.clock().advance(grace - 1);
        QTest::qWait(20);
        QCOMPARE(answerer.titles(), QStringList{kReminder});
        t.clock().advance(1);
        QTRY_COMPARE(answerer.titles(), (QStringList{kReminder, QStringLiteral("Brisvane")}));
        QVERIFY(p.dialog().isVisible() && !p.dialog().isMinimized());
        QVERIFY(!p.menuButton()->isHidden());
    }
    QVERIFY(text.startsWith(QStringLiteral("This desktop shows no tray icons")));
    QVERIFY(
        text.endsWith(frmNoTrayNotice::howToGetATray(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))));
    // On a named desktop, that desktop's way to a tray.
    QVERIFY(frmNoTrayNotice::howToGetATray(QStringLiteral("ubuntu:GNOME"))
                .contains(u"gnome-shell-extension-appindicator"));
    QCOMPARE(t.settings().get(Keys::CustomizeBrisvaneReminder), SettingValues::TrueText);
    t.reopen();
    {
        // Told again until the user clears "Show this message in the future".
        ModalAnswerer answerer;
        answerer.setBeforeAnswer([](QWidget *w) {
            if (w->objectName() == QLatin1String("frmNoTrayNotice"))
                w->findChild<QCheckBox *>(QStringLiteral("Check1"))->setChecked(false);
        });
        Program p(t);
        // The reminder is answered first (the answerer looks every 5 ms of real time): a
        // notice that came up over it would be answered first under load.
        QTRY_COMPARE(answerer.titles(), QStringList{kReminder});
        t.clock().advance(grace);
        QTRY_COMPARE(answerer.titles(), (QStringList{kReminder, QStringLiteral("Brisvane")}));
    }
    QCOMPARE(t.settings().get(Keys::NoTrayNotice), SettingValues::FalseText);
    t.reopen();
    ModalAnswerer answerer;
    Program p(t);
    t.clock().advance(grace);
    QTest::qWait(20);
    QCOMPARE(answerer.titles(), QStringList{kReminder});
}

// Panels often start after the program: a tray within the grace time is never told about,
// and one that comes later takes the notice away and the dialog that went to the taskbar in
// its place, as if it had been there from the start.
void tst_frmBrisvaneMonitor::trayArrivingLateEndsTheNotice()
{
    const Settings intoTray = quiet({{Keys::MinimizeSystemTray, SettingValues::Checked},
        {Keys::NoTrayNotice, SettingValues::TrueText}});
    const qint64 grace = frmBrisvaneMonitor::kNoTrayGraceSeconds * 1000;
    TestContext t;
    {
        Program p(t, intoTray);
        t.clock().advance(grace - 1);
        p.tray.setTrayAvailable(true);
        t.clock().advance(grace);
        QTest::qWait(20);
        QVERIFY(!QApplication::activeModalWidget());
    }
    Program p(t, intoTray);
    QVERIFY(p.onTaskbar());
    t.clock().advance(grace);
    QTRY_VERIFY(QApplication::activeModalWidget());
    // Told, the dialog comes onto the screen under the notice: a desktop without a tray may
    // have no taskbar either.
    QVERIFY(p.dialog().isVisible() && !p.dialog().isMinimized());
    QCOMPARE(QApplication::activeModalWidget()->parentWidget(), &p.dialog());
    QCOMPARE(QApplication::activeModalWidget()->objectName(), QStringLiteral("frmNoTrayNotice"));
    p.tray.setTrayAvailable(true);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QVERIFY(p.dialog().isHidden() && !p.dialog().isMinimized());
    QVERIFY(p.menuButton()->isHidden());
}

void tst_frmBrisvaneMonitor::everyWayIntoTheTrayMinimisesInstead_data()
{
    QTest::addColumn<Settings>("settings");
    QTest::addColumn<QString>("way");
    const auto on = [](const SettingKey &key) { return std::pair{key, SettingValues::Checked}; };
    QTest::newRow("click on the surface") << quiet() << QStringLiteral("click");
    QTest::newRow("title bar close") << quiet() << QStringLiteral("close");
    QTest::newRow("escape") << quiet() << QStringLiteral("escape");
    QTest::newRow("minimise to tray on startup")
        << quiet({on(Keys::MinimizeSystemTray)}) << QString();
    QTest::newRow("dialog not shown on startup")
        << quiet({{Keys::LoadCustomizeBrisvaneDialogonStartup, SettingValues::FalseText}})
        << QString();
    QTest::newRow("minimise to tray after connecting")
        << quiet({on(Keys::MinimizeSystemTrayafterConnecting)}) << QStringLiteral("connect");
}

void tst_frmBrisvaneMonitor::everyWayIntoTheTrayMinimisesInstead()
{
    QFETCH(Settings, settings);
    QFETCH(QString, way);
    TestContext t;
    Program p(t, settings);
    frmBrisvane &dialog = p.dialog();
    if (way == QLatin1String("click")) {
        clickSurface(dialog);
    } else if (way == QLatin1String("close")) {
        QVERIFY(!dialog.close());
    } else if (way == QLatin1String("escape")) {
        QTest::keyClick(
            widget<QWidget>(dialog.connectionTab(), "chkConnectionStartup"), Qt::Key_Escape);
    } else if (way == QLatin1String("connect")) {
        widget<QPushButton>(dialog.connectionTab(), "cmdConnect")->click();
        t.clock().advance(10000);
        QVERIFY(p.line().dialUp().IsConnected());
    }
    QVERIFY(p.onTaskbar());
}

void tst_frmBrisvaneMonitor::menuButtonReachesThePopupCommands()
{
    TestContext t;
    Program p(t, quiet({{Keys::LoadCustomizeBrisvaneDialogonStartup, SettingValues::FalseText}}));
    QVERIFY(p.onTaskbar());
    p.chooseFromMenuButton(QStringLiteral("mnuSettings"));
    QVERIFY(p.dialog().isVisible() && !p.dialog().isMinimized());
    QCOMPARE(p.dialog().tabs().currentIndex(), int(frmBrisvane::SettingsTabIndex));
    p.chooseFromMenuButton(MenuNames::mnuConnect);
    t.clock().advance(10000);
    QVERIFY(p.line().dialUp().IsConnected());
    p.chooseFromMenuButton(QStringLiteral("mnuExit"));
    QCOMPARE(p.exits, 1);
}

void tst_frmBrisvaneMonitor::trayComingAndGoingSwitchesTheBehaviour()
{
    TestContext t;
    Program p(t, quiet());
    frmBrisvane &dialog = p.dialog();
    p.tray.setTrayAvailable(true);
    QVERIFY(p.menuButton()->isHidden());
    clickSurface(dialog);
    QVERIFY(dialog.isHidden()); // zoomed into the tray, as ever
    // The tray goes away with the dialog in it: the dialog comes out to the taskbar.
    p.tray.setTrayAvailable(false);
    QVERIFY(p.onTaskbar());
    QVERIFY(!p.menuButton()->isHidden());
}

QTEST_MAIN(tst_frmBrisvaneMonitor)
#include "tst_frmbrisvanemonitor.moc"
