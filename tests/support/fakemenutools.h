#pragma once

#include "shell/menutools.h"

#include <QHash>
#include <QPixmap>

// MenuTools that remembers what the forms did to each tool.
class FakeMenuTools : public MenuTools
{
public:
    struct Tool {
        bool checked = false;
        bool enabled = true;
        bool visible = true;
        QHash<QString, QString> captions; // by band
        QHash<QString, QPixmap> pictures; // by band
    };

    bool toolChecked(const QString &tool) const override { return m_tools.value(tool).checked; }
    bool toolEnabled(const QString &tool) const override { return m_tools.value(tool).enabled; }
    bool toolVisible(const QString &tool) const override { return m_tools.value(tool).visible; }
    void setToolChecked(const QString &tool, bool checked) override
    {
        m_tools[tool].checked = checked;
    }
    void setToolEnabled(const QString &tool, bool enabled) override
    {
        m_tools[tool].enabled = enabled;
    }
    void setToolVisible(const QString &tool, bool visible) override
    {
        m_tools[tool].visible = visible;
    }
    void setToolCaption(const QString &band, const QString &tool, const QString &caption) override
    {
        m_tools[tool].captions[band] = caption;
    }

    void setToolPicture(const QString &band, const QString &tool, const QPixmap &picture) override
    {
        m_tools[tool].pictures[band] = picture;
    }
    void refreshBands() override { ++refreshes; }
    bool saveLayout() override
    {
        ++saves;
        return true;
    }

    Tool tool(const QString &name) const { return m_tools.value(name); }
    int refreshes = 0;
    int saves = 0;

private:
    QHash<QString, Tool> m_tools;
};
