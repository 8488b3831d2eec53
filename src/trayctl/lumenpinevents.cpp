#include "clock/timer.h"
#include "trayctl/lumenpin.h"

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
    m_pendingEvent = mEvent;
    m_pendingId = ID;
    tmrFireEvent->setEnabled(true);
}

void Lumenpin::tmrFireEvent_Timer()
{
    tmrFireEvent->setEnabled(false);
    using namespace MouseMessage;
    switch (m_pendingEvent) {
    case MouseMessage::MouseMove: Q_EMIT this->MouseMove(); break;
    case LeftDown: Q_EMIT MouseDown(1); break;
    case LeftUp:
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
