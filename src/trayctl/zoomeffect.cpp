#include "trayctl/zoomeffect.h"

#include "clock/timer.h"

#include <QGuiApplication>
#include <QPainter>

namespace pinlib6 {

namespace {
QRect between(const QRect &a, const QRect &b, double t)
{
    const auto mix = [t](int x, int y) { return x + int((y - x) * t); };
    return QRect(QPoint(mix(a.left(), b.left()), mix(a.top(), b.top())),
        QPoint(mix(a.right(), b.right()), mix(a.bottom(), b.bottom())));
}
} // namespace

ZoomEffect::ZoomEffect(Clock &clock)
    : QWidget(nullptr,
        Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput
            | Qt::WindowDoesNotAcceptFocus | Qt::X11BypassWindowManagerHint)
    , m_timer(std::make_unique<Timer>(clock, kStepMs, false))
{
    setObjectName(QStringLiteral("ZoomEffect"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(m_timer.get(), &Timer::tick, this, &ZoomEffect::step);
}

ZoomEffect::~ZoomEffect() = default;

bool ZoomEffect::supported()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool ZoomEffect::running() const
{
    return m_timer->enabled();
}

void ZoomEffect::play(const QRect &from, const QRect &to)
{
    m_from = from;
    m_to = to;
    m_step = 0;
    setGeometry(from.normalized());
    show();
    m_timer->setEnabled(false);
    m_timer->setEnabled(true);
}

void ZoomEffect::step()
{
    if (++m_step >= kSteps) {
        m_timer->setEnabled(false);
        hide();
        return;
    }
    setGeometry(between(m_from, m_to, double(m_step) / kSteps).normalized());
}

void ZoomEffect::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor caption = palette().color(QPalette::Highlight);
    painter.setPen(QPen(caption, 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
    painter.fillRect(QRect(0, 0, width(), qMin(height(), 6)), caption);
}

} // namespace pinlib6
