#pragma once

#include "clock/clock.h"
#include "clock/timer.h"
#include "trayctl/lumenpin.h"
#include "trayctl/zoomeffect.h"

#include <QPointer>

#include <memory>
#include <optional>

namespace pinlib6 {

// The control's state, shared by its parts (properties, events, animation, zoom, popup).
struct PINLIB6_NO_EXPORT Lumenpin::Private {
    Private(TrayService &trayService, Clock *givenClock);

    // The service may go before the control (a host that declares it after the window that
    // parents the control): then there is no tray left to tell anything.
    QPointer<TrayService> service;
    std::unique_ptr<Clock> ownClock;
    Clock &clock;
    std::unique_ptr<Timer> tmrFireEvent;
    std::unique_ptr<Timer> tmrAnimate;
    std::unique_ptr<Timer> tmrAfterMinimize;
    QString animateTag; // "animate", "blink" or ""
    QIcon blankIcon;

    StdPicture trayIcon; // what the tray shows now
    QString trayTip;
    bool trayVisible = false; // wanted in the tray
    bool iconAdded = false;
    bool designMode = false;
    QMetaObject::Connection trayProc;
    int pendingEvent = 0;
    int pendingId = 0;
    QPointer<const ImageList> animImages;
    int animFrame = 1;
    bool blinkVisible = true;
    StdPicture savedIcon; // the real icon while animating or blinking
    QPointer<QWidget> minimizedWindow;

    QStringList changed;
    QString lastError;
    MessageHandler message;
    PopupHandler popup;
    QPointer<QMenu> iconMenu;
    bool menuShownByHost = false;
    std::optional<qint64> lastHostClick; // the tick of a click that may begin a double
    bool zoomEffectOn = true;
    std::unique_ptr<ZoomEffect> zoomEffect;
};

} // namespace pinlib6
