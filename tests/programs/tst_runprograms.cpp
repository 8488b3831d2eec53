#include "app/brisvaneapp.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "mail/mailschedule.h"
#include "monitor/frmbrisvanemonitor.h"
#include "programs/ui/programstab.h"
#include "shell/ui/frmbrisvane.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QTest>

namespace {
const QString kLine = QStringLiteral("Simulated line");

// The program after start-up with programs in slots 2, 4 and 5, slots 2 and 5 flagged to run
// when connected and slot 4 when disconnected.
struct Program {
    explicit Program(TestContext &t)
        : t(t)
    {
        t.settings().save(Keys::FirstTime, SettingValues::FirstTime);
        t.settings().save(Keys::DefaultConnection, kLine);
        t.settings().save(Keys::Program(2), QStringLiteral("fetchmail"));
        t.settings().save(Keys::Program(4), QStringLiteral("/opt/backup/sync now"));
        t.settings().save(Keys::Program(5), QStringLiteral("ntpdate pool"));
        t.settings().save(Keys::RunConnected(2), SettingValues::Checked);
        t.settings().save(Keys::RunConnected(5), SettingValues::Checked);
        t.settings().save(Keys::RunDisconnected(4), SettingValues::Checked);
        monitor = std::make_unique<frmBrisvaneMonitor>(t.context(), tray);
        monitor->runStartup();
    }
    frmBrisvane &dialog() { return monitor->customizeDialog(); }
    LineController &line() { return monitor->app().line(); }
    MailSchedule &schedule() { return monitor->app().mailSchedule(); }
    void connectLine()
    {
        mRAS &ras = line().dialUp();
        ras.setEntry(kLine);
        ras.Dial();
        t.clock().advance(10000);
        t.programs().started.clear();
    }

    TestContext &t;
    RecordingTrayService tray;
    std::unique_ptr<frmBrisvaneMonitor> monitor;
};
} // namespace

class tst_RunPrograms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void connectingStartsFlaggedSlotsInOrderAndSetsTheIcon()
    {
        TestContext t;
        Program p(t);
        p.connectLine();
        p.monitor->tray().StartAnimation(&p.monitor->imageList(), 600);
        p.line().RunProgramswhenConnecting();
        QCOMPARE(t.programs().started,
            (QStringList{QStringLiteral("fetchmail"), QStringLiteral("ntpdate pool")}));
        QVERIFY(!p.monitor->tray().IsAnimating());
    }

    void switchedOffStartsNothingButStillSetsTheIcon()
    {
        TestContext t;
        Program p(t);
        widget<QCheckBox>(p.dialog().programsTab(), "chkDisableProgramsApplications")
            ->setChecked(true);
        p.connectLine();
        p.monitor->tray().StartAnimation(&p.monitor->imageList(), 600);
        p.line().RunProgramswhenConnecting();
        QVERIFY(t.programs().started.isEmpty());
        QVERIFY(!p.monitor->tray().IsAnimating());
    }

    void connectingWithTheLineDownDoesNothing()
    {
        TestContext t;
        Program p(t);
        p.monitor->tray().StartAnimation(&p.monitor->imageList(), 600);
        p.line().RunProgramswhenConnecting();
        QVERIFY(t.programs().started.isEmpty());
        QVERIFY(p.monitor->tray().IsAnimating());
    }

    void disconnectingStartsOnlyWhenTheLineIsDown()
    {
        TestContext t;
        Program p(t);
        p.connectLine();
        p.line().RunProgramswhenDisconnecting();
        QVERIFY(t.programs().started.isEmpty());
        p.line().dialUp().HangUp();
        p.line().RunProgramswhenDisconnecting();
        // A path with blanks is handed over as it stands.
        QCOMPARE(t.programs().started, QStringList{QStringLiteral("/opt/backup/sync now")});
    }

    void missingProgramIsReportedAndTheRestStillRun()
    {
        TestContext t;
        t.programs().missing << QStringLiteral("fetchmail");
        Program p(t);
        p.connectLine();
        p.monitor->tray().StartAnimation(&p.monitor->imageList(), 600);
        t.dialogs().clear();
        p.line().RunProgramswhenConnecting();
        QCOMPARE(t.programs().started, QStringList{QStringLiteral("ntpdate pool")});
        QCOMPARE(t.dialogs().shown().size(), 1);
        QCOMPARE(t.dialogs().shown().first().text, QStringLiteral("File not found: fetchmail"));
        QVERIFY(!p.monitor->tray().IsAnimating());
    }

    // A flag can be left on an empty slot (ticked while an empty row was selected): the slot
    // is passed over without a word and the connected icon still follows.
    void flagOnAnEmptySlotIsSkipped()
    {
        TestContext t;
        t.settings().save(Keys::RunConnected(1), SettingValues::Checked);
        Program p(t);
        p.connectLine();
        p.monitor->tray().StartAnimation(&p.monitor->imageList(), 600);
        t.dialogs().clear();
        p.line().RunProgramswhenConnecting();
        QCOMPARE(t.programs().started,
            (QStringList{QStringLiteral("fetchmail"), QStringLiteral("ntpdate pool")}));
        QVERIFY(t.dialogs().shown().isEmpty());
        QVERIFY(!p.monitor->tray().IsAnimating());
    }

    void runProgramStartsTheSelectedRows()
    {
        TestContext t;
        Program p(t);
        ProgramsTab &tab = p.dialog().programsTab();
        tab.refreshProgramList();
        widget<QListWidget>(tab, "lstPrograms")
            ->setSelectionMode(QAbstractItemView::MultiSelection);
        widget<QListWidget>(tab, "lstPrograms")->item(4)->setSelected(true);
        widget<QListWidget>(tab, "lstPrograms")->item(1)->setSelected(true);
        widget<QPushButton>(tab, "cmdRunProgram")->click();
        QCOMPARE(t.programs().started,
            (QStringList{QStringLiteral("fetchmail"), QStringLiteral("ntpdate pool")}));
    }
};

QTEST_MAIN(tst_RunPrograms)
#include "tst_runprograms.moc"
