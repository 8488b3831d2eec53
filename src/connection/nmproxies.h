#pragma once

#include <QDBusAbstractInterface>
#include <QDBusObjectPath>
#include <QMap>
#include <QVariantMap>

// Thin proxies for the NetworkManager objects whose signals the line follows. Being
// QDBusAbstractInterface subclasses, their signals are wired to the bus when connected to, so
// the line connects them like any Qt signal.
namespace Nm {

inline const QString Service = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString ManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
inline const QString ManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString SettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");
inline const QString SettingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
inline const QString ConnectionInterface
    = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
inline const QString DeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
inline const QString ModemInterface = QStringLiteral("org.freedesktop.NetworkManager.Device.Modem");
inline const QString ActiveInterface
    = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
inline const QString ObjectManagerPath = QStringLiteral("/org/freedesktop");

// A connection profile's settings, a{sa{sv}} on the bus.
using SettingsMap = QMap<QString, QVariantMap>;
// Registers the D-Bus types above; safe to call more than once.
void registerTypes();

// Reads one property; an invalid QVariant when the object or property is not there.
QVariant property(
    const QDBusConnection &bus, const QString &path, const QString &interface, const QString &name);
QVariantMap allProperties(
    const QDBusConnection &bus, const QString &path, const QString &interface);
QStringList paths(const QVariant &objectPathList);

class DeviceProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    DeviceProxy(const QString &path, const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    void StateChanged(uint newState, uint oldState, uint reason);
};

class ActiveProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    ActiveProxy(const QString &path, const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    void StateChanged(uint state, uint reason);
};

class ObjectManagerProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    ObjectManagerProxy(const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    void InterfacesAdded(const QDBusObjectPath &path, const QMap<QString, QVariantMap> &interfaces);
    void InterfacesRemoved(const QDBusObjectPath &path, const QStringList &interfaces);
};

} // namespace Nm
