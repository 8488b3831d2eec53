#include "monitor/bandmenu/bandlayout.h"

#include <QHash>
#include <QSet>

namespace {

// Depth-first walk along "opens" links; a band met again on the current path is a circle,
// which would make the popup build submenus for ever.
bool opensInCircle(const QString &band, const QHash<QString, QStringList> &opens,
    QSet<QString> &onPath, QSet<QString> &done)
{
    if (done.contains(band))
        return false;
    if (onPath.contains(band))
        return true;
    onPath.insert(band);
    for (const QString &next : opens.value(band)) {
        if (opensInCircle(next, opens, onPath, done))
            return true;
    }
    onPath.remove(band);
    done.insert(band);
    return false;
}

} // namespace

QString BandLayout::problem() const
{
    QHash<QString, QString> toolOpens;
    for (const BandTool::State &tool : tools) {
        if (tool.name.isEmpty() || toolOpens.contains(tool.name))
            return QStringLiteral("tool name empty or used twice: \"%1\"").arg(tool.name);
        toolOpens.insert(tool.name, tool.opensBand);
    }
    QSet<QString> bandNames;
    for (const BandEntry &band : bands) {
        if (band.name.isEmpty() || bandNames.contains(band.name))
            return QStringLiteral("band name empty or used twice: \"%1\"").arg(band.name);
        bandNames.insert(band.name);
    }
    QHash<QString, QStringList> opens;
    for (const BandEntry &band : bands) {
        for (const QString &tool : band.tools) {
            if (!toolOpens.contains(tool))
                return QStringLiteral("band \"%1\" lists unknown tool \"%2\"").arg(band.name, tool);
            const QString sub = toolOpens.value(tool);
            if (!sub.isEmpty())
                opens[band.name].append(sub);
        }
    }
    for (auto it = toolOpens.cbegin(); it != toolOpens.cend(); ++it) {
        if (!it.value().isEmpty() && !bandNames.contains(it.value()))
            return QStringLiteral("tool \"%1\" opens unknown band \"%2\"")
                .arg(it.key(), it.value());
    }
    QSet<QString> onPath, done;
    for (const BandEntry &band : bands) {
        if (opensInCircle(band.name, opens, onPath, done))
            return QStringLiteral("bands open each other in a circle from \"%1\"").arg(band.name);
    }
    return QString();
}
