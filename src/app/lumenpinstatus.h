#pragma once

#include "shell/traystatus.h"

class AppPaths;

// The controllers' tray status on the monitor's tray icon: the program folder's icons by
// name, and the dialling animation's frames.
class LumenpinStatus : public TrayStatus
{
public:
    LumenpinStatus(Lumenpin &icon, const ImageList &dialFrames, const AppPaths &paths);

    // Puts the program folder's picture `fileName` on `icon`, by its theme name where the
    // icon theme has it.
    static void show(Lumenpin &icon, const AppPaths &paths, const QString &fileName);

    void showIcon(const QString &fileName) override;
    void setTip(const QString &tip) override;
    void startDialAnimation() override;
    void stopAnimation() override;
    void startBlink() override;
    void stopBlink() override;

private:
    Lumenpin &m_icon;
    const ImageList &m_dialFrames;
    const AppPaths &m_paths;
};
