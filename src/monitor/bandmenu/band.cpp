#include "monitor/bandmenu/band.h"

#include "monitor/bandmenu/bandtool.h"

Band::Band(QString name, QString caption, QList<BandTool *> tools)
    : m_name(std::move(name))
    , m_caption(std::move(caption))
    , m_tools(std::move(tools))
{ }

BandTool *Band::tool(const QString &name) const
{
    for (BandTool *tool : m_tools) {
        if (tool->name() == name)
            return tool;
    }
    return nullptr;
}
