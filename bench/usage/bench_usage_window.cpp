// Times the Usage window over a year of connections against an empty record: opening the
// record (with its integrity check), opening the window until it is painted, and the refresh
// it does when a minute's update arrives. Prints the median of several runs of each.
// Usage: bench_usage_window [rows, default 10000] [screenshot.png]

#include "alerts/dbusnotifier.h"
#include "app/brisvaneapp.h"
#include "clock/realclock.h"
#include "connection/simulatedline.h"
#include "monitor/frmbrisvanemonitor.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/qtdialogservice.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"
#include "usage/ui/frmusage.h"
#include "usage/usagerecorder.h"
#include "usage/usagestore.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {
constexpr int kRuns = 7;

// A year of connections up to now, evenly spread (27 a day), 2 to 45 minutes each.
QList<UsageSession> yearOfSessions(int rows)
{
    QRandomGenerator random(28);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QList<UsageSession> sessions;
    for (int i = 0; i < rows; ++i) {
        const qint64 seconds = random.bounded(120, 2700);
        const QDateTime start = now.addSecs(-365LL * 86400 + 365LL * 86400 * i / rows);
        sessions.append({0, QStringLiteral("Simulated line"), start, {}, seconds,
            seconds * random.bounded(1000, 5000), seconds * random.bounded(100, 600),
            i % 7 == 0 ? UsageEnd::Dropped : UsageEnd::User});
    }
    return sessions;
}

double medianMs(const std::function<void()> &run)
{
    QList<double> times;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.append(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times.at(kRuns / 2);
}

struct Figures {
    double openRecord = 0;
    double openWindow = 0;
    double minuteRefresh = 0;
};

// The program over a record of `rows` connections, as it starts with them.
Figures measure(const QString &folder, int rows, const QString &screenshot)
{
    const QString dataDir = QDir(folder).filePath(QStringLiteral("data"));
    const QString record = QDir(dataDir).filePath(QStringLiteral("usage.sqlite"));
    {
        QDir().mkpath(dataDir);
        UsageStore filling(record);
        filling.open();
        filling.insertClosed(yearOfSessions(rows));
    }
    Figures figures;
    figures.openRecord = medianMs([&record] {
        UsageStore store(record);
        store.open();
    });
    auto clock = std::make_unique<RealClock>();
    auto dialogs = std::make_unique<QtDialogService>(*clock);
    AppContext context(AppPaths(QCoreApplication::applicationDirPath(), dataDir), std::move(clock),
        std::make_unique<SettingsStore>(QDir(folder).filePath(QStringLiteral("Brisvane.ini"))),
        std::move(dialogs));
    context.setNotifier(std::make_unique<DBusNotifier>(QDBusConnection::sessionBus()));
    context.setDialUpService(std::make_unique<SimulatedLine>(context.clock()));
    context.settings().save(Keys::FirstTime, QStringLiteral("FirstTime"));
    RecordingTrayService tray;
    frmBrisvaneMonitor monitor(context, tray);
    monitor.runStartup();
    BrisvaneApp &app = monitor.app();
    // Opened, shown and painted once, as the user first sees it.
    figures.openWindow = medianMs([&app] {
        frmUsage *window = app.showUsage();
        window->grab();
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    });
    frmUsage *window = app.showUsage();
    figures.minuteRefresh = medianMs([&app, window] {
        Q_EMIT app.usage().recorded();
        window->grab();
    });
    if (!screenshot.isEmpty()) {
        QDir().mkpath(QFileInfo(screenshot).absolutePath());
        window->grab().save(screenshot);
    }
    return figures;
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rows = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 10000;
    const QString screenshot = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QTemporaryDir empty;
    QTemporaryDir full;
    const Figures baseline = measure(empty.path(), 0, {});
    const Figures year = measure(full.path(), rows, screenshot);
    std::printf("median of %d runs, ms        %12s %12s\n", kRuns, "empty", "year");
    std::printf(
        "open the record               %12.1f %12.1f\n", baseline.openRecord, year.openRecord);
    std::printf(
        "open the Usage window         %12.1f %12.1f\n", baseline.openWindow, year.openWindow);
    std::printf("refresh after a minute's row  %12.1f %12.1f\n", baseline.minuteRefresh,
        year.minuteRefresh);
    std::printf("(%d rows over the last 365 days)\n", rows);
    return 0;
}
