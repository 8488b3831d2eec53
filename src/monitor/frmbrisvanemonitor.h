#pragma once

#include "clock/timer.h"

#include <QCoro/QCoroTask>
#include <QWidget>

#include <functional>
#include <memory>

class AppContext;
class BandMenu;
class BrisvaneApp;
class BandMenuTools;
class ConnectedTimeLine;
class MenuTools;
class PopupCommands;
class SingleInstance;
class frmBrisvane;
class mRAS;

// The window the user never sees: it carries the tray icon, the popup menu bands and the
// timer that tells a single click on the icon from a double click. Its load is the first code
// of the program that runs.
class frmBrisvaneMonitor : public QWidget
{
    Q_OBJECT

public:
    frmBrisvaneMonitor(AppContext &context, TrayService &trayService, QWidget *parent = nullptr);
    ~frmBrisvaneMonitor() override;

    // Refuses a second copy (it asks the running copy to show itself, takes its own icon away
    // and returns false: this copy ends), reads the double-click time and runs the start-up.
    bool Form_Load(SingleInstance &instance);
    // The start-up routine: fills the Customize dialog, looks for a line already up, then
    // shows the dialog (with the reminder) or leaves the program in the tray.
    void runStartup();

    void Lumenpin1_Click();
    void Lumenpin1_LeftDblClick();
    QCoro::Task<> Timer1_Timer();
    void Lumenpin1_RightClick();
    // Zooms the Customize dialog out of the tray, or back into it.
    QCoro::Task<> toggleCustomizeDialog();
    // Zooms the Customize dialog out of the tray with its own caption, shown and active.
    void bringCustomizeDialogBack();
    // Brings the Customize dialog forward: out of the tray (with the reminder), off the
    // taskbar, or raised over the other windows.
    void showCustomizeDialog();

    Lumenpin &tray() const { return *Lumenpin1; }
    MenuTools &menu() const;
    BandMenu &bandMenu() const { return *BandMenu1; }
    const ImageList &imageList() const { return *ImageList1; }
    BrisvaneApp &app() const { return *m_app; }
    frmBrisvane &customizeDialog() const;
    PopupCommands &commands() const { return *m_commands; }
    QString iconPath(const QString &fileName) const;

    // Single-click delay; disabled, interval = the desktop's double-click time.
    Timer Timer1;

    // How long start-up waits for a tray before it says the desktop has none: panels often
    // start after the programs of the session (this one's own autostart entry among them).
    static constexpr int kNoTrayGraceSeconds = 20;

private:
    void buildTray();
    QCoro::Task<> noTrayNoticeAfterGrace();

    AppContext &m_context;
    TrayService &m_trayService;
    Lumenpin *Lumenpin1 = nullptr;
    std::unique_ptr<ImageList> ImageList1;
    BandMenu *BandMenu1 = nullptr;
    std::unique_ptr<BandMenuTools> m_menu;
    std::unique_ptr<mRAS> mRAS1;
    std::unique_ptr<BrisvaneApp> m_app;
    std::unique_ptr<PopupCommands> m_commands;
    ConnectedTimeLine *m_timeLine = nullptr;
};
