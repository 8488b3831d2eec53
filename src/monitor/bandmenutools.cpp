#include "monitor/bandmenutools.h"

#include "monitor/bandmenu/bandmenu.h"

BandMenuTools::BandMenuTools(BandMenu &menu, QString layoutPath)
    : m_menu(menu)
    , m_layoutPath(std::move(layoutPath))
{ }

// A tool the layout does not hold (a hand-edited layout file) reads as unset and ignores
// what is set on it.
bool BandMenuTools::toolChecked(const QString &tool) const
{
    const BandTool *t = m_menu.tool(tool);
    return t && t->checked();
}

bool BandMenuTools::toolEnabled(const QString &tool) const
{
    const BandTool *t = m_menu.tool(tool);
    return t && t->enabled();
}

bool BandMenuTools::toolVisible(const QString &tool) const
{
    const BandTool *t = m_menu.tool(tool);
    return t && t->visible();
}

void BandMenuTools::setToolChecked(const QString &tool, bool checked)
{
    if (BandTool *t = m_menu.tool(tool))
        t->setChecked(checked);
}

void BandMenuTools::setToolEnabled(const QString &tool, bool enabled)
{
    if (BandTool *t = m_menu.tool(tool))
        t->setEnabled(enabled);
}

void BandMenuTools::setToolVisible(const QString &tool, bool visible)
{
    if (BandTool *t = m_menu.tool(tool))
        t->setVisible(visible);
}

void BandMenuTools::setToolCaption(const QString &band, const QString &tool, const QString &caption)
{
    const Band *b = m_menu.band(band);
    if (BandTool *t = b ? b->tool(tool) : nullptr)
        t->setCaption(caption);
}

void BandMenuTools::setToolPicture(const QString &band, const QString &tool, const QPixmap &picture)
{
    const Band *b = m_menu.band(band);
    if (BandTool *t = b ? b->tool(tool) : nullptr)
        t->setPicture(picture);
}

void BandMenuTools::refreshBands()
{
    m_menu.refreshBands();
}

bool BandMenuTools::saveLayout()
{
    return m_menu.saveLayout(m_layoutPath);
}
