#include "mail/mailschedule.h"

#include "clock/clock.h"
#include "settings/settingsmodel.h"

#include <QPointer>

namespace {
constexpr int kTickMs = 500;
} // namespace

MailSchedule::MailSchedule(
    Clock &clock, SettingsModel &settings, std::function<bool()> lineConnected, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_settings(settings)
    , m_lineConnected(std::move(lineConnected))
    , m_timer(clock, kTickMs, true)
{
    connect(&m_timer, &Timer::tick, this, &MailSchedule::tick);
    connect(&m_settings, &SettingsModel::changed, this, &MailSchedule::followSetting);
}

void MailSchedule::followSetting(const SettingKey &key)
{
    if (key == Keys::DisableMailChecking)
        setEnabled(!m_settings.isOn(Keys::DisableMailChecking));
    else if (key == Keys::CheckMailMinutes)
        shortenWait();
    else if (key == Keys::CheckMessages)
        wake();
}

// A shorter interval shortens the wait under way: the round comes the new interval after the
// wait began (at once when that has passed). A longer one counts from the next wait.
void MailSchedule::shortenWait()
{
    wake();
    if (m_waitStart < 0)
        return;
    const qint64 due = m_waitStart + qint64(m_settings.count(Keys::CheckMailMinutes)) * 60000;
    if (due >= m_waitDue)
        return;
    const qint64 start = m_waitStart;
    ++m_round; // the old wait ends silently
    scheduledRound(qMax<qint64>(0, due - m_clock.tickCount()));
    m_waitStart = start;
    m_waitDue = due;
}

void MailSchedule::setEnabled(bool enabled)
{
    m_timer.setEnabled(enabled);
}

void MailSchedule::wake()
{
    m_timer.wake();
}

void MailSchedule::restartInterval()
{
    ++m_round;
    m_waitStart = -1;
    m_busy = false;
    m_timer.wake();
}

bool MailSchedule::scheduledChecking() const
{
    return m_settings.isOn(Keys::CheckMessages) && m_lineConnected();
}

// Ticks every 500 ms while it has something to look at; otherwise it sleeps until the line,
// a setting or the mail program wakes it.
void MailSchedule::tick()
{
    if (m_busy)
        return;
    if ((m_rounds && m_rounds->mailProgramRunning()) || !scheduledChecking()) {
        m_timer.sleepUntilWoken();
        return;
    }
    scheduledRound(qint64(m_settings.count(Keys::CheckMailMinutes)) * 60000);
}

// The wait of one round and its check; the tick that started it has long returned. The
// schedule sleeps meanwhile and wakes when the round is over.
QCoro::Task<> MailSchedule::scheduledRound(qint64 waitMs)
{
    m_busy = true;
    const int round = ++m_round;
    m_timer.sleepUntilWoken();
    m_waitStart = m_clock.tickCount();
    m_waitDue = m_waitStart + waitMs;
    const bool waited = co_await m_clock.sleep(double(waitMs) / 1000.0, this);
    if (!waited || round != m_round)
        co_return;
    m_waitStart = -1;
    QPointer<MailSchedule> self(this);
    co_await scheduledCheck();
    if (!self || round != m_round)
        co_return;
    m_busy = false;
    m_timer.wake();
}

QCoro::Task<> MailSchedule::scheduledCheck()
{
    // The single-slot window the user opened is waited for, not doubled by a second window.
    while (m_rounds && m_rounds->slotCheckOpen()) {
        const bool waited = co_await m_clock.sleep(1, this);
        if (!waited)
            co_return;
    }
    // Mail checking switched off during the wait ends the round there.
    if (!m_rounds || !scheduledChecking() || m_settings.isOn(Keys::DisableMailChecking))
        co_return;
    // A check the user started meanwhile is still open: it is not replaced, this round is
    // left out.
    if (m_rounds->checkOpen() || m_rounds->mailProgramRunning())
        co_return;
    co_await m_rounds->runScheduledRound();
}

QCoro::Task<> MailSchedule::newMailByIdle(int slot)
{
    if (!m_rounds || m_idleCheckBusy || m_rounds->mailProgramRunning() || m_rounds->checkOpen()
        || m_rounds->slotCheckOpen() || m_settings.isOn(Keys::DisableMailChecking)
        || !scheduledChecking())
        co_return;
    m_idleCheckBusy = true;
    QPointer<MailSchedule> self(this);
    co_await m_rounds->runScheduledRound(slot);
    if (self)
        m_idleCheckBusy = false;
}
