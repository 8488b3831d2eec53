#pragma once

#include "alerts/desktopnotices.h"
#include "clock/timer.h"
#include "mail/mailcontrol.h"
#include "mail/newmail.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QString>

#include <memory>

enum class AlertKind;
class AppContext;
class MailControl;
class SettingsModel;

// What a mail run shares with the rest of the program: the values its starters and the error
// dialog read too, and the services through which it tells what it found.
class MailRunHost
{
public:
    virtual ~MailRunHost() = default;

    qint16 currentSlotIndex = 0; // 0 to 4: the slot in progress is index + 1
    qint16 accountDone = 0; // non-zero once the current account's report has finished
    qint16 manualCheck = 0; // 1 while a check started from the popup menu runs
    // 0 to 4: the slot the popup menu's last single-slot check was for is index + 1; back to
    // 0 once a count from slot 2 to 5 shows
    qint16 singleSlotIndex = 0;

    // Every starter clears the values above (and the alerts told) before it starts a run.
    virtual void clearForStart() = 0;

    virtual AppContext &context() const = 0;
    virtual SettingsModel &settings() const = 0;
    // Sounds tell of mail only while a line of ours is up.
    virtual bool lineConnected() const = 0;

    // After the log-on of `slot` through `control`: which of its messages are news.
    virtual NewMail::AccountNews newsOf(int slot, const MailControl &control) = 0;
    // Tells the desktop of the fresh messages of `news` among the `waiting`, naming `headers`.
    virtual void announce(
        const NewMail::AccountNews &news, int waiting, const QList<DesktopNotices::Header> &headers)
        = 0;
    // Messages of `news`'s account were marked read: `unread` are left there.
    virtual void mailRead(const NewMail::AccountNews &news, int unread) = 0;
    // The server of `account` asked that `text` be shown to the user.
    virtual void serverAlert(const QString &account, const QString &text) = 0;
    // The connected-time clock, the mail schedule and the line watch rest while a run goes.
    virtual void stopCustomizeTimers() = 0;
    virtual void restartCustomizeTimers() = 0;
    // Tray icon from the program folder, by file name; and the tray's tip.
    virtual void setTrayIcon(const QString &fileName) = 0;
    virtual void setTrayTip(const QString &tip) = 0;
};

// A check of mail accounts, owned by the window that shows it. `Accounts` logs on to each
// mail slot in use in turn (or to one, see checkOnly()), reports each, and after an account
// with mail, or one that failed, counts down before the next, while the user may delete
// messages; after the last account it asks its window to close. It stops the program's timers
// while it runs and gives them back on the way out. `ChosenSlot` checks the slot stored as the
// popup menu's choice once: no countdown, and the timers and the tray icon are left alone.
//
// The run reads its settings from the model and tells its window what happened through its
// signals; the texts are the window's.
class MailRun : public QObject
{
    Q_OBJECT

public:
    enum class Kind { Accounts, ChosenSlot };

    MailRun(MailRunHost &host, std::unique_ptr<MailControl> control, Kind kind,
        QObject *parent = nullptr);
    ~MailRun() override;

    // Checks only `slot` (1 to 5) instead of every slot in use; before prepare().
    void checkOnly(int slot) { m_onlySlot = slot; }
    // Reads the settings the run goes by and stops the program's timers (before the window
    // shows); start() then runs it.
    void prepare();
    // Accounts: runs until the first countdown or the end (a failed last account ends it
    // too, its window closed and the error left to the error dialog). ChosenSlot: runs the check.
    // Either ends early when the run is stopped.
    QCoro::Task<> start();
    // The window goes: the session is quit and, unless the run was cancelled, the unloading
    // rules give back what the run held. At most once.
    void stop();
    // Cancel: the session is quit, and the window asked to close.
    void cancel();
    // A line came up or went down: a run whose line of ours has gone ends.
    void lineChanged();
    // Next Mail Account: the countdown ends now.
    void nextAccount();
    // A deletion holds the countdown while it asks and works.
    void holdCountdown(bool hold);
    // Marks the listing's messages `numbers` read on the server; readMarked follows.
    void markRead(const QList<int> &numbers);
    // What the current account's notification told of.
    const NewMail::AccountNews &news() const { return m_news; }
    // The window is minimised when the run found new mail for it: the tray and a sound say so.
    void noticeNewMail();

    Kind kind() const { return m_kind; }
    MailControl &control() const { return *m_control; }
    bool headersMode() const { return m_headersMode; }
    // A multi-account run that opens minimised (scheduled checks the user wants out of sight).
    bool opensMinimised() const;
    // The slot under way, 1 to 5 (ChosenSlot: 0 when the stored choice names none).
    int slot() const;
    int countdown() const { return m_countdown; }
    bool countingDown() const { return m_tick.enabled(); }
    // Error events of the current account (the program-wide count may belong to another run).
    qint16 errorCount() const { return m_errors; }
    // Counting down to the next account after the account at `slotIndex` (0 to 4) failed.
    bool waitsAfterError(int slotIndex) const;

Q_SIGNALS:
    // Logging on to `slot`, or reading its messages: it may take the whole time-out.
    void checking(int slot);
    // Count-only: `count` messages wait on `slot`.
    void counted(int slot, int count);
    // The headers of `slot`'s messages are about to come; the list starts empty.
    void listing(const QStringList &identities);
    void headersRead(const QList<MailHeader> &headers);
    // The server marked the listing's messages `numbers` read.
    void readMarked(const QList<int> &numbers);
    // Every header of the account has come.
    void listed();
    // The account has no messages.
    void emptyMailbox();
    // New mail while a scheduled check runs minimised: the window tells whether it still is.
    void freshMailAsideFromView();
    // The control failed on the account at `slotIndex`; `cause` as the server or control said.
    void failed(int slotIndex, const QString &cause);
    // The countdown after `slot` begins; after a failure, or after an account with mail.
    void countdownStarted(int slot, bool afterError);
    void countdownTick(int secondsLeft, bool lastSlot);
    // The countdown ran out, or Next Mail Account was pressed (also when the run stops).
    void countdownEnded();
    // Count-only, after a countdown: the run pauses before it goes on.
    void processing(bool on);
    // The run leaves the account: its list's buttons go off.
    void leftAccount();
    // Between accounts: the list empties.
    void betweenAccounts();
    // The run no longer waits on the account that failed: it goes on to the next one.
    void movingOn();
    // The run is over: the window should close.
    void closeRequested();
    // The control answered the request in progress, or the run stopped.
    void requestEnded();
    // The run reached its first countdown, or its end: the starter's part is over.
    void settled();

private:
    // The two kinds' ways through an account, in mailrunsteps.cpp.
    QCoro::Task<> runAccounts();
    QCoro::Task<> checkChosenSlot();
    void settle();
    bool isLastSlot() const;
    QCoro::Task<bool> gapBeforeAccount();
    QCoro::Task<bool> visitAccount(int slot);
    QCoro::Task<bool> reportAccount();
    QCoro::Task<bool> reportCount();
    QCoro::Task<bool> listHeaders();
    QCoro::Task<bool> pauseBeforeNext();
    QCoro::Task<bool> showProcessing();
    void alert(AlertKind kind);
    void tick();
    void endCountdown();
    void stopWaitingAfterError();
    void endRun();
    void endAfterFailure();
    void exitStep();
    void startRequest() { m_answered = false; }
    // Sends nothing: waits for the answer to the request just sent. False when stopped.
    QCoro::Task<bool> waitForRequest();
    void quitSession();
    void onDone();
    void onError(int number, const QString &text);
    QString accountName(int slot) const;
    bool multi() const { return m_kind == Kind::Accounts; }
    bool singleAccountRun() const { return m_firstSlot == m_lastSlot; }

    MailRunHost &m_host;
    std::unique_ptr<MailControl> m_control;
    const Kind m_kind;
    Timer m_tick; // the countdown's second
    bool m_headersMode = true;
    bool m_manual = false;
    bool m_overOurLine = false; // a line of ours was up when the run began
    bool m_stopped = false;
    bool m_loadReturned = false;
    bool m_countdownRan = false;
    bool m_countdownOver = false; // the countdown under way has ended
    bool m_settled = false; // the starter's part of the run is over
    bool m_quitSent = false; // a QUIT has gone out for the current session
    bool m_waitingAfterError = false; // the failed account's countdown has not ended yet
    bool m_arrivalHeard = false; // the run's arrival alert has sounded
    bool m_noMailHeard = false; // and its no-mail alert
    int m_onlySlot = 0; // the one slot an Accounts run checks; 0: every slot in use
    int m_firstSlot = 1; // the run's slots, 1 to 5
    int m_lastSlot = 0;
    // The run's own answer to the request in progress and error events for the current account
    // (the program's shared values may belong to another run meanwhile).
    bool m_answered = false;
    qint16 m_errors = 0;
    int m_countdown = 60;
    NewMail::AccountNews m_news; // of the current account
};
