// A small program that adopts pinlib6: it puts the icon given on the command line into the
// desktop's tray with a tip (any text, in any script), prints each event it hears, one a
// line, and follows the mouse clicks with a timer class of its own named Timer, as many
// programs have: the library's classes live in the namespace pinlib6, so the two never meet.
//
// Build it against the installed library with CMake (find_package(pinlib6), target
// pinlib6::pinlib6) or with pkg-config (pkg-config --cflags --libs pinlib6); C++17 is enough.
// Usage: traydemo ICON [TIP]
#include <QApplication>
#include <QObject>
#include <QTimer>

#include <cstdio>
#include <trayctl/lumenpin.h>
#include <trayctl/pinlib6_version.h>

namespace {
void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
} // namespace

// The program's own Timer: counts the clicks it has heard and says so a moment after the
// last one.
class Timer : public QObject
{
    Q_OBJECT

public:
    Timer()
    {
        m_quiet.setSingleShot(true);
        m_quiet.setInterval(1500);
        connect(&m_quiet, &QTimer::timeout, this, &Timer::report);
    }
    void heard()
    {
        ++m_clicks;
        m_quiet.start();
    }

Q_SIGNALS:
    void quiet(int clicks);

private:
    void report() { Q_EMIT quiet(m_clicks); }

    QTimer m_quiet;
    int m_clicks = 0;
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: traydemo ICON [TIP]\n");
        return 2;
    }
    say(QStringLiteral("pinlib6 %1 (built with %2)")
            .arg(QString::fromLatin1(pinlib6::versionString()),
                QStringLiteral(PINLIB6_VERSION_STRING)));
    pinlib6::QtTrayService tray;
    pinlib6::Lumenpin control(tray);
    if (!control.LoadIcon(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "%s\n", qPrintable(control.lastError()));
        return 2;
    }
    control.setTrayTip(argc > 2 ? QString::fromUtf8(argv[2]) : QStringLiteral("pinlib6 demo"));
    control.setTrayVisible(true);

    Timer clicks;
    QObject::connect(&clicks, &Timer::quiet, &app,
        [](int count) { say(QStringLiteral("clicks %1").arg(count)); });
    using pinlib6::Lumenpin;
    QObject::connect(&control, &Lumenpin::Click, &app, [&clicks] {
        say(QStringLiteral("Click"));
        clicks.heard();
    });
    QObject::connect(&control, &Lumenpin::LeftDblClick, &app, [&clicks] {
        say(QStringLiteral("LeftDblClick"));
        clicks.heard();
    });
    QObject::connect(&control, &Lumenpin::RightClick, &app, [&control, &clicks] {
        say(QStringLiteral("RightClick"));
        clicks.heard();
        // Where a zoom would go: the strip at the centre of the tray as the desktop reports it.
        const QRect t = control.trayTarget();
        say(QStringLiteral("target %1 %2 %3 %4")
                .arg(t.x())
                .arg(t.y())
                .arg(t.width())
                .arg(t.height()));
    });
    QObject::connect(
        &control, &Lumenpin::MiddleClick, &app, [] { say(QStringLiteral("MiddleClick")); });
    say(control.TrayVisible() ? QStringLiteral("visible") : QStringLiteral("not visible"));
    return app.exec();
}

#include "main.moc"
