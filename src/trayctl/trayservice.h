#pragma once

#include "pinlib6_export.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QString>

#include <memory>

class QMenu;
class QSystemTrayIcon;

namespace pinlib6 {

// What the tray icon control hands the notification area with each operation: the callback
// window (the control's id), the icon id, which fields count (flags), the callback message
// and the icon and tip.
struct PINLIB6_EXPORT NotifyRecord {
    static constexpr int kMessageFlag = 1;
    static constexpr int kIconFlag = 2;
    static constexpr int kTipFlag = 4;
    static constexpr int kCallbackMessage = 1125;

    quintptr window = 0;
    int iconId = 0;
    int flags = 0;
    int callbackMessage = kCallbackMessage;
    QIcon icon;
    QString tip; // the whole text, trailing blanks and all: hosts wrap or cut it themselves

    QString tipText() const { return tip; }
};

// The old mouse message numbers the notification area reports activity on an icon with.
namespace MouseMessage {
constexpr int MouseMove = 512;
constexpr int LeftDown = 513;
constexpr int LeftUp = 514;
constexpr int LeftDoubleClick = 515;
constexpr int RightDown = 516;
constexpr int RightUp = 517;
constexpr int RightDoubleClick = 518;
constexpr int MiddleDown = 519;
constexpr int MiddleUp = 520;
constexpr int MiddleDoubleClick = 521;
} // namespace MouseMessage

// The notification area: icons added, modified and deleted with a notify record, and mouse
// activity on an icon sent back to the record's window as its callback message (the icon id
// as the first parameter, the mouse message as the second). Operations on an icon that is
// not there (or adding one twice) fail, as the shell's do.
class PINLIB6_EXPORT TrayService : public QObject
{
    Q_OBJECT

public:
    enum class Operation { Add = 0, Modify = 1, Delete = 2 };

    using QObject::QObject;
    ~TrayService() override;

    virtual bool notify(Operation operation, const NotifyRecord &record) = 0;
    // The screen rectangle of the notification area, or an empty one when the desktop does
    // not tell.
    virtual QRect trayGeometry() const { return {}; }
    // Hands the icon its own menu. Hosts that show an item's menu themselves (StatusNotifier
    // hosts read it over com.canonical.dbusmenu) get it and mirror every later change of its
    // actions; there the host also sends activations (Activate, SecondaryActivate,
    // ContextMenu) instead of presses and double clicks. Returns whether the host took the
    // menu; where it did not (XEmbed) the program pops its menus up itself.
    virtual bool setIconMenu(quintptr window, int iconId, QMenu *menu);
    // Whether the desktop shows tray icons at all (a tray or a StatusNotifier host is there).
    virtual bool trayAvailable() const { return true; }

Q_SIGNALS:
    void trayMessage(quintptr window, int message, qintptr wParam, qintptr lParam);
    // The desktop's tray appeared or went away.
    void trayAvailableChanged(bool available);
    // An icon that waited for a host came into the tray: whether the host took its menu.
    void iconMenuTaken(quintptr window, int iconId, bool taken);
};

// The hosts that show tray icons on this desktop: a StatusNotifier host on the session bus
// (a panel that reads StatusNotifierItems) and an XEmbed tray on the X screen. The Qt tray
// service follows them; QtTrayService's own follows the session bus and the X screen.
class PINLIB6_EXPORT TrayHosts : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~TrayHosts() override;

    // Whether the first look is done (the session bus answers later than the X server).
    virtual bool known() const = 0;
    virtual bool statusNotifierHost() const = 0;
    virtual bool xembedTray() const = 0;
    // Whether the StatusNotifier host keeps the click for the item's menu and calls Activate
    // for a double click (GNOME Shell's AppIndicator extension).
    virtual bool activateIsDoubleClick() const { return false; }

Q_SIGNALS:
    // A first look done, or a host that came or went.
    void changed();
};

// The desktop's tray through QSystemTrayIcon, one per window and icon id.
//
// Qt chooses between a StatusNotifierItem and an XEmbed icon once per process, when the first
// QSystemTrayIcon is made, and keeps that choice even where no host was there to choose (then
// no icon appears on Wayland). So the service makes no QSystemTrayIcon, and asks Qt nothing
// about the tray, until a host is there: icons added before wait in the service with their
// picture, tip and menu, and come into the tray when the first host does, as a
// StatusNotifierItem when a StatusNotifier host is registered and as an XEmbed icon otherwise.
// From then on Qt follows the host of its kind: it registers the item again with a watcher
// that comes back, and docks the XEmbed icon again in a tray that starts again.
class PINLIB6_EXPORT QtTrayService : public TrayService
{
    Q_OBJECT

public:
    enum class Backend { None, StatusNotifier, XEmbed };

    // Follows the desktop's own hosts.
    explicit QtTrayService(QObject *parent = nullptr);
    // Follows `hosts`.
    explicit QtTrayService(std::unique_ptr<TrayHosts> hosts, QObject *parent = nullptr);
    ~QtTrayService() override;

    bool notify(Operation operation, const NotifyRecord &record) override;
    QRect trayGeometry() const override;
    bool setIconMenu(quintptr window, int iconId, QMenu *menu) override;

    // The mouse messages an activation stands for. An XEmbed host reports presses and double
    // clicks; a host that shows the icon's menu itself sends no double click, so there its
    // SecondaryActivate (a middle click) stands for the double click, and so does Activate
    // where the host calls it for a double click only.
    static QList<int> mouseMessagesFor(
        int reason, bool menuShownByHost, bool activateIsDoubleClick = false);
    // A host of the kind Qt chose is there. Until the first look is done the tray counts as
    // there, so that a desktop with a tray never sees the program act as if it had none.
    bool trayAvailable() const override;
    // The kind of icon Qt was given (None until the first host came).
    Backend backend() const { return m_backend; }

private:
    struct Entry {
        QSystemTrayIcon *icon = nullptr; // none until a host is there
        int callbackMessage = 0;
        QIcon picture;
        QString tip;
        QPointer<QMenu> menu;
        bool menuShownByHost = false;
    };
    using Key = QPair<quintptr, int>;
    PINLIB6_NO_EXPORT void apply(Entry &entry, const NotifyRecord &record);
    PINLIB6_NO_EXPORT void makeIcon(Key key, Entry &entry);
    PINLIB6_NO_EXPORT void showMenu(Entry &entry);
    PINLIB6_NO_EXPORT void hostsChanged();
    PINLIB6_NO_EXPORT void activated(Key key, int reason);

    QHash<Key, Entry> m_icons;
    std::unique_ptr<TrayHosts> m_hosts;
    Backend m_backend = Backend::None;
    bool m_available = true;
};

} // namespace pinlib6
