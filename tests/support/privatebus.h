#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QTemporaryDir>

// A dbus-daemon of the test's own, on a socket in a temporary folder, with a connection of
// the test to it. start() brings it up; the destructor ends it.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Why the bus cannot run here (dbus-daemon missing); empty when it can.
    static QString missing();
    // A python3 with python-dbusmock, for the mock services on such a bus; empty when none.
    static QString dbusmockPython();
    bool start(QString *error);
    void stop();

    QString address() const { return m_address; }
    QDBusConnection bus() const { return m_bus; }
    // A further connection of its own (another client, a server), closed with the bus.
    QDBusConnection connect(const QString &name);

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connections;
    QDBusConnection m_bus{QString()};
};
