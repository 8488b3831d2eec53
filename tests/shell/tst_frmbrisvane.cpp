#include "alerts/desktopnotices.h"
#include "alerts/frmpreferences.h"
#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/ui/connectiontab.h"
#include "mail/mailschedule.h"
#include "mail/ui/mailtab.h"
#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "monitor/singleinstance.h"
#include "programs/ui/programstab.h"
#include "settings/settingsmodel.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "support/modalanswerer.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

using namespace Qt::StringLiterals;

// The Customize dialog as start-up fills it, and as a restart finds it again.
class tst_frmBrisvane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstRunWritesDefaultsOnceAndShowsDialogWithReminder();
    void secondStartRewritesNothing();
    void noEntriesPromptsForLogonModally_data();
    void noEntriesPromptsForLogonModally();
    void defaultConnectionNotInTheListBecomesTheText();
    void withoutADefaultTheListShowsTheEntryToDial();
    void bothStartupMinimiseBoxesMinimiseThenHide();
    void slotCountZeroMakesEverySlotUnavailable();
    void captionComesBackWhenRestored();
    void everyControlIsStoredAtOnceAndReadBack();
    void startupExclusionsFollowThePreferencesTool();
    void tabChangeReloadsMailSlotOne();
    void helpOpensTheProgramsHelpFile();
    void secondCopyAsksTheFirstToShowItselfAndShowsNothing();
    void aSecondStartBringsTheFirstCopysDialogForward();
    void preferencesButtonOpensPreferences();
    void desktopNotificationBoxIsStoredOnOkOnly();
    void trayStartBuildsNoPageAndALaterBuildMatchesAnEarlyOne();
    void pagesAskOnlyForTheRoomTheyNeedAndEachOpeningStartsAtTheTop();
    void everyPageIsWorkedByKeyboard();

private:
    struct Started {
        std::unique_ptr<RecordingTrayService> tray;
        std::unique_ptr<frmBrisvaneMonitor> monitor;
        frmBrisvane &dialog() { return monitor->customizeDialog(); }
        LineController &line() { return monitor->app().line(); }
        MailSchedule &schedule() { return monitor->app().mailSchedule(); }
    };
    static Started start(TestContext &t, bool pagesFirst = false);
};

// `pagesFirst` builds the dialog's pages before start-up loads them, as it always did.
tst_frmBrisvane::Started tst_frmBrisvane::start(TestContext &t, bool pagesFirst)
{
    Started s;
    s.tray = std::make_unique<RecordingTrayService>();
    s.monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), *s.tray);
    if (pagesFirst)
        s.dialog().tabs();
    s.monitor->runStartup();
    return s;
}

namespace {
// What start-up leaves outside the pages: the menu's tools, the tray tip, the mail schedule.
QStringList outsideThePages(frmBrisvaneMonitor &monitor)
{
    QStringList tools{MenuNames::mnuAllAccounts, MenuNames::mnuDisableMailChecking,
        MenuNames::mnuDisableProgramsApplications, MenuNames::mnuConnect, MenuNames::mnuDisconnect};
    for (int slot = 1; slot <= MailTab::kSlots; ++slot)
        tools << MenuNames::mnuMailSlot(slot);
    for (int k = 1; k <= ProgramsTab::kSlots; ++k)
        tools << MenuNames::mnuProgram(k);
    QStringList seen;
    MenuTools &menu = monitor.menu();
    for (const QString &tool : std::as_const(tools))
        seen << QStringLiteral("%1 %2%3%4")
                    .arg(tool)
                    .arg(menu.toolChecked(tool))
                    .arg(menu.toolEnabled(tool))
                    .arg(menu.toolVisible(tool));
    return seen << monitor.tray().TrayTip()
                << QString::number(monitor.app().mailSchedule().timer().isArmed());
}

// Every named control of the pages: shown or hidden, enabled, and what it holds.
QStringList thePages(frmBrisvane &dialog)
{
    QStringList seen;
    for (const QWidget *w : dialog.tabs().findChildren<QWidget *>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(u"qt_"))
            continue;
        QString held;
        if (const auto *button = qobject_cast<const QAbstractButton *>(w))
            held = button->text() + QString::number(button->isChecked());
        else if (const auto *label = qobject_cast<const QLabel *>(w))
            held = label->text();
        else if (const auto *box = qobject_cast<const QLineEdit *>(w))
            held = box->text();
        else if (const auto *combo = qobject_cast<const QComboBox *>(w))
            held = combo->currentText() + QString::number(combo->count());
        seen << QStringLiteral("%1 %2%3 %4")
                    .arg(w->objectName())
                    .arg(w->isHidden())
                    .arg(w->isEnabled())
                    .arg(held);
    }
    return seen;
}
} // namespace

// A start into the tray builds no page (their text metrics would load the fonts); whatever
// builds them later finds them, the menu and the store as an early build would have left them.
void tst_frmBrisvane::trayStartBuildsNoPageAndALaterBuildMatchesAnEarlyOne()
{
    const auto settle = [](TestContext &t) {
        t.settings().save(Keys::LoadCustomizeBrisvaneDialogonStartup, SettingValues::FalseText);
        t.settings().save(Keys::DisableProgramsApplications, QStringLiteral("1"));
        t.settings().save(Keys::MailSlotCount, QStringLiteral("2"));
        t.settings().save(Keys::CheckMailMinutes, QStringLiteral("7"));
        t.settings().save(Keys::ConnectSingleClick, QStringLiteral("1"));
        t.settings().save(Keys::ReconnectLineBusyCount, QStringLiteral("4"));
        t.settings().save(Keys::AccountName(1), QStringLiteral("Home"));
    };
    TestContext early, lazy;
    for (TestContext *t : {&early, &lazy}) {
        ModalAnswerer answerer; // the first run's defaults, then a start as any other
        start(*t);
        t->reopen();
        settle(*t);
    }
    Started e = start(early, true);
    Started l = start(lazy);
    QVERIFY(!l.dialog().pagesBuilt());
    QCOMPARE(outsideThePages(*l.monitor), outsideThePages(*e.monitor));
    QCOMPARE(l.line().state().BusyRetriesLeft, e.line().state().BusyRetriesLeft);
    QCOMPARE(thePages(l.dialog()), thePages(e.dialog()));
    QCOMPARE(outsideThePages(*l.monitor), outsideThePages(*e.monitor));
    QFile earlyFile(early.settingsPath()), lazyFile(lazy.settingsPath());
    QVERIFY(earlyFile.open(QIODevice::ReadOnly) && lazyFile.open(QIODevice::ReadOnly));
    QCOMPARE(lazyFile.readAll(), earlyFile.readAll());
}

void tst_frmBrisvane::firstRunWritesDefaultsOnceAndShowsDialogWithReminder()
{
    TestContext t;
    QStringList firstRunKeys;
    connect(&t.settings(), &SettingsStore::saved, this,
        [&](const QString &section, const QString &key) { firstRunKeys << section + u'/' + key; });
    ModalAnswerer answerer;
    Started s = start(t);
    QCOMPARE(firstRunKeys.count(QStringLiteral("Settings/FirstTime")), 1);
    QCOMPARE(firstRunKeys.count(QStringLiteral("BrisvaneDialogReminder/Reminder")), 1);
    QVERIFY(s.dialog().isVisible());
    QCOMPARE(s.dialog().windowTitle(), QStringLiteral("Customize Brisvane"));
    QCOMPARE(s.dialog().tabs().currentIndex(), 0);
    // The reminder stands over the dialog without holding the start-up.
    QTRY_COMPARE(
        answerer.titles(), QStringList{QStringLiteral("Closing Brisvane Customize Dialog")});
}

void tst_frmBrisvane::secondStartRewritesNothing()
{
    TestContext t;
    {
        ModalAnswerer answerer;
        Started s = start(t);
    }
    QFile file(t.settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    t.reopen();
    ModalAnswerer answerer;
    Started s = start(t);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

void tst_frmBrisvane::noEntriesPromptsForLogonModally_data()
{
    QTest::addColumn<QString>("button");
    QTest::newRow("OK") << QStringLiteral("cmdOK");
    QTest::newRow("Cancel") << QStringLiteral("cmdCancel");
}

void tst_frmBrisvane::noEntriesPromptsForLogonModally()
{
    QFETCH(QString, button);
    TestContext t;
    t.useDialUpEntries({});
    t.settings().save(Keys::CustomizeBrisvaneReminder, SettingValues::FalseText);
    ModalAnswerer answerer(button);
    answerer.setBeforeAnswer([](QWidget *w) {
        if (auto *name = w->findChild<QLineEdit *>(QStringLiteral("txtUserName")))
            name->setText(QStringLiteral("dave"));
    });
    Started s = start(t);
    QCOMPARE(answerer.titles().value(0), QStringLiteral("User Logon Settings"));
    ConnectionTab &tab = s.dialog().connectionTab();
    QVERIFY(widget<QCheckBox>(tab, "chkUserLogonSettings")->isChecked());
    QVERIFY(!widget<QComboBox>(tab, "Combo1")->isEnabled());
    QVERIFY(widget<QPushButton>(tab, "cmdUserLogonSettings")->isEnabled());
    QCOMPARE(t.settings().get(Keys::UserLogonSettings), QStringLiteral("1"));
    QCOMPARE(t.settings().contains(Keys::UserName), button == QLatin1String("cmdOK"));
}

void tst_frmBrisvane::defaultConnectionNotInTheListBecomesTheText()
{
    TestContext t;
    t.settings().save(Keys::DefaultConnection, QStringLiteral("Gone ISP"));
    ModalAnswerer answerer;
    Started s = start(t);
    QCOMPARE(widget<QComboBox>(s.dialog().connectionTab(), "Combo1")->currentText(),
        QStringLiteral("Gone ISP"));
    QCOMPARE(s.line().state().EntryName, QStringLiteral("Gone ISP"));
}

// Filling the list selects its first entry, but the entry dialled and tested is the last.
void tst_frmBrisvane::withoutADefaultTheListShowsTheEntryToDial()
{
    TestContext t;
    t.useDialUpEntries({{QStringLiteral("Home ISP"), SimulatedLine::Script::Connects},
        {QStringLiteral("Work ISP"), SimulatedLine::Script::Connects}});
    ModalAnswerer answerer;
    Started s = start(t);
    QCOMPARE(s.line().state().EntryName, QStringLiteral("Work ISP"));
    QCOMPARE(widget<QComboBox>(s.dialog().connectionTab(), "Combo1")->currentText(),
        QStringLiteral("Work ISP"));
    QVERIFY(!widget<QComboBox>(s.dialog().connectionTab(), "Combo1")->isEditable()); // a drop-down
    // Of the simulated service's entries, the one chosen without a default connects.
    TestContext fresh;
    Started simulated = start(fresh);
    QCOMPARE(simulated.line().state().EntryName, QStringLiteral("Simulated line"));
}

void tst_frmBrisvane::bothStartupMinimiseBoxesMinimiseThenHide()
{
    TestContext t;
    t.settings().save(Keys::MinimizeTaskbar, QStringLiteral("1"));
    t.settings().save(Keys::MinimizeSystemTray, QStringLiteral("1"));
    ModalAnswerer answerer;
    RecordingTrayService tray;
    auto monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
    monitor->runStartup();
    // Minimised during the load, then hidden: hiding keeps the minimised state.
    QVERIFY(monitor->customizeDialog().windowState() & Qt::WindowMinimized);
    QVERIFY(!monitor->customizeDialog().isVisible());
    QVERIFY(answerer.titles().isEmpty());
}

void tst_frmBrisvane::slotCountZeroMakesEverySlotUnavailable()
{
    TestContext t;
    t.settings().save(Keys::MailSlotCount, QStringLiteral("0"));
    ModalAnswerer answerer;
    Started s = start(t);
    MailTab &mail = s.dialog().mailTab();
    for (int slot = 1; slot <= MailTab::kSlots; ++slot)
        QVERIFY(!mail.option(slot)->isEnabled());
    QCOMPARE(t.settings().get(Keys::MailSlotCount), QStringLiteral("0"));
    QVERIFY(!s.monitor->menu().toolVisible(MenuNames::mnuMailSlot(1)));
    QVERIFY(!s.monitor->menu().toolVisible(MenuNames::mnuAllAccounts));
}

void tst_frmBrisvane::captionComesBackWhenRestored()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    s.dialog().setWindowTitle(QStringLiteral("01:02:03"));
    s.dialog().showMinimized();
    s.dialog().setWindowTitle(QStringLiteral("01:02:04"));
    s.dialog().showNormal();
    QCOMPARE(s.dialog().windowTitle(), QStringLiteral("Customize Brisvane"));
}

// Every check box, text box and spinner label of the dialog keeps what the user set, at once,
// and a restart shows it again.
void tst_frmBrisvane::everyControlIsStoredAtOnceAndReadBack()
{
    TestContext t;
    QStringList checked;
    {
        ModalAnswerer answerer;
        Started s = start(t);
        for (QCheckBox *box : s.dialog().findChildren<QCheckBox *>()) {
            if (box->objectName() == QLatin1String("chkConnectionStartup")
                || box->objectName() == QLatin1String("chkUserLogonSettings"))
                continue; // dial at start-up; logon choice is checked below
            box->setChecked(!box->isChecked());
            if (box->isChecked())
                checked << box->objectName();
        }
        MailTab &mail = s.dialog().mailTab();
        widget<QLabel>(mail, "lblMailSlots")->setText(QStringLiteral("4"));
        widget<UpDown>(mail, "UpDown2")->stepUp();
        widget<QLabel>(mail, "lblCheckMailMinutes")->setText(QStringLiteral("7"));
        widget<UpDown>(mail, "UpDown1")->stepUp();
        widget<UpDown>(mail, "UpDown3")->stepUp();
        widget<UpDown>(s.dialog().connectionTab(), "UpDown4")->stepUp();
        widget<QLineEdit>(mail, "txtMailProgram")->setText(QStringLiteral("thunderbird -mail"));
    }
    QVERIFY(checked.size() >= 15);
    t.reopen();
    t.settings().save(Keys::DisableMailChecking, QStringLiteral("0"));
    ModalAnswerer answerer;
    Started s = start(t);
    for (const QString &name : checked) {
        // The per-program flags come up when their program is selected in the list.
        if (name.startsWith(QLatin1String("chkRun"))) {
            const int k
                = name.mid(name.startsWith(QLatin1String("chkRunConnected")) ? 15 : 18).toInt();
            const SettingKey key = name.startsWith(QLatin1String("chkRunConnected"))
                ? Keys::RunConnected(k)
                : Keys::RunDisconnected(k);
            QCOMPARE(t.settings().get(key), QStringLiteral("1"));
            continue;
        }
        if (name == QLatin1String("chkDisableMailChecking"))
            continue;
        auto *box = s.dialog().findChild<QCheckBox *>(name);
        QVERIFY2(box && box->isChecked(), qPrintable(name));
    }
    MailTab &mail = s.dialog().mailTab();
    QCOMPARE(widget<QLabel>(mail, "lblMailSlots")->text(), QStringLiteral("5"));
    QCOMPARE(widget<QLabel>(mail, "lblCheckMailMinutes")->text(), QStringLiteral("8"));
    QCOMPARE(widget<QLabel>(mail, "lblPauseBetweenAccounts")->text(), QStringLiteral("2"));
    QCOMPARE(widget<QLabel>(s.dialog().connectionTab(), "lblReconnectLineBusy")->text(),
        QStringLiteral("2"));
    // The busy count is the stored count plus one, ready for the first dial.
    QCOMPARE(s.line().state().BusyRetriesLeft, qint16(3));
}

void tst_frmBrisvane::startupExclusionsFollowThePreferencesTool()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    SettingsTab &settings = s.dialog().settingsTab();
    widget<QCheckBox>(settings, "chkMinimizeSystemTray")->setChecked(true);
    QVERIFY(!widget<QCheckBox>(settings, "chkMinimizeTaskbar")->isEnabled());
    QVERIFY(!widget<QCheckBox>(settings, "chkMinimizeTaskbar")->isChecked());
    QCOMPARE(t.settings().get(Keys::MinimizeTaskbar), QString());
    widget<QCheckBox>(settings, "chkMinimizeTaskbarafterConnecting")->setChecked(true);
    QVERIFY(!widget<QCheckBox>(settings, "chkMinimizeSystemTrayafterConnecting")->isEnabled());
    widget<QCheckBox>(settings, "chkMinimizeTaskbarafterConnecting")->setChecked(false);
    QVERIFY(widget<QCheckBox>(settings, "chkMinimizeSystemTrayafterConnecting")->isEnabled());
}

void tst_frmBrisvane::tabChangeReloadsMailSlotOne()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    MailTab &mail = s.dialog().mailTab();
    t.context().model().setCount(Keys::MailSlotCount, 3);
    t.settings().save(Keys::AccountName(1), QStringLiteral("Stored"));
    s.dialog().tabs().setCurrentIndex(frmBrisvane::MailTabIndex);
    QCOMPARE(widget<QLineEdit>(mail, "txtAccountName1")->text(), QStringLiteral("Stored"));
    QVERIFY(mail.option(3)->isEnabled());
    QVERIFY(!mail.option(4)->isEnabled());
    QCOMPARE(t.settings().get(Keys::MailSlotCount), QStringLiteral("3"));
    t.settings().save(Keys::Program(1), QStringLiteral("/usr/bin/true"));
    s.dialog().tabs().setCurrentIndex(frmBrisvane::ProgramsTabIndex);
    QCOMPARE(widget<QListWidget>(s.dialog().programsTab(), "lstPrograms")->item(0)->text(),
        QStringLiteral("/usr/bin/true"));
    // Back on the Mail tab with Option 2 selected, the boxes shown are slot 2's, not slot 1's.
    mail.option(2)->click();
    s.dialog().tabs().setCurrentIndex(frmBrisvane::ConnectionTabIndex);
    s.dialog().tabs().setCurrentIndex(frmBrisvane::MailTabIndex);
    QVERIFY(mail.option(2)->isChecked());
    QVERIFY(widget<QLineEdit>(mail, "txtAccountName2")->isVisibleTo(&mail));
    QVERIFY(!widget<QLineEdit>(mail, "txtAccountName1")->isVisibleTo(&mail));
}

void tst_frmBrisvane::helpOpensTheProgramsHelpFile()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    s.dialog().cmdHelp_Click();
    QCOMPARE(t.dialogs().shown().last().icon, DialogService::Icon::Warning);
    QVERIFY(t.dialogs().shown().last().text.contains(QStringLiteral("bvane.hlp")));
    QDir().mkpath(t.context().paths().programDir());
    QFile help(t.context().paths().resource(QStringLiteral("bvane.hlp")));
    QVERIFY(help.open(QIODevice::WriteOnly));
    help.close();
    s.dialog().cmdHelp_Click();
    QCOMPARE(t.dialogs().shown().last().kind, QStringLiteral("open"));
    QCOMPARE(t.dialogs().shown().last().text, help.fileName());
}

void tst_frmBrisvane::secondCopyAsksTheFirstToShowItselfAndShowsNothing()
{
    TestContext t;
    const QString socket = QDir(t.dir()).filePath(QStringLiteral("Brisvane.socket"));
    SingleInstance first(socket);
    QVERIFY(!first.anotherCopyIsRunning());
    QSignalSpy show(&first, &SingleInstance::showRequested);
    SingleInstance second(socket);
    RecordingTrayService tray;
    frmBrisvaneMonitor monitor(t.context(), tray);
    QVERIFY(tray.iconShown());
    QVERIFY(!monitor.Form_Load(second));
    QVERIFY(!tray.iconShown());
    QVERIFY(!monitor.customizeDialog().isVisible());
    // Start-up never ran: not even the first-run values were written.
    QVERIFY(!t.settings().contains(Keys::FirstTime));
    QVERIFY(show.wait(5000));
}

// Starting the program again while it runs shows its dialog, wherever it is, and never ends
// the running copy.
void tst_frmBrisvane::aSecondStartBringsTheFirstCopysDialogForward()
{
    TestContext t;
    t.settings().save(Keys::CustomizeBrisvaneReminder, QStringLiteral("False"));
    const QString socket = QDir(t.dir()).filePath(QStringLiteral("Brisvane.socket"));
    SingleInstance first(socket);
    RecordingTrayService tray;
    frmBrisvaneMonitor monitor(t.context(), tray);
    int exits = 0;
    monitor.commands().exitProgram = [&exits] { ++exits; };
    QVERIFY(monitor.Form_Load(first));
    frmBrisvane &dialog = monitor.customizeDialog();
    for (const std::function<void()> &away : {std::function<void()>([&] { dialog.zoomToTray(); }),
             std::function<void()>([&] { dialog.showMinimized(); })}) {
        away();
        QVERIFY(SingleInstance(socket).askRunningCopyToShow());
        QTRY_VERIFY(dialog.isVisible() && !dialog.isMinimized());
    }
    QCOMPARE(exits, 0);
}

void tst_frmBrisvane::preferencesButtonOpensPreferences()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    s.dialog().findChild<QPushButton *>(QStringLiteral("cmdPreferences"))->click();
    QTRY_VERIFY(QApplication::topLevelWidgets().contains(
        s.dialog().findChild<QWidget *>(QStringLiteral("frmPreferences"))));
}

void tst_frmBrisvane::desktopNotificationBoxIsStoredOnOkOnly()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    const auto open
        = [&] { return frmPreferences::open(t.context(), s.dialog().menu(), {}, &s.dialog()); };
    frmPreferences *preferences = open();
    QVERIFY(preferences->chkDesktopNotifications->isChecked());
    // Cancel takes the change back, as it does for every other box.
    preferences->chkDesktopNotifications->click();
    preferences->cmdCancel->click();
    QVERIFY(DesktopNotices::enabled(t.context()));
    preferences = open();
    QVERIFY(preferences->chkDesktopNotifications->isChecked());
    preferences->chkDesktopNotifications->click();
    preferences->cmdOK->click();
    QCOMPARE(t.settings().get(Keys::DesktopNotifications), QStringLiteral("0"));
    preferences = open();
    QVERIFY(!preferences->chkDesktopNotifications->isChecked());
    preferences->close();
}

void tst_frmBrisvane::pagesAskOnlyForTheRoomTheyNeedAndEachOpeningStartsAtTheTop()
{
    TestContext t;
    ModalAnswerer answerer;
    Started s = start(t);
    frmBrisvane &dialog = s.dialog();
    auto *settings = dialog.findChild<QScrollArea *>(QStringLiteral("SettingsTabScroll"));
    dialog.tabs().setCurrentWidget(settings);
    dialog.show();
    // The wrapping captions ask for no more height than the dialog gives the page.
    QVERIFY(settings->widget()->minimumSizeHint().height() <= settings->height());
    // A page scrolled down opens at its top the next time.
    dialog.resize(dialog.width(), 200);
    QTRY_VERIFY(settings->verticalScrollBar()->maximum() > 0);
    settings->verticalScrollBar()->setValue(settings->verticalScrollBar()->maximum());
    dialog.hide();
    dialog.show();
    QCOMPARE(settings->verticalScrollBar()->value(), 0);
}

// Tab goes from control to control: no page's scroll area (which shows no focus) on the way.
// On every page each tab stop is a control, and each button and check box shown has an Alt
// key of its own among those the page and the dialog's bottom row show.
void tst_frmBrisvane::everyPageIsWorkedByKeyboard()
{
    TestContext t;
    Started s = start(t);
    s.dialog().show();
    const auto mnemonic = [](const QString &text) {
        const qsizetype at = QString(text).replace(u"&&"_s, u"__"_s).indexOf(u'&');
        return at < 0 || at + 1 >= text.size() ? QChar() : text.at(at + 1).toLower();
    };
    for (int tab = 0; tab < s.dialog().tabs().count(); ++tab) {
        s.dialog().showTab(tab);
        for (QWidget *w = s.dialog().nextInFocusChain(); w != &s.dialog();
             w = w->nextInFocusChain())
            QVERIFY2(!qobject_cast<QScrollArea *>(w) || !(w->focusPolicy() & Qt::TabFocus),
                qPrintable(w->objectName()));
        QHash<QChar, QString> keys;
        for (const QWidget *w : s.dialog().findChildren<QWidget *>()) {
            const auto *button = qobject_cast<const QAbstractButton *>(w);
            const auto *label = qobject_cast<const QLabel *>(w);
            const QString text = button ? button->text() : label ? label->text() : QString();
            if (w->window() != &s.dialog() || !w->isVisibleTo(&s.dialog()) || text.isEmpty()
                || !(button || label->buddy()))
                continue;
            const QChar key = mnemonic(text);
            QVERIFY2(!key.isNull() || label, qPrintable(w->objectName() + u" has no Alt key"_s));
            QVERIFY2(key.isNull() || !keys.contains(key),
                qPrintable(
                    w->objectName() + u" shares Alt+"_s + key + u" with "_s + keys.value(key)));
            keys.insert(key, w->objectName());
        }
    }
}

QTEST_MAIN(tst_frmBrisvane)
#include "tst_frmbrisvane.moc"
