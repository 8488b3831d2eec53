#include "support/privatebus.h"

#include "support/endprocess.h"

#include <QFile>
#include <QStandardPaths>
#include <QUuid>

namespace {
constexpr int kStartMs = 30000;
} // namespace

PrivateBus::~PrivateBus()
{
    stop();
}

QString PrivateBus::missing()
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty())
        return QStringLiteral("dbus-daemon is not installed");
    return {};
}

bool PrivateBus::start(QString *error)
{
    m_address = QStringLiteral("unix:path=") + m_dir.filePath(QStringLiteral("bus"));
    m_daemon.start(QStringLiteral("dbus-daemon"),
        {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
            QStringLiteral("--address=") + m_address, QStringLiteral("--print-address=1")});
    if (!m_daemon.waitForReadyRead(kStartMs)) {
        *error = QStringLiteral("dbus-daemon did not start: ") + m_daemon.errorString();
        return false;
    }
    m_bus = connect(QStringLiteral("test"));
    if (!m_bus.isConnected()) {
        *error = QStringLiteral("cannot connect to ") + m_address;
        return false;
    }
    return true;
}

QDBusConnection PrivateBus::connect(const QString &name)
{
    const QString unique = name + u'-' + QUuid::createUuid().toString(QUuid::Id128);
    m_connections << unique;
    return QDBusConnection::connectToBus(m_address, unique);
}

void PrivateBus::stop()
{
    for (const QString &name : std::exchange(m_connections, {}))
        QDBusConnection::disconnectFromBus(name);
    m_bus = QDBusConnection(QString());
    endProcess(m_daemon);
}

QString PrivateBus::dbusmockPython()
{
    static const QString found = [] {
        QStringList candidates{QStringLiteral("/usr/bin/python3")};
        candidates << QStandardPaths::findExecutable(QStringLiteral("python3"));
        for (const QString &candidate : std::as_const(candidates)) {
            if (candidate.isEmpty() || !QFile::exists(candidate))
                continue;
            QProcess probe;
            probe.start(candidate, {QStringLiteral("-c"), QStringLiteral("import dbusmock, gi")});
            if (probe.waitForFinished(kStartMs) && probe.exitStatus() == QProcess::NormalExit
                && probe.exitCode() == 0)
                return candidate;
        }
        return QString();
    }();
    return found;
}
