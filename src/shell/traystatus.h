#pragma once

#include <QCoreApplication>
#include <QString>

// What the program's controllers show on the tray icon: the program folder's icons, the tip,
// the dialling animation and the lost-line blink. The monitor's tray icon implements it; the
// controllers never see the icon itself.
class TrayStatus
{
public:
    virtual ~TrayStatus() = default;

    // The program folder's icon `fileName` ("net10a.ico", "net10b.ico", "mail.ico").
    virtual void showIcon(const QString &fileName) = 0;
    virtual void setTip(const QString &tip) = 0;
    virtual void startDialAnimation() = 0;
    virtual void stopAnimation() = 0;
    virtual void startBlink() = 0;
    virtual void stopBlink() = 0;

    // The tip while no line of ours is up.
    static QString idleTip(bool connectSingleClick)
    {
        return connectSingleClick ? QCoreApplication::translate(
                   "TrayStatus", "Click to Connect / Double-click to zoom dialog to and from tray")
                                  : QCoreApplication::translate(
                                      "TrayStatus", "Single click to zoom dialog to and from tray");
    }
};
