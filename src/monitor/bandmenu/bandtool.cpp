#include "monitor/bandmenu/bandtool.h"

BandTool::BandTool(State state, QObject *parent)
    : QObject(parent)
    , m_state(std::move(state))
{ }

void BandTool::setCaption(const QString &caption)
{
    m_state.caption = caption;
    Q_EMIT changed();
}

void BandTool::setEnabled(bool enabled)
{
    m_state.enabled = enabled;
    Q_EMIT changed();
}

void BandTool::setChecked(bool checked)
{
    m_state.checked = checked;
    Q_EMIT changed();
}

void BandTool::setVisible(bool visible)
{
    m_state.visible = visible;
    Q_EMIT changed();
}

void BandTool::setPicture(const QPixmap &picture)
{
    m_state.picture = picture;
    Q_EMIT changed();
}

void BandTool::setState(State state)
{
    Q_ASSERT(state.name == m_state.name);
    m_state = std::move(state);
    Q_EMIT changed();
}
