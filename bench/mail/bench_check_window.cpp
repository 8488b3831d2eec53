// What filling the multi-account check window with a mailbox of 10,005 messages costs, beside
// what the probe (bvane-mailprobe, the same mail control without a window) costs to list the
// same headers: CPU seconds and memory, and the arrival alerts heard. Then how long deleting
// them all takes from the window (Select All, Delete, the QUIT that makes it), beside the
// probe deleting the same number one message at a time. Dovecot serves the mailbox over POP3
// (or IMAP).
// Usage: bench_check_window [pop3|imap] [messages, default 10005]

#include "checkmailfixture.h"
#include "dovecotserver.h"
#include "support/widgetbyname.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <malloc.h>
#include <sys/resource.h>

namespace {

double cpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Resident memory of this process, in MB.
double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    statm.open(QIODevice::ReadOnly);
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return double(fields.value(1).toLongLong()) * double(getpagesize()) / (1024.0 * 1024.0);
}

void runUntil(const std::function<bool()> &done, qint64 timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
}

// Seconds until the probe has listed, deleted messages 1 to `count` one by one and quit.
double probeDeletes(const QString &host, int count)
{
    // It lists the headers first: IMAP deletes by the UIDs the listing found.
    QStringList args{host, QStringLiteral("big"), QStringLiteral("--delete")};
    for (int n = 1; n <= count; ++n)
        args << QString::number(n);
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BVANE_MAIL_PASSWORD"), QStringLiteral("many mails"));
    probe.setProcessEnvironment(env);
    QElapsedTimer wall;
    wall.start();
    probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bvane-mailprobe"), args);
    probe.waitForFinished(600000);
    return double(wall.elapsed()) / 1000.0;
}

QByteArray message(int n)
{
    return QStringLiteral("From: Sender %1 <sender%1@example.org>\r\nSubject: Message number "
                          "%1 of the big mailbox\r\nDate: Mon, 7 Dec 2026 10:00:00 +0000\r\n\r\n"
                          "Hello.\r\n")
        .arg(n)
        .toUtf8();
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool imap = args.value(0) == QLatin1String("imap");
    const int count = args.size() > 1 ? args.at(1).toInt() : 10005;

    DovecotServer dovecot(DovecotServer::Options{false, false, imap, {}});
    dovecot.addUser(QStringLiteral("big"), QStringLiteral("many mails"));
    for (int n = 1; n <= count; ++n)
        dovecot.deliver(QStringLiteral("big"), message(n));
    QString why;
    if (!dovecot.start(&why)) {
        std::fprintf(stderr, "Dovecot did not start: %s\n", qPrintable(why));
        return 1;
    }
    const QString host = imap ? QStringLiteral("imap://127.0.0.1:%1").arg(dovecot.imapPort())
                              : QStringLiteral("127.0.0.1:%1").arg(dovecot.pop3Port());

    // The probe lists every header with the mail control alone.
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BVANE_MAIL_PASSWORD"), QStringLiteral("many mails"));
    probe.setProcessEnvironment(env);
    const double probeBefore = cpuSeconds(RUSAGE_CHILDREN);
    probe.start(QCoreApplication::applicationDirPath() + QStringLiteral("/bvane-mailprobe"),
        {host, QStringLiteral("big")});
    probe.waitForFinished(120000);
    const double probeCpu = cpuSeconds(RUSAGE_CHILDREN) - probeBefore;
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    const qsizetype probeLines = probe.readAllStandardOutput().count('\n');

    TestContext t;
    MailProgram p(t, 1, true,
        {{Keys::Domain(1), host}, {Keys::MailUserName(1), QStringLiteral("big")},
            {Keys::MailPassword(1), QStringLiteral("many mails")},
            {Keys::PauseBetweenAccounts, QStringLiteral("5")},
            {Keys::AlertMailArrive, QStringLiteral("1")},
            {Keys::DeleteMessageConfirmation, SettingValues::FalseText}});
    p.useRealServer();
    p.connectLine();
    const double memoryBefore = residentMb();
    const double cpuBefore = cpuSeconds(RUSAGE_SELF);
    QElapsedTimer wall;
    wall.start();
    auto check = p.check().mnuAllAccounts_Click();
    runUntil([&] { return check.isReady(); }, 600000);
    const double windowCpu = cpuSeconds(RUSAGE_SELF) - cpuBefore;
    const double windowMb = residentMb() - memoryBefore;
    malloc_trim(0);
    const double keptMb = residentMb() - memoryBefore;
    const int rows = p.window() ? widget<HeadersList>(p.window(), "listMessages")->count() : 0;

    std::printf("Mailbox of %d messages over %s (Dovecot)\n", count, imap ? "IMAP" : "POP3");
    std::printf("  probe, every header:        %6.2f s CPU, %6.1f MB at most (%lld lines)\n",
        probeCpu, double(children.ru_maxrss) / 1024.0, static_cast<long long>(probeLines));
    std::printf("  check window, its rows:     %6.2f s CPU, %+6.1f MB (%d rows, %.1f s)\n",
        windowCpu, windowMb, rows, double(wall.elapsed()) / 1000.0);
    std::printf("  of that, kept once freed memory is returned: %+6.1f MB\n", keptMb);
    std::printf("  goal for the window:          1.50 s CPU,  +12.0 MB\n");
    std::printf("  before (a row and a redraw per header): 12.3 s CPU, +19.0 MB on the build "
                "machine (9.9 s, +17 MB first measured)\n");
    std::printf("  before (list widget items in batches):   1.11 s CPU, +15.4 MB (IMAP 1.33 s, "
                "+16.1 MB)\n");
    std::printf("  the window alone (5 messages):           0.10 s CPU,  +7.4 MB\n");
    std::printf("  arrival alerts heard: %lld (goal 1; before, one per new message)\n",
        static_cast<long long>(t.sounds().played().size()));
    if (rows != count)
        return 1;

    // Deleting them all from the window, up to the QUIT that makes it.
    wall.restart();
    const double deleteCpuBefore = cpuSeconds(RUSAGE_SELF);
    widget<QPushButton>(p.window(), "cmdSelectMessage")->click();
    widget<QPushButton>(p.window(), "cmdDeleteMessage")->click();
    runUntil([&] { return p.rows().count(QStringLiteral("Message Deleted")) == count; }, 600000);
    const double markedSeconds = double(wall.elapsed()) / 1000.0;
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    runUntil([&] { return dovecot.messagesOf(QStringLiteral("big")) == 0; }, 600000);
    const double windowDeletes = double(wall.elapsed()) / 1000.0;
    const double deleteCpu = cpuSeconds(RUSAGE_SELF) - deleteCpuBefore;
    const int left = dovecot.messagesOf(QStringLiteral("big"));

    for (int n = 1; n <= count; ++n)
        dovecot.deliver(QStringLiteral("big"), message(n));
    const double probeSeconds = probeDeletes(host, count);
    std::printf("Deleting all %d messages\n", count);
    std::printf("  check window, one batch:     %6.2f s (rows marked after %.2f s, %.2f s "
                "CPU, %d left)\n",
        windowDeletes, markedSeconds, deleteCpu, left);
    std::printf("  probe, listing, then one message at a time: %6.2f s (%d left)\n", probeSeconds,
        dovecot.messagesOf(QStringLiteral("big")));
    std::printf(
        "  goal for the window:         15.00 s; before, 3 s a message (%.0f s)\n", 3.0 * count);
    return left == 0 ? 0 : 1;
}
