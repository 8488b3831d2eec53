#pragma once

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class AppContext;
class LineController;
class LumenpinStatus;
class MailCheck;
class MailIdle;
class MailSchedule;
class MenuTools;
class ProgramMenu;
class ProgramRunner;
class TrayStatus;
class UsageLimit;
class UsageRecorder;
class UsageStore;
class frmUsage;
class frmBrisvane;
struct SettingKey;

// The program's composition root: it builds the controllers that own the program's state (the
// line, the mail schedule and checks, the programs), the Customize dialog that shows them, and
// wires them to each other. The popup menu's tools follow the settings and the line from here;
// no window reaches into another.
class BrisvaneApp : public QObject
{
    Q_OBJECT

public:
    struct Links {
        AppContext &context;
        Lumenpin &monitorTray; // the monitor's tray icon
        MenuTools &menu; // the monitor's band menu
        std::function<void(const QString &path)> loadMenuLayout;
        const ImageList &dialFrames; // the tray animation while dialling
        TrayService &trayService; // whether the desktop has a tray at all
    };

    explicit BrisvaneApp(Links links, QObject *parent = nullptr);
    ~BrisvaneApp() override;

    AppContext &context() const { return m_links.context; }
    MenuTools &menu() const { return m_links.menu; }
    TrayStatus &tray() const;
    LineController &line() const { return *m_line; }
    MailSchedule &mailSchedule() const { return *m_schedule; }
    MailIdle &mailIdle() const { return *m_idle; }
    ProgramRunner &programs() const { return *m_programs; }
    MailCheck &mailCheck() const { return *m_mailCheck; }
    frmBrisvane &dialog() const { return *m_dialog; }
    UsageStore &usageStore() const { return *m_usageStore; }
    UsageRecorder &usage() const { return *m_usage; }
    UsageLimit &usageLimit() const { return *m_usageLimit; }
    // Opens the Usage window, or brings the open one forward.
    frmUsage *showUsage();

    // Start-up: the menu layout, the logon prompt when there is no entry, the first-run values,
    // the line, the menu and the dialog from the settings, then the dial of "Connect
    // automatically on startup".
    void LoadFormSettings();
    // Start-up's look at a line that is already up.
    void CheckConnection();

    // The mail switch applied to the menu again, as if it had just been set.
    void applyMailSwitch();

private:
    void wire();
    void followSetting(const SettingKey &key);
    // The menu's mail and program tools from the settings and the line.
    void applyLineTools();
    void loadMenuMarks();
    void promptForLogonWhenNoEntries();
    void runProgramsWhenConnecting();
    void runProgramsWhenDisconnecting();
    void startUsageRecord();

    Links m_links;
    std::unique_ptr<LumenpinStatus> m_tray;
    std::unique_ptr<LineController> m_line;
    // The usage record outlives its recorder: the recorder closes an open row as it goes.
    std::unique_ptr<UsageStore> m_usageStore;
    std::unique_ptr<UsageRecorder> m_usage;
    std::unique_ptr<UsageLimit> m_usageLimit;
    QPointer<frmUsage> m_usageWindow;
    std::unique_ptr<MailSchedule> m_schedule;
    std::unique_ptr<MailIdle> m_idle; // the IMAP slots' IDLE watches: news for the schedule
    std::unique_ptr<ProgramRunner> m_programs;
    std::unique_ptr<ProgramMenu> m_programMenu;
    std::unique_ptr<frmBrisvane> m_dialog;
    std::unique_ptr<MailCheck> m_mailCheck;
};
