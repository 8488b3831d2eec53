#include "connection/interfacecounters.h"
#include "connection/linecontroller.h"
#include "settings/settingsmodel.h"
#include "support/fakemenutools.h"
#include "support/quiettray.h"
#include "support/readonlyfolder.h"
#include "support/testcontext.h"
#include "usage/usagelimit.h"
#include "usage/usagerecorder.h"
#include "usage/usagestore.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

#include <sys/stat.h>

namespace {
const QDateTime kStart(QDate(2026, 3, 10), QTime(9, 0), Qt::UTC);

// The line controller and the recorder over one record, in virtual time; the wall clock
// follows the virtual one from kStart.
struct Recording {
    explicit Recording(TestContext &t, const QString &path = {})
        : t(t)
        , store(path.isEmpty() ? t.dir() + QStringLiteral("/usage.sqlite") : path)
        , line(t.context(), tray, menu)
    {
        store.open();
        recorder = std::make_unique<UsageRecorder>(t.context(), store, line);
        recorder->now = [&t] { return kStart.addMSecs(t.clock().tickCount()); };
    }
    void dial(const QString &entry)
    {
        line.chooseEntry(entry);
        line.cmdConnect_Click();
    }
    void run(int seconds) { t.clock().advance(qint64(seconds) * 1000); }
    QList<UsageSession> rows() const { return store.sessions(kStart, kStart.addYears(1)); }

    TestContext &t;
    QuietTray tray;
    FakeMenuTools menu;
    UsageStore store;
    LineController line;
    std::unique_ptr<UsageRecorder> recorder;
};

// The connection comes up this long after a dial of the simulated line.
constexpr int kDialSeconds = 5;
} // namespace

class tst_UsageRecorder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowIsWrittenUpdatedEveryMinuteAndClosedByTheUser();
    void droppedLineEndsItsRowAsDropped();
    void programExitClosesTheRowAndACrashLeavesItsLastMinute();
    void limitNoticesComeOncePerMonth();
    void damagedFileIsKeptAsideAndANewRecordStarts();
    void recordIsPrivateToTheUser();
    void unusableRecordGivesOneProblemAndTheProgramGoesOn();
    void interfaceCountersAreReadFromTheKernelsFolder();
};

void tst_UsageRecorder::rowIsWrittenUpdatedEveryMinuteAndClosedByTheUser()
{
    TestContext t;
    Recording r(t);
    r.dial(QStringLiteral("Simulated line"));
    r.run(kDialSeconds);
    QVERIFY(r.recorder->recording());
    QCOMPARE(r.rows().size(), 1);
    UsageSession row = r.rows().constFirst();
    QCOMPARE(row.entry, QStringLiteral("Simulated line"));
    QVERIFY(!row.endedAt.isValid());
    QCOMPARE(row.seconds, 0);
    const QDateTime startedAt = row.startedAt;
    QVERIFY(qAbs(startedAt.secsTo(kStart)) <= kDialSeconds);

    // Nothing is written between the minutes; each minute brings the row up to date.
    r.run(59);
    QCOMPARE(r.rows().constFirst().seconds, 0);
    r.run(1);
    row = r.rows().constFirst();
    QCOMPARE(row.seconds, 60);
    QCOMPARE(row.bytesIn, 60 * SimulatedLine::kBytesInPerSecond);
    r.run(60);
    QCOMPARE(r.rows().constFirst().seconds, 120);

    r.run(30);
    r.line.cmdDisconnect_Click(true);
    QVERIFY(!r.recorder->updateTimer().enabled());
    row = r.rows().constFirst();
    QCOMPARE(row.endedBy, UsageEnd::User);
    QCOMPARE(row.seconds, 150);
    // The counters run to the millisecond, the seconds are whole ones.
    QVERIFY(row.bytesIn >= 150 * SimulatedLine::kBytesInPerSecond);
    QVERIFY(row.bytesIn < 151 * SimulatedLine::kBytesInPerSecond);
    QCOMPARE(row.endedAt, startedAt.addSecs(150));
}

void tst_UsageRecorder::droppedLineEndsItsRowAsDropped()
{
    TestContext t;
    Recording r(t);
    r.dial(QStringLiteral("Simulated line (drops after a minute)"));
    r.run(kDialSeconds + 70);
    const UsageSession row = r.rows().constFirst();
    QCOMPARE(row.endedBy, UsageEnd::Dropped);
    QVERIFY2(row.seconds >= 59 && row.seconds <= 61, qPrintable(QString::number(row.seconds)));
    // The interface went with the line: its last minute's count stands.
    QCOMPARE(row.bytesIn, 60 * SimulatedLine::kBytesInPerSecond);
}

void tst_UsageRecorder::programExitClosesTheRowAndACrashLeavesItsLastMinute()
{
    TestContext t;
    {
        Recording r(t);
        r.dial(QStringLiteral("Simulated line"));
        r.run(kDialSeconds + 90);
        r.recorder.reset();
        QCOMPARE(r.rows().constFirst().endedBy, UsageEnd::ProgramExit);
        QCOMPARE(r.rows().constFirst().seconds, 90);
    }
    // A crash: the row stays as its last minute left it, until the next start closes it there.
    const QString path = t.dir() + QStringLiteral("/usage.sqlite");
    qint64 id = 0;
    {
        UsageStore crashed(path);
        QVERIFY(crashed.open());
        id = *crashed.begin(QStringLiteral("Office"), kStart.addDays(1));
        UsageSession minute{
            id, QStringLiteral("Office"), kStart.addDays(1), {}, 180, 9000, 800, {}};
        QVERIFY(crashed.update(minute));
    }
    UsageStore next(path);
    QVERIFY(next.open());
    QCOMPARE(next.closeAbandoned(), 1);
    const UsageSession row = next.sessions(kStart.addDays(1), kStart.addDays(2)).constFirst();
    QCOMPARE(row.id, id);
    QCOMPARE(row.endedAt, kStart.addDays(1).addSecs(180));
    QCOMPARE(row.endedBy, UsageEnd::ProgramExit);
}

void tst_UsageRecorder::limitNoticesComeOncePerMonth()
{
    TestContext t;
    t.context().model().setCount(Keys::UsageLimitAmount, 2);
    Recording r(t);
    UsageLimit limit(t.context(), r.store);
    const auto run = [&](int minutes) {
        r.dial(QStringLiteral("Simulated line"));
        r.run(kDialSeconds + minutes * 60);
        r.line.cmdDisconnect_Click(true);
        limit.check(r.recorder->now());
    };
    run(60);
    QVERIFY(t.notifier().sent().isEmpty());
    run(40); // 100 of 120 minutes
    QCOMPARE(
        t.notifier().summaries(), QStringList{QStringLiteral("80 % of the monthly limit used")});
    QVERIFY2(t.notifier().bodies().constFirst().endsWith(QStringLiteral("1:40 of 2 hours")),
        qPrintable(t.notifier().bodies().constFirst()));
    run(10);
    QCOMPARE(t.notifier().sent().size(), 1);
    run(10);
    QCOMPARE(t.notifier().sent().size(), 2);
    QCOMPARE(t.notifier().sent().constLast().urgency, Notifier::Urgency::Critical);
    // A restart keeps the months already told; the next month starts over.
    UsageLimit restarted(t.context(), r.store);
    restarted.check(r.recorder->now());
    QCOMPARE(t.notifier().sent().size(), 2);
    const QDateTime nextMonth = r.recorder->now().addMonths(1);
    r.recorder->now = [&t, nextMonth] { return nextMonth.addMSecs(t.clock().tickCount()); };
    run(100);
    QCOMPARE(t.notifier().sent().size(), 3);

    // In megabytes: in and out together.
    t.context().model().setText(Keys::UsageLimitUnit, QStringLiteral("megabytes"));
    t.context().model().setCount(Keys::UsageLimitAmount, 100);
    QVERIFY(qAbs(*limit.used(r.recorder->now()) - 0.27) < 0.01);
    // With one decimal: "1 of 1 MB" said nothing of 1.3 MB.
    QCOMPARE(limit.usedText(r.recorder->now()), QStringLiteral("27.0 of 100 MB"));
}

void tst_UsageRecorder::damagedFileIsKeptAsideAndANewRecordStarts()
{
    TestContext t;
    const QString path = t.dir() + QStringLiteral("/usage.sqlite");
    const QByteArray garbage(8192, 'x');
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(garbage);
    file.close();
    UsageStore store(path);
    QSignalSpy problems(&store, &UsageStore::problemFound);
    QVERIFY(store.open());
    QCOMPARE(problems.size(), 1);
    QVERIFY(problems.constFirst().constFirst().toString().contains(store.setAside()));
    QFile aside(store.setAside());
    QVERIFY(aside.open(QIODevice::ReadOnly));
    QCOMPARE(aside.readAll(), garbage);
    QVERIFY(store.begin(QStringLiteral("Office"), kStart));
}

// It says when the user was online: a new record and its folder are made private whatever the
// umask, and one an older version left open to others is closed at the next start.
void tst_UsageRecorder::recordIsPrivateToTheUser()
{
    TestContext t;
    const mode_t oldMask = ::umask(022);
    const QString folder = t.dir() + QStringLiteral("/Brisvane");
    const QString path = folder + QStringLiteral("/usage.sqlite");
    const auto mode = [](const QString &file) {
        struct stat st = {};
        ::stat(QFile::encodeName(file).constData(), &st);
        return st.st_mode & 0777;
    };
    {
        UsageStore store(path);
        QVERIFY(store.open());
        QVERIFY(store.begin(QStringLiteral("Office"), kStart));
    }
    QCOMPARE(mode(path), mode_t(0600));
    QCOMPARE(mode(folder), mode_t(0700));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
    UsageStore again(path);
    QVERIFY(again.open());
    ::umask(oldMask);
    QCOMPARE(mode(path), mode_t(0600));
    QCOMPARE(mode(folder), mode_t(0700));
}

void tst_UsageRecorder::unusableRecordGivesOneProblemAndTheProgramGoesOn()
{
    TestContext t;
    // A record from a newer version is left alone.
    const QString newer = t.dir() + QStringLiteral("/newer.sqlite");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("w"));
        db.setDatabaseName(newer);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = 99")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("w"));
    UsageStore later(newer);
    QVERIFY(!later.open());
    QVERIFY(later.problem().contains(QStringLiteral("newer Brisvane")));

    // A folder that cannot be written: one problem, however many lines come up.
    const QString folder = t.dir() + QStringLiteral("/locked");
    QDir().mkpath(folder);
    ReadOnlyFolder readOnly(folder);
    if (!readOnly.isReadOnly())
        QSKIP(qPrintable(QStringLiteral("cannot make a read-only folder: ") + readOnly.why()));
    Recording r(t, folder + QStringLiteral("/usage.sqlite"));
    QVERIFY(!r.store.isOpen());
    QVERIFY(r.store.problem().contains(folder));
    QSignalSpy problems(&r.store, &UsageStore::problemFound);
    for (int i = 0; i < 2; ++i) {
        r.dial(QStringLiteral("Simulated line"));
        r.run(70);
        r.line.cmdDisconnect_Click(true);
        r.run(5);
    }
    QVERIFY(problems.isEmpty());
}

void tst_UsageRecorder::interfaceCountersAreReadFromTheKernelsFolder()
{
    TestContext t;
    const QDir root(t.dir());
    root.mkpath(QStringLiteral("ppp0/statistics"));
    const auto write = [&](const QString &name, const QByteArray &value) {
        QFile file(root.filePath(QStringLiteral("ppp0/statistics/") + name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(value);
    };
    write(QStringLiteral("rx_bytes"), "123456\n");
    write(QStringLiteral("tx_bytes"), "7890\n");
    const std::optional<LineCounters> read
        = InterfaceCounters::read(QStringLiteral("ppp0"), t.dir());
    QVERIFY(read);
    QCOMPARE(read->bytesIn, 123456);
    QCOMPARE(read->bytesOut, 7890);
    QVERIFY(!InterfaceCounters::read(QStringLiteral("ppp1"), t.dir()));
    QVERIFY(!InterfaceCounters::read(QStringLiteral("../ppp0"), t.dir()));
}

int main(int argc, char *argv[])
{
    ReadOnlyFolder::prepareProcess();
    QCoreApplication app(argc, argv);
    tst_UsageRecorder test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_usagerecorder.moc"
