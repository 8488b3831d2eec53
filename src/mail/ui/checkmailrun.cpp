// The run of the multi-account check: each slot in use is logged on to, reported, paused
// over while it has mail, and left for the next; after the last one the window closes.

#include "alerts/soundalerts.h"
#include "alerts/soundplayer.h"
#include "clock/clock.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailtab.h"
#include "mail/ui/messagelist.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QApplication>
#include <QPointer>

namespace {
constexpr double kGapBetweenAccountsSeconds = 5;
constexpr double kProcessingSeconds = 3;
const QString kNewMail = QStringLiteral("You have new mail");
} // namespace

bool frmCheckMail::waitForRequest()
{
    QPointer<frmCheckMail> self(this);
    m_check.context().clock().waitUntil(
        [&] { return !self || self->m_unloaded || m_check.requestDone != 0; });
    return self && !m_unloaded;
}

bool frmCheckMail::isLastSlot() const
{
    return m_check.currentSlotIndex + 1 >= slotCount();
}

void frmCheckMail::visitAccount(int slot)
{
    if (slot >= 2) {
        // After a server error the previous account's connection is already gone.
        if (m_check.errorCount == 0)
            quitSession();
        listMessages->clear();
        QPointer<frmCheckMail> self(this);
        m_check.context().clock().waitSeconds(kGapBetweenAccountsSeconds);
        if (!self || m_unloaded)
            return;
        m_check.clearForStart();
        ++m_check.currentSlotIndex;
    }
    m_countdown = 60;
    const MailTab &tab = m_check.dialog().mailTab();
    mMail1->setUserName(tab.userName(slot)->text());
    mMail1->setPassword(tab.password(slot)->text());
    mMail1->setHost(tab.domain(slot)->text());
    mMail1->LogOn();
    m_quitSent = false;
    if (waitForRequest())
        reportAccount();
}

void frmCheckMail::reportAccount()
{
    // After a log-on error nothing more happens for this account until the error dialog.
    if (m_check.accountDone > 0 || m_check.errorCount > 0)
        return;
    const QString name = accountName(m_check.currentSlotIndex + 1);
    Label4->setText(QStringLiteral("Checking mail on ") + name + QStringLiteral("......"));
    Label4->show();
    if (!m_headersMode) {
        reportCount(name);
    } else if (mMail1->MessageCount() < 1) {
        ++m_check.accountDone;
        if (lineConnected())
            PlaySoundAlert(m_check.context(), AlertKind::MailNoArrive);
    } else {
        QPointer<frmCheckMail> self(this);
        listHeaders();
        if (!self || m_unloaded)
            return;
        Label4->hide();
        m_messageIndex = 0;
        m_check.notifyNewMail(name, *mMail1, listMessages);
        if (minimisedCheck() && m_check.manualCheck != 1 && isMinimized())
            newMailNotice();
        ++m_check.accountDone;
    }
    pauseBetweenAccounts();
}

// Count-only: the count, and the alert that fits it.
void frmCheckMail::reportCount(const QString &name)
{
    const int count = mMail1->MessageCount();
    Label4->setText(QStringLiteral("Number of messages waiting on ") + name + QStringLiteral(": ")
        + QString::number(count));
    m_check.notifyNewMail(name, *mMail1);
    if (!lineConnected())
        return;
    if (count < 1)
        PlaySoundAlert(m_check.context(), AlertKind::MailNoArrive);
    else if (Form::checkValue(m_check.dialog().settingsTab().chkCheckMailwhenMinimized) == 0)
        PlaySoundAlert(m_check.context(), AlertKind::MailArrive);
}

void frmCheckMail::listHeaders()
{
    const bool quiet
        = Form::checkValue(m_check.dialog().settingsTab().chkCheckMailwhenMinimized) == 1;
    do {
        ++m_messageIndex;
        mMail1->setMessageNumber(m_messageIndex);
        mMail1->RetrieveHeader();
        if (!quiet && lineConnected())
            PlaySoundAlert(m_check.context(), AlertKind::MailArrive);
        m_check.requestDone = 0;
        if (!waitForRequest())
            return;
        // A header that failed still gets its row, from whatever the control holds.
        MessageList::appendRow(listMessages, *mMail1);
        mMail1->EndMessage();
    } while (m_messageIndex < mMail1->MessageCount());
}

void frmCheckMail::newMailNotice()
{
    m_check.setTrayIcon(QStringLiteral("mail.ico"));
    QApplication::alert(this);
    m_check.context().sounds().play(
        m_check.context().paths().resource(QStringLiteral("notify.wav")));
    setWindowTitle(kNewMail);
    m_check.tray().setTrayTip(kNewMail);
}

void frmCheckMail::pauseBetweenAccounts()
{
    m_countdown = pauseMinutes() * 60;
    if (mMail1->MessageCount() < 1) {
        m_countdown = 0;
        advance();
        return;
    }
    Label4->show();
    if (m_headersMode)
        Label4->setText(QStringLiteral("Mail on ") + accountName(m_check.currentSlotIndex + 1));
    for (QWidget *w : std::initializer_list<QWidget *>{
             cmdCancel, cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
        w->setEnabled(true);
    m_countdownRan = true;
    Timer1.setEnabled(true);
    Timer1_Timer();
}

void frmCheckMail::Timer1_Timer()
{
    --m_countdown;
    const QString left
        = QStringLiteral("  ") + QString::number(m_countdown) + QStringLiteral(" second(s)");
    Label5->show();
    const bool last = isLastSlot();
    Label5->setText((last ? QStringLiteral("Closing Checking Mail Dialog:")
                          : QStringLiteral("Checking next account:"))
        + left);
    cmdNextMailAccount->setEnabled(!last);
    if (m_countdown > 0)
        return;
    // No second tick while the advance runs, and no Next Mail Account either: a press during
    // its waits would visit an account twice.
    Timer1.setEnabled(false);
    cmdNextMailAccount->setEnabled(false);
    cmdCancel->setEnabled(false);
    Label5->hide();
    Label4->hide();
    QPointer<frmCheckMail> self(this);
    if (!m_headersMode)
        showProcessing();
    if (self && !m_unloaded)
        advance();
}

void frmCheckMail::showProcessing()
{
    Label6->setText(QStringLiteral("Processing..."));
    Label6->show();
    QPointer<frmCheckMail> self(this);
    m_check.context().clock().waitSeconds(kProcessingSeconds);
    if (self)
        Label6->hide();
}

void frmCheckMail::advance()
{
    for (QWidget *w :
        std::initializer_list<QWidget *>{cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
        w->setEnabled(false);
    if (m_check.currentSlotIndex + 1 < slotCount())
        visitAccount(m_check.currentSlotIndex + 2);
    else
        endRun();
}

void frmCheckMail::endRun()
{
    Timer1.setEnabled(false);
    if (m_countdownRan) {
        // The starter returned long ago: the window ends the run itself.
        exitStep();
        m_check.restartCustomizeTimers();
    } else if (slotCount() == 1) {
        exitStep();
    }
    // A run that found no mail anywhere is closed by its starter.
}

void frmCheckMail::exitStep()
{
    m_check.setTrayIcon(QStringLiteral("net10a.ico"));
    if (!(slotCount() == 1 && mMail1->MessageCount() < 1))
        unload();
}
