// Dialling and hanging up.

#include "connection/linecontroller.h"

#include "alerts/soundalerts.h"
#include "clock/clock.h"
#include "connection/mras.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/traystatus.h"

#include <QFileInfo>

#include <utility>

namespace {
constexpr int kClockTickMs = 15;
constexpr int kLineTimersMs = 2000;
constexpr double kLostLineBlinkSeconds = 60;
constexpr double kHangUpPauseSeconds = 3;
const QString kDefaultPhonebook = QStringLiteral("C:\\WINNT\\SYSTEM32\\RAS\\RASPHONE.PBK");
const QString kLineBreak = QStringLiteral("\r\n");
} // namespace

LineController::LineController(
    AppContext &context, TrayStatus &tray, MenuTools &menu, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_tray(tray)
    , m_menu(menu)
    , m_ras(std::make_unique<mRAS>(context.dialUpService()))
    , m_clock(context.clock(), 0, true)
    , m_watch(context.clock(), kLineTimersMs, false)
    , m_redial(context.clock(), kLineTimersMs, false)
{
    connect(
        m_ras.get(), &mRAS::StateChanged, this, [this](int value) { mRAS1_StateChanged(value); });
    connect(&m_clock, &Timer::tick, this, &LineController::Timer1_Timer);
    connect(&m_watch, &Timer::tick, this, [this] { Timer3_Timer(); });
    connect(&m_redial, &Timer::tick, this, [this] { Timer4_Timer(); });
    // The line watch rests while the line it watches is up; a change of the line, or of the
    // choice to redial, makes it look at once.
    connect(m_ras.get(), &mRAS::StateChanged, &m_watch, &Timer::wake);
    connect(m_ras.get(), &mRAS::LinesChanged, &m_watch, &Timer::wake);
    connect(m_ras.get(), &mRAS::LinesChanged, this, &LineController::linesChanged);
    connect(&context.model(), &SettingsModel::changed, this, [this](const SettingKey &key) {
        if (key == Keys::ReconnectwhenDisconnected)
            m_watch.wake();
        else if (key == Keys::ConnectSingleClick)
            showTip(m_tipHint, m_tipTime);
        else if (key == Keys::ReconnectLineBusyCount)
            m_busyCountChanged = true;
    });
}

LineController::~LineController() = default;

bool LineController::lineConnected() const
{
    m_ras->setEntry(m_state.EntryName);
    return m_ras->StateCode() == DialState::Connected || m_ras->IsConnected();
}

void LineController::pauseWatch()
{
    m_clock.setEnabled(false);
    m_watch.setEnabled(false);
}

void LineController::resumeWatch()
{
    m_clock.setEnabled(true);
    m_watch.setEnabled(true);
}

void LineController::loadAtStartup()
{
    m_watch.setEnabled(false);
    for (int i = 0; i < m_ras->EntryCount(); ++i) {
        const QString name = m_ras->EntryAt(i);
        m_ras->setEntry(name);
        m_state.EntryName = name;
    }
    // A default that is no longer in the list still becomes the text to dial.
    const QString preferred = m_context.model().text(Keys::DefaultConnection);
    if (!preferred.isEmpty())
        m_state.EntryName = preferred;
    m_chosenEntry = m_state.EntryName;
    m_state.BusyRetriesLeft = qint16(busyRetryCount());
    if (m_state.BusyRetriesLeft != 0)
        ++m_state.BusyRetriesLeft;
    m_busyCountChanged = false;
    m_clock.setInterval(0);
}

int LineController::busyRetryCount() const
{
    return m_context.model().count(Keys::ReconnectLineBusyCount);
}

void LineController::cmdConnect_Click()
{
    takeChangedBusyCount();
    dial();
}

// The busy redial counter carries its remainder from dial to dial; a count the user changed
// since counts from the next dial on, as a fresh start would give it.
void LineController::takeChangedBusyCount()
{
    if (!std::exchange(m_busyCountChanged, false))
        return;
    const int count = busyRetryCount();
    m_state.BusyRetriesLeft = qint16(count == 0 ? 0 : count + 1);
}

void LineController::dial()
{
    m_state.DialFlag = 1;
    if (m_state.LineState != 2)
        m_state.LineState = 0;
    m_tray.stopBlink();
    const SettingsModel &settings = m_context.model();
    if (settings.isOn(Keys::UserLogonSettings)) {
        Passwords &passwords = m_context.passwords();
        if (!passwords.isKnown(Keys::Password)) {
            // The keyring answers later (it may ask to be unlocked first); the dial starts then.
            auto once = std::make_shared<QMetaObject::Connection>();
            *once = connect(
                &passwords, &Passwords::fetched, this, [this, once](const SettingKey &key) {
                    if (!(key == Keys::Password))
                        return;
                    disconnect(*once);
                    dial();
                });
            passwords.fetch(Keys::Password);
            return;
        }
        m_ras->setLogonName(settings.text(Keys::UserName));
        m_ras->setLogonPassword(passwords.known(Keys::Password));
        m_ras->setPhoneNumber(settings.text(Keys::Number));
        dialSequence();
        return;
    }
    const QString entry = m_chosenEntry;
    if (entry.isEmpty()) {
        m_context.dialogs().message(DialogService::Icon::Warning, tr("Brisvane"),
            tr("Please select a dial-up connection in the Connection Entries drop "
               "down list box before dialing. Click on 'Details' beside Connection "
               "Entries"));
        return;
    }
    m_state.EntryName = entry;
    m_ras->setEntry(entry);
    const int error = m_ras->PrepareEntry();
    if (error >= mRAS::PhonebookErrorFirst && error <= mRAS::PhonebookErrorLast) {
        promptForPhonebook();
        return;
    }
    dialSequence();
}

// Only services that keep a phonebook file ask for one; the prompt names the places the
// file has always lived.
void LineController::promptForPhonebook()
{
    const QString cr = QStringLiteral("\r");
    const QString prompt = tr("If using NT, the Phonebook property must be set.") + cr + kLineBreak
        + tr("The default system phonebook for NT 4.0 is") + kLineBreak + u'"' + kDefaultPhonebook
        + u'"' + cr + kLineBreak + tr("The default system phonebook for NT 3.51 is") + kLineBreak
        + QStringLiteral("\"C:\\WINNT35\\SYSTEM32\\RAS\\RASPHONE.PBK\"") + cr + kLineBreak
        + tr("Enter the path and name of the phonebook, or press Cancel to abort.") + kLineBreak;
    DialogService &dialogs = m_context.dialogs();
    m_ras->setPhonebook(
        dialogs.inputBox(tr("Enter Phonebook"), prompt, kDefaultPhonebook).value_or(QString()));
    const QString path = m_ras->Phonebook();
    if (path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        dialogs.message(DialogService::Icon::None, tr("Brisvane"),
            tr("Unable to locate phonebook file: ") + kLineBreak + path);
        return;
    }
    if (m_ras->PrepareEntry() != 0)
        return;
    // The entry chosen in the list when the new phonebook has it, else its first entry.
    bool listed = false;
    for (int i = 0; i < m_ras->EntryCount(); ++i)
        listed = listed || m_ras->EntryAt(i) == m_chosenEntry;
    m_ras->setEntry(listed ? m_chosenEntry : m_ras->EntryAt(0));
    dialSequence();
}

void LineController::dialSequence()
{
    m_tray.startDialAnimation();
    if (m_state.BusyRetriesLeft == 0)
        m_state.BusyRetriesLeft = qint16(busyRetryCount() + 1);
    m_clock.setEnabled(true);
    // The schedule runs while the line is up whenever mail checking is on; "Check mail after
    // connection" is the one check after connecting, not a switch for the schedule.
    if (setMailSchedule)
        setMailSchedule(!m_context.model().isOn(Keys::DisableMailChecking));
    m_log.clear();
    Q_EMIT logCleared();
    setDialButtons(false, true);
    m_dialUnderWay = true;
    setDialling(true);
    // The dial is asynchronous: the windows repaint once this handler returns, so there is no
    // need to run the event loop here (which would let a timer step in mid-sequence).
    m_ras->Dial();
    startClockOrStop();
}

// A dial starts the connected-time clock; a dial while it runs stops it.
void LineController::startClockOrStop()
{
    if (m_clock.interval() == 0) {
        m_clock.setEnabled(true);
        m_state.ConnectStartTick = m_context.clock().tickCount();
        m_clockShownSecond = -1;
        m_clock.setInterval(kClockTickMs);
    } else {
        m_clock.setInterval(0);
    }
}

void LineController::log(const QString &line)
{
    m_log.append(line);
    Q_EMIT logged(line);
}

void LineController::setDialling(bool dialling)
{
    m_dialling = dialling;
    Q_EMIT diallingChanged(dialling);
}

void LineController::setDialButtons(bool connectEnabled, bool disconnectEnabled)
{
    m_connectEnabled = connectEnabled;
    m_disconnectEnabled = disconnectEnabled;
    m_menu.setToolEnabled(MenuNames::mnuConnect, connectEnabled);
    m_menu.setToolEnabled(MenuNames::mnuDisconnect, disconnectEnabled);
    Q_EMIT dialButtonsChanged(connectEnabled, disconnectEnabled);
}

void LineController::setIdleTray()
{
    m_tray.stopAnimation();
    m_tray.showIcon(QStringLiteral("net10b.ico"));
}

void LineController::setIdleTip()
{
    showTip(TipHint::Idle);
}

void LineController::setNewMail(int count)
{
    if (count == m_newMail)
        return;
    m_newMail = count;
    showTip(m_tipHint, m_tipTime);
}

// The tray's tip holds 64 characters. The count of new mail goes first; where the three would
// not fit, the hint gives way by whole words, so that the count and the time stay whole.
void LineController::showTip(TipHint hint, const QString &time)
{
    constexpr qsizetype kTipLength = 64;
    m_tipHint = hint;
    m_tipTime = time;
    const QString news = m_newMail > 0 ? tr("(%1 new) ").arg(m_newMail) : QString();
    const QString tail = time.isEmpty() ? QString() : u' ' + time;
    QString shown = tipHintText(hint);
    const qsizetype room = kTipLength - news.size() - tail.size();
    if (shown.size() > room) {
        shown.truncate(room + 1);
        shown.truncate(qMax<qsizetype>(0, shown.lastIndexOf(u' ')));
    }
    m_tray.setTip(news + shown + tail);
}

bool LineController::reconnectOptionSet() const
{
    return m_context.model().isOn(Keys::ReconnectwhenDisconnected)
        || m_context.model().isOn(Keys::ReconnectLineBusy);
}

// A lost line that nothing will redial: the icon blinks for a minute with both dial commands
// unavailable, then the hang-up goes on.
QCoro::Task<bool> LineController::blinkForLostLine()
{
    m_clock.setEnabled(false);
    setDialButtons(false, false);
    m_tray.startBlink();
    const bool waited = co_await m_context.clock().sleep(kLostLineBlinkSeconds, this);
    if (!waited)
        co_return false;
    m_tray.stopBlink();
    co_return true;
}

QCoro::Task<bool> LineController::cmdDisconnect_Click(bool userPressed)
{
    beginHangUp();
    setIdleTray();
    setDialling(false);
    m_clock.setEnabled(false);
    if (setMailSchedule)
        setMailSchedule(false);
    if (m_state.LineState == 1) {
        m_clock.setEnabled(true);
        if (setMailSchedule)
            setMailSchedule(true);
        m_watch.setEnabled(true);
    } else {
        m_watch.setEnabled(false);
    }
    setIdleTip();
    if (m_state.LineState == 1 && !reconnectOptionSet()) {
        const bool blinked = co_await blinkForLostLine();
        if (!blinked)
            co_return false;
    }
    m_state.DialFlag = 0;
    m_dialUnderWay = false;
    if (userPressed) {
        m_watch.setEnabled(false);
        m_reconnecting = false;
    } else
        m_state.LineState = 2;
    co_return co_await afterHangUp();
}

// Every hang-up starts here: the usage record learns who took the line down, and a line that
// is up (not lost, not busy) gets the disconnect alert like any other disconnect.
void LineController::beginHangUp()
{
    Q_EMIT wentDown(m_state.LineState == 1 ? LineEnd::Dropped : LineEnd::User);
    if (m_state.LineState == 0 && lineConnected())
        PlaySoundAlert(m_context, AlertKind::Disconnected);
}

// The common end of every hang-up: the line goes down and gets its line on the state list,
// the commands come back, the clock is reset, and after a short pause the mail tools and the
// disconnect programs follow the line.
QCoro::Task<bool> LineController::afterHangUp()
{
    m_ras->HangUp();
    logHangUp();
    setDialButtons(true, false);
    m_clock.setInterval(0);
    Q_EMIT clockReset();
    setDialling(false);
    const bool waited = co_await m_context.clock().sleep(kHangUpPauseSeconds, this);
    if (!waited)
        co_return false;
    Q_EMIT lineToolsChanged();
    if (RunProgramswhenDisconnecting)
        RunProgramswhenDisconnecting();
    co_return true;
}

QCoro::Task<bool> LineController::trayHangUp()
{
    const bool lost = m_state.LineState == 1;
    beginHangUp();
    m_clock.setEnabled(lost);
    if (setMailSchedule)
        setMailSchedule(lost);
    m_watch.setEnabled(lost);
    setIdleTray();
    setIdleTip();
    if (lost && !reconnectOptionSet()) {
        const bool blinked = co_await blinkForLostLine();
        if (!blinked)
            co_return false;
    }
    m_state.DialFlag = 0;
    m_dialUnderWay = false;
    m_watch.setEnabled(false);
    m_reconnecting = false;
    co_return co_await afterHangUp();
}

// The state list is the only running record of the line: a hang-up gets its line, unless the
// line's own last event (a busy or failed dial, a lost line) already said it went down.
void LineController::logHangUp()
{
    const QString code = QString::number(DialState::Disconnected) + u' ';
    if (m_log.isEmpty() || !m_log.constLast().startsWith(code))
        log(code + QStringLiteral("Disconnected"));
}
