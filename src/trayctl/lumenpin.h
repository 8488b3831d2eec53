#pragma once

#include "pinlib6_export.h"
#include "trayctl/imagelist.h"
#include "trayctl/stdpicture.h"
#include "trayctl/trayservice.h"

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class Timer;
class ZoomEffect;

// The tray icon control: one icon in the notification area with its tip, the icon's mouse
// activity as events, animation through an image list, blinking, the zoom of windows to and
// from the tray, a minimise watch on windows and popup menus. Its timers run on the clock it
// is given (a real one by default). Members carry their help strings as class info, in the
// order of the control's interface.
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

    Q_PROPERTY(StdPicture TrayIcon READ TrayIcon WRITE setTrayIcon)
    Q_PROPERTY(QString TrayTip READ TrayTip WRITE setTrayTip)
    Q_PROPERTY(bool TrayVisible READ TrayVisible WRITE setTrayVisible)
    Q_PROPERTY(bool IsAnimating READ IsAnimating)
    Q_PROPERTY(bool IsBlinking READ IsBlinking)

public:
    // The service is not owned; without a clock the control keeps a real one of its own.
    // A new control is in run mode with the properties of a first placement.
    explicit Lumenpin(TrayService &service, Clock *clock = nullptr, QObject *parent = nullptr);
    // Takes the icon out of the tray and ends the control's minimise watches.
    ~Lumenpin() override;

    // The interface, in its order.
    StdPicture TrayIcon() const { return m_trayIcon; }
    void setTrayIcon(const StdPicture &picture);
    // False (and nothing changes) when the file is missing or unreadable; lastError() says why.
    Q_INVOKABLE bool LoadIcon(const QString &FileName);
    QString TrayTip() const { return m_trayTip; }
    void setTrayTip(const QString &tip);
    bool TrayVisible() const { return m_trayVisible; }
    void setTrayVisible(bool visible);
    Q_INVOKABLE QVariant TrayShow();
    Q_INVOKABLE QVariant TrayHide();
    // Records the last mouse message; the events follow on the next tick of tmrFireEvent.
    Q_INVOKABLE void PrepFireEvent(int mEvent, int ID);
    Q_INVOKABLE void AboutBox();
    Q_INVOKABLE void AddMinimizeWatch(QWidget *hWnd);
    Q_INVOKABLE void RemoveMinimizeWatch(QWidget *hWnd);
    Q_INVOKABLE void ZoomToTray(QWidget *hWnd);
    Q_INVOKABLE void ZoomFromTray(QWidget *hWnd);
    // False when the list has no ListImages or the first frame cannot be found.
    Q_INVOKABLE bool StartAnimation(
        const ImageList *imgList, int Interval = 250, int StartFrame = 1);
    Q_INVOKABLE void StopAnimation();
    Q_INVOKABLE void StartBlink(int Interval = 750, bool StartAsVisible = true);
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
    bool designMode() const { return m_designMode; }
    void setDesignMode(bool design) { m_designMode = design; }
    // The three persistent properties ("TrayIcon", "TrayTip", "TrayVisible"); values equal
    // to their defaults are left out of the bag.
    void InitProperties();
    void ReadProperties(const QVariantMap &bag);
    QVariantMap WriteProperties() const;
    // Properties changed since the host last saved (the host clears the marks when it does).
    QStringList changedProperties() const { return m_changed; }
    void clearChangedProperties() { m_changed.clear(); }
    QString lastError() const { return m_lastError; }
    // Where the control's information messages go (a message box by default).
    void setMessageHandler(MessageHandler handler);
    // The host window's popup operation (QMenu::exec at the place asked for by default).
    void setPopupHandler(PopupHandler handler);
    static bool showPopup(QWidget *host, const PopupRequest &request);
    // Whether zooms draw their rectangle on the screen (off where windows cannot be placed).
    // Where the tray does not tell the icon's place the rectangle is always left out.
    void setZoomEffect(bool on) { m_zoomEffectOn = on; }
    // The icon's own menu, for hosts that show it themselves (see TrayService::setIconMenu);
    // handed again each time the icon enters the tray. Not owned.
    void setIconMenu(QMenu *menu);
    // Whether the host shows the icon's menu itself (and sends no double click: there two
    // clicks within the desktop's double-click time raise LeftDblClick for the second).
    bool menuShownByHost() const { return m_menuShownByHost; }
    // The target of a zoom: the one-pixel strip at the centre of the tray.
    QRect trayTarget() const;
    static QRect trayStrip(const QRect &tray);

    QIcon imgBlankIcon() const { return m_blankIcon; }

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

private:
    friend class ZoomWatch;
    void markChanged(const QString &name);
    void invalidIcon();
    void notifyShell(TrayService::Operation operation, int flags);
    void addIcon();
    void deleteIcon();
    void TrayWindowProc(quintptr window, int message, qintptr wParam, qintptr lParam);
    void tmrFireEvent_Timer();
    bool secondClickOfADouble();
    void tmrAnimate_Timer();
    void tmrAfterMinimize_Timer();
    void FireAfterMinimize(QWidget *window);
    void playZoom(const QRect &from, const QRect &to);
    bool setFrame(int frame);

    TrayService &m_service;
    std::unique_ptr<Clock> m_ownClock;
    Clock &m_clock;
    std::unique_ptr<Timer> tmrFireEvent;
    std::unique_ptr<Timer> tmrAnimate;
    std::unique_ptr<Timer> tmrAfterMinimize;
    QString m_animateTag; // "animate", "blink" or ""
    QIcon m_blankIcon;

    StdPicture m_trayIcon;
    QString m_trayTip;
    bool m_trayVisible = false;
    bool m_iconAdded = false;
    bool m_designMode = false;
    QMetaObject::Connection m_trayProc;
    int m_pendingEvent = 0;
    int m_pendingId = 0;
    QPointer<const ImageList> m_animImages;
    int m_animFrame = 1;
    bool m_blinkVisible = true;
    StdPicture m_savedIcon;
    QPointer<QWidget> m_minimizedWindow;

    QStringList m_changed;
    QString m_lastError;
    MessageHandler m_message;
    PopupHandler m_popup;
    QPointer<QMenu> m_iconMenu;
    bool m_menuShownByHost = false;
    std::optional<qint64> m_lastHostClick; // the tick of a click that may begin a double
    bool m_zoomEffectOn = true;
    std::unique_ptr<ZoomEffect> m_zoomEffect;
};
