#include "app/lumenpinstatus.h"

#include "shell/apppaths.h"
#include "trayctl/lumenpin.h"

#include <QHash>
#include <QIcon>

namespace {
constexpr int kDialFrameMs = 600;

// The program folder's tray pictures and their names in the icon theme.
QString themeName(const QString &fileName)
{
    static const QHash<QString, QString> names{
        {QStringLiteral("net10a.ico"), QStringLiteral("bvane-connected")},
        {QStringLiteral("net10b.ico"), QStringLiteral("bvane-offline")},
        {QStringLiteral("mail.ico"), QStringLiteral("bvane-mail")},
    };
    return names.value(fileName);
}
} // namespace

LumenpinStatus::LumenpinStatus(Lumenpin &icon, const ImageList &dialFrames, const AppPaths &paths)
    : m_icon(icon)
    , m_dialFrames(dialFrames)
    , m_paths(paths)
{ }

// An installed program finds its pictures in the icon theme: the icon then carries its theme
// name, which StatusNotifier hosts draw at their own size (and GNOME's panel in its symbolic
// form). A build tree's pictures are not where the hosts look, so there the program folder's
// icon goes as pixmaps.
void LumenpinStatus::show(Lumenpin &icon, const AppPaths &paths, const QString &fileName)
{
    const QString name = themeName(fileName);
    if (!name.isEmpty() && QIcon::hasThemeIcon(name))
        icon.setTrayIcon(QIcon::fromTheme(name));
    else
        icon.LoadIcon(paths.resource(fileName));
}

void LumenpinStatus::showIcon(const QString &fileName)
{
    show(m_icon, m_paths, fileName);
}

void LumenpinStatus::setTip(const QString &tip)
{
    m_icon.setTrayTip(tip);
}

void LumenpinStatus::startDialAnimation()
{
    m_icon.StartAnimation(&m_dialFrames, kDialFrameMs);
}

void LumenpinStatus::stopAnimation()
{
    m_icon.StopAnimation();
}

void LumenpinStatus::startBlink()
{
    m_icon.StartBlink();
}

void LumenpinStatus::stopBlink()
{
    m_icon.StopBlink();
}
