// Keeps the simulated line connected for a while of real time with the program's real clock
// and prints how often the tray icon was updated and how much CPU the process used.
// Usage: bench_connected_line [seconds, default 60]

#include "alerts/canberrasoundplayer.h"
#include "alerts/dbusnotifier.h"
#include "app/brisvaneapp.h"
#include "clock/realclock.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/simulatedline.h"
#include "connection/ui/connectiontab.h"
#include "monitor/frmbrisvanemonitor.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/qtdialogservice.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QApplication>
#include <QCoro/QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Counts the tray operations that carry a tip or an icon.
class CountingTrayService : public RecordingTrayService
{
public:
    bool notify(Operation operation, const NotifyRecord &record) override
    {
        ++updates;
        return RecordingTrayService::notify(operation, record);
    }
    int updates = 0;
};

// Waits for the line, then keeps it up for `seconds` and prints the figures; ends with the
// exit status.
QCoro::Task<int> measure(Clock &clock, BrisvaneApp &app, CountingTrayService &tray, int seconds)
{
    const frmBrisvane &dialog = app.dialog();
    for (int waited = 0; !app.line().dialUp().IsConnected(); waited += 100) {
        if (waited >= 30000) {
            std::fprintf(stderr, "the simulated line did not connect\n");
            co_return 1;
        }
        co_await clock.sleep(0.1);
    }
    const int updatesBefore = tray.updates;
    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    co_await clock.sleep(seconds);
    const double elapsed = wall.elapsed() / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;
    std::printf("connected for %.1f s of real time\n", elapsed);
    std::printf("tray updates: %d (%.2f per second)\n", tray.updates - updatesBefore,
        (tray.updates - updatesBefore) / elapsed);
    std::printf("CPU: %.3f s (%.2f%% of one core)\n", cpu, 100.0 * cpu / elapsed);
    // Hidden in the tray, the dialog shows the running time in its caption.
    std::printf("clock shows %s\n", qPrintable(dialog.windowTitle()));
    co_return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 60;
    QTemporaryDir dir;
    auto clock = std::make_unique<RealClock>();
    auto dialogs = std::make_unique<QtDialogService>(*clock);
    AppContext context(AppPaths(QCoreApplication::applicationDirPath(),
                           QDir(dir.path()).filePath(QStringLiteral("data"))),
        std::move(clock),
        std::make_unique<SettingsStore>(QDir(dir.path()).filePath(QStringLiteral("Brisvane.ini"))),
        std::move(dialogs));
    context.setSounds(std::make_unique<CanberraSoundPlayer>());
    context.setNotifier(std::make_unique<DBusNotifier>(QDBusConnection::sessionBus()));
    context.setDialUpService(std::make_unique<SimulatedLine>(context.clock()));
    context.settings().save(Keys::FirstTime, QStringLiteral("FirstTime"));
    context.settings().save(Keys::DefaultConnection, QStringLiteral("Simulated line"));

    CountingTrayService tray;
    frmBrisvaneMonitor monitor(context, tray);
    monitor.runStartup();
    monitor.app().line().cmdConnect_Click();
    int status = 1;
    measure(context.clock(), monitor.app(), tray, seconds).then([&status](int s) {
        status = s;
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QApplication::exec();
    return status;
}
