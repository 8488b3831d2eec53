#include "app/lumenpinstatus.h"

#include "shell/apppaths.h"
#include "trayctl/lumenpin.h"

namespace {
constexpr int kDialFrameMs = 600;
} // namespace

LumenpinStatus::LumenpinStatus(Lumenpin &icon, const ImageList &dialFrames, const AppPaths &paths)
    : m_icon(icon)
    , m_dialFrames(dialFrames)
    , m_paths(paths)
{ }

void LumenpinStatus::showIcon(const QString &fileName)
{
    m_icon.LoadIcon(m_paths.resource(fileName));
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
