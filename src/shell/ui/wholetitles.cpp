#include "shell/ui/wholetitles.h"

#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QWidget>

namespace {
// The window icon, three buttons and the margins of a usual title bar.
constexpr int kTitleBarExtras = 150;
} // namespace

int WholeTitles::titleWidth(const QWidget &window)
{
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(window.windowTitle()) + kTitleBarExtras;
}

bool WholeTitles::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Show || !watched->isWidgetType())
        return false;
    auto *window = static_cast<QWidget *>(watched);
    const Qt::WindowType type = window->windowType();
    if (!window->isWindow() || window->windowTitle().isEmpty() || type == Qt::Popup
        || type == Qt::ToolTip || type == Qt::SplashScreen)
        return false;
    const int needed = titleWidth(*window);
    if (window->minimumWidth() < needed) {
        window->setMinimumWidth(needed);
        if (window->maximumWidth() < needed)
            window->setMaximumWidth(needed);
    }
    return false;
}
