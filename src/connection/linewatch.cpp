// Following the line once a dial has started: the line-state event, the busy redial, the line
// watch, the connected-time clock and the start-up detection of a line already up.

#include "alerts/desktopnotices.h"
#include "alerts/soundalerts.h"
#include "clock/clock.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/traystatus.h"

#include <QPointer>

namespace {
constexpr double kMailAfterConnectingSeconds = 5;
// How often the line watch looks at a line that is up, besides the services' signals (a pppd
// left running by an earlier start is only seen by looking).
constexpr qint64 kLineWatchRestMs = 10000;

bool endedWithoutLine(const QString &text)
{
    return text == DialState::LineBusyText || text == DialState::FailedText;
}
} // namespace

QCoro::Task<> LineController::mRAS1_StateChanged(int value)
{
    const QString reason = m_ras->StateReason();
    log(QString::number(value) + u' ' + m_ras->StateText()
        + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
    if (!endedWithoutLine(m_ras->StateText())) {
        if (m_ras->StateCode() == DialState::Disconnected)
            PlaySoundAlert(m_context, AlertKind::Disconnected);
        if (RunProgramswhenDisconnecting)
            RunProgramswhenDisconnecting();
    } else {
        const bool redialled = co_await redialWhenBusy();
        if (!redialled)
            co_return;
    }
    if (m_ras->StateCode() == DialState::Connected)
        onConnected();
    if (RunProgramswhenConnecting)
        RunProgramswhenConnecting();
    const SettingsModel &settings = m_context.model();
    const bool checkMail = !settings.isOn(Keys::DisableMailChecking)
        && m_ras->StateCode() == DialState::Connected && settings.isOn(Keys::MailConnected);
    if (checkMail && checkMailAfterConnecting)
        co_await checkMailAfterConnectingLater();
}

// Five seconds after the line came up, the mail check; with nothing to show, the timers it
// stopped come back.
QCoro::Task<> LineController::checkMailAfterConnectingLater()
{
    const bool waited = co_await m_context.clock().sleep(kMailAfterConnectingSeconds, this);
    if (!waited)
        co_return;
    QPointer<LineController> self(this);
    const int count = co_await checkMailAfterConnecting();
    if (!self || count >= 1)
        co_return;
    m_tray.showIcon(QStringLiteral("net10a.ico"));
    m_clock.setEnabled(true);
    if (setMailSchedule)
        setMailSchedule(true);
    m_watch.setEnabled(true);
}

// A dial that ended busy or failed: hang up, and redial while retries remain.
QCoro::Task<bool> LineController::redialWhenBusy()
{
    m_clock.setEnabled(false);
    const bool retry = m_context.model().isOn(Keys::ReconnectLineBusy) && busyRetryCount() > 0;
    if (!retry)
        co_return co_await cmdDisconnect_Click();
    if (m_state.BusyRetriesLeft > 0) {
        --m_state.BusyRetriesLeft;
        const bool hungUp = co_await cmdDisconnect_Click();
        if (!hungUp)
            co_return false;
        m_redial.setEnabled(true);
    }
    co_return true;
}

void LineController::onConnected()
{
    PlaySoundAlert(m_context, AlertKind::Connected);
    if (std::exchange(m_reconnecting, false))
        DesktopNotices::reconnected(m_context, m_state.EntryName);
    Q_EMIT connected();
    m_watch.setEnabled(true);
    m_state.LineState = 0;
}

QCoro::Task<> LineController::Timer4_Timer()
{
    if (!endedWithoutLine(m_ras->StateText()))
        co_return;
    m_redial.setEnabled(false);
    if (!m_context.model().isOn(Keys::ReconnectLineBusy))
        co_await cmdDisconnect_Click();
    else if (m_state.BusyRetriesLeft != 0)
        redialBusyLine();
}

// The redial of a busy line: with N retries the counter starts at N + 1 and each busy result
// takes one, so the counter left says which attempt this is.
void LineController::redialBusyLine()
{
    const int attempts = busyRetryCount();
    const int attempt = qBound(1, attempts + 1 - m_state.BusyRetriesLeft, qMax(1, attempts));
    DesktopNotices::busyRedial(m_context, m_state.EntryName, attempt, attempts);
    dial();
}

QCoro::Task<> LineController::Timer3_Timer()
{
    // The watch does not tick again while the hang-up it started waits.
    const Timer::Hold held = m_watch.hold();
    ConnectionState &s = m_state;
    m_ras->setEntry(s.EntryName);
    if (s.LineState == 0 && !m_ras->IsConnected()) {
        log(QString::number(DialState::Disconnected) + QStringLiteral(" Line lost"));
        PlaySoundAlert(m_context, AlertKind::Disconnected);
        DesktopNotices::lineLost(m_context, s.EntryName);
        s.LineState = 1;
        const bool hungUp = co_await cmdDisconnect_Click();
        if (!hungUp)
            co_return;
    }
    if (s.LineState == 2 && m_context.model().isOn(Keys::ReconnectwhenDisconnected)) {
        m_reconnecting = true;
        cmdConnect_Click();
        s.LineState = 1;
    }
    // Watching a line that is up: the service's state signal wakes the watch when it drops, so
    // it only looks now and then, in case a service misses one.
    if (s.LineState == 0 && m_ras->IsConnected())
        m_watch.setNextDueAt(m_context.clock().tickCount() + kLineWatchRestMs);
}

QString LineController::connectedTime(quint32 elapsedMs)
{
    const auto two = [](quint32 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return two(elapsedMs / 3600000) + u':' + two((elapsedMs / 60000) % 60) + u':'
        + two((elapsedMs / 1000) % 60);
}

// Runs with a 15 ms interval, but each tick moves the next one to the next second boundary
// counted from the start, so the process wakes once a second and writes only when the shown
// second changes.
void LineController::Timer1_Timer()
{
    const auto elapsed = quint32(m_context.clock().tickCount() - m_state.ConnectStartTick);
    const qint64 second = elapsed / 1000;
    m_clock.setNextDueAt(m_state.ConnectStartTick + (second + 1) * 1000);
    if (second == m_clockShownSecond)
        return;
    m_clockShownSecond = second;
    const QString time = connectedTime(elapsed);
    Q_EMIT timeChanged(time);
    showTip(TipHint::OwnLine, time);
}

// The tip's hint: with a line up, the single-click one when a single click hangs up, else the
// one every state shares.
QString LineController::tipHintText(TipHint hint) const
{
    const bool singleClick = m_context.model().isOn(Keys::ConnectSingleClick);
    switch (hint) {
    case TipHint::OwnLine:
        if (singleClick)
            return tr("Click to Disc/Dbclick to zoom dialog to and from tray");
        break;
    case TipHint::OtherLine:
        if (singleClick)
            return tr("Double-click to zoom dialog to and from tray");
        break;
    case TipHint::Idle: return TrayStatus::idleTip(singleClick);
    }
    return TrayStatus::idleTip(false);
}

void LineController::CheckConnection()
{
    Q_EMIT lineToolsChanged();
    // A dial of ours already under way ("Connect automatically on startup") is no line found
    // up: the buttons and tools stay as the dial set them, so it can still be hung up.
    if (m_dialUnderWay)
        return;
    m_ras->setEntry(m_state.EntryName);
    const bool connected = m_ras->IsConnected();
    if (!connected) {
        setDialButtons(true, false);
        return;
    }
    ++m_state.ExistingConnectionCount;
    m_context.dialogs().message(DialogService::Icon::Warning, tr("Connection Detected"),
        tr("Brisvane has detected a connection has already been established. If "
           "you have enabled mail checking, any minutes that you have specified "
           "will start counting now. Brisvane will be unable to disconnect this "
           "connection."));
    setDialButtons(false, false);
    showTip(TipHint::OtherLine);
    if (setMailSchedule)
        setMailSchedule(true);
    m_watch.setEnabled(true);
    offerConnectPrograms();
}

void LineController::offerConnectPrograms()
{
    const SettingsModel &settings = m_context.model();
    if (!settings.isOn(Keys::RunConnected(1)) || settings.isOn(Keys::DisableProgramsApplications))
        return;
    const auto answer
        = m_context.dialogs().message(DialogService::Icon::Warning, tr("Connection Detected"),
            tr("Brisvane has also determined that you have enabled program(s) to run "
               "when started.")
                + QStringLiteral("\r\n") + tr("Would like to run those program(s) now?"),
            DialogService::Buttons::YesNo);
    if (answer == DialogService::Answer::Yes && RunProgramswhenConnecting)
        RunProgramswhenConnecting();
}
