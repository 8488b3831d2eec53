#pragma once

#include "clock/timer.h"
#include "mail/ui/newmail.h"
#include "ui_frmcheckmail.h"

#include <QCoro/QCoroTask>
#include <QWidget>

#include <memory>

class MailShared;
class MailControl;

// The multi-account check, "Checking Mail": loading it logs on to each mail slot in use in
// turn, shows the count (or lists the headers) of each account, pauses with a countdown while
// the user may delete messages, and closes after the last account. It stops the Customize
// dialog's timers while it runs and restarts them on the way out.
class frmCheckMail : public QWidget, public Ui::frmCheckMail
{
    Q_OBJECT

public:
    frmCheckMail(
        MailShared &check, std::unique_ptr<MailControl> control, QWidget *parent = nullptr);
    ~frmCheckMail() override;

    // Checks only `slot` (1 to 5) instead of every slot in use; before Form_Load.
    void checkOnly(int slot) { m_onlySlot = slot; }
    // Runs the check; ends at the first pause with mail, when parked by a server error, or
    // at the end of a run that found no mail (or when the window goes away meanwhile).
    QCoro::Task<> Form_Load();
    // Closes the window through its unloading rules (at most once).
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    void Timer1_Timer();
    void cmdNextMailAccount_Click();
    void cmdCancel_Click();
    void cmdSelectMessage_Click();
    QCoro::Task<> cmdDeleteMessage_Click();
    void cmdMailProgram_Click();
    void mMail1_Done();
    void mMail1_Error(int number, const QString &text);

    MailControl &mailControl() const { return *mMail1; }
    int countdown() const { return m_countdown; }
    bool headersMode() const { return m_headersMode; }
    // Error events of this window's current account (the program-wide count may belong to
    // another check that ran meanwhile).
    qint16 errorCount() const { return m_errors; }
    // Loaded from the popup menu's All Accounts.
    bool isManualCheck() const { return m_manual; }
    // Counting down to the next account after the account at `slotIndex` (0 to 4) failed.
    bool waitsAfterError(int slotIndex) const;

    // Pause countdown between accounts, 1000 ms.
    Timer Timer1;

    // The row text of one message: sender, two tabs, subject, three tabs, date.
    static QString rowText(const QString &from, const QString &subject, const QString &date);

Q_SIGNALS:
    // The mail control answered the request in progress, or the window was unloaded.
    void requestEnded();
    // The run no longer waits on the account that failed: it goes on to the next one.
    void movingOn();
    // The run reached its first countdown, or its end: the starter's part is over.
    void settled();
    // The countdown ran out, or Next Mail Account was pressed.
    void countdownEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void wire();
    void useCompactLayout();
    void Form_Unload();
    int slotCount() const;
    int pauseMinutes() const;
    QString accountName(int slot) const;
    bool minimisedCheck() const;

    // The run over the accounts; each step that waits is a coroutine and goes on only while
    // the window is loaded.
    QCoro::Task<> runAccounts();
    void settle();
    QCoro::Task<bool> gapBeforeAccount();
    QCoro::Task<bool> visitAccount(int slot);
    QCoro::Task<bool> reportAccount();
    QCoro::Task<bool> reportCount(const QString &name);
    QCoro::Task<bool> listHeaders();
    void newMailNotice();
    QCoro::Task<bool> pauseBeforeNext();
    void endCountdown();
    void stopWaitingAfterError();
    void endRun();
    void exitStep();
    QCoro::Task<bool> showProcessing();
    // Sends nothing: waits for the answer to the request just sent. False when unloaded.
    QCoro::Task<bool> waitForRequest();
    void startRequest();
    void quitSession();
    bool isLastSlot() const;
    bool singleAccountRun() const { return m_firstSlot == m_lastSlot; }

    QCoro::Task<bool> deleteTickedMessages();

    MailShared &m_check;
    std::unique_ptr<MailControl> mMail1;
    bool m_headersMode = true;
    bool m_unloaded = false;
    bool m_loadReturned = false;
    bool m_countdownRan = false;
    bool m_countdownOver = false; // the countdown under way has ended
    bool m_settled = false; // the starter's part of the run is over
    bool m_quitSent = false; // a QUIT has gone out for the current session
    bool m_manual = false;
    bool m_waitingAfterError = false; // the failed account's countdown has not ended yet
    int m_onlySlot = 0; // the one slot this run checks; 0: every slot in use
    int m_firstSlot = 1; // the run's slots, 1 to 5
    int m_lastSlot = 0;
    // This window's part of the values the check shares: answer to the request in progress,
    // report finished and error events for the current account.
    bool m_answered = false;
    qint16 m_accountDone = 0;
    qint16 m_errors = 0;
    qint16 m_messageIndex = 0;
    int m_countdown = 60;
    NewMail::AccountNews m_news; // of the current account
};
