#pragma once

#include "clock/timer.h"
#include "connection/connectionstate.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class AppContext;
class MenuTools;
class TrayStatus;
class mRAS;

// The line: dialling and hanging up, the line-state event, the busy redial, the line watch, the
// connected-time clock and the start-up detection of a line that is already up. It owns the
// dial-up control, the connection state and the three timers that drive them (clock, watch,
// busy redial); it reads its options from the settings model and shows its progress on the
// tray and the popup menu's dial tools. Windows follow its signals.
class LineController : public QObject
{
    Q_OBJECT

public:
    LineController(
        AppContext &context, TrayStatus &tray, MenuTools &menu, QObject *parent = nullptr);
    ~LineController() override;

    mRAS &dialUp() const { return *m_ras; }
    ConnectionState &state() { return m_state; }
    const ConnectionState &state() const { return m_state; }
    // The dial-up control's view of the line of the current entry.
    bool lineConnected() const;

    // The entry the user has chosen in the Connection Entries list; a dial uses it.
    QString chosenEntry() const { return m_chosenEntry; }
    void chooseEntry(const QString &entry) { m_chosenEntry = entry; }

    // The timers: the connected-time clock, the line watch and the busy redial. A mail check
    // stops the clock and the watch while it runs (pauseWatch) and gives them back after.
    Timer &clockTimer() { return m_clock; }
    Timer &watchTimer() { return m_watch; }
    Timer &redialTimer() { return m_redial; }
    void pauseWatch();
    void resumeWatch();
    // Mail told and not yet read: the tray's tip gives the count beside the line's text.
    void setNewMail(int count);

    // Start-up: points the control at the entry to test and dial (the last listed, or the
    // default connection when one is stored), counts the busy retries, and stops the watch.
    void loadAtStartup();
    // Start-up's look at a line already up (another program's): the dial tools, the mail
    // schedule and the watch follow it; the user may start the connect programs at once.
    void CheckConnection();

    // Dialling and hanging up. The hang-ups wait (the lost-line blink, the pause after) as
    // coroutines: they end with false when the controller went away meanwhile.
    void cmdConnect_Click();
    // A hang-up the program asks for; the Disconnect button passes userPressed.
    QCoro::Task<bool> cmdDisconnect_Click(bool userPressed = false);
    // The tray's single-click hang-up, close to the one above but always ending the watch.
    QCoro::Task<bool> trayHangUp();
    bool dialUnderWay() const { return m_dialUnderWay; }
    // What a window built later shows: the state list since the last dial, which of Connect
    // and Disconnect can be used, and whether a dial holds the logon choices.
    const QStringList &log() const { return m_log; }
    bool connectEnabled() const { return m_connectEnabled; }
    bool disconnectEnabled() const { return m_disconnectEnabled; }
    bool dialling() const { return m_dialling; }

    // Who takes a line down: the user (the Disconnect button or menu, the tray's click), or
    // nobody (the line watch found it lost).
    enum class LineEnd { User, Dropped };

    // The tip the clock writes: the click hint, a blank and the connected time.
    static QString connectedTime(quint32 elapsedMs);

    // What the rest of the program does when the line comes up or goes down; set by the
    // program's composition root. Each may be left empty.
    std::function<void()> RunProgramswhenConnecting;
    std::function<void()> RunProgramswhenDisconnecting;
    // The mail check five seconds after the line came up; ends with the message count of the
    // last account it visited.
    std::function<QCoro::Task<int>()> checkMailAfterConnecting;
    // The mail schedule runs (or stops) with the line.
    std::function<void(bool)> setMailSchedule;

Q_SIGNALS:
    // A line for the state list; cleared at each dial.
    void logged(const QString &line);
    void logCleared();
    // The connected time, once a second while the clock runs.
    void timeChanged(const QString &time);
    // The clock went back to "00:00:00" (a hang-up).
    void clockReset();
    // Which of Connect and Disconnect can be used.
    void dialButtonsChanged(bool connectEnabled, bool disconnectEnabled);
    // From a dial's start to its hang-up the logon settings and the single-click choice rest.
    void diallingChanged(bool dialling);
    // The line came up (after the connected alert): the windows apply their options.
    void connected();
    // The mail and program tools of the menu follow the line.
    void lineToolsChanged();
    // A line came up or went down without a dial's step (also while the watch rests).
    void linesChanged();
    // A hang-up begins (of a line that may be up, or of a dial): the usage record ends there.
    void wentDown(LineController::LineEnd by);

private:
    QCoro::Task<> mRAS1_StateChanged(int value);
    void Timer1_Timer();
    QCoro::Task<> Timer3_Timer();
    QCoro::Task<> Timer4_Timer();
    void promptForPhonebook();
    void dial();
    void takeChangedBusyCount();
    void dialSequence();
    void startClockOrStop();
    void setIdleTray();
    void setIdleTip();
    QCoro::Task<bool> blinkForLostLine();
    void setDialButtons(bool connectEnabled, bool disconnectEnabled);
    void beginHangUp();
    QCoro::Task<bool> afterHangUp();
    void logHangUp();
    QCoro::Task<bool> redialWhenBusy();
    QCoro::Task<> checkMailAfterConnectingLater();
    void redialBusyLine();
    void onConnected();
    bool reconnectOptionSet() const;
    // What the tray's tip says of the line; its words follow the single-click choice, so
    // they are made each time the tip is. Before the line's first tip it is the idle one.
    enum class TipHint { Idle, OwnLine, OtherLine };
    QString tipHintText(TipHint hint) const;
    void showTip(TipHint hint, const QString &time = {});
    int busyRetryCount() const;
    void offerConnectPrograms();
    void log(const QString &line);
    void setDialling(bool dialling);

    AppContext &m_context;
    TrayStatus &m_tray;
    MenuTools &m_menu;
    std::unique_ptr<mRAS> m_ras;
    ConnectionState m_state;
    QString m_chosenEntry;
    QStringList m_log;
    bool m_connectEnabled = true;
    bool m_disconnectEnabled = false;
    bool m_dialling = false;
    Timer m_clock;
    Timer m_watch;
    Timer m_redial;
    // The second the clock last wrote.
    qint64 m_clockShownSecond = -1;
    TipHint m_tipHint = TipHint::Idle; // the line's part of the tray's tip, and the time
    QString m_tipTime;
    int m_newMail = 0;
    // A redial after a lost line is under way: its connection is announced as a reconnect.
    bool m_reconnecting = false;
    // From a dial's start to its hang-up.
    bool m_dialUnderWay = false;
    bool m_busyCountChanged = false; // since the counter was last set
};
