#include "trayctl/zoomwatch.h"

#include "trayctl/lumenpin.h"

#include <QEvent>

namespace pinlib6 {

ZoomWatch::ZoomWatch(Lumenpin *owner, QWidget *window, QString key)
    : QObject(window)
    , m_owner(owner)
    , m_window(window)
    , m_key(std::move(key))
{
    setObjectName(QStringLiteral("ZoomWatch"));
    m_window->installEventFilter(this);
}

ZoomWatch::~ZoomWatch()
{
    m_window->removeEventFilter(this);
    Table &table = WatchTable();
    if (table.value(m_key) == this)
        table.remove(m_key);
}

ZoomWatch::Table &ZoomWatch::WatchTable()
{
    thread_local Table table;
    return table;
}

QString ZoomWatch::keyOf(QWidget *window)
{
    return QString::number(qint64(window->winId()));
}

ZoomWatch *ZoomWatch::find(const QString &key)
{
    return WatchTable().value(key);
}

int ZoomWatch::count()
{
    return int(WatchTable().size());
}

void ZoomWatch::add(Lumenpin *owner, QWidget *window)
{
    const QString key = keyOf(window);
    if (ZoomWatch *existing = find(key)) {
        if (Lumenpin *previousOwner = existing->OwnerControl())
            previousOwner->RemoveMinimizeWatch(window);
        else
            delete existing;
    }
    WatchTable().insert(key, new ZoomWatch(owner, window, key));
}

void ZoomWatch::remove(QWidget *window)
{
    if (!window)
        return;
    delete find(keyOf(window));
}

void ZoomWatch::removeAllOf(const Lumenpin *owner)
{
    const QList<ZoomWatch *> watches = WatchTable().values();
    for (ZoomWatch *watch : watches) {
        if (watch->m_owner == owner)
            delete watch;
    }
}

// A minimise (whatever else the new state holds) becomes a zoom to the tray: the window is
// hidden in its normal state instead, and the owner hears of it after the event is done.
bool ZoomWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window || event->type() != QEvent::WindowStateChange
        || !(m_window->windowState() & Qt::WindowMinimized) || !m_owner) {
        return false;
    }
    QPointer<ZoomWatch> alive(this);
    QWidget *window = m_window;
    m_owner->ZoomToTray(window);
    window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    if (alive)
        FireAfterMinimize(window);
    return true;
}

void ZoomWatch::FireAfterMinimize(QWidget *window)
{
    if (m_owner)
        m_owner->FireAfterMinimize(window);
}

} // namespace pinlib6
