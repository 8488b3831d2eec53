#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class LineController;
class QAction;
class QMenu;

// The first, disabled line of the icon's own menu (the one hosts show themselves): "Connected
// 00:12:04" while a line of ours is up, for hosts that show no tooltip (GNOME Shell's
// extension), hidden otherwise. The time follows only while the menu is open, so a host is not
// woken once a second for a menu nobody looks at.
class ConnectedTimeLine : public QObject
{
    Q_OBJECT

public:
    explicit ConnectedTimeLine(LineController &line, QObject *parent = nullptr);

    // Puts the line at the top of `menu` (again for a menu built anew).
    void attach(QMenu *menu);
    QAction *action() const { return m_action; }

private:
    void setUp(bool up);
    void showTime();

    QPointer<QMenu> m_menu;
    QPointer<QAction> m_action;
    QString m_time;
    bool m_up = false;
    bool m_open = false;
};
