// The run of the multi-account check: each slot in use is logged on to, reported, paused
// over while it has mail, and left for the next; after the last one the window closes.

#include "alerts/soundalerts.h"
#include "alerts/soundplayer.h"
#include "clock/clock.h"
#include "connection/linecontroller.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

#include <QApplication>

namespace {
constexpr double kGapBetweenAccountsSeconds = 5;
constexpr double kProcessingSeconds = 3;
const QString kNewMail = QStringLiteral("You have new mail");
} // namespace

void frmCheckMail::startRequest()
{
    m_answered = false;
}

QCoro::Task<bool> frmCheckMail::waitForRequest()
{
    const bool alive = co_await m_check.context().clock().until(
        [this] { return m_unloaded || m_answered; }, this, &frmCheckMail::requestEnded, this);
    co_return alive && !m_unloaded;
}

bool frmCheckMail::isLastSlot() const
{
    return m_check.currentSlotIndex + 1 >= m_lastSlot;
}

QCoro::Task<> frmCheckMail::visitAccount(int slot)
{
    if (slot > m_firstSlot) {
        // After a server error the previous account's connection is already gone.
        if (m_errors == 0)
            quitSession();
        listMessages->clear();
        const bool alive
            = co_await m_check.context().clock().sleep(kGapBetweenAccountsSeconds, this);
        if (!alive || m_unloaded)
            co_return;
        m_check.clearForStart();
        m_accountDone = 0;
        m_errors = 0;
        ++m_check.currentSlotIndex;
    }
    m_countdown = 60;
    // The log-on may take the whole time-out: the window says which account it waits for,
    // and Cancel ends the wait.
    Label4->setText(
        QStringLiteral("Checking mail on ") + accountName(slot) + QStringLiteral("......"));
    Label4->show();
    cmdCancel->setEnabled(true);
    const SettingsModel &settings = m_check.settings();
    mMail1->setUserName(settings.text(Keys::MailUserName(slot)));
    mMail1->setPassword(settings.text(Keys::MailPassword(slot)));
    mMail1->setSlot(slot);
    mMail1->setHost(settings.text(Keys::Domain(slot)));
    startRequest();
    mMail1->LogOn();
    m_quitSent = false;
    const bool answered = co_await waitForRequest();
    if (answered)
        co_await reportAccount();
}

QCoro::Task<> frmCheckMail::reportAccount()
{
    if (m_accountDone > 0)
        co_return;
    // After a log-on error nothing more happens for this account; the run goes on with the
    // next one after the pause, unless the error dialog says otherwise first.
    if (m_errors > 0) {
        pauseAfterError();
        co_return;
    }
    const QString name = accountName(m_check.currentSlotIndex + 1);
    Label4->setText(QStringLiteral("Checking mail on ") + name + QStringLiteral("......"));
    Label4->show();
    m_news = m_check.newsOf(m_check.currentSlotIndex + 1, *mMail1);
    if (!m_headersMode) {
        const bool reported = co_await reportCount(name);
        if (!reported)
            co_return;
    } else if (mMail1->MessageCount() < 1) {
        ++m_check.accountDone;
        ++m_accountDone;
        if (m_check.line().lineConnected())
            PlaySoundAlert(m_check.context(), AlertKind::MailNoArrive);
    } else {
        const bool listed = co_await listHeaders();
        if (!listed)
            co_return;
        Label4->hide();
        m_messageIndex = 0;
        m_check.announce(m_news, mMail1->MessageCount(),
            MessageList::headers(listMessages, m_news.fresh, DesktopNotices::kMessagesNamed));
        if (!m_news.fresh.isEmpty() && minimisedCheck() && !m_manual && isMinimized())
            newMailNotice();
        ++m_check.accountDone;
        ++m_accountDone;
    }
    co_await pauseBetweenAccounts();
}

// Count-only: the count, the new messages named, and the alert that fits. False when the
// window went away while their headers came.
QCoro::Task<bool> frmCheckMail::reportCount(const QString &name)
{
    const int count = mMail1->MessageCount();
    Label4->setText(QStringLiteral("Number of messages waiting on ") + name + QStringLiteral(": ")
        + QString::number(count));
    QList<DesktopNotices::Header> headers;
    if (!m_news.fresh.isEmpty()) {
        const auto read = co_await NewMail::readHeaders(
            *mMail1, m_news.fresh, [this] { startRequest(); }, [this] { return waitForRequest(); });
        if (!read)
            co_return false;
        headers = *read;
    }
    m_check.announce(m_news, count, headers);
    if (!m_check.line().lineConnected())
        co_return true;
    if (count < 1)
        PlaySoundAlert(m_check.context(), AlertKind::MailNoArrive);
    else if (!m_news.fresh.isEmpty() && !m_check.settings().isOn(Keys::CheckMailwhenMinimized))
        PlaySoundAlert(m_check.context(), AlertKind::MailArrive);
    co_return true;
}

QCoro::Task<bool> frmCheckMail::listHeaders()
{
    const bool quiet = m_check.settings().isOn(Keys::CheckMailwhenMinimized);
    MessageList::RowBatch rows(listMessages, *mMail1);
    do {
        ++m_messageIndex;
        mMail1->setMessageNumber(m_messageIndex);
        startRequest();
        mMail1->RetrieveHeader();
        const bool fresh = m_news.isFresh(m_messageIndex);
        if (fresh && !quiet && m_check.line().lineConnected())
            PlaySoundAlert(m_check.context(), AlertKind::MailArrive);
        m_check.requestDone = 0;
        const bool answered = co_await waitForRequest();
        if (!answered)
            co_return false;
        // A header that failed still gets its row, from whatever the control holds.
        rows.add(*mMail1, fresh);
        mMail1->EndMessage();
    } while (m_messageIndex < mMail1->MessageCount());
    rows.flush();
    co_return true;
}

void frmCheckMail::newMailNotice()
{
    m_check.setTrayIcon(QStringLiteral("mail.ico"));
    QApplication::alert(this);
    m_check.context().sounds().play(
        m_check.context().paths().resource(QStringLiteral("notify.wav")));
    setWindowTitle(kNewMail);
    m_check.tray().setTip(NewMail::trayTip(int(m_news.fresh.size())));
}

QCoro::Task<> frmCheckMail::pauseBetweenAccounts()
{
    m_countdown = pauseMinutes() * 60;
    if (mMail1->MessageCount() < 1) {
        m_countdown = 0;
        co_await advance();
        co_return;
    }
    Label4->show();
    if (m_headersMode)
        Label4->setText(QStringLiteral("Mail on ") + accountName(m_check.currentSlotIndex + 1));
    for (QWidget *w : std::initializer_list<QWidget *>{
             cmdCancel, cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
        w->setEnabled(true);
    m_countdownRan = true;
    Timer1.setEnabled(true);
    // The first second of the countdown; it cannot reach 0 here, so nothing waits.
    Timer1_Timer();
}

// The countdown of an account with mail, for an account that failed: a dead server does not
// keep the accounts after it from being checked. The last account has nothing to count to.
void frmCheckMail::pauseAfterError()
{
    if (isLastSlot())
        return;
    m_countdown = pauseMinutes() * 60;
    Label4->setText(QStringLiteral("Could not check ") + accountName(m_check.currentSlotIndex + 1));
    Label4->show();
    cmdCancel->setEnabled(true);
    m_countdownRan = true;
    Timer1.setEnabled(true);
    Timer1_Timer();
}

QCoro::Task<> frmCheckMail::Timer1_Timer()
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
        co_return;
    // No second tick while the advance runs, and no Next Mail Account either: a press during
    // its waits would visit an account twice.
    Timer1.setEnabled(false);
    stopWaitingAfterError();
    cmdNextMailAccount->setEnabled(false);
    cmdCancel->setEnabled(false);
    Label5->hide();
    Label4->hide();
    if (!m_headersMode) {
        const bool shown = co_await showProcessing();
        if (!shown)
            co_return;
    }
    if (!m_unloaded)
        co_await advance();
}

// False when the window went away during the pause.
QCoro::Task<bool> frmCheckMail::showProcessing()
{
    Label6->setText(QStringLiteral("Processing..."));
    Label6->show();
    const bool waited = co_await m_check.context().clock().sleep(kProcessingSeconds, this);
    if (!waited)
        co_return false;
    Label6->hide();
    co_return true;
}

QCoro::Task<> frmCheckMail::advance()
{
    for (QWidget *w :
        std::initializer_list<QWidget *>{cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
        w->setEnabled(false);
    if (!isLastSlot())
        co_await visitAccount(m_check.currentSlotIndex + 2);
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
    } else if (singleAccountRun()) {
        exitStep();
    }
    // A run that found no mail anywhere is closed by its starter.
}

void frmCheckMail::exitStep()
{
    m_check.setTrayIcon(QStringLiteral("net10a.ico"));
    if (!(singleAccountRun() && mMail1->MessageCount() < 1))
        unload();
}
