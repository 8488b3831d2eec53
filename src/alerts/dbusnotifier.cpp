#include "alerts/dbusnotifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QVariantMap>

namespace {
// A server that takes longer than this is taken as absent (until it changes owner).
constexpr int kCallTimeoutMs = 5000;
// Notifications kept while the server has not answered yet; older ones make way.
constexpr int kMostWaiting = 8;
const QString kAppName = QStringLiteral("Brisvane");
} // namespace

const QString NotificationsProxy::Service = QStringLiteral("org.freedesktop.Notifications");
const QString NotificationsProxy::Path = QStringLiteral("/org/freedesktop/Notifications");
const QString NotificationsProxy::Interface = QStringLiteral("org.freedesktop.Notifications");

// No service name: with one, the proxy would ask the bus for the name's owner and wait for the
// answer. Only notification servers send these signals on this path.
NotificationsProxy::NotificationsProxy(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(QString(), Path, "org.freedesktop.Notifications", bus, parent)
{ }

NotificationsPropertiesProxy::NotificationsPropertiesProxy(
    const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(
        QString(), NotificationsProxy::Path, "org.freedesktop.DBus.Properties", bus, parent)
{ }

namespace {
const QString kDunst = QStringLiteral("org.dunstproject.cmd0");
const QString kInhibited = QStringLiteral("Inhibited");
const QString kPaused = QStringLiteral("paused");
} // namespace

DBusNotifier::DBusNotifier(const QDBusConnection &bus, QObject *parent)
    : Notifier(parent)
    , m_bus(bus)
    , m_proxy(new NotificationsProxy(bus, this))
    , m_properties(new NotificationsPropertiesProxy(bus, this))
    , m_watcher(new QDBusServiceWatcher(
          NotificationsProxy::Service, bus, QDBusServiceWatcher::WatchForOwnerChange, this))
{
    connect(m_proxy, &NotificationsProxy::ActionInvoked, this, [this](uint id, const QString &key) {
        const QString tag = tagOf(id);
        if (!tag.isNull())
            Q_EMIT actionInvoked(tag, key);
    });
    connect(m_proxy, &NotificationsProxy::NotificationClosed, this,
        [this](uint id, uint) { m_ids.remove(tagOf(id)); });
    connect(m_properties, &NotificationsPropertiesProxy::PropertiesChanged, this,
        [this](const QString &interface, const QVariantMap &changed, const QStringList &) {
            for (auto it = changed.cbegin(); it != changed.cend(); ++it)
                takeProperty(interface, it.key(), it.value());
        });
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
        [this](const QString &, const QString &, const QString &newOwner) {
            onOwnerChanged(newOwner);
        });
    askServer();
}

DBusNotifier::~DBusNotifier() = default;

// GetCapabilities also starts a server the bus can activate.
void DBusNotifier::askServer()
{
    const quint64 generation = ++m_generation;
    setServer(Server::Asking);
    const QDBusMessage call = QDBusMessage::createMethodCall(NotificationsProxy::Service,
        NotificationsProxy::Path, NotificationsProxy::Interface, QStringLiteral("GetCapabilities"));
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this,
        [this, generation](QDBusPendingCallWatcher *w) { onCapabilities(w, generation); });
}

void DBusNotifier::onCapabilities(QDBusPendingCallWatcher *reply, quint64 generation)
{
    reply->deleteLater();
    if (generation != m_generation)
        return; // the owner changed meanwhile; a newer question is out
    const QDBusPendingReply<QStringList> answer = *reply;
    if (answer.isError()) {
        m_waiting.clear();
        setServer(Server::Absent);
        return;
    }
    m_capabilities = answer.value();
    setServer(Server::Present);
    askDoNotDisturb();
    for (const Notification &waiting : std::exchange(m_waiting, {}))
        send(waiting);
}

void DBusNotifier::onOwnerChanged(const QString &newOwner)
{
    // Ids belong to the server that gave them.
    m_ids.clear();
    m_capabilities.clear();
    m_inhibited = m_paused = false;
    if (newOwner.isEmpty()) {
        ++m_generation;
        m_waiting.clear();
        setServer(Server::Absent);
    } else {
        askServer();
    }
}

void DBusNotifier::setServer(Server server)
{
    if (std::exchange(m_server, server) != server)
        Q_EMIT serverChanged(server);
}

void DBusNotifier::notify(const Notification &notification)
{
    switch (m_server) {
    case Server::Present: send(notification); break;
    case Server::Asking:
        if (m_waiting.size() >= kMostWaiting)
            m_waiting.removeFirst();
        m_waiting.append(notification);
        break;
    case Server::Absent: break;
    }
}

// CloseNotification; one still waiting for the server is simply not sent.
void DBusNotifier::withdraw(const QString &tag)
{
    m_waiting.removeIf([&tag](const Notification &n) { return n.tag == tag; });
    const uint id = m_ids.take(tag);
    if (id == 0 || m_server != Server::Present)
        return;
    QDBusMessage call
        = QDBusMessage::createMethodCall(NotificationsProxy::Service, NotificationsProxy::Path,
            NotificationsProxy::Interface, QStringLiteral("CloseNotification"));
    call << id;
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(reply, &QDBusPendingCallWatcher::finished, reply, &QObject::deleteLater);
}

void DBusNotifier::send(const Notification &n)
{
    QStringList actions;
    if (m_capabilities.contains(QStringLiteral("actions"))) {
        for (const Action &action : n.actions)
            actions << action.key << action.label;
    }
    QVariantMap hints{{QStringLiteral("urgency"), QVariant::fromValue(uchar(n.urgency))}};
    if (!n.category.isEmpty())
        hints.insert(QStringLiteral("category"), n.category);
    // Servers that read markup in the body would take "<a@b>" for a tag.
    const bool markup = m_capabilities.contains(QStringLiteral("body-markup"));
    QDBusMessage call = QDBusMessage::createMethodCall(NotificationsProxy::Service,
        NotificationsProxy::Path, NotificationsProxy::Interface, QStringLiteral("Notify"));
    call << kAppName << m_ids.value(n.tag, 0) << n.icon << n.summary
         << (markup ? n.body.toHtmlEscaped() : n.body) << actions << hints << qint32(-1);
    auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(reply, &QDBusPendingCallWatcher::finished, this,
        [this, tag = n.tag, generation = m_generation](QDBusPendingCallWatcher *w) {
            w->deleteLater();
            const QDBusPendingReply<uint> id = *w;
            if (generation == m_generation && id.isValid())
                m_ids.insert(tag, id.value());
        });
    // A server that says nothing of its changes (dunst's pause) is read again each time.
    askDoNotDisturb();
}

// Servers without either property answer with an error, which leaves the value off.
void DBusNotifier::askDoNotDisturb()
{
    for (const auto &[interface, name] :
        {std::pair{NotificationsProxy::Interface, kInhibited}, {kDunst, kPaused}}) {
        QDBusMessage call
            = QDBusMessage::createMethodCall(NotificationsProxy::Service, NotificationsProxy::Path,
                QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
        call << interface << name;
        auto *reply = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
        connect(reply, &QDBusPendingCallWatcher::finished, this,
            [this, interface, name, generation = m_generation](QDBusPendingCallWatcher *w) {
                w->deleteLater();
                const QDBusPendingReply<QDBusVariant> value = *w;
                if (generation == m_generation && value.isValid())
                    takeProperty(interface, name, value.value().variant());
            });
    }
}

void DBusNotifier::takeProperty(
    const QString &interface, const QString &name, const QVariant &value)
{
    if (interface == NotificationsProxy::Interface && name == kInhibited)
        m_inhibited = value.toBool();
    else if (interface == kDunst && name == kPaused)
        m_paused = value.toBool();
}

QString DBusNotifier::tagOf(uint id) const
{
    for (auto it = m_ids.cbegin(); it != m_ids.cend(); ++it) {
        if (it.value() == id)
            return it.key();
    }
    return {};
}
