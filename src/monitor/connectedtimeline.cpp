#include "monitor/connectedtimeline.h"

#include "connection/linecontroller.h"

#include <QAction>
#include <QMenu>

ConnectedTimeLine::ConnectedTimeLine(LineController &line, QObject *parent)
    : QObject(parent)
    , m_time(QStringLiteral("00:00:00"))
{
    connect(&line, &LineController::connected, this, [this] { setUp(true); });
    connect(&line, &LineController::wentDown, this, [this] { setUp(false); });
    connect(&line, &LineController::timeChanged, this, [this](const QString &time) {
        m_time = time;
        if (m_open)
            showTime();
    });
}

void ConnectedTimeLine::attach(QMenu *menu)
{
    if (m_menu)
        m_menu->disconnect(this);
    m_menu = menu;
    m_open = false;
    if (!menu)
        return;
    m_action = new QAction(menu);
    m_action->setObjectName(QStringLiteral("mnuConnectedTime"));
    m_action->setEnabled(false);
    menu->insertAction(menu->actions().value(0), m_action);
    connect(menu, &QMenu::aboutToShow, this, [this] {
        m_open = true;
        showTime();
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { m_open = false; });
    showTime();
    m_action->setVisible(m_up);
}

void ConnectedTimeLine::setUp(bool up)
{
    m_up = up;
    if (!up)
        m_time = QStringLiteral("00:00:00");
    if (m_action)
        m_action->setVisible(up);
    showTime();
}

void ConnectedTimeLine::showTime()
{
    if (m_action)
        m_action->setText(tr("Connected %1").arg(m_time));
}
