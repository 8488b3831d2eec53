#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class AlertControls;
class AppContext;
class ConnectionTab;
class LineController;
class MailTab;
class MenuTools;
class ProgramRunner;
class ProgramsTab;
class QPushButton;
class QTabWidget;
class QToolButton;
class SettingsTab;

// The Customize dialog: the program's one settings surface, with its four tabs. It is created
// once and lives until the program ends; it is hidden and shown, never closed. It is a view:
// each tab loads from the settings model and saves to it, and follows the line controller's
// signals; the program's state lives in the controllers the composition root built.
//
// The tabs' pages are built when first asked for (a page accessor, or the first show), not
// with the dialog: their text metrics alone load the whole font stack, a third of a tray
// program's memory, and a program that stays in the tray may never need them. Nothing outside
// the dialog needs them: a page built later loads from the model as one built at start-up.
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
        Lumenpin &monitorTray; // the monitor's tray icon: the zoom effect
        MenuTools &menu; // the monitor's band menu
        TrayService &trayService; // whether the desktop has a tray at all
        LineController &line;
        ProgramRunner &programs;
    };

    explicit frmBrisvane(Links links, QWidget *parent = nullptr);
    ~frmBrisvane() override;

    static QString caption() { return tr("Customize Brisvane"); }

    // Start-up has loaded the settings: the pages load from them (now, if built, or when they
    // are), and "Minimize to taskbar on startup" applies.
    void loadSettings();
    void SSTab1_Click(int previousTab);
    void cmdHelp_Click();
    void cmdPreferences_Click();
    // Zooms the dialog into the tray and hides it; hideIntoTray() hides it without the zoom.
    // With no tray on the desktop both minimise it to the taskbar instead: the dialog is never
    // put away where nothing brings it back.
    void zoomToTray();
    void hideIntoTray();
    // With no tray, brings the dialog from the taskbar (or from nowhere) onto the screen: a
    // desktop without a taskbar (GNOME) would show nothing at all. A tray that comes later
    // still takes it, as it takes one minimised in its place.
    void showInTraysPlace();
    bool trayAvailable() const;
    // Moves the dialog to `topLeft`, or the least way from there that keeps it wholly on its
    // screen. Where the compositor places windows (Wayland) it stays where it is put.
    void moveOntoScreen(QPoint topLeft);
    // A dial from the tray or the menu brings the dialog forward on the Connection tab, when
    // "Show dialog when connecting" is on.
    void ShowConnect();
    // Shows the tab `tab` (one of Tab).
    void showTab(int tab);
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
    AppContext &context() const { return m_links.context; }
    MenuTools &menu() const { return m_links.menu; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

Q_SIGNALS:
    // The menu button asks for the popup menu at `globalPos` (no tray to right-click).
    void menuRequested(const QPoint &globalPos);
    // The Connection tab asks for the Usage window.
    void usageRequested();

private:
    // Builds the pages once; loads them if start-up has loaded the settings already.
    const frmBrisvane &pages() const;
    void buildPages();
    void buildButtons();
    void followLine();
    void loadPages();
    void fitToScreen();
    void restoreCaptionWhenNormal();
    // The connected time goes into the caption while the dialog is away, else into its label.
    void showConnectedTime();
    bool minimiseWhenNoTray();
    void followTray(bool available);
    void applyConnectedOptions();

    Links m_links;
    QTabWidget *SSTab1 = nullptr;
    ConnectionTab *m_connection = nullptr;
    MailTab *m_mail = nullptr;
    ProgramsTab *m_programs = nullptr;
    SettingsTab *m_settings = nullptr;
    AlertControls *m_alerts = nullptr;
    QPushButton *cmdPreferences = nullptr;
    bool m_placed = false;
    bool m_minimisedForTray = false; // on the taskbar only for want of a tray
    QPushButton *cmdHelp = nullptr;
    QPushButton *cmdAbout = nullptr;
    QToolButton *cmdMenu = nullptr; // the tray icon's menu, shown while there is no tray
    int m_currentTab = 0;
    bool m_settingsLoaded = false; // start-up has loaded the settings
    QString m_connectedTime; // the running time while the clock runs, else empty
};
