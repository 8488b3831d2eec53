// The ways of a run through its accounts: each slot in use is logged on to, reported, paused
// over while it has mail, and left for the next; the single-slot check logs on and reports.

#include "alerts/soundalerts.h"
#include "clock/clock.h"
#include "mail/mailcontrol.h"
#include "mail/mailrun.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

namespace {
constexpr double kGapBetweenAccountsSeconds = 5;
constexpr double kProcessingSeconds = 3;
// Headers go to the window in batches, so that a list of ten thousand is laid out and drawn
// a few dozen times, not once per header.
constexpr int kHeadersPerBatch = 256;
} // namespace

// One pass over the slots. An account with mail (or one that failed, unless it is the last) is
// followed by the countdown; the starter's part ends at the first countdown or at the end of
// the run, and the run goes on by itself from there.
QCoro::Task<> MailRun::runAccounts()
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
        // A failed last account ends the run: its error dialog (and the desktop) tell of it,
        // and nothing waits on the user, so the schedule and IDLE go on.
        if (m_errors > 0 && isLastSlot()) {
            endAfterFailure();
            settle();
            co_return;
        }
        if (m_errors == 0 && m_control->UnreadCount() < 1) {
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

QCoro::Task<> MailRun::checkChosenSlot()
{
    // The starter cleared the request-done flag.
    const bool reported = co_await visitAccount(m_firstSlot);
    Q_UNUSED(reported)
}

// False when the run stopped meanwhile.
QCoro::Task<bool> MailRun::gapBeforeAccount()
{
    // After a server error the previous account's connection is already gone.
    if (m_errors == 0)
        quitSession();
    Q_EMIT betweenAccounts();
    const bool alive = co_await m_host.context().clock().sleep(kGapBetweenAccountsSeconds, this);
    if (!alive || m_stopped)
        co_return false;
    m_host.clearForStart();
    m_errors = 0;
    ++m_host.currentSlotIndex;
    co_return true;
}

// Log-on and report of one account. False when the run stopped meanwhile.
QCoro::Task<bool> MailRun::visitAccount(int slot)
{
    m_countdown = 60;
    Q_EMIT checking(slot);
    const SettingsModel &settings = m_host.settings();
    m_control->setUserName(settings.text(Keys::MailUserName(slot)));
    m_control->setPassword(settings.text(Keys::MailPassword(slot)));
    m_control->setSlot(slot);
    m_control->setHost(settings.text(Keys::Domain(slot)));
    startRequest();
    m_control->LogOn();
    m_quitSent = false;
    const bool answered = co_await waitForRequest();
    if (!answered)
        co_return false;
    // After a log-on error nothing more happens for this account; the error dialog has the
    // word.
    if (m_errors > 0)
        co_return true;
    const bool reported = co_await reportAccount();
    co_return reported && !m_stopped;
}

// False when the run stopped while the headers came.
QCoro::Task<bool> MailRun::reportAccount()
{
    m_news = m_host.newsOf(slot(), *m_control);
    if (!m_headersMode)
        co_return co_await reportCount();
    // Read mail is no mail: an IMAP account whose messages are all read has nothing to show.
    if (m_control->UnreadCount() < 1) {
        Q_EMIT emptyMailbox();
        ++m_host.accountDone;
        if (multi())
            alert(AlertKind::MailNoArrive);
        co_return true;
    }
    const bool complete = co_await listHeaders();
    if (!complete)
        co_return false;
    ++m_host.accountDone;
    Q_EMIT listed();
    co_return true;
}

// Count-only: the count, the new messages named, and the alert that fits. The single-slot
// check answers with the arrival sound whatever the count (the user asked for it), unless all
// of it was announced before. False when the run stopped while their headers came.
QCoro::Task<bool> MailRun::reportCount()
{
    const int count = m_control->UnreadCount();
    Q_EMIT counted(slot(), count);
    QList<DesktopNotices::Header> headers;
    if (!m_news.fresh.isEmpty()) {
        const auto read = co_await NewMail::readHeaders(
            *m_control, m_news.fresh, [this] { startRequest(); },
            [this] { return waitForRequest(); });
        if (!read)
            co_return false;
        headers = *read;
    }
    m_host.announce(m_news, count, headers);
    const bool fresh = !m_news.fresh.isEmpty();
    if (!multi()) {
        if (count < 1 || fresh)
            alert(AlertKind::MailArrive);
    } else if (count < 1) {
        alert(AlertKind::MailNoArrive);
    } else if (fresh && !m_host.settings().isOn(Keys::CheckMailwhenMinimized)) {
        alert(AlertKind::MailArrive);
    }
    co_return true;
}

// Every header of the account, in batches; then the desktop is told of the new ones.
QCoro::Task<bool> MailRun::listHeaders()
{
    Q_EMIT checking(slot());
    // New mail is heard as its listing starts, once (the multi-account check keeps quiet when
    // it runs minimised: the new-mail notice speaks then).
    const bool quiet = multi() && m_host.settings().isOn(Keys::CheckMailwhenMinimized);
    if (!m_news.fresh.isEmpty() && !quiet)
        alert(AlertKind::MailArrive);
    Q_EMIT listing(m_control->Identities());
    QList<MailHeader> batch;
    QList<DesktopNotices::Header> named;
    qint16 number = 0;
    do {
        ++number;
        m_control->setMessageNumber(number);
        // Cleared before the request goes out, so that no answer can be missed.
        startRequest();
        m_control->RetrieveHeader();
        const bool fresh = m_news.isFresh(number);
        const bool answered = co_await waitForRequest();
        if (!answered)
            co_return false;
        // A connection gone mid-listing has told its cause; each header after it would only
        // add "not logged on".
        const bool lost = m_errors > 0 && !m_control->sessionOpen();
        // A header that failed still gets its row, from whatever the control holds.
        batch.append({m_control->From(), m_control->Subject(), m_control->Date(), fresh});
        if (fresh && named.size() < DesktopNotices::kMessagesNamed)
            named.append({m_control->From(), m_control->Subject()});
        m_control->EndMessage();
        if (batch.size() >= kHeadersPerBatch) {
            Q_EMIT headersRead(batch);
            batch.clear();
        }
        if (lost)
            break;
    } while (number < m_control->MessageCount());
    Q_EMIT headersRead(batch);
    m_host.announce(m_news, m_control->UnreadCount(), named);
    if (!m_news.fresh.isEmpty() && opensMinimised())
        Q_EMIT freshMailAsideFromView();
    co_return true;
}

// The countdown after an account with mail, or after one that failed: a dead server does not
// keep the accounts after it from being checked. It ends when it runs out or on Next Mail
// Account; false when the run stopped meanwhile.
QCoro::Task<bool> MailRun::pauseBeforeNext()
{
    m_countdown = m_host.settings().count(Keys::PauseBetweenAccounts) * 60;
    Q_EMIT countdownStarted(slot(), m_errors > 0);
    m_countdownRan = true;
    m_countdownOver = false;
    m_tick.setEnabled(true);
    // The first second of the countdown; it cannot reach 0 here.
    tick();
    settle();
    const bool alive = co_await m_host.context().clock().until(
        [this] { return m_stopped || m_countdownOver; }, this, &MailRun::countdownEnded, this);
    if (!alive || m_stopped)
        co_return false;
    if (!m_headersMode) {
        const bool shown = co_await showProcessing();
        if (!shown || m_stopped)
            co_return false;
    }
    Q_EMIT leftAccount();
    co_return true;
}

// Each alert is heard at most once in a run, however many accounts and messages call for it,
// and only while a line of ours is up.
void MailRun::alert(AlertKind kind)
{
    bool &heard = kind == AlertKind::MailArrive ? m_arrivalHeard : m_noMailHeard;
    if (heard || !m_host.lineConnected())
        return;
    heard = true;
    PlaySoundAlert(m_host.context(), kind);
}

// False when the run stopped during the pause.
QCoro::Task<bool> MailRun::showProcessing()
{
    Q_EMIT processing(true);
    const bool waited = co_await m_host.context().clock().sleep(kProcessingSeconds, this);
    if (!waited)
        co_return false;
    Q_EMIT processing(false);
    co_return true;
}
