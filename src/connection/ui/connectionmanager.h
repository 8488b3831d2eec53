#pragma once

#include <QCoro/QCoroTask>
#include <QObject>

#include <functional>

class AppContext;
class ConnectionTab;
class ImageList;
class Lumenpin;
class MenuTools;
class frmBrisvane;
struct ConnectionState;
class mRAS;

// What the line does to the parts of the program that live elsewhere. Each is optional: a
// hook that is not given does nothing.
struct LineHooks {
    std::function<void()> RunProgramswhenConnecting;
    std::function<void()> RunProgramswhenDisconnecting;
    // The mail check five seconds after the line came up; ends with the message count of the
    // last account it visited.
    std::function<QCoro::Task<int>()> checkMailAfterConnecting;
};

// The connection manager of the Customize dialog: dialling and hanging up, the line-state
// event, the busy redial, the line watch, the connected-time clock and the start-up detection
// of a line that is already up. It drives the dialog's dial-up control, timers and connection
// state, and the monitor's tray icon and menu tools.
class ConnectionManager : public QObject
{
    Q_OBJECT

public:
    struct Links {
        AppContext &context;
        frmBrisvane &dialog;
        Lumenpin &tray; // the monitor's tray icon
        const ImageList &frames; // the dialling animation
        MenuTools &menu;
    };

    explicit ConnectionManager(Links links, QObject *parent = nullptr);
    // Connects the dialog's tabs, once they are built.
    void attachTabs();

    LineHooks hooks;

    // Dialling and hanging up. The hang-ups wait (the lost-line blink, the pause after) as
    // coroutines: they end with false when the manager went away meanwhile.
    void cmdConnect_Click();
    // A hang-up the program asks for; the Disconnect button passes userPressed.
    QCoro::Task<bool> cmdDisconnect_Click(bool userPressed = false);
    void ShowConnect();
    // The tray's single-click hang-up, close to the one above but always ending the watch.
    QCoro::Task<bool> trayHangUp();

    // The line.
    QCoro::Task<> mRAS1_StateChanged(int value);
    void Timer1_Timer();
    QCoro::Task<> Timer3_Timer();
    QCoro::Task<> Timer4_Timer();
    void CheckConnection();

    // The tip the clock writes: the click hint, a blank and the connected time.
    static QString connectedTime(quint32 elapsedMs);

private:
    void promptForPhonebook();
    void dialSequence();
    void startClockOrStop();
    void setIdleTray();
    QCoro::Task<bool> blinkForLostLine();
    void setDialButtons(bool connectEnabled, bool disconnectEnabled);
    QCoro::Task<bool> afterHangUp();
    QCoro::Task<bool> redialWhenBusy();
    QCoro::Task<> checkMailAfterConnecting();
    void redialBusyLine();
    void onConnected();
    bool reconnectOptionSet() const;
    QString trayHint(const QString &singleClickHint) const;
    ConnectionState &state() const;
    ConnectionTab &tab() const;
    mRAS &ras() const;

    Links m_links;
    // What the clock last wrote: the second shown, and whether into the caption.
    qint64 m_clockShownSecond = -1;
    bool m_clockInCaption = false;
    // A redial after a lost line is under way: its connection is announced as a reconnect.
    bool m_reconnecting = false;
    // From a dial's start to its hang-up.
    bool m_dialUnderWay = false;
};
