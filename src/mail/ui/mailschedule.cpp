// The mail schedule of the Customize dialog: every set number of minutes while the line is
// up, the multi-account check.

#include "clock/clock.h"
#include "connection/mras.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailtab.h"
#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"

#include <QPointer>

namespace {
// The check interval the minutes label shows (1 to 30), or 0.
int scheduleMinutes(const QLabel *label)
{
    const QString text = label->text();
    const int m = text.toInt();
    return (m >= 1 && m <= 30 && text == QString::number(m)) ? m : 0;
}
} // namespace

bool frmBrisvane::lineConnected() const
{
    mRAS1->setEntry(m_state.EntryName);
    return mRAS1->StateCode() == DialState::Connected || mRAS1->IsConnected();
}

// Ticks every 500 ms while it has something to look at. At most one wait or check runs at a
// time. While the line is down, checking is off or the mail program runs, the timer sleeps
// until the line, the switch or the program wakes it; during the wait and the round it sleeps
// too, and wakes when they are over.
void frmBrisvane::Timer2_Timer()
{
    if (m_scheduleBusy)
        return;
    // The minutes are read last: the Mail tab is not built while the line is down.
    if (m_mailCheck->mailProgramRunning()
        || m_links.context.settings().get(Keys::CheckMessages) != SettingValues::Checked
        || !lineConnected()) {
        Timer2.sleepUntilWoken();
        return;
    }
    const int minutes = scheduleMinutes(mailTab().lblCheckMailMinutes);
    if (minutes == 0) {
        Timer2.sleepUntilWoken();
        return;
    }
    scheduledRound(minutes);
}

// The wait of one round and its check; the tick that started it has long returned. The
// schedule sleeps meanwhile and wakes when the round is over.
QCoro::Task<> frmBrisvane::scheduledRound(int minutes)
{
    m_scheduleBusy = true;
    Timer2.sleepUntilWoken();
    const bool waited = co_await m_links.context.clock().sleep(minutes * 60.0, this);
    if (!waited)
        co_return;
    QPointer<frmBrisvane> self(this);
    co_await scheduledCheck();
    if (!self)
        co_return;
    m_scheduleBusy = false;
    Timer2.wake();
}

QCoro::Task<> frmBrisvane::scheduledCheck()
{
    if (!lineConnected() || Form::checkValue(mailTab().chkCheckMessages) != 1)
        co_return;
    // A check the user started meanwhile is still open: it is not replaced, this round is
    // left out.
    if (m_mailCheck->checkWindow() || m_mailCheck->mailProgramRunning())
        co_return;
    co_await runScheduledCheck();
}

QCoro::Task<> frmBrisvane::newMailByIdle()
{
    if (m_idleCheckBusy || m_mailCheck->mailProgramRunning() || m_mailCheck->checkWindow()
        || m_mailCheck->slotWindow() || Form::checkValue(mailTab().chkCheckMessages) != 1
        || Form::checkValue(mailTab().chkDisableMailChecking) == 1 || !lineConnected())
        co_return;
    m_idleCheckBusy = true;
    QPointer<frmBrisvane> self(this);
    co_await runScheduledCheck();
    if (self)
        m_idleCheckBusy = false;
}

QCoro::Task<> frmBrisvane::runScheduledCheck()
{
    m_mailCheck->clearForStart();
    const bool current = co_await m_mailCheck->loadCheckWindow();
    if (!current || m_mailCheck->lastMessageCount() >= 1)
        co_return; // the window restarts the timers when it closes
    m_mailCheck->setTrayIcon(QStringLiteral("net10a.ico"));
    m_mailCheck->unloadCheckWindow();
    m_mailCheck->restartCustomizeTimers();
}
