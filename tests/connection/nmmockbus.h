#pragma once

#include "support/privatebus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QTemporaryDir>
#include <QVariantList>

// A private bus with python-dbusmock's NetworkManager template on it, for the tests of the
// NetworkManager line. start() brings both up; the destructor ends them.
class NmMockBus
{
public:
    NmMockBus() = default;
    ~NmMockBus();
    NmMockBus(const NmMockBus &) = delete;
    NmMockBus &operator=(const NmMockBus &) = delete;

    // Why the fixture cannot run here (a binary or module missing); empty when it can.
    static QString missing();
    // Starts dbus-daemon and the mock; false (with `error`) when either did not come up.
    bool start(QString *error);
    QDBusConnection bus() const { return m_bus; }
    QString address() const { return m_address; }

    // Calls `method` of `interface` on the object at `path`; the reply or an error message.
    QDBusMessage call(const QString &path, const QString &interface, const QString &method,
        const QVariantList &args = {});
    // Calls one of the mock's own methods (interface org.freedesktop.DBus.Mock).
    QDBusMessage mock(const QString &path, const QString &method, const QVariantList &args = {});

    QString addEthernetDevice(const QString &name);
    // A modem device with these ModemCapabilities (NmMapping::ModemCapability bits).
    QString addModemDevice(const QString &name, uint capabilities);
    // Gives the mock NetworkManager's AddAndActivateConnection2: the profile is added (its
    // options are not looked at) and activated on the device at once.
    void acceptAddAndActivate2();
    // A connection profile with this id and type; returns its path.
    QString addProfile(const QString &id, const QString &type);
    // Lets `device` carry `profiles` (its AvailableConnections).
    void makeAvailable(const QString &device, const QStringList &profiles);
    // Activates the way NetworkManager's own tools would; returns the active connection.
    QString activate(const QString &profile, const QString &device);
    QStringList activeConnections();
    // Makes activation leave the connection activating, for the test to drive the device.
    void holdActivations();
    // Sets the device's StateReason property, as NetworkManager does before it signals.
    void setDeviceStateReason(const QString &device, uint state, uint reason);
    void emitDeviceState(const QString &device, uint newState, uint oldState, uint reason);

private:
    void stop();

    PrivateBus m_private;
    QProcess m_mock;
    QString m_address;
    QDBusConnection m_bus{QString()};
};
