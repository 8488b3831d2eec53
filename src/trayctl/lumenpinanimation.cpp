#include "clock/timer.h"
#include "trayctl/lumenpin.h"
#include "trayctl/lumenpinprivate.h"

namespace pinlib6 {

namespace {
const QString kAnimate = QStringLiteral("animate");
const QString kBlink = QStringLiteral("blink");
} // namespace

bool Lumenpin::IsAnimating() const
{
    return d->animateTag == kAnimate && d->tmrAnimate->enabled();
}

bool Lumenpin::IsBlinking() const
{
    return d->animateTag == kBlink && d->tmrAnimate->enabled();
}

// A frame is shown, not set: the icon to come back to and the persistent property stay.
bool Lumenpin::setFrame(int frame)
{
    const ImageListItem *item = d->animImages ? d->animImages->ListImages().Item(frame) : nullptr;
    if (!item)
        return false;
    if (!item->Picture.isIcon()) {
        refuse(QStringLiteral("Frame %1 of the animation is no icon.").arg(frame));
        return false;
    }
    showPicture(item->Picture);
    return true;
}

bool Lumenpin::StartAnimation(const ImageList *imgList, int Interval, int StartFrame)
{
    if (Interval <= 0) {
        d->lastError = QStringLiteral("The interval must be at least 1 ms, not %1.").arg(Interval);
        return false;
    }
    if (IsBlinking())
        StopBlink();
    if (IsAnimating())
        StopAnimation();
    d->tmrAnimate->setInterval(Interval);
    if (!imgList) {
        d->lastError = QStringLiteral("No image list to animate.");
        return false;
    }
    const int count = imgList->ListImages().Count();
    if (count < 1)
        return true;
    const int first = StartFrame > count ? 1 : StartFrame;
    if (!imgList->ListImages().Item(first)) {
        d->lastError = QStringLiteral("The image list has no frame %1.").arg(StartFrame);
        return false;
    }
    d->savedIcon = d->trayIcon;
    d->animFrame = first;
    d->animImages = imgList;
    d->animateTag = kAnimate;
    setFrame(first);
    d->tmrAnimate->setEnabled(true);
    Q_EMIT animationChanged();
    return true;
}

void Lumenpin::StopAnimation()
{
    if (d->animateTag != kAnimate)
        return;
    d->animateTag.clear();
    d->tmrAnimate->setEnabled(false);
    d->animImages = nullptr;
    showPicture(d->savedIcon);
    Q_EMIT animationChanged();
}

bool Lumenpin::StartBlink(int Interval, bool StartAsVisible)
{
    if (Interval <= 0) {
        d->lastError = QStringLiteral("The interval must be at least 1 ms, not %1.").arg(Interval);
        return false;
    }
    if (IsAnimating())
        StopAnimation();
    if (IsBlinking())
        StopBlink();
    d->tmrAnimate->setInterval(Interval);
    d->savedIcon = d->trayIcon;
    d->blinkVisible = StartAsVisible;
    d->animateTag = kBlink;
    showPicture(StartAsVisible ? d->savedIcon : StdPicture(d->blankIcon));
    d->tmrAnimate->setEnabled(true);
    Q_EMIT animationChanged();
    return true;
}

void Lumenpin::StopBlink()
{
    if (d->animateTag != kBlink)
        return;
    d->animateTag.clear();
    d->tmrAnimate->setEnabled(false);
    d->blinkVisible = true;
    showPicture(d->savedIcon);
    Q_EMIT animationChanged();
}

void Lumenpin::tmrAnimate_Timer()
{
    if (d->animateTag == kAnimate) {
        // The count is read on every tick: frames added or removed meanwhile take effect.
        const int count = d->animImages ? d->animImages->ListImages().Count() : 0;
        if (++d->animFrame > count)
            d->animFrame = 1;
        setFrame(d->animFrame);
    } else if (d->animateTag == kBlink) {
        d->blinkVisible = !d->blinkVisible;
        showPicture(d->blinkVisible ? d->savedIcon : StdPicture(d->blankIcon));
    }
}

} // namespace pinlib6
