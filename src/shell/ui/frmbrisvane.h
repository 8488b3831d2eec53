#pragma once

#include "clock/timer.h"
#include "connection/connectionstate.h"
#include "shell/settings/settingkeys.h"

#include <QCoro/QCoroTask>
#include <QWidget>

#include <functional>
#include <memory>

class AlertControls;
class AppContext;
class ConnectionManager;
class ConnectionTab;
class ImageList;
class Lumenpin;
class MailCheck;
class MailTab;
class MenuTools;
class ProgramsTab;
class QPushButton;
class QTabWidget;
class QToolButton;
class SettingsTab;
class TrayService;
class mRAS;

// The Customize dialog: the program's one settings surface, with its four tabs. It is created
// once and lives until the program ends; it is hidden and shown, never closed. Each tab's
// handlers live with their subsystem; this class ties them together, loads the settings into
// them and carries the timers and the dial-up control the connection manager drives.
//
// The tabs' pages are built when first asked for (a page accessor, or the first show), not
// with the dialog: their text metrics alone load the whole font stack, a third of a tray
// program's memory, and a program that stays in the tray may never need them. Until then
// start-up works from the settings store what loading the pages would do beyond them (menu
// marks, the mail schedule, the tray tip), and a page built later is loaded as at start-up.
class frmBrisvane : public QWidget
{
    Q_OBJECT

public:
    enum Tab {
        ConnectionTabIndex = 0,
        MailTabIndex = 1,
        ProgramsTabIndex = 2,
        SettingsTabIndex = 3
    };

    struct Links {
        AppContext &context;
        Lumenpin &monitorTray; // the monitor's tray icon: tips, zoom effect
        MenuTools &menu; // the monitor's band menu
        std::function<void(const QString &path)> loadMenuLayout;
        const ImageList &dialFrames; // the tray animation while dialling
        TrayService &trayService; // whether the desktop has a tray at all
    };

    explicit frmBrisvane(Links links, QWidget *parent = nullptr);
    ~frmBrisvane() override;

    static QString caption() { return QStringLiteral("Customize Brisvane"); }

    void LoadFormSettings();
    void SSTab1_Click(int previousTab);
    void cmdHelp_Click();
    void cmdPreferences_Click();
    // Zooms the dialog into the tray and hides it; hideIntoTray() hides it without the zoom.
    // With no tray on the desktop both minimise it to the taskbar instead: the dialog is never
    // put away where nothing brings it back.
    void zoomToTray();
    void hideIntoTray();
    bool trayAvailable() const;
    // Moves the dialog to `topLeft`, or the least way from there that keeps it wholly on its
    // screen. Where the compositor places windows (Wayland) it stays where it is put.
    void moveOntoScreen(QPoint topLeft);
    // The largest size the dialog takes, whatever its tabs ask for.
    static constexpr QSize kMaximumSize{1000, 700};

    ConnectionTab &connectionTab() const { return pages(), *m_connection; }
    MailTab &mailTab() const { return pages(), *m_mail; }
    ProgramsTab &programsTab() const { return pages(), *m_programs; }
    SettingsTab &settingsTab() const { return pages(), *m_settings; }
    AlertControls &alerts() const { return pages(), *m_alerts; }
    QTabWidget &tabs() const { return pages(), *SSTab1; }
    // Whether the pages have been built (they are, once anything asked for them).
    bool pagesBuilt() const { return SSTab1 != nullptr; }
    void setVisible(bool visible) override;
    mRAS &dialUp() const { return *mRAS1; }
    ConnectionState &connectionState() { return m_state; }
    AppContext &context() const { return m_links.context; }
    MenuTools &menu() const { return m_links.menu; }
    Lumenpin &monitorTray() const { return m_links.monitorTray; }
    // Puts the program folder's icon `fileName` on the monitor's tray icon.
    void setTrayIcon(const QString &fileName);

    ConnectionManager &connectionManager() const { return *m_manager; }
    void CheckConnection();

    // Starting the flagged programs when the line comes up or goes down.
    void RunProgramswhenConnecting();
    void RunProgramswhenDisconnecting();

    // The mail schedule (Timer2) and the state the mail checks share.
    void Timer2_Timer();
    // New mail on an IMAP slot watched with IDLE: the scheduled check at once, by the
    // schedule's rules (not while a check or the mail program runs, not with scheduled
    // checking off or mail checking disabled, only with the line up).
    QCoro::Task<> newMailByIdle();
    // One round of the schedule: the interval's wait, then the multi-account check.
    QCoro::Task<> scheduledRound(int minutes);
    MailCheck &mailCheck() const { return *m_mailCheck; }
    // The dial-up control's view of the line of the current entry.
    bool lineConnected() const;

    // The dialog's timers: connected-time clock, mail schedule, line watch, busy redial.
    Timer Timer1;
    Timer Timer2;
    Timer Timer3;
    Timer Timer4;

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

Q_SIGNALS:
    // The menu button asks for the popup menu at `globalPos` (no tray to right-click).
    void menuRequested(const QPoint &globalPos);

private:
    void buildHub();
    // Builds the pages once; loads them if start-up has loaded the settings already.
    const frmBrisvane &pages() const;
    void buildPages();
    void loadPages();
    void applyStoredState();
    void fitToScreen();
    void loadEntries();
    void loadEntryList();
    void promptForLogonWhenNoEntries();
    void loadCheckBoxes();
    void loadMenuMarks();
    void loadCounterLabels();
    void applyEnablingRules();
    void applySlotCountAtLoad();
    void loadTextBoxes();
    void restoreCaptionWhenNormal();
    void tickConnectedClockNow();
    bool minimiseWhenNoTray();
    void followTray(bool available);
    void startFlaggedPrograms(SettingKey (*flag)(int));
    QCoro::Task<> runScheduledCheck();

    Links m_links;
    ConnectionState m_state;
    std::unique_ptr<mRAS> mRAS1;
    QTabWidget *SSTab1 = nullptr;
    ConnectionTab *m_connection = nullptr;
    MailTab *m_mail = nullptr;
    ProgramsTab *m_programs = nullptr;
    SettingsTab *m_settings = nullptr;
    AlertControls *m_alerts = nullptr;
    ConnectionManager *m_manager = nullptr;
    QPushButton *cmdPreferences = nullptr;
    bool m_placed = false;
    bool m_minimisedForTray = false; // on the taskbar only for want of a tray
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdAbout = nullptr;
    QToolButton *cmdMenu = nullptr; // the tray icon's menu, shown while there is no tray
    int m_currentTab = 0;
    bool m_logonPromptPending = false;
    bool m_settingsLoaded = false; // LoadFormSettings has run
    bool m_connectionChecked = false; // CheckConnection has run
    std::unique_ptr<MailCheck> m_mailCheck;
    bool m_scheduleBusy = false; // a scheduled wait or check is running
    bool m_idleCheckBusy = false; // a check started by IDLE is running
    QCoro::Task<> scheduledCheck();
};
