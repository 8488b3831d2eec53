#include "clock/timer.h"
#include "trayctl/lumenpin.h"
#include "trayctl/lumenpinprivate.h"
#include "trayctl/zoomeffect.h"
#include "trayctl/zoomwatch.h"

#include <cmath>

namespace pinlib6 {

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
    return trayStrip(d->service ? d->service->trayGeometry() : QRect());
}

void Lumenpin::playZoom(const QRect &from, const QRect &to)
{
    // Without the tray's place (StatusNotifier hosts do not tell it) the rectangle would fly
    // to the screen's corner: the window only hides or shows.
    if (!d->zoomEffectOn || !ZoomEffect::supported() || !d->service
        || d->service->trayGeometry().isEmpty()) {
        return;
    }
    if (!d->zoomEffect)
        d->zoomEffect = std::make_unique<ZoomEffect>(d->clock);
    d->zoomEffect->play(from, to);
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
    // A minimised window comes back in its normal state first: shown as it is it would stay
    // minimised.
    if (hWnd->isMinimized())
        hWnd->setWindowState(hWnd->windowState() & ~Qt::WindowMinimized);
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
    d->minimizedWindow = window;
    d->tmrAfterMinimize->setEnabled(true);
}

void Lumenpin::tmrAfterMinimize_Timer()
{
    d->tmrAfterMinimize->setEnabled(false);
    Q_EMIT AfterMinimize(d->minimizedWindow);
}

} // namespace pinlib6
