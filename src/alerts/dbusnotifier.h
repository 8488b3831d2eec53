#pragma once

#include "alerts/notifier.h"

#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QHash>
#include <QStringList>

class QDBusPendingCallWatcher;
class QDBusServiceWatcher;

// The signals of the freedesktop notification service. Being a QDBusAbstractInterface, its
// signals are wired to the bus when connected to.
class NotificationsProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    static const QString Service;
    static const QString Path;
    static const QString Interface;

    explicit NotificationsProxy(const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

// The property changes of the notification server's object (its do-not-disturb).
class NotificationsPropertiesProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    explicit NotificationsPropertiesProxy(const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    void PropertiesChanged(
        const QString &interface, const QVariantMap &changed, const QStringList &invalidated);
};

// Sends notifications to org.freedesktop.Notifications on a bus (the session bus in the
// program). Every call is asynchronous: the server is asked once for its capabilities, and
// again whenever the name changes owner; until it has answered, notifications wait (a few at
// most), and where no server answers they are dropped. The id the server gives each
// notification is kept per tag, so a repeat replaces it (replaces_id); a closed one is
// forgotten.
class DBusNotifier : public Notifier
{
    Q_OBJECT

public:
    explicit DBusNotifier(const QDBusConnection &bus, QObject *parent = nullptr);
    ~DBusNotifier() override;

    void notify(const Notification &notification) override;
    void withdraw(const QString &tag) override;
    // The server's "Inhibited" property (org.freedesktop.Notifications) or dunst's "paused"
    // (org.dunstproject.cmd0), as last read: at the server's first answer, after each
    // notification, and whenever the server says it changed.
    bool doNotDisturb() const override { return m_inhibited || m_paused; }

    enum class Server { Asking, Present, Absent };
    Server server() const { return m_server; }
    QStringList capabilities() const { return m_capabilities; }
    // The id the server gave the notification of `tag` still on screen; 0 when none.
    uint idOf(const QString &tag) const { return m_ids.value(tag, 0); }

Q_SIGNALS:
    // The server's state changed: it answered, it left, or it could not be reached.
    void serverChanged(DBusNotifier::Server server);

private:
    void askServer();
    void onCapabilities(QDBusPendingCallWatcher *reply, quint64 generation);
    void onOwnerChanged(const QString &newOwner);
    void setServer(Server server);
    void send(const Notification &notification);
    QString tagOf(uint id) const;
    void askDoNotDisturb();
    void takeProperty(const QString &interface, const QString &name, const QVariant &value);

    QDBusConnection m_bus;
    NotificationsProxy *m_proxy = nullptr;
    NotificationsPropertiesProxy *m_properties = nullptr;
    bool m_inhibited = false;
    bool m_paused = false;
    QDBusServiceWatcher *m_watcher = nullptr;
    Server m_server = Server::Asking;
    QStringList m_capabilities;
    QList<Notification> m_waiting;
    QHash<QString, uint> m_ids; // tag -> id of the notification on screen
    quint64 m_generation = 0; // which question a capabilities reply answers
};
