#pragma once

#include "pinlib6_export.h"
#include "trayctl/imagelist.h"
#include "trayctl/trayservice.h"

#include <QIcon>
#include <QObject>
#include <QPointer>

#include <memory>

class Clock;
class Timer;
class QWidget;

// The tray icon control: one icon in the notification area with its tip, the icon's mouse
// activity as events, animation through an image list, blinking, and the zoom of windows to
// and from the tray. Its timers run on the clock it is given (a real one by default).
class PINLIB6_EXPORT Lumenpin : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("TrayIcon", "Sets the icon to show in the system tray.")
    Q_CLASSINFO("LoadIcon", "Loads an icon from disk into the TrayIcon property.")
    Q_CLASSINFO("TrayTip", "The tooltip that will be shown when the user leaves his mouse cursor "
                           "over the system tray icon for a few seconds.")
    Q_CLASSINFO("TrayVisible", "Toggles the visible state of the icon in the system tray.")
    Q_CLASSINFO("TrayShow", "Shows the icon in the system tray.")
    Q_CLASSINFO("TrayHide", "Hides the icon in the system tray.")
    Q_CLASSINFO("AboutBox", "Displays about box.")
    Q_CLASSINFO("ZoomToTray", "Zoom a window to the system tray.")
    Q_CLASSINFO("ZoomFromTray", "Zoom a window from the system tray.")
    Q_CLASSINFO("StartAnimation", "Start animating the system tray icon.")
    Q_CLASSINFO("StopAnimation", "Stop animating the system tray icon.")
    Q_CLASSINFO("StartBlink", "Start blinking the system tray icon.")
    Q_CLASSINFO("StopBlink", "Stop blinking the system tray icon.")

public:
    // The service is not owned; without a clock the control keeps a real one of its own.
    explicit Lumenpin(TrayService &service, Clock *clock = nullptr, QObject *parent = nullptr);
    ~Lumenpin() override;

    QIcon TrayIcon() const { return m_icon; }
    void setTrayIcon(const QIcon &icon);
    // False (and nothing changes) when the file is missing or holds no icon.
    bool LoadIcon(const QString &fileName);
    QString TrayTip() const { return m_tip; }
    void setTrayTip(const QString &tip);
    bool TrayVisible() const { return m_visible; }
    void setTrayVisible(bool visible);
    void TrayShow() { setTrayVisible(true); }
    void TrayHide() { setTrayVisible(false); }

    // Records the last mouse message; the events follow 5 ms later.
    void PrepFireEvent(int mEvent, int ID);

    void ZoomToTray(QWidget *window);
    void ZoomFromTray(QWidget *window);

    void StartAnimation(const ImageList *imgList, int Interval = 250, int StartFrame = 1);
    void StopAnimation();
    void StartBlink(int Interval = 750, bool StartAsVisible = true);
    void StopBlink();
    bool IsAnimating() const;
    bool IsBlinking() const;

    static QIcon blankIcon();

Q_SIGNALS:
    void AfterMinimize(quintptr hWnd);
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
    enum class Mode { Idle, Animate, Blink };
    void showIcon(const QIcon &icon);
    void notifyShell(TrayService::Operation operation, int flags);
    void fireEvent();
    void animateTick();

    TrayService &m_service;
    std::unique_ptr<Clock> m_ownClock;
    Clock &m_clock;
    std::unique_ptr<Timer> tmrFireEvent;
    std::unique_ptr<Timer> tmrAnimate;
    QIcon m_icon;
    QString m_tip;
    bool m_visible = false;
    bool m_added = false;
    int m_pendingEvent = 0;
    Mode m_mode = Mode::Idle;
    const ImageList *m_animImages = nullptr;
    int m_animFrame = 1;
    bool m_blinkVisible = true;
    QIcon m_savedIcon;
};
