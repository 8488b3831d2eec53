#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A dbus-daemon of the test's own, on a socket in a temporary folder; the destructor ends it.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    // Why no daemon can run here (dbus-daemon missing); empty when it can.
    static QString missing();
    // Starts the daemon; false (with `error`) when it did not come up.
    bool start(QString *error);
    void stop();
    QString address() const { return m_address; }

private:
    QTemporaryDir m_dir;
    QProcess m_daemon;
    QString m_address;
};
