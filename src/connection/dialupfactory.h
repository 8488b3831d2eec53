#pragma once

#include <QDBusConnection>
#include <QString>

#include <memory>

class DialUpService;
class SettingsStore;

namespace DialUpFactory {

// Where the services look: the system bus for NetworkManager, the pppd peers folder and the
// modem for a dial with user settings. Tests bring a private bus and folders of their own.
struct Platform {
    QDBusConnection bus = QDBusConnection::systemBus();
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    QString modem = QStringLiteral("/dev/ttyS0");
};

// The service named by the "DialUp"/"Service" setting: "networkmanager", "pppd", "simulated",
// or "auto" (the default): NetworkManager when it answers on the system bus, else pppd when it
// has peers, else the simulated line. The modem is the "DialUp"/"Modem" setting.
std::unique_ptr<DialUpService> create(const SettingsStore &settings, Clock &clock);
std::unique_ptr<DialUpService> create(const QString &kind, Clock &clock);
std::unique_ptr<DialUpService> create(const QString &kind, Clock &clock, const Platform &platform);
} // namespace DialUpFactory
