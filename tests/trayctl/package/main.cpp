// Puts an icon into a recording tray and blinks it on a virtual clock: the installed headers,
// the library and the clock library it brings along all work from outside the source tree.
#include <QApplication>
#include <QPixmap>

#include <clock/virtualclock.h>
#include <cstdio>
#include <trayctl/lumenpin.h>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    VirtualClock clock;
    RecordingTrayService tray;
    Lumenpin control(tray, &clock);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    control.setTrayIcon(QIcon(red));
    control.setTrayVisible(true);
    control.StartBlink();
    clock.advance(750);
    const bool ok = tray.iconShown() && control.IsBlinking()
        && tray.shown().icon.cacheKey() == control.imgBlankIcon().cacheKey();
    std::printf("%s\n", ok ? "pinlib6 package works" : "pinlib6 package broken");
    return ok ? 0 : 1;
}
