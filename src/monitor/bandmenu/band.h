#pragma once

#include <QList>
#include <QString>

class BandTool;

// A band: a named, ordered list of tools, shown as a popup menu.
class Band
{
public:
    Band(QString name, QString caption, QList<BandTool *> tools);

    QString name() const { return m_name; }
    QString caption() const { return m_caption; }
    const QList<BandTool *> &tools() const { return m_tools; }
    // The band's own tool of that name, or null when the band does not list it.
    BandTool *tool(const QString &name) const;

private:
    QString m_name;
    QString m_caption;
    QList<BandTool *> m_tools;
};
