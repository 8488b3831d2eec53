#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace pinlib6 {

class Lumenpin;

// The minimise watch on one window: an event filter that turns the window's minimise into a
// zoom to the tray and the owner's AfterMinimize. The watches of a thread live in one table,
// keyed by the window id in decimal; each remembers the control that set it up. A watch is a
// child of its window, so the window's end takes it (and its table entry) away.
class ZoomWatch : public QObject
{
    Q_OBJECT

public:
    ~ZoomWatch() override;

    static QString keyOf(QWidget *window);
    static ZoomWatch *find(const QString &key);
    // Sets up the watch on `window` for `owner`, replacing an existing one.
    static void add(Lumenpin *owner, QWidget *window);
    // Ends the watch on `window`, whoever set it up; no watch is no error.
    static void remove(QWidget *window);
    // Ends every watch `owner` set up (the control is going away).
    static void removeAllOf(const Lumenpin *owner);
    static int count();

    QWidget *hWnd() const { return m_window; }
    Lumenpin *OwnerControl() const { return m_owner; }
    void FireAfterMinimize(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ZoomWatch(Lumenpin *owner, QWidget *window, QString key);
    using Table = QHash<QString, ZoomWatch *>;
    static Table &WatchTable();

    QPointer<Lumenpin> m_owner;
    QWidget *m_window;
    QString m_key;
};

} // namespace pinlib6
