#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// The state codes the program relies on; the steps of a dial have codes of their own below.
namespace DialState {
constexpr int OpenPort = 0;
constexpr int PortOpened = 1;
constexpr int ConnectDevice = 2;
constexpr int DeviceConnected = 3;
constexpr int AllDevicesConnected = 4;
constexpr int Authenticate = 5;
constexpr int AuthProject = 10;
constexpr int Authenticated = 14;
constexpr int Projected = 18;
constexpr int Connected = 8192;
constexpr int Disconnected = 8193;

// Texts that end a dial without a line: the first for a busy line, the second for any other
// failure. Callers compare them literally.
inline const QString LineBusyText = QStringLiteral("Disconnected - Line Busy");
inline const QString FailedText = QStringLiteral("Disconnected");
// The line is down and no dial ended badly (never dialled, hung up, lost).
inline const QString IdleText = QStringLiteral("Not connected");
inline const QString HungUpText = QStringLiteral("Hung up");
inline const QString LostText = QStringLiteral("Connection lost");
} // namespace DialState

// What a dial asks for: a connection entry, or (with useLogon) a number with a user name and
// password of its own.
struct DialRequest {
    QString entry;
    bool useLogon = false;
    QString phoneNumber;
    QString logonName;
    QString logonPassword;
};

// The state of the line as the service reports it; valid at every moment.
struct LineStatus {
    int code = DialState::Disconnected;
    QString text = DialState::IdleText;
    // The entry the line was dialled for; empty for a dial with user settings.
    QString entry;
    bool connected = false;
    bool viaLogon = false;
    // Why a dial ended without a line, when the service knows better than its state text.
    QString reason;
};

// One dial-up service per program (NetworkManager, pppd or the simulated line); every mRAS
// sees the same line through it. Dialling returns at once: its steps arrive as stepped().
class DialUpService : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~DialUpService() override;

    // A short name for logs and the entry list ("networkmanager", "pppd", "simulated").
    virtual QString kind() const = 0;
    // Connection entries, in the order the user should see them.
    virtual QStringList entries() const = 0;
    // Reads the entries again from the platform.
    virtual void reload() { }
    virtual void dial(const DialRequest &request) = 0;
    // Ends the dial or the connection. A line that is already down keeps its state text (a
    // busy result stays readable after its hang-up).
    virtual void hangUp() = 0;
    virtual LineStatus status() const = 0;
    // Whether the line of `entry` is up. The default reads status(): a line dialled with user
    // settings, or an empty entry, stands for any entry. Services that can see several
    // connections at once answer for the entry itself.
    virtual bool isConnected(const QString &entry) const;

Q_SIGNALS:
    // Each step of a dial, with the step's value; status() already holds it.
    void stepped(int value);
    // A line came up or went down without a step (another program's connection, or our line
    // lost), so that what waits for a line need not poll for one.
    void linesChanged();
};
