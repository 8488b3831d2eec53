#pragma once

#include "connection/dialupservice.h"

#include <QDBusConnection>
#include <QHash>
#include <QList>

class QDBusPendingCallWatcher;

namespace Nm {
class ActiveProxy;
class DeviceProxy;
class ObjectManagerProxy;
} // namespace Nm

// The line through NetworkManager: the entries are its connection profiles, a dial activates
// one and a hang-up deactivates it. A dial with user settings adds and activates a temporary
// (volatile, never saved) gsm or cdma profile with the number and credentials on a modem that
// can dial, and removes it when the line ends. The steps come from the signals of the activated
// connection and of its device, translated by NmMapping. The bus is given, so that tests can
// bring a private one.
class NetworkManagerLine : public DialUpService
{
    Q_OBJECT

public:
    explicit NetworkManagerLine(const QDBusConnection &bus, QObject *parent = nullptr);
    ~NetworkManagerLine() override;

    // Whether NetworkManager is running on `bus`.
    static bool answers(const QDBusConnection &bus);

    QString kind() const override { return QStringLiteral("networkmanager"); }
    QStringList entries() const override;
    void reload() override;
    void dial(const DialRequest &request) override;
    void hangUp() override;
    LineStatus status() const override { return m_status; }
    bool isConnected(const QString &entry) const override;
    // The device's IP interface, read when the line came up.
    QString interfaceName() const override { return m_status.connected ? m_interface : QString(); }

private:
    struct Profile {
        QString path;
        QString id;
        QString type;
    };
    struct Active {
        QString id;
        uint state = 0;
        Nm::ActiveProxy *proxy = nullptr;
    };

    void loadProfiles();
    void loadDevices();
    void loadActive();
    void showLineAlreadyUp();
    const Profile *profileNamed(const QString &id) const;
    void track(const QString &path, const QVariantMap &properties);
    void untrack(const QString &path);
    void watchDevice(const QString &path);
    void dropDevice();

    // A dial with user settings: a temporary profile on a modem that can dial a number.
    void dialNumber(const DialRequest &request);
    // The first modem device that can dial a number, with the profile type it dials with.
    std::pair<QString, QString> dialingModem() const;
    void removeTemporaryProfile();
    void onActivationReply(const QString &activePath, quint64 dialId);
    void onDeviceState(uint newState, uint oldState, uint reason);
    void onActiveState(const QString &path, uint state);
    void onInterfacesAdded(const QString &path, const QMap<QString, QVariantMap> &interfaces);
    void onInterfacesRemoved(const QString &path);
    uint deviceReason() const;

    bool dialling() const { return m_live && !m_status.connected; }
    void step(int code, const QString &text);
    void lineUp();
    void endDial(const QString &text);
    void lineLost();

    QDBusConnection m_bus;
    Nm::ObjectManagerProxy *m_objects = nullptr;
    QList<Profile> m_profiles;
    // Which device can carry a profile, by profile path.
    QHash<QString, QString> m_deviceFor;
    // Every active connection NetworkManager reports, by path.
    QHash<QString, Active> m_active;

    // The dial in progress, or the line it brought up while m_live.
    quint64 m_dialId = 0;
    bool m_live = false;
    QString m_activePath;
    // The profile added for a dial with user settings; removed when the line ends.
    QString m_temporaryProfile;
    Nm::DeviceProxy *m_device = nullptr;
    // The interface the device's line runs over (ppp0, wwan0), while the line is up.
    QString m_interface;
    // The device has begun on this dial (it may first end what it carried before).
    bool m_deviceStarted = false;
    LineStatus m_status;
};
