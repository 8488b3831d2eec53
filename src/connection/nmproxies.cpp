#include "connection/nmproxies.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>

namespace Nm {

namespace {
constexpr int kCallTimeoutMs = 5000;
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
} // namespace

void registerTypes()
{
    qDBusRegisterMetaType<SettingsMap>();
}

QVariant property(
    const QDBusConnection &bus, const QString &path, const QString &interface, const QString &name)
{
    QDBusMessage call
        = QDBusMessage::createMethodCall(Service, path, PropertiesInterface, QStringLiteral("Get"));
    call << interface << name;
    const QDBusReply<QDBusVariant> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    return reply.isValid() ? reply.value().variant() : QVariant();
}

QVariantMap allProperties(const QDBusConnection &bus, const QString &path, const QString &interface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, path, PropertiesInterface, QStringLiteral("GetAll"));
    call << interface;
    const QDBusReply<QVariantMap> reply = bus.call(call, QDBus::Block, kCallTimeoutMs);
    return reply.isValid() ? reply.value() : QVariantMap();
}

QStringList paths(const QVariant &objectPathList)
{
    QList<QDBusObjectPath> list;
    if (objectPathList.canConvert<QDBusArgument>())
        objectPathList.value<QDBusArgument>() >> list;
    else
        list = objectPathList.value<QList<QDBusObjectPath>>();
    QStringList out;
    for (const QDBusObjectPath &path : std::as_const(list))
        out << path.path();
    return out;
}

DeviceProxy::DeviceProxy(const QString &path, const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(Service, path, DeviceInterface.toLatin1().constData(), bus, parent)
{ }

ActiveProxy::ActiveProxy(const QString &path, const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(Service, path, ActiveInterface.toLatin1().constData(), bus, parent)
{ }

ObjectManagerProxy::ObjectManagerProxy(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(
        Service, ObjectManagerPath, "org.freedesktop.DBus.ObjectManager", bus, parent)
{ }

} // namespace Nm
