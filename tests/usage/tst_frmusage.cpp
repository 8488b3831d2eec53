#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/ui/connectiontab.h"
#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "settings/settingsmodel.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"
#include "usage/ui/barchart.h"
#include "usage/ui/frmusage.h"
#include "usage/ui/usagelimitbox.h"
#include "usage/usagerecorder.h"
#include "usage/usagereport.h"
#include "usage/usagestore.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {
// Local noon of a day in March 2026, the month the window opens on.
QDateTime march(int day, int hour = 12)
{
    return QDateTime(QDate(2026, 3, day), QTime(hour, 0)).toUTC();
}

UsageSession session(const QDateTime &start, qint64 seconds, qint64 bytesIn)
{
    return {0, QStringLiteral("Office, \"main\" line"), start, {}, seconds, bytesIn, bytesIn / 10,
        UsageEnd::User};
}

// The program after start-up with a record holding, for every day of March, a connection of
// `day` minutes and `day` MB in, and one connection in the January before.
struct Program {
    explicit Program(TestContext &t)
    {
        t.settings().save(Keys::FirstTime, SettingValues::FirstTime);
        t.settings().save(Keys::CustomizeBrisvaneReminder, SettingValues::FalseText);
        monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
        monitor->runStartup();
        app().usage().now = [] { return march(31, 20); };
        QList<UsageSession> rows{
            session(QDateTime(QDate(2026, 1, 5), QTime(9, 0)).toUTC(), 7200, 0)};
        for (int day = 1; day <= 31; ++day)
            rows << session(march(day), day * 60, day * 1000000);
        app().usageStore().openOnFirstUse();
        app().usageStore().insertClosed(rows);
    }
    BrisvaneApp &app() { return monitor->app(); }

    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
};
} // namespace

class tst_frmUsage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void monthShowsItsTotalsChartAndConnections();
    void chartGoesByMonthAndMonthsCanBeChosen();
    void valueAxisStepsAreRoundAndReadApart_data();
    void valueAxisStepsAreRoundAndReadApart();
    void exportWritesTheMonthAsCsv();
    void windowFollowsTheRecorderAndTheLimit();
    void popupAndConnectionTabOpenOneWindow();
};

void tst_frmUsage::monthShowsItsTotalsChartAndConnections()
{
    TestContext t;
    Program p(t);
    frmUsage *window = p.app().showUsage();
    QCOMPARE(window->month(), QDate(2026, 3, 1));
    QCOMPARE(window->monthSessions().size(), 31);
    QCOMPARE(window->lstSessions->model()->rowCount(), 31);
    // Newest first.
    QCOMPARE(
        window->lstSessions->model()->index(0, 1).data().toString(), QStringLiteral("00:31:00"));
    // 496 minutes, 496 MB in and 49.6 MB out.
    QCOMPARE(window->lblSummary->text(),
        QStringLiteral("08:16:00 online, 496.0 MB received, 49.6 MB sent in 31 connection(s)"));
    // Days of minutes read in minutes, not as "0.0, 0.1" hours.
    const QList<double> minutes = window->chartValues();
    QCOMPARE(minutes.size(), 31);
    QCOMPARE(minutes.at(0), 1.0);
    QCOMPARE(minutes.at(29), 30.0);
    window->cboMeasure->setCurrentIndex(1);
    QCOMPARE(window->chartValues().at(9), 11.0); // 10 MB in, 1 MB out
}

// "0.0, 0.0, 0.1" on an axis says nothing: each step is 1, 2 or 5 times a power of ten, and
// the labels carry the decimals it needs.
void tst_frmUsage::valueAxisStepsAreRoundAndReadApart_data()
{
    QTest::addColumn<double>("largest");
    QTest::addColumn<double>("top");
    QTest::addColumn<double>("step");
    QTest::addColumn<int>("decimals");
    QTest::newRow("a tenth of an hour") << 0.12 << 0.15 << 0.05 << 2;
    QTest::newRow("a month of minutes") << 31.0 << 40.0 << 10.0 << 0;
    QTest::newRow("just over a megabyte") << 1.03 << 1.5 << 0.5 << 1;
    QTest::newRow("nothing yet") << 0.0 << 1.0 << 1.0 << 0;
}

void tst_frmUsage::valueAxisStepsAreRoundAndReadApart()
{
    QFETCH(double, largest);
    const BarChart::Scale scale = BarChart::scaleFor(largest);
    QTEST(scale.top, "top");
    QTEST(scale.step, "step");
    QTEST(scale.decimals, "decimals");
}

void tst_frmUsage::chartGoesByMonthAndMonthsCanBeChosen()
{
    TestContext t;
    Program p(t);
    frmUsage *window = p.app().showUsage();
    window->cboSpan->setCurrentIndex(1);
    QList<double> months = window->chartValues();
    QCOMPARE(months.size(), 12);
    QCOMPARE(months.at(0), 2.0);
    QVERIFY(qAbs(months.at(2) - 496.0 / 60) < 1e-9);
    window->cmdPrevious->click();
    window->cmdPrevious->click();
    QCOMPARE(window->month(), QDate(2026, 1, 1));
    QCOMPARE(window->monthSessions().size(), 1);
    QCOMPARE(window->chartValues(), months);
    window->cmdPrevious->click();
    QCOMPARE(window->month(), QDate(2025, 12, 1));
    QVERIFY(window->monthSessions().isEmpty());
    QVERIFY(!window->cmdExport->isEnabled());
}

void tst_frmUsage::exportWritesTheMonthAsCsv()
{
    TestContext t;
    Program p(t);
    frmUsage *window = p.app().showUsage();
    const QString path = t.dir() + QStringLiteral("/march.csv");
    t.dialogs().chooseFileNext(path);
    window->cmdExport->click();
    QCOMPARE(t.dialogs().count(QStringLiteral("save")), 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 33); // header, 31 rows, nothing after the last line break
    QCOMPARE(lines.at(0), "entry,started_at,ended_at,seconds,bytes_in,bytes_out,ended_by\r");
    QCOMPARE(lines.at(1),
        "\"Office, \"\"main\"\" line\"," + march(1).toString(Qt::ISODate).toLatin1() + ','
            + march(1).addSecs(60).toString(Qt::ISODate).toLatin1() + ",60,1000000,100000,user\r");
    // A file that cannot be written is reported, and nothing else happens.
    t.dialogs().chooseFileNext(t.dir() + QStringLiteral("/no/such/folder/march.csv"));
    window->cmdExport->click();
    QCOMPARE(t.dialogs().count(QStringLiteral("message")), 1);
}

void tst_frmUsage::windowFollowsTheRecorderAndTheLimit()
{
    TestContext t;
    Program p(t);
    // The limit as Preferences sets it: 10 hours, of which 8:16 are used.
    UsageLimitBox box(t.context());
    QCOMPARE(box.txtUsageLimit->text(), QStringLiteral("No limit"));
    box.txtUsageLimit->setValue(10);
    box.save();
    QCOMPARE(UsageLimitBox(t.context()).txtUsageLimit->value(), 10);
    frmUsage *window = p.app().showUsage();
    QVERIFY(!window->lblLimit->isHidden());
    QCOMPARE(window->lblLimit->text(),
        QStringLiteral("Monthly limit: 8:16 of 10 hours used this month (83 %)"));

    // A line of ours comes up and stays a minute: the window shows it.
    p.app().line().chooseEntry(QStringLiteral("Simulated line"));
    p.app().line().cmdConnect_Click();
    t.clock().advance(5000);
    QCOMPARE(window->monthSessions().size(), 32);
    t.clock().advance(60000);
    QCOMPARE(window->monthSessions().constLast().seconds, 60);
    QCOMPARE(
        t.notifier().summaries(), QStringList{QStringLiteral("80 % of the monthly limit used")});
}

void tst_frmUsage::popupAndConnectionTabOpenOneWindow()
{
    TestContext t;
    Program p(t);
    p.monitor->commands().BandMenu1_ToolClick(MenuNames::mnuUsage);
    const auto windows = [] {
        int count = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            count += w->objectName() == QLatin1String("frmUsage") && w->isVisible();
        return count;
    };
    QCOMPARE(windows(), 1);
    widget<QPushButton>(p.monitor->customizeDialog().connectionTab(), "cmdUsage")->click();
    QCOMPARE(windows(), 1);
}

QTEST_MAIN(tst_frmUsage)
#include "tst_frmusage.moc"
