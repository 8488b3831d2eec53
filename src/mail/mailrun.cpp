#include "mail/mailrun.h"

#include "alerts/soundplayer.h"
#include "clock/clock.h"
#include "clock/detach.h"
#include "mail/mailcontrol.h"
#include "mail/mailtools.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"

#include <QPointer>

namespace {
// What the server error dialog reads to know which kind of run a failure belongs to.
const QString kExecuted = QStringLiteral("Executed");
const QString kNotExecuted = QStringLiteral("NotExecuted");
const QString kIdleIcon = QStringLiteral("net10a.ico");
} // namespace

MailRun::MailRun(
    MailRunHost &host, std::unique_ptr<MailControl> control, Kind kind, QObject *parent)
    : QObject(parent)
    , m_host(host)
    , m_control(std::move(control))
    , m_kind(kind)
    , m_tick(host.context().clock(), 1000, false)
{
    connect(&m_tick, &Timer::tick, this, &MailRun::tick);
    connect(m_control.get(), &MailControl::Done, this, &MailRun::onDone);
    connect(m_control.get(), &MailControl::Error, this, &MailRun::onError);
    connect(m_control.get(), &MailControl::ReadMarked, this, [this](const QList<int> &numbers) {
        if (numbers.isEmpty())
            return;
        m_news.fresh.removeIf([&numbers](int n) { return numbers.contains(n); });
        m_host.mailRead(m_news, m_control->UnreadCount());
        Q_EMIT readMarked(numbers);
    });
    connect(m_control.get(), &MailControl::ServerAlert, this,
        [this](const QString &text) { m_host.serverAlert(accountName(slot()), text); });
}

MailRun::~MailRun()
{
    MailControl::dispose(std::move(m_control));
}

void MailRun::prepare()
{
    SettingsStore &store = m_host.context().settings();
    m_overOurLine = m_host.lineConnected();
    m_headersMode = m_host.settings().isOn(Keys::MessageHeadersOnly);
    if (!multi()) {
        // Tells the server error dialog that a failure belongs to the single-slot check.
        store.save(Keys::CheckMailExecuted, kNotExecuted);
        const QString chosen = store.get(Keys::MailSlotChosen);
        const int n = chosen.toInt();
        const bool valid = n >= 1 && n <= MailTools::kSlots && chosen == QString::number(n);
        m_firstSlot = m_lastSlot = valid ? n : 0;
        return;
    }
    store.save(Keys::CheckMailExecuted, kExecuted);
    m_manual = m_host.manualCheck == 1;
    m_host.stopCustomizeTimers();
    m_tick.setEnabled(false);
    m_firstSlot = m_onlySlot > 0 ? m_onlySlot : 1;
    m_lastSlot = m_onlySlot > 0 ? m_onlySlot : m_host.settings().count(Keys::MailSlotCount);
    m_host.currentSlotIndex = qint16(m_firstSlot - 1);
    m_countdown = 60;
    store.save(Keys::Check, SettingValues::Unchecked);
}

QCoro::Task<> MailRun::start()
{
    if (!multi()) {
        if (m_firstSlot != 0)
            co_await checkChosenSlot();
        co_return;
    }
    if (m_lastSlot < m_firstSlot)
        co_return;
    detach(runAccounts());
    // The starter's part: up to the first countdown or the end of the run.
    const bool alive = co_await m_host.context().clock().until(
        [this] { return m_settled || m_stopped; }, this, &MailRun::settled, this);
    if (alive)
        m_loadReturned = true;
}

bool MailRun::opensMinimised() const
{
    const SettingsModel &settings = m_host.settings();
    return multi() && !m_manual && settings.isOn(Keys::CheckMailwhenMinimized)
        && settings.isOn(Keys::CheckMessages);
}

int MailRun::slot() const
{
    return multi() ? m_host.currentSlotIndex + 1 : m_firstSlot;
}

bool MailRun::isLastSlot() const
{
    return !multi() || m_host.currentSlotIndex + 1 >= m_lastSlot;
}

QString MailRun::accountName(int slot) const
{
    return m_host.settings().text(Keys::AccountName(slot));
}

void MailRun::stop()
{
    if (m_stopped)
        return;
    m_stopped = true;
    m_tick.setEnabled(false);
    stopWaitingAfterError();
    // However the run of All Accounts ends, later checks are scheduled ones again.
    if (m_manual)
        m_host.manualCheck = 0;
    SettingsStore &store = m_host.context().settings();
    const bool cancelled = store.get(Keys::CheckMailUnload) == SettingValues::Unchecked;
    if (cancelled)
        store.save(Keys::CheckMailUnload, SettingValues::Checked);
    // A server error (a refused DELE, say) may leave the session up: without the QUIT the
    // other deletions the list shows as made would never happen.
    if (!cancelled || multi())
        quitSession();
    if (multi()) {
        if (!cancelled) {
            // Every way out gives the program its clock, schedule and line watch back.
            m_host.restartCustomizeTimers();
            if (!singleAccountRun())
                m_host.setTrayIcon(kIdleIcon);
        } else {
            m_host.setTrayIcon(kIdleIcon);
            // After a server error the starter restarts the timers when its start returns;
            // once it has returned nobody else would.
            if (m_loadReturned)
                m_host.restartCustomizeTimers();
        }
    }
    // The answer to the QUIT must not reach the shared flags: a run started next would take
    // it for the answer to its own log-on.
    m_control->disconnect(this);
    Q_EMIT requestEnded();
    Q_EMIT countdownEnded();
    settle();
}

void MailRun::cancel()
{
    m_host.context().settings().save(Keys::CheckMailUnload, SettingValues::Unchecked);
    m_tick.setEnabled(false);
    quitSession();
    if (multi()) {
        m_host.setTrayIcon(kIdleIcon);
        exitStep();
    }
    // Pressed during a log-on or with a single empty slot, it still closes the window.
    Q_EMIT closeRequested();
    // The line watch comes back too: a line lost after a cancelled check must still be seen.
    if (multi())
        m_host.restartCustomizeTimers();
}

// A run over our line that sees it go ends at once, as a cancel does: the watch, given back,
// tells of the lost line (and redials) now, and no later account is tried over a dead line
// until its time-out.
void MailRun::lineChanged()
{
    if (!m_overOurLine || m_stopped || m_host.lineConnected())
        return;
    m_overOurLine = false;
    cancel();
}

void MailRun::nextAccount()
{
    if (m_tick.enabled())
        endCountdown();
}

void MailRun::holdCountdown(bool hold)
{
    if (multi())
        m_tick.setEnabled(!hold);
}

void MailRun::markRead(const QList<int> &numbers)
{
    if (!m_stopped && !numbers.isEmpty())
        m_control->MarkListedRead(numbers);
}

void MailRun::noticeNewMail()
{
    m_host.setTrayIcon(QStringLiteral("mail.ico"));
    AppContext &context = m_host.context();
    context.sounds().play(context.paths().resource(QStringLiteral("notify.wav")));
    m_host.setTrayTip(NewMail::trayTip(int(m_news.fresh.size())));
}

bool MailRun::waitsAfterError(int slotIndex) const
{
    return !m_stopped && m_waitingAfterError && m_host.currentSlotIndex == slotIndex;
}

void MailRun::stopWaitingAfterError()
{
    if (!m_waitingAfterError)
        return;
    m_waitingAfterError = false;
    Q_EMIT movingOn();
}

// One QUIT per session: the unloading rules and Cancel may both ask.
void MailRun::quitSession()
{
    if (m_quitSent)
        return;
    m_quitSent = true;
    m_control->Quit();
}

QCoro::Task<bool> MailRun::waitForRequest()
{
    const bool alive = co_await m_host.context().clock().until(
        [this] { return m_stopped || m_answered; }, this, &MailRun::requestEnded, this);
    co_return alive && !m_stopped;
}

void MailRun::onDone()
{
    m_answered = true;
    Q_EMIT requestEnded();
}

void MailRun::onError(int number, const QString &text)
{
    Q_UNUSED(number)
    m_answered = true;
    ++m_errors;
    // Before the error dialog opens: it offers Next Account while the run waits on it.
    m_waitingAfterError = multi() && !isLastSlot();
    Q_EMIT failed(slot() - 1, text);
    Q_EMIT requestEnded();
}

void MailRun::settle()
{
    if (m_settled)
        return;
    m_settled = true;
    Q_EMIT settled();
}

void MailRun::tick()
{
    --m_countdown;
    Q_EMIT countdownTick(m_countdown, isLastSlot());
    if (m_countdown <= 0)
        endCountdown();
}

// The countdown is over (run out, or Next Mail Account): the run goes on from its wait. No
// second tick and no second press meanwhile, or an account would be visited twice.
void MailRun::endCountdown()
{
    if (m_countdownOver)
        return;
    m_tick.setEnabled(false);
    stopWaitingAfterError();
    m_countdownOver = true;
    Q_EMIT countdownEnded();
}

void MailRun::endRun()
{
    m_tick.setEnabled(false);
    if (m_countdownRan) {
        // The starter returned long ago: the run ends itself.
        exitStep();
        m_host.restartCustomizeTimers();
    } else if (singleAccountRun()) {
        exitStep();
    }
    // A run that found no mail anywhere is closed by its starter.
}

// The window closes and the program's timers come back; the error dialog stays with the
// failure it tells of.
void MailRun::endAfterFailure()
{
    m_tick.setEnabled(false);
    m_host.setTrayIcon(kIdleIcon);
    Q_EMIT closeRequested();
    m_host.restartCustomizeTimers();
}

void MailRun::exitStep()
{
    m_host.setTrayIcon(kIdleIcon);
    if (!(singleAccountRun() && m_control->UnreadCount() < 1))
        Q_EMIT closeRequested();
}
