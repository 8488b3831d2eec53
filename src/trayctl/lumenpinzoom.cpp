#include "clock/timer.h"
#include "trayctl/lumenpin.h"
#include "trayctl/zoomeffect.h"
#include "trayctl/zoomwatch.h"

#include <cmath>

// The strip at the horizontal centre of the tray, in the tray's edge coordinates (right and
// bottom exclusive): left = right - width / 2, rounded half to even; one pixel wide.
QRect Lumenpin::trayStrip(const QRect &tray)
{
    const int right = tray.x() + tray.width();
    const double centre = right - tray.width() / 2.0;
    const int left = int(std::nearbyint(centre)); // the default rounding: halves to even
    return QRect(left, tray.y(), 1, tray.height());
}

QRect Lumenpin::trayTarget() const
{
    // No tray known: the empty rectangle at the screen's top-left corner.
    return trayStrip(m_service.trayGeometry());
}

void Lumenpin::playZoom(const QRect &from, const QRect &to)
{
    // Without the tray's place (StatusNotifier hosts do not tell it) the rectangle would fly
    // to the screen's corner: the window only hides or shows.
    if (!m_zoomEffectOn || !ZoomEffect::supported() || m_service.trayGeometry().isEmpty())
        return;
    if (!m_zoomEffect)
        m_zoomEffect = std::make_unique<ZoomEffect>(m_clock);
    m_zoomEffect->play(from, to);
}

void Lumenpin::ZoomToTray(QWidget *hWnd)
{
    if (!hWnd)
        return;
    const QRect start = hWnd->frameGeometry();
    playZoom(start, trayTarget());
    hWnd->hide();
}

void Lumenpin::ZoomFromTray(QWidget *hWnd)
{
    if (!hWnd)
        return;
    hWnd->hide();
    const QRect end = hWnd->frameGeometry();
    playZoom(trayTarget(), end);
    hWnd->show();
    hWnd->activateWindow();
}

void Lumenpin::AddMinimizeWatch(QWidget *hWnd)
{
    if (hWnd)
        ZoomWatch::add(this, hWnd);
}

void Lumenpin::RemoveMinimizeWatch(QWidget *hWnd)
{
    ZoomWatch::remove(hWnd);
}

void Lumenpin::FireAfterMinimize(QWidget *window)
{
    m_minimizedWindow = window;
    tmrAfterMinimize->setEnabled(true);
}

void Lumenpin::tmrAfterMinimize_Timer()
{
    tmrAfterMinimize->setEnabled(false);
    Q_EMIT AfterMinimize(m_minimizedWindow);
}
