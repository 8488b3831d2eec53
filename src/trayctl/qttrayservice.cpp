#include "trayctl/statusnotifierwatch.h"
#include "trayctl/trayservice.h"
#include "trayctl/xembedtraywatch.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include <utility>

namespace pinlib6 {

namespace {
// The session bus's StatusNotifier host and the X screen's XEmbed tray.
class DesktopTrayHosts : public TrayHosts
{
public:
    DesktopTrayHosts()
        : m_statusNotifier(new StatusNotifierHostWatch(QDBusConnection::sessionBus(), this))
        , m_xembed(new XEmbedTrayWatch(this))
    {
        connect(m_statusNotifier, &StatusNotifierHostWatch::hostRegisteredChanged, this,
            &TrayHosts::changed);
        connect(m_xembed, &XEmbedTrayWatch::trayPresentChanged, this, &TrayHosts::changed);
    }
    bool known() const override { return m_statusNotifier->known(); }
    bool statusNotifierHost() const override { return m_statusNotifier->hostRegistered(); }
    bool xembedTray() const override { return m_xembed->trayPresent(); }
    bool activateIsDoubleClick() const override { return m_statusNotifier->gnomeShellHost(); }

private:
    StatusNotifierHostWatch *m_statusNotifier;
    XEmbedTrayWatch *m_xembed;
};
} // namespace

TrayHosts::~TrayHosts() = default;

QtTrayService::QtTrayService(QObject *parent)
    : QtTrayService(std::make_unique<DesktopTrayHosts>(), parent)
{ }

QtTrayService::QtTrayService(std::unique_ptr<TrayHosts> hosts, QObject *parent)
    : TrayService(parent)
    , m_hosts(std::move(hosts))
{
    connect(m_hosts.get(), &TrayHosts::changed, this, &QtTrayService::hostsChanged);
    hostsChanged();
}

QtTrayService::~QtTrayService() = default;

bool QtTrayService::trayAvailable() const
{
    return m_available;
}

// Gives Qt its first QSystemTrayIcon once the first look is done and a host is there; a
// StatusNotifier host wins over an XEmbed tray that is there at the same time.
void QtTrayService::hostsChanged()
{
    if (m_backend == Backend::None && m_hosts->known()) {
        if (m_hosts->statusNotifierHost())
            m_backend = Backend::StatusNotifier;
        else if (m_hosts->xembedTray())
            m_backend = Backend::XEmbed;
        if (m_backend != Backend::None) {
            for (auto it = m_icons.begin(); it != m_icons.end(); ++it)
                makeIcon(it.key(), it.value());
        }
    }
    bool available = !m_hosts->known();
    switch (m_backend) {
    case Backend::None: break;
    case Backend::StatusNotifier: available = m_hosts->statusNotifierHost(); break;
    case Backend::XEmbed: available = m_hosts->xembedTray(); break;
    }
    if (std::exchange(m_available, available) != available)
        Q_EMIT trayAvailableChanged(available);
}

bool QtTrayService::notify(Operation operation, const NotifyRecord &record)
{
    const Key key(record.window, record.iconId);
    auto it = m_icons.find(key);
    switch (operation) {
    case Operation::Add: {
        if (it != m_icons.end())
            return false;
        it = m_icons.insert(key, Entry{});
        apply(*it, record);
        if (m_backend != Backend::None)
            makeIcon(key, *it);
        return m_available;
    }
    case Operation::Modify:
        if (it == m_icons.end())
            return false;
        apply(*it, record);
        return true;
    case Operation::Delete:
        if (it == m_icons.end())
            return false;
        if (it->icon) {
            it->icon->hide();
            delete it->icon;
        }
        m_icons.erase(it);
        return true;
    }
    return false;
}

void QtTrayService::apply(Entry &entry, const NotifyRecord &record)
{
    if (record.flags & NotifyRecord::kMessageFlag)
        entry.callbackMessage = record.callbackMessage;
    if (record.flags & NotifyRecord::kIconFlag) {
        entry.picture = record.icon;
        if (entry.icon)
            entry.icon->setIcon(record.icon);
    }
    if (record.flags & NotifyRecord::kTipFlag) {
        entry.tip = record.tipText();
        if (entry.icon)
            entry.icon->setToolTip(entry.tip);
    }
}

void QtTrayService::makeIcon(Key key, Entry &entry)
{
    entry.icon = new QSystemTrayIcon(this);
    connect(entry.icon, &QSystemTrayIcon::activated, this,
        [this, key](QSystemTrayIcon::ActivationReason reason) { activated(key, reason); });
    entry.icon->setIcon(entry.picture);
    entry.icon->setToolTip(entry.tip);
    showMenu(entry);
    entry.icon->show();
    Q_EMIT iconMenuTaken(key.first, key.second, entry.menuShownByHost);
}

// Qt hands the menu to the host as a DBusMenu only where the icon is a StatusNotifierItem: the
// menu then has a platform menu. On the XEmbed tray Qt would pop the menu up itself on every
// right press, beside the program's own popup, so it is taken back there.
void QtTrayService::showMenu(Entry &entry)
{
    entry.menuShownByHost = false;
    if (!entry.icon)
        return;
    entry.icon->setContextMenu(entry.menu);
    entry.menuShownByHost = entry.menu && entry.menu->platformMenu();
    if (!entry.menuShownByHost)
        entry.icon->setContextMenu(nullptr);
}

// An icon still waiting for a host keeps its menu for then; the host has not taken it yet.
bool QtTrayService::setIconMenu(quintptr window, int iconId, QMenu *menu)
{
    const auto it = m_icons.find(Key(window, iconId));
    if (it == m_icons.end())
        return false;
    it->menu = menu;
    showMenu(*it);
    return it->menuShownByHost;
}

// The desktop reports activations, not presses and releases (the XEmbed host reports a left
// or right press, the StatusNotifierItem host a click): each becomes the messages a press and
// release would have given, and a double click the double-click message.
QList<int> QtTrayService::mouseMessagesFor(
    int reason, bool menuShownByHost, bool activateIsDoubleClick)
{
    using namespace MouseMessage;
    switch (QSystemTrayIcon::ActivationReason(reason)) {
    case QSystemTrayIcon::Trigger:
        if (menuShownByHost && activateIsDoubleClick)
            return {LeftDoubleClick};
        return {LeftDown, LeftUp};
    case QSystemTrayIcon::DoubleClick: return {LeftDoubleClick};
    case QSystemTrayIcon::Context: return {RightDown, RightUp};
    case QSystemTrayIcon::MiddleClick:
        if (menuShownByHost)
            return {LeftDoubleClick};
        return {MiddleDown, MiddleUp};
    case QSystemTrayIcon::Unknown: break;
    }
    return {};
}

void QtTrayService::activated(Key key, int reason)
{
    const auto it = m_icons.constFind(key);
    if (it == m_icons.cend() || it->callbackMessage == 0)
        return;
    const int callback = it->callbackMessage;
    const bool doubleOnly
        = m_backend == Backend::StatusNotifier && m_hosts->activateIsDoubleClick();
    for (int mouseMessage : mouseMessagesFor(reason, it->menuShownByHost, doubleOnly))
        Q_EMIT trayMessage(key.first, callback, key.second, mouseMessage);
}

QRect QtTrayService::trayGeometry() const
{
    for (const Entry &entry : m_icons) {
        const QRect geometry = entry.icon ? entry.icon->geometry() : QRect();
        if (geometry.isValid())
            return geometry;
    }
    return {};
}

} // namespace pinlib6
