#include "trayctl/aboutbox.h"
#include "trayctl/lumenpin.h"
#include "trayctl/lumenpinprivate.h"

#include <QCursor>

#include <memory>

namespace pinlib6 {

namespace {
// The host window: the first widget among the control's parents, as a window.
QWidget *hostWindow(const QObject *control)
{
    for (QObject *p = control->parent(); p; p = p->parent()) {
        if (p->isWidgetType())
            return static_cast<QWidget *>(p)->window();
    }
    return nullptr;
}

std::optional<int> given(const QVariant &argument)
{
    if (!argument.isValid())
        return std::nullopt;
    return argument.toInt();
}
} // namespace

void Lumenpin::setPopupHandler(PopupHandler handler)
{
    d->popup = handler ? std::move(handler) : PopupHandler(showPopup);
}

bool Lumenpin::PopupMenu(
    QMenu *Menu, const QVariant &Flags, const QVariant &X, const QVariant &Y, QAction *DefaultMenu)
{
    // A blank helper window in front first, so the menu opened from the tray takes the input
    // and closes when the user clicks elsewhere.
    auto frmHidden = std::make_unique<QWidget>(nullptr, Qt::Tool | Qt::FramelessWindowHint);
    frmHidden->setObjectName(QStringLiteral("frmHidden"));
    frmHidden->setGeometry(-7, -7, 1, 1);
    frmHidden->show();
    frmHidden->raise();
    frmHidden->activateWindow();

    const bool ok
        = d->popup(hostWindow(this), {Menu, given(Flags), given(X), given(Y), DefaultMenu});
    frmHidden.reset();
    if (!ok)
        d->lastError = QStringLiteral("Invalid procedure call or argument");
    return ok;
}

bool Lumenpin::showPopup(QWidget *host, const PopupRequest &request)
{
    if (!request.menu)
        return false;
    const QPoint cursor = host ? host->mapFromGlobal(QCursor::pos()) : QCursor::pos();
    QPoint at(request.x.value_or(cursor.x()), request.y.value_or(cursor.y()));
    if (host)
        at = host->mapToGlobal(at);
    const int flags = request.flags.value_or(0);
    const int width = request.menu->sizeHint().width();
    if (flags & CenterAlign)
        at.rx() -= width / 2;
    else if (flags & RightAlign)
        at.rx() -= width;
    if (request.defaultMenu)
        request.menu->setDefaultAction(request.defaultMenu);
    request.menu->exec(at);
    return true;
}

void Lumenpin::AboutBox()
{
    frmLumenpinAbout about;
    about.exec();
}

} // namespace pinlib6
