#include "clock/clock.h"
#include "clock/timer.h"
#include "trayctl/lumenpin.h"
#include "trayctl/lumenpinprivate.h"

#include <QGuiApplication>
#include <QStyleHints>

namespace pinlib6 {

// The tray's messages for this control's icon: the callback message carries the icon id and
// the mouse message. Connected only while the icon is in the tray.
void Lumenpin::TrayWindowProc(quintptr window, int message, qintptr wParam, qintptr lParam)
{
    if (window == hWnd() && message == NotifyRecord::kCallbackMessage)
        PrepFireEvent(int(lParam), int(wParam));
}

void Lumenpin::PrepFireEvent(int mEvent, int ID)
{
    // A message recorded while the timer is armed replaces the pending one.
    d->pendingEvent = mEvent;
    d->pendingId = ID;
    d->tmrFireEvent->setEnabled(true);
}

void Lumenpin::tmrFireEvent_Timer()
{
    d->tmrFireEvent->setEnabled(false);
    using namespace MouseMessage;
    switch (d->pendingEvent) {
    case MouseMessage::MouseMove: Q_EMIT this->MouseMove(); break;
    case LeftDown: Q_EMIT MouseDown(1); break;
    case LeftUp:
        if (secondClickOfADouble()) {
            Q_EMIT LeftDblClick();
            Q_EMIT DblClick();
            Q_EMIT AnyDblClick();
            break;
        }
        Q_EMIT MouseUp(1);
        Q_EMIT LeftClick();
        Q_EMIT Click();
        Q_EMIT AnyClick();
        break;
    case LeftDoubleClick:
        Q_EMIT LeftDblClick();
        Q_EMIT DblClick();
        Q_EMIT AnyDblClick();
        break;
    case RightDown: Q_EMIT MouseDown(2); break;
    case RightUp:
        Q_EMIT MouseUp(2);
        Q_EMIT RightClick();
        Q_EMIT AnyClick();
        break;
    case RightDoubleClick:
        Q_EMIT RightDblClick();
        Q_EMIT AnyDblClick();
        break;
    case MiddleDown: Q_EMIT MouseDown(4); break;
    case MiddleUp:
        Q_EMIT MouseUp(4);
        Q_EMIT MiddleClick();
        Q_EMIT AnyClick();
        break;
    case MiddleDoubleClick:
        Q_EMIT MiddleDblClick();
        Q_EMIT AnyDblClick();
        break;
    default: break;
    }
}

// A host that shows the icon's menu itself (a StatusNotifier host) sends one activation per
// click and never a double click: there the second of two clicks within the desktop's
// double-click time is the double click, and a third click starts afresh.
bool Lumenpin::secondClickOfADouble()
{
    if (!d->menuShownByHost)
        return false;
    const qint64 now = d->clock.tickCount();
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const bool second = d->lastHostClick && now - *d->lastHostClick <= interval;
    d->lastHostClick = second ? std::nullopt : std::optional<qint64>(now);
    return second;
}

} // namespace pinlib6
