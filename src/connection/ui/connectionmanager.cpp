// Dialling and hanging up.

#include "connection/ui/connectionmanager.h"

#include "clock/clock.h"
#include "connection/mras.h"
#include "connection/ui/connectiontab.h"
#include "mail/ui/mailtab.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QListWidget>

namespace {
constexpr int kDialFrameMs = 600;
constexpr int kClockTickMs = 15;
constexpr double kLostLineBlinkSeconds = 60;
constexpr double kHangUpPauseSeconds = 3;
// Where a dial from the tray puts the dialog: 2505 by 1515 twips from the screen's corner.
constexpr QPoint kShowConnectPosition(2505 / 15, 1515 / 15);
const QString kDefaultPhonebook = QStringLiteral("C:\\WINNT\\SYSTEM32\\RAS\\RASPHONE.PBK");
} // namespace

ConnectionManager::ConnectionManager(Links links, QObject *parent)
    : QObject(parent)
    , m_links(links)
{
    frmBrisvane &dialog = m_links.dialog;
    connect(&ras(), &mRAS::StateChanged, this, [this](int value) { mRAS1_StateChanged(value); });
    connect(&dialog.Timer1, &Timer::tick, this, &ConnectionManager::Timer1_Timer);
    connect(&dialog.Timer3, &Timer::tick, this, [this] { Timer3_Timer(); });
    connect(&dialog.Timer4, &Timer::tick, this, [this] { Timer4_Timer(); });
    // The line watch rests while the line it watches is up; a change of the line, or of the
    // choice to redial, makes it look at once.
    connect(&ras(), &mRAS::StateChanged, &dialog.Timer3, &Timer::wake);
    connect(&ras(), &mRAS::LinesChanged, &dialog.Timer3, &Timer::wake);
}

void ConnectionManager::attachTabs()
{
    frmBrisvane &dialog = m_links.dialog;
    ConnectionTab &t = tab();
    connect(t.cmdConnect, &QPushButton::clicked, this, &ConnectionManager::cmdConnect_Click);
    connect(t.cmdDisconnect, &QPushButton::clicked, this, [this] { cmdDisconnect_Click(true); });
    connect(dialog.settingsTab().chkReconnectwhenDisconnected, &QCheckBox::toggled, &dialog.Timer3,
        &Timer::wake);
}

ConnectionState &ConnectionManager::state() const
{
    return m_links.dialog.connectionState();
}

ConnectionTab &ConnectionManager::tab() const
{
    return m_links.dialog.connectionTab();
}

mRAS &ConnectionManager::ras() const
{
    return m_links.dialog.dialUp();
}

void ConnectionManager::cmdConnect_Click()
{
    ConnectionState &s = state();
    s.DialFlag = 1;
    if (s.LineState != 2)
        s.LineState = 0;
    m_links.tray.StopBlink();
    if (Form::checkValue(tab().chkUserLogonSettings) == 1) {
        const SettingsStore &store = m_links.context.settings();
        ras().setLogonName(store.get(Keys::UserName));
        ras().setLogonPassword(store.get(Keys::Password));
        ras().setPhoneNumber(store.get(Keys::Number));
        dialSequence();
        return;
    }
    const QString entry = tab().Combo1->currentText();
    if (entry.isEmpty()) {
        m_links.context.dialogs().message(DialogService::Icon::Warning, QStringLiteral("Brisvane"),
            QStringLiteral("Please select a dial-up connection in the Connection Entries drop "
                           "down list box before dialing. Click on 'Details' beside Connection "
                           "Entries"));
        return;
    }
    s.EntryName = entry;
    ras().setEntry(entry);
    const int error = ras().PrepareEntry();
    if (error >= mRAS::PhonebookErrorFirst && error <= mRAS::PhonebookErrorLast) {
        promptForPhonebook();
        return;
    }
    dialSequence();
}

// Only services that keep a phonebook file ask for one; the prompt names the places the
// file has always lived.
void ConnectionManager::promptForPhonebook()
{
    const QString cr = QStringLiteral("\r");
    const QString crlf = Form::kLineBreak;
    const QString prompt = QStringLiteral("If using NT, the Phonebook property must be set.") + cr
        + crlf + QStringLiteral("The default system phonebook for NT 4.0 is") + crlf + u'"'
        + kDefaultPhonebook + u'"' + cr + crlf
        + QStringLiteral("The default system phonebook for NT 3.51 is") + crlf
        + QStringLiteral("\"C:\\WINNT35\\SYSTEM32\\RAS\\RASPHONE.PBK\"") + cr + crlf
        + QStringLiteral("Enter the path and name of the phonebook, or press Cancel to abort.")
        + crlf;
    DialogService &dialogs = m_links.context.dialogs();
    ras().setPhonebook(
        dialogs.inputBox(QStringLiteral("Enter Phonebook"), prompt, kDefaultPhonebook)
            .value_or(QString()));
    const QString path = ras().Phonebook();
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        dialogs.message(DialogService::Icon::None, QStringLiteral("Brisvane"),
            QStringLiteral("Unable to locate phonebook file: ") + crlf + path);
        return;
    }
    if (ras().PrepareEntry() != 0)
        return;
    // The entry chosen in the list when the new phonebook has it, else its first entry.
    const QString chosen = tab().Combo1->currentText();
    bool listed = false;
    for (int i = 0; i < ras().EntryCount(); ++i)
        listed = listed || ras().EntryAt(i) == chosen;
    ras().setEntry(listed ? chosen : ras().EntryAt(0));
    dialSequence();
}

void ConnectionManager::dialSequence()
{
    frmBrisvane &dialog = m_links.dialog;
    ConnectionState &s = state();
    m_links.tray.StartAnimation(&m_links.frames, kDialFrameMs);
    tab().cmdUserLogonSettings->setEnabled(false);
    if (s.BusyRetriesLeft == 0) {
        s.BusyRetriesLeft = qint16(tab().busyRetryCount() + 1);
    }
    dialog.Timer1.setEnabled(true);
    dialog.Timer2.setEnabled(Form::checkValue(dialog.mailTab().chkMailConnected) == 1);
    tab().lstConnectState->clear();
    setDialButtons(false, true);
    m_dialUnderWay = true;
    // The dial is asynchronous: the buttons repaint once this handler returns, so there is no
    // need to run the event loop here (which would let a timer step in mid-sequence).
    ras().Dial();
    dialog.settingsTab().chkConnectSingleClick->setEnabled(false);
    startClockOrStop();
}

// A dial starts the connected-time clock; a dial while it runs stops it.
void ConnectionManager::startClockOrStop()
{
    Timer &clock = m_links.dialog.Timer1;
    if (clock.interval() == 0) {
        clock.setEnabled(true);
        state().ConnectStartTick = m_links.context.clock().tickCount();
        m_clockShownSecond = -1;
        clock.setInterval(kClockTickMs);
    } else {
        clock.setInterval(0);
    }
}

void ConnectionManager::setDialButtons(bool connectEnabled, bool disconnectEnabled)
{
    tab().cmdConnect->setEnabled(connectEnabled);
    m_links.menu.setToolEnabled(MenuNames::mnuConnect, connectEnabled);
    tab().cmdDisconnect->setEnabled(disconnectEnabled);
    m_links.menu.setToolEnabled(MenuNames::mnuDisconnect, disconnectEnabled);
}

void ConnectionManager::setIdleTray()
{
    m_links.tray.StopAnimation();
    m_links.dialog.setTrayIcon(QStringLiteral("net10b.ico"));
}

bool ConnectionManager::reconnectOptionSet() const
{
    return Form::checkValue(m_links.dialog.settingsTab().chkReconnectwhenDisconnected) == 1
        || Form::checkValue(tab().chkReconnectLineBusy) == 1;
}

// A lost line that nothing will redial: the icon blinks for a minute with both dial commands
// unavailable, then the hang-up goes on.
QCoro::Task<bool> ConnectionManager::blinkForLostLine()
{
    m_links.dialog.Timer1.setEnabled(false);
    setDialButtons(false, false);
    m_links.tray.StartBlink();
    const bool waited = co_await m_links.context.clock().sleep(kLostLineBlinkSeconds, this);
    if (!waited)
        co_return false;
    m_links.tray.StopBlink();
    co_return true;
}

QCoro::Task<bool> ConnectionManager::cmdDisconnect_Click(bool userPressed)
{
    frmBrisvane &dialog = m_links.dialog;
    ConnectionState &s = state();
    SettingsTab &settings = dialog.settingsTab();
    setIdleTray();
    settings.chkConnectSingleClick->setEnabled(true);
    dialog.Timer1.setEnabled(false);
    dialog.Timer2.setEnabled(false);
    if (s.LineState == 1) {
        dialog.Timer1.setEnabled(true);
        dialog.Timer2.setEnabled(true);
        dialog.Timer3.setEnabled(true);
    } else {
        dialog.Timer3.setEnabled(false);
    }
    settings.applyIdleTrayTip();
    if (s.LineState == 1 && !reconnectOptionSet()) {
        const bool blinked = co_await blinkForLostLine();
        if (!blinked)
            co_return false;
    }
    s.DialFlag = 0;
    m_dialUnderWay = false;
    if (userPressed) {
        dialog.Timer3.setEnabled(false);
        m_reconnecting = false;
    } else
        s.LineState = 2;
    ras().HangUp();
    co_return co_await afterHangUp();
}

// The common end of every hang-up: the commands come back, the clock is reset, and after a
// short pause the mail tools and the disconnect programs follow the line.
QCoro::Task<bool> ConnectionManager::afterHangUp()
{
    frmBrisvane &dialog = m_links.dialog;
    tab().cmdUserLogonSettings->setEnabled(true);
    setDialButtons(true, false);
    dialog.Timer1.setInterval(0);
    tab().lblTime->setText(QStringLiteral("00:00:00"));
    dialog.settingsTab().chkConnectSingleClick->setEnabled(true);
    const bool waited = co_await m_links.context.clock().sleep(kHangUpPauseSeconds, this);
    if (!waited)
        co_return false;
    dialog.mailTab().CheckMailSlots();
    if (hooks.RunProgramswhenDisconnecting)
        hooks.RunProgramswhenDisconnecting();
    co_return true;
}

QCoro::Task<bool> ConnectionManager::trayHangUp()
{
    frmBrisvane &dialog = m_links.dialog;
    ConnectionState &s = state();
    dialog.Timer1.setEnabled(false);
    dialog.Timer2.setEnabled(false);
    const bool lost = s.LineState == 1;
    dialog.Timer1.setEnabled(lost);
    dialog.Timer2.setEnabled(lost);
    dialog.Timer3.setEnabled(lost);
    setIdleTray();
    dialog.settingsTab().applyIdleTrayTip();
    if (lost && !reconnectOptionSet()) {
        const bool blinked = co_await blinkForLostLine();
        if (!blinked)
            co_return false;
    }
    s.DialFlag = 0;
    m_dialUnderWay = false;
    dialog.Timer3.setEnabled(false);
    m_reconnecting = false;
    ras().HangUp();
    co_return co_await afterHangUp();
}

void ConnectionManager::ShowConnect()
{
    frmBrisvane &dialog = m_links.dialog;
    if (Form::checkValue(dialog.settingsTab().chkShowConnect) != 1)
        return;
    dialog.tabs().setCurrentIndex(frmBrisvane::ConnectionTabIndex);
    if (dialog.isMinimized())
        dialog.showNormal();
    else
        m_links.tray.ZoomFromTray(&dialog);
    dialog.moveOntoScreen(kShowConnectPosition);
}
