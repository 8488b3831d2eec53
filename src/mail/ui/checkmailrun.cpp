// The run of the multi-account check: each slot in use is logged on to, reported, paused
// over while it has mail, and left for the next; after the last one the window closes.

#include "alerts/soundalerts.h"
#include "alerts/soundplayer.h"
#include "clock/clock.h"
#include "connection/linecontroller.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"
#include "shell/ui/formhelpers.h"

#include <QApplication>

namespace {
constexpr double kGapBetweenAccountsSeconds = 5;
constexpr double kProcessingSeconds = 3;
const char *const kNewMail = QT_TRANSLATE_NOOP("frmCheckMail", "You have new mail");
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

// The run: one pass over the slots. An account with mail (or one that failed, unless it is
// the last) is followed by the countdown; the starter's part ends at the first countdown or at
// the end of the run, and the run goes on by itself from there.
QCoro::Task<> frmCheckMail::runAccounts()
{
    for (int slot = m_firstSlot; slot <= m_lastSlot; ++slot) {
        if (slot > m_firstSlot) {
            const bool ready = co_await gapBeforeAccount();
            if (!ready)
                co_return;
        }
        const bool reported = co_await visitAccount(slot);
        if (!reported)
            co_return;
        // A failed last account leaves the window to the error dialog.
        if (m_errors > 0 && isLastSlot()) {
            settle();
            co_return;
        }
        if (m_errors == 0 && mMail1->MessageCount() < 1) {
            m_countdown = 0;
            continue;
        }
        const bool goOn = co_await pauseBeforeNext();
        if (!goOn)
            co_return;
    }
    endRun();
    settle();
}

void frmCheckMail::settle()
{
    if (m_settled)
        return;
    m_settled = true;
    Q_EMIT settled();
}

// False when the window went away meanwhile.
QCoro::Task<bool> frmCheckMail::gapBeforeAccount()
{
    // After a server error the previous account's connection is already gone.
    if (m_errors == 0)
        quitSession();
    listMessages->clear();
    const bool alive = co_await m_check.context().clock().sleep(kGapBetweenAccountsSeconds, this);
    if (!alive || m_unloaded)
        co_return false;
    m_check.clearForStart();
    m_accountDone = 0;
    m_errors = 0;
    ++m_check.currentSlotIndex;
    co_return true;
}

// Log-on and report of one account. False when the window went away meanwhile.
QCoro::Task<bool> frmCheckMail::visitAccount(int slot)
{
    m_countdown = 60;
    // The log-on may take the whole time-out: the window says which account it waits for,
    // and Cancel ends the wait.
    Label4->setText(tr("Checking mail on %1......").arg(accountName(slot)));
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
    if (!answered)
        co_return false;
    // After a log-on error nothing more happens for this account.
    if (m_errors > 0)
        co_return true;
    const bool reported = co_await reportAccount();
    co_return reported && !m_unloaded;
}

// False when the window went away while the headers came.
QCoro::Task<bool> frmCheckMail::reportAccount()
{
    const QString name = accountName(m_check.currentSlotIndex + 1);
    Label4->setText(tr("Checking mail on %1......").arg(name));
    Label4->show();
    m_news = m_check.newsOf(m_check.currentSlotIndex + 1, *mMail1);
    if (!m_headersMode) {
        const bool reported = co_await reportCount(name);
        co_return reported;
    }
    if (mMail1->MessageCount() < 1) {
        ++m_check.accountDone;
        ++m_accountDone;
        if (m_check.line().lineConnected())
            PlaySoundAlert(m_check.context(), AlertKind::MailNoArrive);
        co_return true;
    }
    const bool listed = co_await listHeaders();
    if (!listed)
        co_return false;
    Label4->hide();
    m_messageIndex = 0;
    m_check.announce(m_news, mMail1->MessageCount(),
        MessageList::headers(listMessages, m_news.fresh, DesktopNotices::kMessagesNamed));
    if (!m_news.fresh.isEmpty() && minimisedCheck() && !m_manual && isMinimized())
        newMailNotice();
    ++m_check.accountDone;
    ++m_accountDone;
    co_return true;
}

// Count-only: the count, the new messages named, and the alert that fits. False when the
// window went away while their headers came.
QCoro::Task<bool> frmCheckMail::reportCount(const QString &name)
{
    const int count = mMail1->MessageCount();
    Label4->setText(tr("Number of messages waiting on %1: %2").arg(name).arg(count));
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
    setWindowTitle(tr(kNewMail));
    m_check.tray().setTip(NewMail::trayTip(int(m_news.fresh.size())));
}

// The countdown after an account with mail, or after one that failed: a dead server does not
// keep the accounts after it from being checked. It ends when it runs out or on Next Mail
// Account; false when the window went away meanwhile.
QCoro::Task<bool> frmCheckMail::pauseBeforeNext()
{
    m_countdown = pauseMinutes() * 60;
    Label4->show();
    if (m_errors > 0) {
        Label4->setText(tr("Could not check %1").arg(accountName(m_check.currentSlotIndex + 1)));
        cmdCancel->setEnabled(true);
    } else {
        if (m_headersMode)
            Label4->setText(tr("Mail on %1").arg(accountName(m_check.currentSlotIndex + 1)));
        for (QWidget *w : std::initializer_list<QWidget *>{
                 cmdCancel, cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
            w->setEnabled(true);
    }
    m_countdownRan = true;
    m_countdownOver = false;
    Timer1.setEnabled(true);
    // The first second of the countdown; it cannot reach 0 here.
    Timer1_Timer();
    settle();
    const bool alive
        = co_await m_check.context().clock().until([this] { return m_unloaded || m_countdownOver; },
            this, &frmCheckMail::countdownEnded, this);
    if (!alive || m_unloaded)
        co_return false;
    if (!m_headersMode) {
        const bool shown = co_await showProcessing();
        if (!shown || m_unloaded)
            co_return false;
    }
    for (QWidget *w :
        std::initializer_list<QWidget *>{cmdSelectMessage, cmdDeleteMessage, cmdMailProgram})
        w->setEnabled(false);
    co_return true;
}

void frmCheckMail::Timer1_Timer()
{
    --m_countdown;
    const QString left = tr("  %1 second(s)").arg(m_countdown);
    Label5->show();
    const bool last = isLastSlot();
    Label5->setText(
        (last ? tr("Closing Checking Mail Dialog:") : tr("Checking next account:")) + left);
    cmdNextMailAccount->setEnabled(!last);
    if (m_countdown <= 0)
        endCountdown();
}

// The countdown is over (run out, or Next Mail Account): the run goes on from its wait. No
// second tick and no second press meanwhile, or an account would be visited twice.
void frmCheckMail::endCountdown()
{
    if (m_countdownOver)
        return;
    Timer1.setEnabled(false);
    stopWaitingAfterError();
    cmdNextMailAccount->setEnabled(false);
    cmdCancel->setEnabled(false);
    Label5->hide();
    Label4->hide();
    m_countdownOver = true;
    Q_EMIT countdownEnded();
}

// False when the window went away during the pause.
QCoro::Task<bool> frmCheckMail::showProcessing()
{
    Label6->setText(tr("Processing..."));
    Label6->show();
    const bool waited = co_await m_check.context().clock().sleep(kProcessingSeconds, this);
    if (!waited)
        co_return false;
    Label6->hide();
    co_return true;
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
