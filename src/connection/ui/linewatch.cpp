// Following the line once a dial has started: the line-state event, the busy redial, the
// line watch, the connected-time clock and the start-up detection of a line already up.

#include "alerts/desktopnotices.h"
#include "alerts/soundalerts.h"
#include "clock/clock.h"
#include "connection/mras.h"
#include "connection/ui/connectionmanager.h"
#include "connection/ui/connectiontab.h"
#include "mail/ui/mailtab.h"
#include "programs/ui/programstab.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QListWidget>
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

QCoro::Task<> ConnectionManager::mRAS1_StateChanged(int value)
{
    QListWidget *log = tab().lstConnectState;
    log->addItem(QString::number(value) + u' ' + ras().StateText());
    log->setCurrentRow(log->count() - 1);
    if (!endedWithoutLine(ras().StateText())) {
        if (ras().StateCode() == DialState::Disconnected)
            PlaySoundAlert(m_links.context, AlertKind::Disconnected);
        if (hooks.RunProgramswhenDisconnecting)
            hooks.RunProgramswhenDisconnecting();
    } else {
        const bool redialled = co_await redialWhenBusy();
        if (!redialled)
            co_return;
    }
    if (ras().StateCode() == DialState::Connected)
        onConnected();
    if (hooks.RunProgramswhenConnecting)
        hooks.RunProgramswhenConnecting();
    const bool checkMail = Form::checkValue(m_links.dialog.mailTab().chkDisableMailChecking) == 0
        && ras().StateCode() == DialState::Connected
        && m_links.context.settings().get(Keys::MailConnected) == SettingValues::Checked;
    if (checkMail && hooks.checkMailAfterConnecting)
        co_await checkMailAfterConnecting();
}

// Five seconds after the line came up, the mail check; with nothing to show, the timers it
// stopped come back.
QCoro::Task<> ConnectionManager::checkMailAfterConnecting()
{
    const bool waited = co_await m_links.context.clock().sleep(kMailAfterConnectingSeconds, this);
    if (!waited)
        co_return;
    QPointer<ConnectionManager> self(this);
    const int count = co_await hooks.checkMailAfterConnecting();
    if (!self || count >= 1)
        co_return;
    frmBrisvane &dialog = m_links.dialog;
    dialog.setTrayIcon(QStringLiteral("net10a.ico"));
    dialog.Timer1.setEnabled(true);
    dialog.Timer2.setEnabled(true);
    dialog.Timer3.setEnabled(true);
}

// A dial that ended busy or failed: hang up, and redial while retries remain.
QCoro::Task<bool> ConnectionManager::redialWhenBusy()
{
    m_links.dialog.Timer1.setEnabled(false);
    ConnectionState &s = state();
    const bool retry = Form::checkValue(tab().chkReconnectLineBusy) == 1
        && tab().lblReconnectLineBusy->text() > QStringLiteral("0");
    if (!retry)
        co_return co_await cmdDisconnect_Click();
    if (s.BusyRetriesLeft > 0) {
        --s.BusyRetriesLeft;
        const bool hungUp = co_await cmdDisconnect_Click();
        if (!hungUp)
            co_return false;
        m_links.dialog.Timer4.setEnabled(true);
    }
    co_return true;
}

void ConnectionManager::onConnected()
{
    frmBrisvane &dialog = m_links.dialog;
    PlaySoundAlert(m_links.context, AlertKind::Connected);
    if (std::exchange(m_reconnecting, false))
        DesktopNotices::reconnected(m_links.context, state().EntryName);
    const SettingsTab &settings = dialog.settingsTab();
    if (Form::checkValue(settings.chkMinimizeTaskbarafterConnecting) == 1)
        dialog.showMinimized();
    if (Form::checkValue(settings.chkMinimizeSystemTrayafterConnecting) == 1)
        dialog.zoomToTray(); // hidden in the tray, or minimised when there is none
    dialog.Timer3.setEnabled(true);
    state().LineState = 0;
}

QCoro::Task<> ConnectionManager::Timer4_Timer()
{
    Timer &redial = m_links.dialog.Timer4;
    if (!endedWithoutLine(ras().StateText()))
        co_return;
    redial.setEnabled(false);
    if (Form::checkValue(tab().chkReconnectLineBusy) != 1)
        co_await cmdDisconnect_Click();
    else if (state().BusyRetriesLeft != 0)
        redialBusyLine();
}

// The redial of a busy line: with N retries the counter starts at N + 1 and each busy result
// takes one, so the counter left says which attempt this is.
void ConnectionManager::redialBusyLine()
{
    const int attempts = tab().busyRetryCount();
    const int attempt = qBound(1, attempts + 1 - state().BusyRetriesLeft, qMax(1, attempts));
    DesktopNotices::busyRedial(m_links.context, state().EntryName, attempt, attempts);
    cmdConnect_Click();
}

QCoro::Task<> ConnectionManager::Timer3_Timer()
{
    // The watch does not tick again while the hang-up it started waits.
    const Timer::Hold held = m_links.dialog.Timer3.hold();
    ConnectionState &s = state();
    ras().setEntry(s.EntryName);
    if (s.LineState == 0 && !ras().IsConnected()) {
        PlaySoundAlert(m_links.context, AlertKind::Disconnected);
        DesktopNotices::lineLost(m_links.context, s.EntryName);
        s.LineState = 1;
        const bool hungUp = co_await cmdDisconnect_Click();
        if (!hungUp)
            co_return;
    }
    if (s.LineState == 2
        && Form::checkValue(m_links.dialog.settingsTab().chkReconnectwhenDisconnected) == 1) {
        m_reconnecting = true;
        cmdConnect_Click();
        s.LineState = 1;
    }
    // Watching a line that is up: the service's state signal wakes the watch when it drops, so
    // it only looks now and then, in case a service misses one.
    if (s.LineState == 0 && ras().IsConnected())
        m_links.dialog.Timer3.setNextDueAt(m_links.context.clock().tickCount() + kLineWatchRestMs);
}

QString ConnectionManager::connectedTime(quint32 elapsedMs)
{
    const auto two = [](quint32 n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    return two(elapsedMs / 3600000) + u':' + two((elapsedMs / 60000) % 60) + u':'
        + two((elapsedMs / 1000) % 60);
}

// Runs with a 15 ms interval, but each tick moves the next one to the next second boundary
// counted from the start, so the process wakes once a second and writes only when the shown
// second (or where it shows) changes. The dialog's show, hide and state changes tick it at
// once, so the time moves between caption and lblTime without waiting for the second.
void ConnectionManager::Timer1_Timer()
{
    frmBrisvane &dialog = m_links.dialog;
    const auto elapsed = quint32(m_links.context.clock().tickCount() - state().ConnectStartTick);
    const qint64 second = elapsed / 1000;
    dialog.Timer1.setNextDueAt(state().ConnectStartTick + (second + 1) * 1000);
    const bool inCaption = dialog.isHidden() || dialog.isMinimized() || dialog.isMaximized();
    if (second == m_clockShownSecond && inCaption == m_clockInCaption)
        return;
    m_clockShownSecond = second;
    m_clockInCaption = inCaption;
    const QString time = connectedTime(elapsed);
    if (inCaption)
        dialog.setWindowTitle(time);
    else
        tab().lblTime->setText(time);
    m_links.tray.setTrayTip(
        trayHint(QStringLiteral("Click to Disc/Dbclick to zoom dialog to and from tray")) + u' '
        + time);
}

// The tip's hint: the single-click one when a single click dials or hangs up, else the one
// every state shares.
QString ConnectionManager::trayHint(const QString &singleClickHint) const
{
    const bool singleClick
        = Form::checkValue(m_links.dialog.settingsTab().chkConnectSingleClick) == 1;
    return singleClick ? singleClickHint : SettingsTab::idleTrayTip(false);
}

void ConnectionManager::CheckConnection()
{
    frmBrisvane &dialog = m_links.dialog;
    ConnectionState &s = state();
    if (dialog.pagesBuilt())
        dialog.programsTab().refreshProgramList();
    else // the list is filled when the tab is built
        ProgramsTab::applyProgramTools(m_links.menu, m_links.context.settings());
    // A dial of ours already under way ("Connect automatically on startup") is no line found
    // up: the buttons and tools stay as the dial set them, so it can still be hung up.
    if (m_dialUnderWay)
        return;
    ras().setEntry(s.EntryName);
    const bool connected = ras().IsConnected();
    if (connected) {
        ++s.ExistingConnectionCount;
        m_links.context.dialogs().message(DialogService::Icon::Warning,
            QStringLiteral("Connection Detected"),
            QStringLiteral("Brisvane has detected a connection has already been established. If "
                           "you have enabled mail checking, any minutes that you have specified "
                           "will start counting now. Brisvane will be unable to disconnect this "
                           "connection."));
        setDialButtons(false, false);
        m_links.tray.setTrayTip(
            trayHint(QStringLiteral("Double-click to zoom dialog to and from tray")));
        dialog.mailTab().CheckMailSlots();
        dialog.Timer2.setEnabled(true);
        dialog.Timer3.setEnabled(true);
    } else {
        if (dialog.pagesBuilt()) // else set when they are
            tab().cmdDisconnect->setEnabled(false);
        m_links.menu.setToolEnabled(MenuNames::mnuConnect, true);
        m_links.menu.setToolEnabled(MenuNames::mnuDisconnect, false);
    }
    const bool offerPrograms = connected
        && m_links.context.settings().get(Keys::RunConnected(1)) == SettingValues::Checked
        && Form::checkValue(dialog.programsTab().chkDisableProgramsApplications) == 0;
    if (!offerPrograms)
        return;
    const auto answer = m_links.context.dialogs().message(DialogService::Icon::Warning,
        QStringLiteral("Connection Detected"),
        QStringLiteral("Brisvane has also determined that you have enabled program(s) to run "
                       "when started.")
            + Form::kLineBreak + QStringLiteral("Would like to run those program(s) now?"),
        DialogService::Buttons::YesNo);
    if (answer == DialogService::Answer::Yes && hooks.RunProgramswhenConnecting)
        hooks.RunProgramswhenConnecting();
}
