#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Debian's NetworkManager for real, on a private system bus, managing one end of a veth pair
// in the network namespace the test runs in (tests/connection/in_private_netns.sh makes it).
// The other end is the far side of the line: down and up, it takes the carrier away and back.
// Nothing of the machine's own bus, daemons or interfaces is touched.
class RealNetworkManager
{
public:
    static constexpr const char *Device = "bvane0";
    static constexpr const char *FarEnd = "bvpeer0";
    // The connection entry: a profile on the veth with autoconnect off.
    static constexpr const char *Profile = "Brisvane veth";

    // With `waitsForCarrier` false, NetworkManager takes the line down as soon as the carrier
    // goes; else after its own default wait.
    explicit RealNetworkManager(bool waitsForCarrier = true)
        : m_waitsForCarrier(waitsForCarrier)
    { }
    ~RealNetworkManager();
    RealNetworkManager(const RealNetworkManager &) = delete;
    RealNetworkManager &operator=(const RealNetworkManager &) = delete;

    // Why it cannot run here; empty when it can.
    static QString missing();
    // Brings up the bus, udevd and NetworkManager; false with `error` when one did not come.
    bool start(QString *error);
    // The private system bus; DBUS_SYSTEM_BUS_ADDRESS points at it once started.
    QDBusConnection bus() const { return m_bus; }
    // Takes the far end of the veth down or up (the carrier of our end follows).
    bool setFarEndUp(bool up);
    // The ids of the connections NetworkManager has active.
    QStringList activeIds() const;
    // NetworkManager's own log, for failure messages.
    QString log() const;

private:
    static QString findUdevd();
    static bool run(const QString &program, const QStringList &arguments, QString *error);
    bool writeFiles(QString *error);
    bool startDaemon(QProcess &process, const QString &program, const QStringList &arguments,
        const QString &logName, QString *error);
    bool waitForManagedDevice();
    void stop();

    bool m_waitsForCarrier;
    QTemporaryDir m_dir;
    QProcess m_busDaemon;
    QProcess m_udevd;
    QProcess m_nm;
    QString m_connectionName;
    QDBusConnection m_bus{QString()};
};
