#include "connection/networkmanagerline.h"

#include "connection/nmmapping.h"
#include "connection/nmproxies.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusReply>

#include <algorithm>

using namespace NmMapping;

namespace {
constexpr int kCallTimeoutMs = 5000;

QDBusMessage managerCall(const QString &method)
{
    return QDBusMessage::createMethodCall(
        Nm::Service, Nm::ManagerPath, Nm::ManagerInterface, method);
}
} // namespace

NetworkManagerLine::NetworkManagerLine(const QDBusConnection &bus, QObject *parent)
    : DialUpService(parent)
    , m_bus(bus)
{
    Nm::registerTypes();
    m_objects = new Nm::ObjectManagerProxy(m_bus, this);
    connect(m_objects, &Nm::ObjectManagerProxy::InterfacesAdded, this,
        [this](const QDBusObjectPath &path, const QMap<QString, QVariantMap> &interfaces) {
            onInterfacesAdded(path.path(), interfaces);
        });
    connect(m_objects, &Nm::ObjectManagerProxy::InterfacesRemoved, this,
        [this](const QDBusObjectPath &path, const QStringList &) {
            onInterfacesRemoved(path.path());
        });
    reload();
    loadActive();
    showLineAlreadyUp();
}

NetworkManagerLine::~NetworkManagerLine() = default;

bool NetworkManagerLine::answers(const QDBusConnection &bus)
{
    if (!bus.isConnected() || !bus.interface())
        return false;
    const QDBusReply<bool> registered = bus.interface()->isServiceRegistered(Nm::Service);
    return registered.isValid() && registered.value();
}

QStringList NetworkManagerLine::entries() const
{
    QStringList names;
    for (const Profile &profile : m_profiles)
        names << profile.id;
    return names;
}

void NetworkManagerLine::reload()
{
    loadProfiles();
    loadDevices();
}

void NetworkManagerLine::loadProfiles()
{
    m_profiles.clear();
    const QDBusReply<QList<QDBusObjectPath>> list
        = m_bus.call(QDBusMessage::createMethodCall(Nm::Service, Nm::SettingsPath,
                         Nm::SettingsInterface, QStringLiteral("ListConnections")),
            QDBus::Block, kCallTimeoutMs);
    if (!list.isValid())
        return;
    for (const QDBusObjectPath &path : list.value()) {
        const QDBusReply<Nm::SettingsMap> settings
            = m_bus.call(QDBusMessage::createMethodCall(Nm::Service, path.path(),
                             Nm::ConnectionInterface, QStringLiteral("GetSettings")),
                QDBus::Block, kCallTimeoutMs);
        const QVariantMap connection = settings.value().value(QStringLiteral("connection"));
        const QString id = connection.value(QStringLiteral("id")).toString();
        if (settings.isValid() && !id.isEmpty())
            m_profiles << Profile{
                path.path(), id, connection.value(QStringLiteral("type")).toString()};
    }
    std::stable_sort(m_profiles.begin(), m_profiles.end(),
        [](const Profile &a, const Profile &b) { return typeRank(a.type) < typeRank(b.type); });
}

void NetworkManagerLine::loadDevices()
{
    m_deviceFor.clear();
    const QDBusReply<QList<QDBusObjectPath>> devices
        = m_bus.call(managerCall(QStringLiteral("GetDevices")), QDBus::Block, kCallTimeoutMs);
    if (!devices.isValid())
        return;
    for (const QDBusObjectPath &device : devices.value()) {
        const QStringList available = Nm::paths(Nm::property(
            m_bus, device.path(), Nm::DeviceInterface, QStringLiteral("AvailableConnections")));
        for (const QString &profile : available) {
            if (!m_deviceFor.contains(profile))
                m_deviceFor.insert(profile, device.path());
        }
    }
}

void NetworkManagerLine::loadActive()
{
    const QStringList active = Nm::paths(Nm::property(
        m_bus, Nm::ManagerPath, Nm::ManagerInterface, QStringLiteral("ActiveConnections")));
    for (const QString &path : active)
        track(path, Nm::allProperties(m_bus, path, Nm::ActiveInterface));
}

// A connection that is up when the program starts is the line, reported connected (the first
// one in entry order when several are).
void NetworkManagerLine::showLineAlreadyUp()
{
    for (const Profile &profile : std::as_const(m_profiles)) {
        if (isConnected(profile.id)) {
            m_status = LineStatus{
                DialState::Connected, QStringLiteral("Connected"), profile.id, true, false, {}};
            return;
        }
    }
}

const NetworkManagerLine::Profile *NetworkManagerLine::profileNamed(const QString &id) const
{
    for (const Profile &profile : m_profiles) {
        if (profile.id == id)
            return &profile;
    }
    return nullptr;
}

void NetworkManagerLine::track(const QString &path, const QVariantMap &properties)
{
    if (properties.isEmpty() || m_active.contains(path))
        return;
    Active active;
    active.id = properties.value(QStringLiteral("Id")).toString();
    active.state = properties.value(QStringLiteral("State")).toUInt();
    active.proxy = new Nm::ActiveProxy(path, m_bus, this);
    connect(active.proxy, &Nm::ActiveProxy::StateChanged, this,
        [this, path](uint state, uint) { onActiveState(path, state); });
    connect(active.proxy, &Nm::ActiveProxy::StateChanged, this, &DialUpService::linesChanged);
    m_active.insert(path, active);
    Q_EMIT linesChanged();
}

void NetworkManagerLine::untrack(const QString &path)
{
    const Active active = m_active.take(path);
    if (active.proxy) {
        active.proxy->deleteLater();
        Q_EMIT linesChanged();
    }
}

bool NetworkManagerLine::isConnected(const QString &entry) const
{
    if (entry.isEmpty() || entry == m_status.entry)
        return m_status.connected;
    return std::any_of(m_active.cbegin(), m_active.cend(), [&entry](const Active &active) {
        return active.id == entry && active.state == ActiveState::Activated;
    });
}

void NetworkManagerLine::dial(const DialRequest &request)
{
    hangUp();
    ++m_dialId;
    m_live = true;
    m_deviceStarted = false;
    m_activePath.clear();
    const QString entry = request.useLogon ? QString() : request.entry;
    m_status = LineStatus{DialState::OpenPort,
        QStringLiteral("Asking NetworkManager to connect %1").arg(entry), entry, false,
        request.useLogon, {}};
    Q_EMIT stepped(DialState::OpenPort);
    if (request.useLogon) {
        dialNumber(request);
        return;
    }
    const Profile *profile = profileNamed(entry);
    if (!profile) {
        endDial(DialState::FailedText);
        return;
    }
    // Devices come and go (a modem plugged in again gets a new path) and a profile is
    // available on one only while it can be activated there: asked at each dial.
    loadDevices();
    const QString device = m_deviceFor.value(profile->path);
    if (!device.isEmpty())
        watchDevice(device);
    QDBusMessage call = managerCall(QStringLiteral("ActivateConnection"));
    call << QVariant::fromValue(QDBusObjectPath(profile->path))
         << QVariant::fromValue(QDBusObjectPath(device.isEmpty() ? QStringLiteral("/") : device))
         << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")));
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, dialId = m_dialId](QDBusPendingCallWatcher *w) {
            const QDBusPendingReply<QDBusObjectPath> reply = *w;
            onActivationReply(reply.isValid() ? reply.value().path() : QString(), dialId);
            w->deleteLater();
        });
}

std::pair<QString, QString> NetworkManagerLine::dialingModem() const
{
    const QDBusReply<QList<QDBusObjectPath>> devices
        = m_bus.call(managerCall(QStringLiteral("GetDevices")), QDBus::Block, kCallTimeoutMs);
    for (const QDBusObjectPath &device : devices.value()) {
        const QString path = device.path();
        if (Nm::property(m_bus, path, Nm::DeviceInterface, QStringLiteral("DeviceType")).toUInt()
            != ModemDeviceType)
            continue;
        const QString type = dialTypeFor(
            Nm::property(m_bus, path, Nm::ModemInterface, QStringLiteral("ModemCapabilities"))
                .toUInt());
        if (!type.isEmpty())
            return {path, type};
    }
    return {};
}

void NetworkManagerLine::dialNumber(const DialRequest &request)
{
    const auto [device, type] = dialingModem();
    if (device.isEmpty()) {
        // Said in the state list first (the step's text is read when it is delivered), then
        // the dial ends like any that found no line.
        m_status.text = noModemText();
        QMetaObject::invokeMethod(
            this,
            [this, dialId = m_dialId] {
                if (dialId == m_dialId && m_live)
                    endDial(DialState::FailedText);
            },
            Qt::QueuedConnection);
        return;
    }
    watchDevice(device);
    QDBusMessage call = managerCall(QStringLiteral("AddAndActivateConnection2"));
    call << QVariant::fromValue(Nm::SettingsMap(dialUpProfile(request, type)))
         << QVariant::fromValue(QDBusObjectPath(device))
         << QVariant::fromValue(QDBusObjectPath(QStringLiteral("/")))
         << QVariantMap{{QStringLiteral("persist"), QStringLiteral("volatile")}};
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call, kCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
        [this, dialId = m_dialId](QDBusPendingCallWatcher *w) {
            const QDBusPendingReply<QDBusObjectPath, QDBusObjectPath, QVariantMap> reply = *w;
            if (reply.isValid()) {
                m_temporaryProfile = reply.argumentAt<0>().path();
                if (dialId != m_dialId || !m_live)
                    removeTemporaryProfile();
            }
            onActivationReply(reply.isValid() ? reply.argumentAt<1>().path() : QString(), dialId);
            w->deleteLater();
        });
}

// NetworkManager drops a volatile profile once it is no longer active; the explicit delete
// covers a line that never came up and NetworkManagers that keep it.
void NetworkManagerLine::removeTemporaryProfile()
{
    if (m_temporaryProfile.isEmpty())
        return;
    m_bus.asyncCall(
        QDBusMessage::createMethodCall(Nm::Service, std::exchange(m_temporaryProfile, QString()),
            Nm::ConnectionInterface, QStringLiteral("Delete")),
        kCallTimeoutMs);
}

void NetworkManagerLine::onActivationReply(const QString &activePath, quint64 dialId)
{
    const QString &path = activePath;
    if (dialId != m_dialId || !m_live) {
        // Hung up before NetworkManager answered: take back what it started.
        if (!path.isEmpty()) {
            QDBusMessage deactivate = managerCall(QStringLiteral("DeactivateConnection"));
            deactivate << QVariant::fromValue(QDBusObjectPath(path));
            m_bus.asyncCall(deactivate, kCallTimeoutMs);
        }
        return;
    }
    if (path.isEmpty()) {
        endDial(DialState::FailedText);
        return;
    }
    m_activePath = path;
    track(path, Nm::allProperties(m_bus, path, Nm::ActiveInterface));
    step(DialState::PortOpened,
        QStringLiteral("NetworkManager is activating %1").arg(m_status.entry));
    if (!m_device) {
        const QStringList devices
            = Nm::paths(Nm::property(m_bus, path, Nm::ActiveInterface, QStringLiteral("Devices")));
        if (!devices.isEmpty())
            watchDevice(devices.first());
    }
    if (!m_active.contains(path))
        endDial(DialState::FailedText); // gone again before we could look at it
    else
        onActiveState(path, m_active.value(path).state);
}

void NetworkManagerLine::watchDevice(const QString &path)
{
    dropDevice();
    m_device = new Nm::DeviceProxy(path, m_bus, this);
    connect(m_device, &Nm::DeviceProxy::StateChanged, this, &NetworkManagerLine::onDeviceState);
}

void NetworkManagerLine::dropDevice()
{
    if (!m_device)
        return;
    m_device->disconnect(this);
    m_device->deleteLater();
    m_device = nullptr;
    m_interface.clear();
}

void NetworkManagerLine::onDeviceState(uint newState, uint, uint reason)
{
    if (!m_live)
        return;
    if (m_status.connected) {
        if (newState != DeviceState::Activated)
            lineLost();
        return;
    }
    if (const std::optional<Step> next = stepForDeviceState(newState)) {
        m_deviceStarted = false;
        if (next->code == DialState::Connected)
            lineUp();
        else
            step(next->code, next->text);
        return;
    }
    // Failed ends the dial; so does falling back once the device had started on it (a
    // device busy with another connection goes down before it starts on ours).
    if (newState == DeviceState::Failed
        || (newState <= DeviceState::Disconnected && m_deviceStarted))
        endDial(endTextForReason(reason));
}

void NetworkManagerLine::onActiveState(const QString &path, uint state)
{
    if (m_active.contains(path))
        m_active[path].state = state;
    if (!m_live || path != m_activePath)
        return;
    if (state == ActiveState::Activated && !m_status.connected)
        lineUp();
    else if (state == ActiveState::Deactivated && m_status.connected)
        lineLost();
    else if (state == ActiveState::Deactivated)
        endDial(endTextForReason(deviceReason()));
}

// Why the device of the dial last changed state. The active connection may report its end
// before the device's failure reaches us; the device still tells why.
uint NetworkManagerLine::deviceReason() const
{
    if (!m_device)
        return 0;
    const QVariant value
        = Nm::property(m_bus, m_device->path(), Nm::DeviceInterface, QStringLiteral("StateReason"));
    if (!value.canConvert<QDBusArgument>())
        return 0;
    uint state = 0;
    uint reason = 0;
    const QDBusArgument argument = value.value<QDBusArgument>();
    argument.beginStructure();
    argument >> state >> reason;
    argument.endStructure();
    return reason;
}

void NetworkManagerLine::onInterfacesAdded(
    const QString &path, const QMap<QString, QVariantMap> &interfaces)
{
    if (interfaces.contains(Nm::ActiveInterface))
        track(path, interfaces.value(Nm::ActiveInterface));
}

void NetworkManagerLine::onInterfacesRemoved(const QString &path)
{
    if (!m_active.contains(path))
        return;
    untrack(path);
    if (path == m_activePath)
        onActiveState(path, ActiveState::Deactivated);
}

void NetworkManagerLine::hangUp()
{
    if (!m_live)
        return;
    m_live = false;
    dropDevice();
    m_status.code = DialState::Disconnected;
    m_status.text = DialState::HungUpText;
    m_status.connected = false;
    if (m_activePath.isEmpty())
        return; // the activation reply takes it back when it comes
    QDBusMessage call = managerCall(QStringLiteral("DeactivateConnection"));
    call << QVariant::fromValue(QDBusObjectPath(m_activePath));
    m_bus.asyncCall(call, kCallTimeoutMs);
    removeTemporaryProfile();
}

// The steps only move forward: a device and its active connection may report the same
// progress twice, and in either order.
void NetworkManagerLine::step(int code, const QString &text)
{
    if (code <= m_status.code)
        return;
    m_status.code = code;
    m_status.text = text;
    Q_EMIT stepped(code);
}

void NetworkManagerLine::lineUp()
{
    if (m_device)
        m_interface = Nm::property(
            m_bus, m_device->path(), Nm::DeviceInterface, QStringLiteral("IpInterface"))
                          .toString();
    m_status.connected = true;
    m_status.code = DialState::Connected;
    m_status.text = QStringLiteral("Connected");
    Q_EMIT stepped(DialState::Connected);
}

void NetworkManagerLine::endDial(const QString &text)
{
    m_live = false;
    dropDevice();
    removeTemporaryProfile();
    m_status.code = DialState::Disconnected;
    m_status.text = text;
    m_status.connected = false;
    Q_EMIT stepped(DialState::Disconnected);
}

// The far end or the system took the line down; like a drop on any line, this raises no
// step: the line watch notices it.
void NetworkManagerLine::lineLost()
{
    m_live = false;
    dropDevice();
    removeTemporaryProfile();
    m_status.code = DialState::Disconnected;
    m_status.text = DialState::LostText;
    m_status.connected = false;
    Q_EMIT linesChanged();
}
