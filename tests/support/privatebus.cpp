#include "support/privatebus.h"

#include "support/endprocess.h"

#include <QStandardPaths>

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
    return true;
}

void PrivateBus::stop()
{
    endProcess(m_daemon);
}
