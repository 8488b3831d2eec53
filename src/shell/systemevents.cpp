#include "shell/systemevents.h"

#include "connection/nmproxies.h"

#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

namespace {
const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kLogindPath = QStringLiteral("/org/freedesktop/login1");
const QString kLogindManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");
} // namespace

SystemEvents::SystemEvents(QObject *parent)
    : QObject(parent)
    , m_bus(QString())
{ }

SystemEvents::SystemEvents(const QDBusConnection &systemBus, QObject *parent)
    : QObject(parent)
    , m_bus(systemBus)
{
    if (!m_bus.isConnected())
        return;
    m_bus.connect(kLogind, kLogindPath, kLogindManager, QStringLiteral("PrepareForSleep"), this,
        SLOT(onPrepareForSleep(bool)));
    m_bus.connect(Nm::Service, Nm::ManagerPath, kProperties, QStringLiteral("PropertiesChanged"),
        this, SLOT(onNetworkProperties(QString, QVariantMap, QStringList)));
    takeSleepLock();
}

SystemEvents::~SystemEvents() = default;

// Asked without waiting: a logind that is slow or absent holds nothing up.
void SystemEvents::takeSleepLock()
{
    if (m_asking || m_lock.isValid())
        return;
    m_asking = true;
    QDBusMessage call = QDBusMessage::createMethodCall(
        kLogind, kLogindPath, kLogindManager, QStringLiteral("Inhibit"));
    call << QStringLiteral("sleep") << QStringLiteral("Brisvane")
         << tr("Logging out of the mail servers") << QStringLiteral("delay");
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<QDBusUnixFileDescriptor> reply = *w;
        m_asking = false;
        if (reply.isValid())
            m_lock = reply.value();
        w->deleteLater();
    });
}

void SystemEvents::onPrepareForSleep(bool sleeping)
{
    if (!sleeping) {
        Q_EMIT resumed();
        takeSleepLock();
        return;
    }
    Q_EMIT aboutToSleep();
    // Closing our copy of the descriptor gives the lock back: the machine may sleep now.
    m_lock = QDBusUnixFileDescriptor();
}

void SystemEvents::onNetworkProperties(
    const QString &interface, const QVariantMap &changed, const QStringList &invalidated)
{
    if (interface != Nm::ManagerInterface)
        return;
    for (const char *name : {"PrimaryConnection", "Connectivity"}) {
        const QString property = QLatin1String(name);
        if (changed.contains(property) || invalidated.contains(property)) {
            Q_EMIT networkChanged();
            return;
        }
    }
}
