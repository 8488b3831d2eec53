#include "trayctl/statusnotifierwatch.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QFile>

namespace pinlib6 {

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
    connect(service, &QDBusServiceWatcher::serviceRegistered, this, [this] {
        askWhoseWatcher();
        ask();
    });
    connect(service, &QDBusServiceWatcher::serviceUnregistered, this, [this] { set(false); });
    m_proxy = new StatusNotifierWatcherProxy(m_bus, this);
    connect(m_proxy, &StatusNotifierWatcherProxy::StatusNotifierHostRegistered, this,
        &StatusNotifierHostWatch::ask);
    connect(m_proxy, &StatusNotifierWatcherProxy::StatusNotifierHostUnregistered, this,
        &StatusNotifierHostWatch::ask);
    askWhoseWatcher();
    ask();
}

// Which program keeps the watcher tells the host apart where it matters: GNOME Shell's
// extension sends a double click as one Activate. Asked without blocking; until the answer
// the host counts as any other.
void StatusNotifierHostWatch::askWhoseWatcher()
{
    QDBusMessage pid = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("/org/freedesktop/DBus"), QStringLiteral("org.freedesktop.DBus"),
        QStringLiteral("GetConnectionUnixProcessID"));
    pid << QString::fromLatin1(StatusNotifierWatcherProxy::Service);
    auto *call = new QDBusPendingCallWatcher(m_bus.asyncCall(pid), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *c) {
        c->deleteLater();
        const QDBusPendingReply<uint> reply = *c;
        m_gnomeShell = !reply.isError() && processNameOf(reply.value()) == u"gnome-shell";
    });
}

QString StatusNotifierHostWatch::processNameOf(uint pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (!comm.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(comm.readAll()).trimmed();
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

} // namespace pinlib6
