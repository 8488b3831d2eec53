#pragma once

#include "mail/mailrun.h"

#include <QCoro/QCoroTask>
#include <QWidget>

#include <memory>

class MailShared;
namespace Ui {
class frmCheckMail;
}

// "Checking Mail": the window of a mail run. For the multi-account run it shows each
// account's count (or lists its headers) and the countdown to the next account, and opens
// minimised for scheduled checks the user wants out of sight. For the single-slot check it
// shows the chosen slot's count or headers, opens normally, and has no countdown and no next
// account: those controls stay hidden. The run holds the check's state; the window shows
// what it says and passes on the buttons.
class frmCheckMail : public QWidget
{
    Q_OBJECT

public:
    frmCheckMail(MailShared &check, std::unique_ptr<MailRun> run, QWidget *parent = nullptr);
    ~frmCheckMail() override;

    // Runs the check (see MailRun::start()); ends early when the window goes away.
    QCoro::Task<> Form_Load();
    // Closes the window through its unloading rules (at most once).
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    void cmdNextMailAccount_Click();
    void cmdCancel_Click();
    void cmdSelectMessage_Click();
    QCoro::Task<> cmdDeleteMessage_Click();
    void cmdMailProgram_Click();
    // The ticked messages are marked read on the server; their rows follow its answer.
    void cmdMarkRead_Click();

    MailRun &run() const { return *m_run; }
    bool isSingleSlot() const { return m_run->kind() == MailRun::Kind::ChosenSlot; }
    // The headers list has no row (count-only, no mail, or the log-on failed).
    bool listsNothing() const;

Q_SIGNALS:
    // The run no longer waits on the account that failed: it goes on to the next one.
    void movingOn();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void wire();
    void useCompactLayout();
    QString accountName(int slot) const;
    void showChecking(int slot);
    void showCount(int slot, int count);
    void showListed();
    void showFailure(int slotIndex, const QString &cause);
    void showCountdown(int slot, bool afterError);
    void showTick(int secondsLeft, bool lastSlot);
    void hideCountdown();
    void showProcessing(bool on);
    void freshMailWhileMinimised();
    void setListButtonsEnabled(bool enabled);
    // False when the window was unloaded meanwhile.
    QCoro::Task<bool> deleteTickedMessages();
    void showDeletionProgress(int answered, int sent, bool over);
    bool stopDeleting();

    const std::unique_ptr<Ui::frmCheckMail> m_ui;
    MailShared &m_check;
    std::unique_ptr<MailRun> m_run;
    bool m_unloaded = false;
    bool m_deleting = false; // a deletion batch is under way
};
