#pragma once

#include "mail/ui/newmail.h"
#include "ui_frmcheckmail.h"

#include <QCoro/QCoroTask>
#include <QWidget>

#include <memory>

class MailShared;
class MailControl;

// The single-slot check, "Checking Mail": loading it checks the one slot chosen from the
// popup menu and shows its count or lists its headers. Unlike the multi-account check it has
// no countdown and no next account, opens normally, and leaves the Customize dialog's timers
// and the tray icon alone. It uses the same form; the controls it has no use for stay hidden.
class frmCheckMail2 : public QWidget, public Ui::frmCheckMail
{
    Q_OBJECT

public:
    frmCheckMail2(
        MailShared &check, std::unique_ptr<MailControl> control, QWidget *parent = nullptr);
    ~frmCheckMail2() override;

    // Checks the slot stored under "MailSlot"/"Settings"; ends when the check has run (or the
    // window went away meanwhile).
    QCoro::Task<> Form_Load();
    // Closes the window through its unloading rules (at most once).
    void unload();
    bool isUnloaded() const { return m_unloaded; }

    void cmdCancel_Click();
    void cmdSelectMessage_Click();
    QCoro::Task<> cmdDeleteMessage_Click();
    void cmdMailProgram_Click();
    void mMail1_Done();
    void mMail1_Error(int number, const QString &text);

    MailControl &mailControl() const { return *mMail1; }
    bool headersMode() const { return m_headersMode; }
    // The slot this window checks, 1 to 5; 0 when the stored choice names none.
    int slot() const { return m_slot; }
    // Error events of this window's check.
    qint16 errorCount() const { return m_errors; }

Q_SIGNALS:
    // The mail control answered the request in progress, or the window was unloaded.
    void requestEnded();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void wire();
    void useCompactLayout();
    void Form_Unload();
    QString accountName(int slot) const;

    // The check: log on, then report.
    QCoro::Task<> checkSlot();
    QCoro::Task<bool> waitForRequest();
    QCoro::Task<> reportSlot();
    QCoro::Task<> reportCount();
    QCoro::Task<> listHeaders();
    void finishList();
    void setListButtonsEnabled(bool enabled);

    MailShared &m_check;
    std::unique_ptr<MailControl> mMail1;
    bool m_headersMode = true;
    bool m_unloaded = false;
    int m_slot = 0;
    qint16 m_messageIndex = 0;
    NewMail::AccountNews m_news;
    // This window's part of the values the checks share (see frmCheckMail).
    bool m_answered = false;
    qint16 m_accountDone = 0;
    qint16 m_errors = 0;
};
