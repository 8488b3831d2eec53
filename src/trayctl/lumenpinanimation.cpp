#include "clock/timer.h"
#include "trayctl/lumenpin.h"

namespace {
const QString kAnimate = QStringLiteral("animate");
const QString kBlink = QStringLiteral("blink");
} // namespace

bool Lumenpin::IsAnimating() const
{
    return m_animateTag == kAnimate && tmrAnimate->enabled();
}

bool Lumenpin::IsBlinking() const
{
    return m_animateTag == kBlink && tmrAnimate->enabled();
}

bool Lumenpin::setFrame(int frame)
{
    const ImageListItem *item = m_animImages ? m_animImages->ListImages().Item(frame) : nullptr;
    if (!item)
        return false;
    setTrayIcon(item->Picture);
    return true;
}

bool Lumenpin::StartAnimation(const ImageList *imgList, int Interval, int StartFrame)
{
    if (IsBlinking())
        StopBlink();
    if (IsAnimating())
        StopAnimation();
    tmrAnimate->setInterval(Interval);
    if (!imgList) {
        m_lastError = QStringLiteral("Object required");
        return false;
    }
    const int count = imgList->ListImages().Count();
    if (count < 1)
        return true;
    m_savedIcon = m_trayIcon;
    m_animFrame = StartFrame > count ? 1 : StartFrame;
    const ImageListItem *first = imgList->ListImages().Item(m_animFrame);
    if (!first) {
        m_lastError = QStringLiteral("Index out of bounds");
        return false;
    }
    setTrayIcon(first->Picture);
    m_animImages = imgList;
    m_animateTag = kAnimate;
    tmrAnimate->setEnabled(true);
    return true;
}

void Lumenpin::StopAnimation()
{
    if (m_animateTag != kAnimate)
        return;
    m_animateTag.clear();
    tmrAnimate->setEnabled(false);
    m_animImages = nullptr;
    setTrayIcon(m_savedIcon);
}

void Lumenpin::StartBlink(int Interval, bool StartAsVisible)
{
    if (IsAnimating())
        StopAnimation();
    if (IsBlinking())
        StopBlink();
    tmrAnimate->setInterval(Interval);
    m_savedIcon = m_trayIcon;
    m_blinkVisible = StartAsVisible;
    setTrayIcon(StartAsVisible ? m_savedIcon : StdPicture(m_blankIcon));
    m_animateTag = kBlink;
    tmrAnimate->setEnabled(true);
}

void Lumenpin::StopBlink()
{
    if (m_animateTag != kBlink)
        return;
    m_animateTag.clear();
    tmrAnimate->setEnabled(false);
    m_blinkVisible = true;
    setTrayIcon(m_savedIcon);
}

void Lumenpin::tmrAnimate_Timer()
{
    if (m_animateTag == kAnimate) {
        // The count is read on every tick: frames added or removed meanwhile take effect.
        const int count = m_animImages ? m_animImages->ListImages().Count() : 0;
        if (++m_animFrame > count)
            m_animFrame = 1;
        setFrame(m_animFrame);
    } else if (m_animateTag == kBlink) {
        m_blinkVisible = !m_blinkVisible;
        setTrayIcon(m_blinkVisible ? m_savedIcon : StdPicture(m_blankIcon));
    }
}
