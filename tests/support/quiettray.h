#pragma once

#include "shell/traystatus.h"

// A tray that shows nothing, for a line controller whose tray the test does not look at.
struct QuietTray : TrayStatus {
    void showIcon(const QString &) override { }
    void setTip(const QString &) override { }
    void startDialAnimation() override { }
    void stopAnimation() override { }
    void startBlink() override { }
    void stopBlink() override { }
};
