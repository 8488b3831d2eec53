#pragma once

#include "mail/mailschedule.h"
#include "mail/ui/newmail.h"

#include <QCoro/QCoroTask>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class AnnouncedMail;
class AppContext;
class LineController;
class MailControl;
class MenuTools;
class SettingsModel;
class TrayStatus;
class MailIdle;
class frmCheckMail;
class frmCheckMail2;
class frmMailServerError;

// The state a mail check shares across the program, and the ways a multi-account check is
// started. The program's composition root builds one; the check windows, the error dialog, the
// schedule, the check after connecting and the popup menu all reach it there.
class MailCheck : public QObject, public MailRounds
{
    Q_OBJECT

public:
    struct Links {
        AppContext &context;
        QWidget &windowParent; // the Customize dialog: check windows never outlive it
        MenuTools &menu;
        TrayStatus &tray;
        LineController &line;
        MailSchedule &schedule;
    };
    using ControlFactory = std::function<std::unique_ptr<MailControl>()>;

    explicit MailCheck(Links links, QObject *parent = nullptr);
    ~MailCheck() override;

    // The values every check window and its starters read and write.
    qint16 currentSlotIndex = 0; // 0 to 4: the slot in progress is index + 1
    qint16 requestDone = 0; // -1 once the mail control has answered
    qint16 accountDone = 0; // non-zero once the current account's report has finished
    qint16 errorCount = 0; // Error events for the current account
    qint16 manualCheck = 0; // 1 while a check started from the popup menu runs
    // 0 to 4: the slot the single-slot window reports is index + 1 (the error dialog reads it)
    qint16 singleSlotIndex = 0;

    // Every starter clears these (and the alerts told) before it loads a check window.
    void clearForStart();

    // Makes the mail control of each new check window (POP3 or IMAP by the slot's server
    // text, unless a test replaces it).
    ControlFactory makeControl;
    // The IDLE watches of the IMAP slots; their news goes to the schedule.
    MailIdle &idle() const { return *m_idle; }

    // Loads the multi-account check window; its load runs the check until the first pause
    // with mail, or to the end. A window of an earlier run that is still open is unloaded
    // first, so only one run exists. The window may already have closed itself at the end.
    // Ends with false when a newer run replaced this one meanwhile (the newer run's starter
    // has the word from then on) or the check went away.
    QCoro::Task<bool> loadCheckWindow(int onlySlot = 0);
    // The open check window; none once it has been unloaded.
    frmCheckMail *checkWindow() const;
    // The count of the last account the window visited; 0 without a window.
    int lastMessageCount() const;
    // The open check window counts down to the next account after one that failed.
    bool checkWaitsAfterError() const;
    void unloadCheckWindow();

    // The check five seconds after the line came up: runs the check and ends with the last
    // account's count. A window left with no mail to show is closed. A newer run that took
    // over counts as mail to show: its own starter gives the timers back.
    QCoro::Task<int> checkAfterConnecting();
    // The popup menu's All Accounts.
    QCoro::Task<> mnuAllAccounts_Click();

    // The popup menu's MailSlot 1 to 5: loads the single-slot window for `slot`, then keeps
    // it open when it has something to show and unloads it otherwise.
    QCoro::Task<> mnuMailSlot_Click(int slot);
    // Loads the single-slot window for the slot stored under "MailSlot"/"Settings"; an earlier
    // one still open is unloaded first. Ends with the window, which may already be gone.
    QCoro::Task<frmCheckMail2 *> loadSlotWindow();
    // The open single-slot window; none once it has been unloaded.
    frmCheckMail2 *slotWindow() const;
    void unloadSlotWindow();

    // The check whose mail control failed, as it was at that moment. The error dialog keeps
    // it, so a check that runs while the dialog is open cannot change which account the
    // dialog names or which window its Close closes.
    struct Failure {
        QPointer<QWidget> window;
        bool multiAccount = false; // else the single-slot window
        int slotIndex = 0; // 0 to 4
        QString accountName; // filled in by serverError()
        QString cause; // what the mail control said, the password masked
    };
    // Opens the mail server error dialog for `failure` (or shows the open one again).
    void showServerError(const Failure &failure);
    // A check window's mail control failed with `cause`: the error dialog comes up, the window
    // is marked as closed by an error, the request in progress ends, and the desktop is told.
    void serverError(Failure failure, const QString &cause);
    frmMailServerError *serverErrorDialog() const;

    // Tray icon from the program folder, by file name.
    void setTrayIcon(const QString &fileName);
    // The connected-time clock, the mail schedule and the line watch rest while a check runs.
    void stopCustomizeTimers();
    void restartCustomizeTimers();

    // What the schedule asks of the checks.
    bool checkOpen() const override { return checkWindow() != nullptr; }
    bool slotCheckOpen() const override { return slotWindow() != nullptr; }
    QCoro::Task<> runScheduledRound(int onlySlot = 0) override;

    // After the log-on of `slot` through `control`: which of its messages are news (all of them
    // when the server cannot tell them apart).
    NewMail::AccountNews newsOf(int slot, const MailControl &control);
    // Tells the desktop of the fresh messages of `news` among the `waiting`, naming `headers`
    // (theirs, in order); from then on they count as announced, also after a restart.
    void announce(const NewMail::AccountNews &news, int waiting,
        const QList<DesktopNotices::Header> &headers);
    // The server of `account` asked that `text` be shown to the user: the desktop is told, once
    // for each account and text in a check.
    void serverAlert(const QString &account, const QString &text);
    // An action pressed on a new-mail notification: open the mail program (as Run Mail
    // Program does) or bring the check window forward.
    void notificationAction(const QString &tag, const QString &actionKey);

    // Starts the mail program and keeps the schedule stopped until every program started so
    // has ended.
    QCoro::Task<> launchMailProgram();
    // Run Mail Program of a check window: without a program set, says where to set one;
    // otherwise closes the window through `cancel` and starts the program.
    void runMailProgram(const std::function<void()> &cancel);
    bool mailProgramRunning() const override { return m_mailProgramsRunning > 0; }

    AppContext &context() const { return m_links.context; }
    SettingsModel &settings() const;
    QWidget &windowParent() const { return m_links.windowParent; }
    MenuTools &menu() const { return m_links.menu; }
    TrayStatus &tray() const { return m_links.tray; }
    LineController &line() const { return m_links.line; }
    MailSchedule &schedule() const { return m_links.schedule; }

private:
    AnnouncedMail &announced();

    Links m_links;
    QPointer<frmCheckMail> m_window;
    QPointer<frmCheckMail2> m_slotWindow;
    QPointer<frmMailServerError> m_error;
    std::unique_ptr<MailIdle> m_idle;
    int m_mailProgramsRunning = 0; // launches that have not ended yet
    QSet<QString> m_alertsTold; // account and text of the alerts told in this check
    std::unique_ptr<AnnouncedMail> m_announced; // opened at the first check
    QSet<QString> m_identityProblemsTold; // accounts told why all their mail counts as new
    // Per account: messages told since the mail program last started, of those waiting.
    QHash<QString, int> m_unread;
};
