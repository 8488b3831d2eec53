#include "nmmockbus.h"

#include "connection/nmproxies.h"
#include "support/endprocess.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QStandardPaths>
#include <QTest>
#include <QUuid>

namespace {
const QString MockInterface = QStringLiteral("org.freedesktop.DBus.Mock");
const QString MainPath = QStringLiteral("/org/freedesktop");
constexpr int kStartMs = 30000;
} // namespace

NmMockBus::~NmMockBus()
{
    stop();
}

QString NmMockBus::missing()
{
    if (const QString why = PrivateBus::missing(); !why.isEmpty())
        return why;
    if (PrivateBus::dbusmockPython().isEmpty())
        return QStringLiteral("no python3 with the dbusmock module");
    return {};
}

bool NmMockBus::start(QString *error)
{
    Nm::registerTypes();
    if (!m_private.start(error))
        return false;
    m_address = m_private.address();
    m_bus = m_private.bus();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_address);
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    m_mock.setProcessEnvironment(env);
    m_mock.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_mock.start(PrivateBus::dbusmockPython(),
        {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("-t"),
            QStringLiteral("networkmanager")});
    const bool up = QTest::qWaitFor(
        [this] {
            return m_mock.state() == QProcess::NotRunning
                || m_bus.interface()->isServiceRegistered(Nm::Service).value();
        },
        kStartMs);
    if (!up || m_mock.state() == QProcess::NotRunning) {
        *error = QStringLiteral("the NetworkManager mock did not come up on ") + m_address;
        return false;
    }
    return true;
}

void NmMockBus::stop()
{
    endProcess(m_mock);
    m_private.stop();
}

QDBusMessage NmMockBus::call(
    const QString &path, const QString &interface, const QString &method, const QVariantList &args)
{
    QDBusMessage message = QDBusMessage::createMethodCall(Nm::Service, path, interface, method);
    message.setArguments(args);
    return m_bus.call(message, QDBus::Block, 10000);
}

QDBusMessage NmMockBus::mock(const QString &path, const QString &method, const QVariantList &args)
{
    return call(path, MockInterface, method, args);
}

QString NmMockBus::addEthernetDevice(const QString &name)
{
    const QDBusReply<QString> path
        = mock(MainPath, QStringLiteral("AddEthernetDevice"), {name, name, 30});
    return path.value();
}

// The template knows wired and Wi-Fi devices only: a wired one made over into a modem.
QString NmMockBus::addModemDevice(const QString &name, uint capabilities)
{
    const QString path = addEthernetDevice(name);
    mock(path, QStringLiteral("UpdateProperties"),
        {Nm::DeviceInterface, QVariantMap{{QStringLiteral("DeviceType"), 8u}}});
    mock(path, QStringLiteral("AddProperties"),
        {QStringLiteral("org.freedesktop.NetworkManager.Device.Modem"),
            QVariantMap{{QStringLiteral("ModemCapabilities"), capabilities},
                {QStringLiteral("CurrentCapabilities"), capabilities}}});
    return path;
}

void NmMockBus::acceptAddAndActivate2()
{
    mock(Nm::ManagerPath, QStringLiteral("AddMethod"),
        {Nm::ManagerInterface, QStringLiteral("AddAndActivateConnection2"),
            QStringLiteral("a{sa{sv}}ooa{sv}"), QStringLiteral("ooa{sv}"),
            QStringLiteral("conn = self.SettingsAddConnection(args[0])\n"
                           "ret = (dbus.ObjectPath(conn), "
                           "self.activate_connection(self, conn, args[1], '/'), "
                           "dbus.Dictionary({}, signature='sv'))")});
}

QString NmMockBus::addProfile(const QString &id, const QString &type)
{
    Nm::SettingsMap settings;
    settings.insert(QStringLiteral("connection"),
        {{QStringLiteral("id"), id}, {QStringLiteral("type"), type},
            {QStringLiteral("uuid"), QUuid::createUuid().toString(QUuid::WithoutBraces)}});
    const QDBusReply<QDBusObjectPath> path = call(Nm::SettingsPath, Nm::SettingsInterface,
        QStringLiteral("AddConnection"), {QVariant::fromValue(settings)});
    return path.value().path();
}

void NmMockBus::makeAvailable(const QString &device, const QStringList &profiles)
{
    QList<QDBusObjectPath> paths;
    for (const QString &profile : profiles)
        paths << QDBusObjectPath(profile);
    const QVariantMap properties{
        {QStringLiteral("AvailableConnections"), QVariant::fromValue(paths)}};
    mock(device, QStringLiteral("UpdateProperties"), {Nm::DeviceInterface, properties});
}

QString NmMockBus::activate(const QString &profile, const QString &device)
{
    const QDBusReply<QDBusObjectPath> active
        = call(Nm::ManagerPath, Nm::ManagerInterface, QStringLiteral("ActivateConnection"),
            {QVariant::fromValue(QDBusObjectPath(profile)),
                QVariant::fromValue(QDBusObjectPath(device)),
                QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))});
    return active.value().path();
}

QStringList NmMockBus::activeConnections()
{
    return Nm::paths(Nm::property(
        m_bus, Nm::ManagerPath, Nm::ManagerInterface, QStringLiteral("ActiveConnections")));
}

void NmMockBus::holdActivations()
{
    mock(Nm::ManagerPath, QStringLiteral("AddMethod"),
        {Nm::ManagerInterface, QStringLiteral("ActivateConnection"), QStringLiteral("ooo"),
            QStringLiteral("o"),
            QStringLiteral("ret = self.AddActiveConnection([], args[0], '/', 'held', "
                           "dbus.UInt32(1))")});
}

void NmMockBus::emitDeviceState(const QString &device, uint newState, uint oldState, uint reason)
{
    const QVariantList values{QVariant::fromValue(QDBusVariant(newState)),
        QVariant::fromValue(QDBusVariant(oldState)), QVariant::fromValue(QDBusVariant(reason))};
    mock(device, QStringLiteral("EmitSignal"),
        {Nm::DeviceInterface, QStringLiteral("StateChanged"), QStringLiteral("uuu"), values});
}

void NmMockBus::setDeviceStateReason(const QString &device, uint state, uint reason)
{
    QDBusArgument pair;
    pair.beginStructure();
    pair << state << reason;
    pair.endStructure();
    mock(device, QStringLiteral("UpdateProperties"),
        {Nm::DeviceInterface,
            QVariantMap{{QStringLiteral("StateReason"), QVariant::fromValue(pair)}}});
}
