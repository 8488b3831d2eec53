#pragma once

#include "pinlib6_export.h"
#include "trayctl/imagelist.h"
#include "trayctl/stdpicture.h"
#include "trayctl/trayservice.h"

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

namespace pinlib6 {

class Clock;

// The version of the library the program runs with ("1.0.0"); PINLIB6_VERSION_STRING
// (pinlib6_version.h) is the one it was built with.
PINLIB6_EXPORT const char *versionString();

// The tray icon control: one icon in the notification area with its tip, the icon's mouse
// activity as events, animation through an image list, blinking, the zoom of windows to and
// from the tray, a minimise watch on windows and popup menus. Its timers run on the clock it
// is given (a real one by default). Members carry their help strings as class info, in the
// order of the control's interface.
//
// What each kind of tray host delivers (the events not listed never come from it):
// - XEmbed trays (trayer, stalonetray, xfce4-panel's systray, the X11 side of most panels):
//   a press of the left or right button gives MouseUp and the click events of that button at
//   once (the tray reports the press only, not the release); a left double click gives
//   LeftDblClick, DblClick and AnyDblClick; a middle click gives MouseUp and MiddleClick.
//   MouseDown, MouseMove, RightDblClick and MiddleDblClick never arrive.
// - StatusNotifier hosts (KDE Plasma, waybar, GNOME Shell's AppIndicator extension, LXQt):
//   activations instead of presses. Activate gives the left click events, ContextMenu the
//   right ones (where the host does not show the icon's menu itself), SecondaryActivate the
//   middle ones. A host that shows the icon's menu itself sends no double click: the second
//   of two clicks within the desktop's double-click time is LeftDblClick, and there
//   SecondaryActivate (a middle click) is LeftDblClick too. GNOME Shell calls Activate for a
//   double click only: there it is LeftDblClick. MouseMove and the right and middle double
//   clicks never arrive, nor does MouseDown.
// Programs that must work everywhere follow Click, LeftDblClick and RightClick.
class PINLIB6_EXPORT Lumenpin : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("ClassId", "pinlib.Lumenpin")
    Q_CLASSINFO("DefaultProperty", "TrayIcon")
    Q_CLASSINFO("DefaultEvent", "LeftClick")
    Q_CLASSINFO("HiddenMembers", "PrepFireEvent,Click,DblClick")
    Q_CLASSINFO("TrayIcon", "Sets the icon to show in the system tray.")
    Q_CLASSINFO("LoadIcon", "Loads an icon from disk into the TrayIcon property.")
    Q_CLASSINFO("TrayTip",
        "The tooltip that will be shown when the user leaves his mouse cursor "
        "over the system tray icon for a few seconds.")
    Q_CLASSINFO("TrayVisible", "Toggles the visible state of the icon in the system tray.")
    Q_CLASSINFO("TrayShow", "Shows the icon in the system tray.")
    Q_CLASSINFO("TrayHide", "Hides the icon in the system tray.")
    Q_CLASSINFO("AboutBox", "Displays about box.")
    Q_CLASSINFO("AddMinimizeWatch",
        "Watch a specific window for the user to press the Minimize "
        "button; see AfterMinimize.")
    Q_CLASSINFO("RemoveMinimizeWatch",
        "Stop watching a specific window for the user to press the "
        "Minimize button; see AfterMinimize.")
    Q_CLASSINFO("ZoomToTray", "Zoom a window to the system tray.")
    Q_CLASSINFO("ZoomFromTray", "Zoom a window from the system tray.")
    Q_CLASSINFO("StartAnimation", "Start animating the system tray icon.")
    Q_CLASSINFO("StopAnimation", "Stop animating the system tray icon.")
    Q_CLASSINFO("StartBlink", "Start blinking the system tray icon.")
    Q_CLASSINFO("StopBlink", "Stop blinking the system tray icon.")
    Q_CLASSINFO(
        "IsAnimating", "Retruns whether or not the icon in the system tray is being animated.")
    Q_CLASSINFO("IsBlinking", "Retruns whether or not the icon in the system tray is blinking.")
    Q_CLASSINFO("PopupMenu", "Displays a pop-up menu.")
    Q_CLASSINFO("AfterMinimize",
        "Occurs after a user has pressed the Minimize button on a window "
        "and the form has been \"zoomed\" to the system tray.")
    Q_CLASSINFO(
        "AnyClick", "Occurs when a user clicks on the system tray icon with any mouse button.")
    Q_CLASSINFO("AnyDblClick",
        "Occurs when a user double-clicks on the system tray icon with any mouse button.")
    Q_CLASSINFO(
        "Click", "Occurs when a user clicks on the system tray icon with the left mouse button.")
    Q_CLASSINFO("DblClick",
        "Occurs when a user double-clicks on the system tray icon with the "
        "left mouse button.")
    Q_CLASSINFO("LeftClick",
        "Occurs when a user clicks on the system tray icon with the left mouse button.")
    Q_CLASSINFO("LeftDblClick",
        "Occurs when a user double-clicks on the system tray icon with "
        "the left mouse button.")
    Q_CLASSINFO("MiddleClick",
        "Occurs when a user clicks on the system tray icon with the middle "
        "mouse button or mouse wheel.")
    Q_CLASSINFO("MiddleDblClick",
        "Occurs when a user double-clicks on the system tray icon with "
        "the middle  mouse button or mouse wheel.")
    Q_CLASSINFO("MouseDown",
        "Occurs when the user presses down on the system tray icon with a "
        "mouse button.")
    Q_CLASSINFO(
        "MouseMove", "Occurs when the user moves their mouse cursor over the system tray icon.")
    Q_CLASSINFO("MouseUp",
        "Occurs when the user releases the mouse button after pressing it down "
        "on the system tray icon.")
    Q_CLASSINFO("RightClick",
        "Occurs when a user clicks on the system tray icon with the right mouse button.")
    Q_CLASSINFO("RightDblClick",
        "Occurs when a user double-clicks on the system tray icon with "
        "the right mouse button.")

    Q_PROPERTY(StdPicture TrayIcon READ TrayIcon WRITE setTrayIcon NOTIFY TrayIconChanged)
    Q_PROPERTY(QString TrayTip READ TrayTip WRITE setTrayTip NOTIFY TrayTipChanged)
    Q_PROPERTY(bool TrayVisible READ TrayVisible WRITE setTrayVisible NOTIFY TrayVisibleChanged)
    Q_PROPERTY(bool IsAnimating READ IsAnimating NOTIFY animationChanged)
    Q_PROPERTY(bool IsBlinking READ IsBlinking NOTIFY animationChanged)

public:
    // The service is not owned and may go first: the control then stops talking to the tray.
    // Without a clock the control keeps a real one of its own. A new control is in run mode
    // with the properties of a first placement.
    explicit Lumenpin(TrayService &service, Clock *clock = nullptr, QObject *parent = nullptr);
    // Takes the icon out of the tray and ends the control's minimise watches.
    ~Lumenpin() override;

    // The interface, in its order.
    // The picture the tray shows now (a frame while animating or blinking).
    StdPicture TrayIcon() const;
    // Any icon; a picture that is no icon (a bitmap) is refused and lastError() says so. An
    // icon set while animating or blinking is the one shown again when that stops.
    void setTrayIcon(const StdPicture &picture);
    // Loads any picture file Qt reads (ICO, PNG, SVG, ...) as the icon. False (and nothing
    // changes) when the file is missing or unreadable; lastError() says why.
    Q_INVOKABLE bool LoadIcon(const QString &FileName);
    // The full text in any script; hosts wrap or cut long tips themselves.
    QString TrayTip() const;
    void setTrayTip(const QString &tip);
    // Whether the icon is in the tray (or, in design mode, wanted there): false without an
    // icon. The wish stays: an icon set later goes into the tray.
    bool TrayVisible() const;
    void setTrayVisible(bool visible);
    Q_INVOKABLE QVariant TrayShow();
    Q_INVOKABLE QVariant TrayHide();
    // Records the last mouse message; the events follow on the next tick of tmrFireEvent.
    Q_INVOKABLE void PrepFireEvent(int mEvent, int ID);
    Q_INVOKABLE void AboutBox();
    Q_INVOKABLE void AddMinimizeWatch(QWidget *hWnd);
    Q_INVOKABLE void RemoveMinimizeWatch(QWidget *hWnd);
    Q_INVOKABLE void ZoomToTray(QWidget *hWnd);
    // Restores a minimised window first, then zooms it out of the tray and shows it.
    Q_INVOKABLE void ZoomFromTray(QWidget *hWnd);
    // False when the list has no ListImages, the first frame cannot be found or the interval
    // is not positive (then nothing changes).
    Q_INVOKABLE bool StartAnimation(
        const ImageList *imgList, int Interval = 250, int StartFrame = 1);
    Q_INVOKABLE void StopAnimation();
    // False when the interval is not positive (then nothing changes).
    Q_INVOKABLE bool StartBlink(int Interval = 750, bool StartAsVisible = true);
    Q_INVOKABLE void StopBlink();
    bool IsAnimating() const;
    bool IsBlinking() const;
    // Shows `Menu` through the host window's popup operation with the arguments given (an
    // invalid variant or a null default item is an argument left out). X and Y are in the
    // host window's coordinates; Flags take the PopupFlag values.
    Q_INVOKABLE bool PopupMenu(QMenu *Menu, const QVariant &Flags = {}, const QVariant &X = {},
        const QVariant &Y = {}, QAction *DefaultMenu = nullptr);

    // Hosting.
    enum PopupFlag { LeftAlign = 0, RightButton = 2, CenterAlign = 4, RightAlign = 8 };
    struct PopupRequest {
        QMenu *menu = nullptr;
        std::optional<int> flags, x, y;
        QAction *defaultMenu = nullptr;
    };
    using PopupHandler = std::function<bool(QWidget *host, const PopupRequest &request)>;
    using MessageHandler = std::function<void(const QString &text)>;

    // The control's own id towards the tray service.
    quintptr hWnd() const { return reinterpret_cast<quintptr>(this); }
    // In design mode the control never puts its icon into the tray.
    bool designMode() const;
    void setDesignMode(bool design);
    // The three persistent properties ("TrayIcon", "TrayTip", "TrayVisible"); values equal
    // to their defaults are left out of the bag. The icon saved is the real one, never a
    // frame of an animation or the blink's blank.
    void InitProperties();
    void ReadProperties(const QVariantMap &bag);
    QVariantMap WriteProperties() const;
    // Properties changed since the host last saved (the host clears the marks when it does).
    QStringList changedProperties() const;
    void clearChangedProperties();
    // Why the last call that could fail did, in plain words.
    QString lastError() const;
    // Hears the control's refusals (a picture that is no icon) as they happen; the control
    // itself never opens a window for them.
    void setMessageHandler(MessageHandler handler);
    // The host window's popup operation (QMenu::exec at the place asked for by default).
    void setPopupHandler(PopupHandler handler);
    static bool showPopup(QWidget *host, const PopupRequest &request);
    // Whether zooms draw their rectangle on the screen (off where windows cannot be placed).
    // Where the tray does not tell the icon's place the rectangle is always left out.
    void setZoomEffect(bool on);
    // The icon's own menu, for hosts that show it themselves (see TrayService::setIconMenu);
    // handed again each time the icon enters the tray. Not owned; null takes it back.
    void setIconMenu(QMenu *menu);
    // Whether the host shows the icon's menu itself (and sends no double click: there two
    // clicks within the desktop's double-click time raise LeftDblClick for the second).
    bool menuShownByHost() const;
    // The target of a zoom: the one-pixel strip at the centre of the tray.
    QRect trayTarget() const;
    static QRect trayStrip(const QRect &tray);

    QIcon imgBlankIcon() const;

Q_SIGNALS:
    void AfterMinimize(QWidget *hWnd);
    void AnyClick();
    void AnyDblClick();
    void Click();
    void DblClick();
    void LeftClick();
    void LeftDblClick();
    void MiddleClick();
    void MiddleDblClick();
    void MouseDown(int Button);
    void MouseMove();
    void MouseUp(int Button);
    void RightClick();
    void RightDblClick();

    // The notifications of the properties.
    void TrayIconChanged();
    void TrayTipChanged();
    void TrayVisibleChanged();
    void animationChanged();

private:
    friend class ZoomWatch;
    struct Private;
    PINLIB6_NO_EXPORT void markChanged(const QString &name);
    PINLIB6_NO_EXPORT void refuse(const QString &text);
    PINLIB6_NO_EXPORT void showPicture(const StdPicture &picture);
    PINLIB6_NO_EXPORT StdPicture realIcon() const;
    PINLIB6_NO_EXPORT void notifyShell(TrayService::Operation operation, int flags);
    PINLIB6_NO_EXPORT void addIcon();
    PINLIB6_NO_EXPORT void deleteIcon();
    PINLIB6_NO_EXPORT void TrayWindowProc(
        quintptr window, int message, qintptr wParam, qintptr lParam);
    PINLIB6_NO_EXPORT void tmrFireEvent_Timer();
    PINLIB6_NO_EXPORT bool secondClickOfADouble();
    PINLIB6_NO_EXPORT void tmrAnimate_Timer();
    PINLIB6_NO_EXPORT void tmrAfterMinimize_Timer();
    PINLIB6_NO_EXPORT void FireAfterMinimize(QWidget *window);
    PINLIB6_NO_EXPORT void playZoom(const QRect &from, const QRect &to);
    PINLIB6_NO_EXPORT bool setFrame(int frame);

    std::unique_ptr<Private> d;
};

} // namespace pinlib6
