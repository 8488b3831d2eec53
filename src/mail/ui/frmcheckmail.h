#pragma once

#include "clock/timer.h"
#include "ui_frmcheckmail.h"

#include <QWidget>

#include <memory>

class MailCheck;
class MailControl;
class mRAS;

// The multi-account check, "Checking Mail": loading it logs on to each mail slot in use in
// turn, shows the count (or lists the headers) of each account, pauses with a countdown while
// the user may delete messages, and closes after the last account. It stops the Customize
// dialog's timers while it runs and restarts them on the way out.
class frmCheckMail : public QWidget, public Ui::frmCheckMail
{
    Q_OBJECT

public:
    frmCheckMail(MailCheck &check, std::unique_ptr<MailControl> control, QWidget *parent = nullptr);
    ~frmCheckMail() override;

    // Runs the check; returns at the first pause with mail, when parked by a server error,
    // or at the end of a run that found no mail.
    void Form_Load();
    // Closes the window through its unloading rules (at most once).
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    void Timer1_Timer();
    void cmdNextMailAccount_Click();
    void cmdCancel_Click();
    void cmdSelectMessage_Click();
    void cmdDeleteMessage_Click();
    void cmdMailProgram_Click();
    void mMail1_Done();
    void mMail1_Error(int number, const QString &text);

    MailControl &mailControl() const { return *mMail1; }
    int countdown() const { return m_countdown; }
    bool headersMode() const { return m_headersMode; }

    // Pause countdown between accounts, 1000 ms.
    Timer Timer1;

    // The row text of one message: sender, two tabs, subject, three tabs, date.
    static QString rowText(const QString &from, const QString &subject, const QString &date);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void wire();
    void useCompactLayout();
    void Form_Unload();
    int slotCount() const;
    int pauseMinutes() const;
    QString accountName(int slot) const;
    bool lineConnected() const;
    bool minimisedCheck() const;

    // The run: visit, report, pause, advance, end.
    void visitAccount(int slot);
    void reportAccount();
    void reportCount(const QString &name);
    void listHeaders();
    void newMailNotice();
    void pauseBetweenAccounts();
    void advance();
    void endRun();
    void exitStep();
    void showProcessing();
    bool waitForRequest();
    void quitSession();
    bool isLastSlot() const;

    void deleteTickedMessages();

    MailCheck &m_check;
    std::unique_ptr<MailControl> mMail1;
    std::unique_ptr<mRAS> mRAS1;
    bool m_headersMode = true;
    bool m_unloaded = false;
    bool m_loadReturned = false;
    bool m_countdownRan = false;
    bool m_quitSent = false; // a QUIT has gone out for the current session
    qint16 m_messageIndex = 0;
    int m_countdown = 60;
};
