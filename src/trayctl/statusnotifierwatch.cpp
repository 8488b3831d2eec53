#include "trayctl/statusnotifierwatch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>

StatusNotifierWatcherProxy::StatusNotifierWatcherProxy(const QDBusConnection &bus, QObject *parent)
    : QDBusAbstractInterface(Service, Path, Service, bus, parent)
{ }

StatusNotifierHostWatch::StatusNotifierHostWatch(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , m_bus(bus)
{
    if (!m_bus.isConnected()) {
        m_answered = true; // no session bus: no StatusNotifier host either
        return;
    }
    auto *service
        = new QDBusServiceWatcher(QString::fromLatin1(StatusNotifierWatcherProxy::Service), m_bus,
            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(service, &QDBusServiceWatcher::serviceRegistered, this, &StatusNotifierHostWatch::ask);
    connect(service, &QDBusServiceWatcher::serviceUnregistered, this, [this] { set(false); });
    m_proxy = new StatusNotifierWatcherProxy(m_bus, this);
    connect(m_proxy, &StatusNotifierWatcherProxy::StatusNotifierHostRegistered, this,
        &StatusNotifierHostWatch::ask);
    connect(m_proxy, &StatusNotifierWatcherProxy::StatusNotifierHostUnregistered, this,
        &StatusNotifierHostWatch::ask);
    ask();
}

// The watcher keeps a list of hosts: one going away may leave others, so every change is a
// fresh question rather than a flip.
void StatusNotifierHostWatch::ask()
{
    QDBusMessage get
        = QDBusMessage::createMethodCall(QString::fromLatin1(StatusNotifierWatcherProxy::Service),
            QString::fromLatin1(StatusNotifierWatcherProxy::Path),
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << QString::fromLatin1(StatusNotifierWatcherProxy::Service)
        << QStringLiteral("IsStatusNotifierHostRegistered");
    auto *call = new QDBusPendingCallWatcher(m_bus.asyncCall(get), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, &StatusNotifierHostWatch::answered);
}

void StatusNotifierHostWatch::answered(QDBusPendingCallWatcher *call)
{
    call->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *call;
    // No watcher (or one that cannot say) means no host.
    set(!reply.isError() && reply.value().variant().toBool());
}

void StatusNotifierHostWatch::set(bool registered)
{
    const bool first = !std::exchange(m_answered, true);
    if (std::exchange(m_registered, registered) != registered || first)
        Q_EMIT hostRegisteredChanged(registered);
}
