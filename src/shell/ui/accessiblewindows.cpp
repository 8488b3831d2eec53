#include "shell/ui/accessiblewindows.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>

namespace {

QAccessibleInterface *windowInterface(const QString &className, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    // Only the most derived class answers, and only for direct QWidget subclasses: dialogs,
    // main windows and Qt's own widgets keep the interfaces Qt gives them.
    if (!widget || !widget->isWindow()
        || className != QLatin1StringView(object->metaObject()->className())
        || object->metaObject()->superClass() != &QWidget::staticMetaObject)
        return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void installAccessibleWindows()
{
    QAccessible::installFactory(&windowInterface);
}
