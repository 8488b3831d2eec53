#pragma once

#include "mail/ui/mailshared.h"

#include <QCoro/QCoroTask>
#include <QPointer>

#include <functional>
#include <memory>

class MailControl;
class frmCheckMail;
class frmMailServerError;

// The checks' windows and the ways a check is started: the multi-account check (schedule,
// check after connecting, the popup menu's All Accounts), the single-slot check (the popup
// menu's slots) and the error dialog. The program's composition root builds one.
class MailCheck : public MailShared
{
    Q_OBJECT

public:
    using ControlFactory = std::function<std::unique_ptr<MailControl>()>;

    explicit MailCheck(Links links, QObject *parent = nullptr);
    ~MailCheck() override;

    // Makes the mail control of each new check window (POP3 or IMAP by the slot's server
    // text, unless a test replaces it).
    ControlFactory makeControl;

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
    QCoro::Task<frmCheckMail *> loadSlotWindow();
    // The open single-slot window; none once it has been unloaded.
    frmCheckMail *slotWindow() const;
    void unloadSlotWindow();

    // Opens the mail server error dialog for `failure` (or shows the open one again).
    void showServerError(const Failure &failure) override;
    frmMailServerError *serverErrorDialog() const;
    // The error dialog of a failure of `slot` withdraws: the account logged on again.
    void accountReached(int slot) override;

    // What the schedule asks of the checks.
    bool checkOpen() const override { return checkWindow() != nullptr; }
    bool slotCheckOpen() const override { return slotWindow() != nullptr; }
    QCoro::Task<> runScheduledRound(int onlySlot = 0) override;

    // An action pressed on a new-mail notification: open the mail program (as Run Mail
    // Program does) or bring the check window forward.
    void notificationAction(const QString &tag, const QString &actionKey);
    // The first slot with a server whose account is `account`, or 0.
    int slotOfAccount(const QString &account) const;

private:
    QPointer<frmCheckMail> m_window;
    QPointer<frmCheckMail> m_slotWindow;
    QPointer<frmMailServerError> m_error;
};
