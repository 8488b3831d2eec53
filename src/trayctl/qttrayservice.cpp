#include "trayctl/statusnotifierwatch.h"
#include "trayctl/trayservice.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include <utility>

QtTrayService::QtTrayService(QObject *parent)
    : TrayService(parent)
    , m_qtTray(QSystemTrayIcon::isSystemTrayAvailable())
    , m_available(m_qtTray)
    , m_hostWatch(new StatusNotifierHostWatch(QDBusConnection::sessionBus(), this))
{
    // Qt decides once whether it talks to a StatusNotifier host or to an XEmbed tray; a host
    // that comes or goes later is followed on the bus, and Qt is asked again each time.
    connect(m_hostWatch, &StatusNotifierHostWatch::hostRegisteredChanged, this, [this](bool host) {
        m_qtTray = QSystemTrayIcon::isSystemTrayAvailable();
        const bool available = m_qtTray || host;
        if (std::exchange(m_available, available) != available)
            Q_EMIT trayAvailableChanged(available);
    });
}

bool QtTrayService::trayAvailable() const
{
    return m_available;
}

QtTrayService::~QtTrayService() = default;

bool QtTrayService::notify(Operation operation, const NotifyRecord &record)
{
    const Key key(record.window, record.iconId);
    auto it = m_icons.find(key);
    switch (operation) {
    case Operation::Add: {
        if (it != m_icons.end())
            return false;
        Entry entry{new QSystemTrayIcon(this), 0, false};
        connect(entry.icon, &QSystemTrayIcon::activated, this,
            [this, key](QSystemTrayIcon::ActivationReason reason) { activated(key, reason); });
        apply(entry, record);
        m_icons.insert(key, entry);
        entry.icon->show();
        return QSystemTrayIcon::isSystemTrayAvailable();
    }
    case Operation::Modify:
        if (it == m_icons.end())
            return false;
        apply(*it, record);
        return true;
    case Operation::Delete:
        if (it == m_icons.end())
            return false;
        it->icon->hide();
        delete it->icon;
        m_icons.erase(it);
        return true;
    }
    return false;
}

void QtTrayService::apply(Entry &entry, const NotifyRecord &record)
{
    if (record.flags & NotifyRecord::kMessageFlag)
        entry.callbackMessage = record.callbackMessage;
    if (record.flags & NotifyRecord::kIconFlag)
        entry.icon->setIcon(record.icon);
    if (record.flags & NotifyRecord::kTipFlag)
        entry.icon->setToolTip(record.tipText());
}

// Qt hands the menu to the host as a DBusMenu only where the icon is a StatusNotifierItem: the
// menu then has a platform menu. On the XEmbed tray Qt would pop the menu up itself on every
// right press, beside the program's own popup, so it is taken back there.
bool QtTrayService::setIconMenu(quintptr window, int iconId, QMenu *menu)
{
    const auto it = m_icons.find(Key(window, iconId));
    if (it == m_icons.end())
        return false;
    it->icon->setContextMenu(menu);
    it->menuShownByHost = menu && menu->platformMenu();
    if (!it->menuShownByHost)
        it->icon->setContextMenu(nullptr);
    return it->menuShownByHost;
}

// The desktop reports activations, not presses and releases (the XEmbed host reports a left
// or right press, the StatusNotifierItem host a click): each becomes the messages a press and
// release would have given, and a double click the double-click message.
QList<int> QtTrayService::mouseMessagesFor(int reason, bool menuShownByHost)
{
    using namespace MouseMessage;
    switch (QSystemTrayIcon::ActivationReason(reason)) {
    case QSystemTrayIcon::Trigger: return {LeftDown, LeftUp};
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
    for (int mouseMessage : mouseMessagesFor(reason, it->menuShownByHost))
        Q_EMIT trayMessage(key.first, callback, key.second, mouseMessage);
}

QRect QtTrayService::trayGeometry() const
{
    for (const Entry &entry : m_icons) {
        const QRect geometry = entry.icon->geometry();
        if (geometry.isValid())
            return geometry;
    }
    return {};
}
