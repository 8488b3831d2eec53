#include "realnetworkmanager.h"

#include "connection/nmproxies.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTest>

namespace {
constexpr int kStartMs = 60000;

// A system bus of our own: anyone may own any name and talk to anyone.
const char *const kBusConfig = R"XML(<!DOCTYPE busconfig PUBLIC
 "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_type="method_return"/>
    <allow send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="signal"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
  </policy>
</busconfig>
)XML";

// Keyfile profiles from our folder only; nothing done to DNS, the host name or other devices.
const char *const kNmConfig = R"INI([main]
plugins=keyfile
auth-polkit=false
no-auto-default=*
dns=none
rc-manager=unmanaged
hostname-mode=none
[keyfile]
path=%1
unmanaged-devices=except:interface-name:bvane0
[logging]
level=INFO
domains=DEVICE,CORE
)INI";
// Appended for a row that does not wait for a carrier that went (NetworkManager waits some
// seconds by default before it takes the line down).
const char *const kNoCarrierWait = R"INI([device]
match-device=interface-name:bvane0
carrier-wait-timeout=0
)INI";

const char *const kProfile = R"INI([connection]
id=Brisvane veth
uuid=6b1d4c5e-3d7a-4b8e-9f2a-0c1d2e3f4a5b
type=ethernet
interface-name=bvane0
autoconnect=false
[ethernet]
[ipv4]
method=manual
address1=10.77.0.1/24
[ipv6]
method=ignore
)INI";
} // namespace

RealNetworkManager::~RealNetworkManager()
{
    stop();
}

QString RealNetworkManager::findUdevd()
{
    for (const char *path : {"/lib/systemd/systemd-udevd", "/usr/lib/systemd/systemd-udevd"}) {
        if (QFile::exists(QLatin1String(path)))
            return QLatin1String(path);
    }
    return {};
}

QString RealNetworkManager::missing()
{
    if (qEnvironmentVariable("BVANE_PRIVATE_NETNS") != QLatin1String("1"))
        return QStringLiteral("not inside the private namespaces of in_private_netns.sh");
    const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};
    for (const QString &program : {QStringLiteral("NetworkManager"), QStringLiteral("ip")}) {
        if (QStandardPaths::findExecutable(program, sbin).isEmpty()
            && QStandardPaths::findExecutable(program).isEmpty())
            return program + QStringLiteral(" is not installed");
    }
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        return QStringLiteral("dbus-daemon is not installed");
    if (findUdevd().isEmpty()
        || QStandardPaths::findExecutable(QStringLiteral("udevadm")).isEmpty())
        return QStringLiteral("systemd-udevd is not installed (Debian's udev)");
    return {};
}

bool RealNetworkManager::run(const QString &program, const QStringList &arguments, QString *error)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (process.waitForFinished(kStartMs) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0)
        return true;
    *error = program + u' ' + arguments.join(u' ') + QStringLiteral(" failed: ")
        + QString::fromLocal8Bit(process.readAll()) + process.errorString();
    return false;
}

bool RealNetworkManager::writeFiles(QString *error)
{
    const auto write = [this](const QString &name, const QByteArray &text) {
        QFile file(m_dir.filePath(name));
        return file.open(QIODevice::WriteOnly, QFile::ReadOwner | QFile::WriteOwner)
            && file.write(text) == text.size();
    };
    const QString connections = m_dir.filePath(QStringLiteral("system-connections"));
    const bool written = QDir(m_dir.path()).mkpath(QStringLiteral("system-connections"))
        && QDir(m_dir.path()).mkpath(QStringLiteral("conf.d"))
        && write(QStringLiteral("bus.conf"),
            QString::fromLatin1(kBusConfig).arg(m_dir.filePath(QStringLiteral("bus"))).toUtf8())
        && write(QStringLiteral("NetworkManager.conf"),
            QString::fromLatin1(kNmConfig).arg(connections).toUtf8()
                + (m_waitsForCarrier ? QByteArray() : QByteArray(kNoCarrierWait)))
        && write(QStringLiteral("system-connections/bvane.nmconnection"), kProfile);
    if (!written)
        *error = QStringLiteral("cannot write the configuration in ") + m_dir.path();
    return written;
}

bool RealNetworkManager::startDaemon(QProcess &process, const QString &program,
    const QStringList &arguments, const QString &logName, QString *error)
{
    process.setStandardOutputFile(m_dir.filePath(logName));
    process.setStandardErrorFile(m_dir.filePath(logName), QIODevice::Append);
    process.start(program, arguments);
    if (process.waitForStarted(kStartMs))
        return true;
    *error = program + QStringLiteral(" did not start: ") + process.errorString();
    return false;
}

bool RealNetworkManager::start(QString *error)
{
    Nm::registerTypes();
    const QString ip = QStringLiteral("ip");
    if (!m_dir.isValid() || !writeFiles(error)
        || !run(ip,
            {QStringLiteral("link"), QStringLiteral("add"), QLatin1String(Device),
                QStringLiteral("type"), QStringLiteral("veth"), QStringLiteral("peer"),
                QStringLiteral("name"), QLatin1String(FarEnd)},
            error)
        || !setFarEndUp(true))
        return false;
    const QString address = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
    if (!startDaemon(m_busDaemon, QStringLiteral("dbus-daemon"),
            {QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                QStringLiteral("--config-file=") + m_dir.filePath(QStringLiteral("bus.conf"))},
            QStringLiteral("dbus.log"), error))
        return false;
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", address.toUtf8());
    m_connectionName = QStringLiteral("real-nm");
    const bool connected = QTest::qWaitFor(
        [&] {
            m_bus = QDBusConnection::connectToBus(address, m_connectionName);
            if (!m_bus.isConnected())
                QDBusConnection::disconnectFromBus(m_connectionName);
            return m_bus.isConnected();
        },
        kStartMs);
    if (!connected) {
        *error = QStringLiteral("the private system bus did not come up");
        return false;
    }
    // udevd with the private /run settles the veth pair before NetworkManager looks. Debian's
    // NetworkManager leaves veth devices alone by a udev rule (they are usually a container's);
    // a rule of the same name in the private /run/udev/rules.d takes its place.
    QDir().mkpath(QStringLiteral("/run/udev/rules.d"));
    QFile override(QStringLiteral("/run/udev/rules.d/85-nm-unmanaged.rules"));
    if (!override.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("cannot write /run/udev/rules.d in the private /run");
        return false;
    }
    override.close();
    if (!startDaemon(m_udevd, findUdevd(), {}, QStringLiteral("udevd.log"), error)
        || !QTest::qWaitFor(
            [] { return QFile::exists(QStringLiteral("/run/udev/control")); }, kStartMs)
        || !run(QStringLiteral("udevadm"),
            {QStringLiteral("trigger"), QStringLiteral("--action=add"),
                QStringLiteral("--subsystem-match=net")},
            error)
        || !run(QStringLiteral("udevadm"),
            {QStringLiteral("settle"), QStringLiteral("--timeout=30")}, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("systemd-udevd did not come up");
        return false;
    }
    QString nm = QStandardPaths::findExecutable(
        QStringLiteral("NetworkManager"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), address);
    m_nm.setProcessEnvironment(env);
    if (!startDaemon(m_nm, nm,
            {QStringLiteral("--no-daemon"), QStringLiteral("--debug"),
                QStringLiteral("--config=") + m_dir.filePath(QStringLiteral("NetworkManager.conf")),
                QStringLiteral("--config-dir=") + m_dir.filePath(QStringLiteral("conf.d")),
                QStringLiteral("--state-file=") + m_dir.filePath(QStringLiteral("nm.state")),
                QStringLiteral("--pid-file=") + m_dir.filePath(QStringLiteral("nm.pid"))},
            QStringLiteral("nm.log"), error))
        return false;
    if (!waitForManagedDevice()) {
        *error = QStringLiteral("NetworkManager did not take %1 over:\n").arg(QLatin1String(Device))
            + log();
        return false;
    }
    return true;
}

// Up once NetworkManager owns its name and holds the veth as a device ready for the profile.
bool RealNetworkManager::waitForManagedDevice()
{
    return QTest::qWaitFor(
               [this] {
                   if (m_nm.state() == QProcess::NotRunning)
                       return true;
                   const QDBusReply<QList<QDBusObjectPath>> devices
                       = m_bus.call(QDBusMessage::createMethodCall(Nm::Service, Nm::ManagerPath,
                           Nm::ManagerInterface, QStringLiteral("GetDevices")));
                   for (const QDBusObjectPath &device : devices.value()) {
                       const QString name = Nm::property(
                           m_bus, device.path(), Nm::DeviceInterface, QStringLiteral("Interface"))
                                                .toString();
                       const uint state = Nm::property(
                           m_bus, device.path(), Nm::DeviceInterface, QStringLiteral("State"))
                                              .toUInt();
                       if (name == QLatin1String(Device) && state >= 30)
                           return true;
                   }
                   return false;
               },
               kStartMs)
        && m_nm.state() == QProcess::Running;
}

bool RealNetworkManager::setFarEndUp(bool up)
{
    QString error;
    const bool done = run(QStringLiteral("ip"),
        {QStringLiteral("link"), QStringLiteral("set"), QLatin1String(FarEnd),
            up ? QStringLiteral("up") : QStringLiteral("down")},
        &error);
    if (!done)
        qWarning("%s", qPrintable(error));
    return done;
}

QStringList RealNetworkManager::activeIds() const
{
    QStringList ids;
    const QStringList active = Nm::paths(Nm::property(
        m_bus, Nm::ManagerPath, Nm::ManagerInterface, QStringLiteral("ActiveConnections")));
    for (const QString &path : active)
        ids << Nm::property(m_bus, path, Nm::ActiveInterface, QStringLiteral("Id")).toString();
    return ids;
}

QString RealNetworkManager::log() const
{
    QFile file(m_dir.filePath(QStringLiteral("nm.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll().right(4000))
                                          : QString();
}

void RealNetworkManager::stop()
{
    if (!m_connectionName.isEmpty())
        QDBusConnection::disconnectFromBus(m_connectionName);
    for (QProcess *process : {&m_nm, &m_udevd, &m_busDaemon}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(10000)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
    // The namespace goes with the test; the pair is removed all the same.
    QProcess::execute(QStringLiteral("ip"),
        {QStringLiteral("link"), QStringLiteral("del"), QLatin1String(Device)});
}
