// A minimal host of the tray icon control, linking pinlib6 alone: it puts the icon given on
// the command line into the desktop's tray and prints each click event it hears, one a line.
#include "trayctl/lumenpin.h"

#include <QApplication>

#include <cstdio>

namespace {
void say(const char *line)
{
    std::printf("%s\n", line);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: trayhost ICON\n");
        return 2;
    }
    QtTrayService tray;
    Lumenpin control(tray);
    if (!control.LoadIcon(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(control.lastError()));
        return 2;
    }
    control.setTrayTip(QStringLiteral("pinlib6 tray host"));
    control.setTrayVisible(true);
    QObject::connect(&control, &Lumenpin::Click, &app, [] { say("Click"); });
    QObject::connect(&control, &Lumenpin::LeftDblClick, &app, [] { say("LeftDblClick"); });
    QObject::connect(&control, &Lumenpin::RightClick, &app, [&control] {
        say("RightClick");
        // Where a zoom would go: the strip at the centre of the tray as the desktop reports it.
        const QRect t = control.trayTarget();
        say(qPrintable(QStringLiteral("target %1 %2 %3 %4")
                           .arg(t.x())
                           .arg(t.y())
                           .arg(t.width())
                           .arg(t.height())));
    });
    QObject::connect(&control, &Lumenpin::MiddleClick, &app, [] { say("MiddleClick"); });
    say(control.TrayVisible() ? "visible" : "not visible");
    return app.exec();
}
