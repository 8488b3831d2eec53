#include "trayctl/lumenpin.h"

#include "clock/realclock.h"
#include "clock/timer.h"

#include <QFileInfo>
#include <QPixmap>
#include <QWidget>

namespace {
constexpr int kFireEventDelayMs = 5;
} // namespace

Lumenpin::Lumenpin(TrayService &service, Clock *clock, QObject *parent)
    : QObject(parent)
    , m_service(service)
    , m_ownClock(clock ? nullptr : std::make_unique<RealClock>())
    , m_clock(clock ? *clock : *m_ownClock)
    , tmrFireEvent(std::make_unique<Timer>(m_clock, kFireEventDelayMs, false))
    , tmrAnimate(std::make_unique<Timer>(m_clock, 250, false))
{
    connect(tmrFireEvent.get(), &Timer::tick, this, &Lumenpin::fireEvent);
    connect(tmrAnimate.get(), &Timer::tick, this, &Lumenpin::animateTick);
    connect(&m_service, &TrayService::mouseMessage, this, &Lumenpin::PrepFireEvent);
}

Lumenpin::~Lumenpin()
{
    tmrFireEvent.reset();
    tmrAnimate.reset();
    if (m_added)
        notifyShell(TrayService::Operation::Delete, 0);
}

QIcon Lumenpin::blankIcon()
{
    QPixmap blank(16, 16);
    blank.fill(Qt::transparent);
    return QIcon(blank);
}

void Lumenpin::notifyShell(TrayService::Operation operation, int flags)
{
    NotifyRecord record;
    record.flags = flags;
    record.icon = m_icon;
    record.tip = NotifyRecord::shellTip(m_tip);
    m_service.notify(operation, record);
}

void Lumenpin::showIcon(const QIcon &icon)
{
    m_icon = icon;
    if (m_icon.isNull()) {
        if (m_added) {
            notifyShell(TrayService::Operation::Delete, 0);
            m_added = false;
        }
        return;
    }
    const int all = NotifyRecord::kMessageFlag | NotifyRecord::kIconFlag | NotifyRecord::kTipFlag;
    if (m_added) {
        notifyShell(TrayService::Operation::Modify, NotifyRecord::kIconFlag);
    } else if (m_visible) {
        notifyShell(TrayService::Operation::Add, all);
        m_added = true;
    }
}

void Lumenpin::setTrayIcon(const QIcon &icon)
{
    showIcon(icon);
}

bool Lumenpin::LoadIcon(const QString &fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    const QIcon icon(fileName);
    if (icon.availableSizes().isEmpty())
        return false;
    setTrayIcon(icon);
    return true;
}

void Lumenpin::setTrayTip(const QString &tip)
{
    if (tip == m_tip)
        return;
    m_tip = tip;
    if (m_added)
        notifyShell(TrayService::Operation::Modify, NotifyRecord::kTipFlag);
}

void Lumenpin::setTrayVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (visible && !m_added && !m_icon.isNull()) {
        notifyShell(TrayService::Operation::Add, NotifyRecord::kMessageFlag |
                                                     NotifyRecord::kIconFlag |
                                                     NotifyRecord::kTipFlag);
        m_added = true;
    } else if (!visible && m_added) {
        notifyShell(TrayService::Operation::Delete, 0);
        m_added = false;
    }
}

void Lumenpin::PrepFireEvent(int mEvent, int ID)
{
    Q_UNUSED(ID)
    // Only the last message before the tick is delivered.
    m_pendingEvent = mEvent;
    tmrFireEvent->setEnabled(true);
}

void Lumenpin::fireEvent()
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

void Lumenpin::ZoomToTray(QWidget *window)
{
    if (window)
        window->hide();
}

void Lumenpin::ZoomFromTray(QWidget *window)
{
    if (window)
        window->show();
}

bool Lumenpin::IsAnimating() const
{
    return m_mode == Mode::Animate && tmrAnimate->enabled();
}

bool Lumenpin::IsBlinking() const
{
    return m_mode == Mode::Blink && tmrAnimate->enabled();
}

void Lumenpin::StartAnimation(const ImageList *imgList, int Interval, int StartFrame)
{
    if (IsBlinking())
        StopBlink();
    if (IsAnimating())
        StopAnimation();
    tmrAnimate->setInterval(Interval);
    if (!imgList || imgList->Count() < 1 || StartFrame < 1)
        return;
    m_savedIcon = m_icon;
    m_animFrame = StartFrame > imgList->Count() ? 1 : StartFrame;
    setTrayIcon(imgList->Picture(m_animFrame));
    m_animImages = imgList;
    m_mode = Mode::Animate;
    tmrAnimate->setEnabled(true);
}

void Lumenpin::StopAnimation()
{
    if (!IsAnimating())
        return;
    tmrAnimate->setEnabled(false);
    m_mode = Mode::Idle;
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
    m_savedIcon = m_icon;
    m_blinkVisible = StartAsVisible;
    setTrayIcon(StartAsVisible ? m_savedIcon : blankIcon());
    m_mode = Mode::Blink;
    tmrAnimate->setEnabled(true);
}

void Lumenpin::StopBlink()
{
    if (!IsBlinking())
        return;
    tmrAnimate->setEnabled(false);
    m_mode = Mode::Idle;
    setTrayIcon(m_savedIcon);
}

void Lumenpin::animateTick()
{
    if (m_mode == Mode::Animate && m_animImages) {
        if (++m_animFrame > m_animImages->Count())
            m_animFrame = 1;
        setTrayIcon(m_animImages->Picture(m_animFrame));
    } else if (m_mode == Mode::Blink) {
        m_blinkVisible = !m_blinkVisible;
        setTrayIcon(m_blinkVisible ? m_savedIcon : blankIcon());
    }
}
