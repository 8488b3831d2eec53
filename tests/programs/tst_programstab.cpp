#include "programs/programrunner.h"
#include "programs/ui/programmenu.h"
#include "programs/ui/programstab.h"
#include "support/fakemenutools.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"

#include <QFile>
#include <QTest>

namespace {
// The tab as the program builds it: the menu's program tools follow what it stores.
struct Page {
    explicit Page(TestContext &t)
        : runner(t.context())
        , follower(menu, t.context().model())
        , tab(t.context(), runner)
    { }
    FakeMenuTools menu;
    ProgramRunner runner;
    ProgramMenu follower;
    ProgramsTab tab;
};
} // namespace

class tst_ProgramsTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addFillsTheFirstFreeSlot();
    void addWhenFullGivesTheLimitMessage();
    void addRefillsASlotFreedBeforeTheLast();
    void cancelledFileDialogAddsNothing();
    void deleteFreesTheSlotAndKeepsTheOthersInPlace();
    void flagsAreStoredUnderTheirOwnSlot()
    {
        TestContext t;
        Page page(t);
        ProgramsTab &tab = page.tab;
        tab.runConnected(7)->setChecked(true);
        tab.runDisconnected(10)->setChecked(true);
        tab.runDisconnected(10)->setChecked(false);
        QCOMPARE(t.settings().get(Keys::RunConnected(7)), QStringLiteral("1"));
        QCOMPARE(t.settings().get(Keys::RunDisconnected(10)), QStringLiteral("0"));
        QVERIFY(!t.settings().contains(Keys::RunConnected(1)));
    }

    void switchHidesTheControlsAndGreysTheTools()
    {
        TestContext t;
        Page page(t);
        ProgramsTab &tab = page.tab;
        tab.show();
        widget<QCheckBox>(tab, "chkDisableProgramsApplications")->setChecked(true);
        QCOMPARE(t.settings().get(Keys::DisableProgramsApplications), QStringLiteral("1"));
        QVERIFY(!widget<QListWidget>(tab, "lstPrograms")->isVisible());
        QVERIFY(!widget<QPushButton>(tab, "cmdAdd")->isVisible());
        QVERIFY(!tab.runConnected(1)->isVisible());
        widget<QCheckBox>(tab, "chkDisableProgramsApplications")->setChecked(false);
        // One pair comes back, and with no program selected it cannot be ticked ...
        for (int k = 2; k <= ProgramsTab::kSlots; ++k)
            QVERIFY(!tab.runConnected(k)->isVisible() && !tab.runDisconnected(k)->isVisible());
        QVERIFY(tab.runConnected(1)->isVisible() && !tab.runConnected(1)->isEnabled());
        // ... until a click on the list brings the selected slot's pair.
        t.settings().save(Keys::Program(3), QStringLiteral("/usr/bin/xterm"));
        t.settings().save(Keys::RunConnected(3), QStringLiteral("1"));
        tab.refreshProgramList();
        widget<QListWidget>(tab, "lstPrograms")->item(2)->setSelected(true);
        QVERIFY(tab.runConnected(3)->isVisible() && tab.runConnected(3)->isEnabled());
        QVERIFY(tab.runConnected(3)->isChecked());
        QVERIFY(!tab.runConnected(1)->isVisible());
        widget<QListWidget>(tab, "lstPrograms")->clearSelection();
        QVERIFY(!tab.runConnected(3)->isVisible() && !tab.runConnected(1)->isEnabled());
    }

    void emptyRowOtherThanTheFirstChangesNothing()
    {
        TestContext t;
        Page page(t);
        ProgramsTab &tab = page.tab;
        tab.show();
        tab.refreshProgramList();
        QCOMPARE(widget<QListWidget>(tab, "lstPrograms")->count(), 10);
        widget<QListWidget>(tab, "lstPrograms")->item(5)->setSelected(true);
        QVERIFY(tab.runConnected(1)->isVisible());
        QVERIFY(!tab.runConnected(6)->isVisible());
    }

    void refreshFollowsTheStoreIntoListAndTools()
    {
        TestContext t;
        Page page(t);
        FakeMenuTools &menu = page.menu;
        ProgramsTab &tab = page.tab;
        t.settings().save(Keys::Program(2), QStringLiteral("/opt/my tools/sync --now"));
        tab.refreshProgramList();
        QCOMPARE(widget<QListWidget>(tab, "lstPrograms")->item(1)->text(),
            QStringLiteral("/opt/my tools/sync --now"));
        QCOMPARE(menu.tool(MenuNames::mnuProgram(2)).captions.value(MenuNames::PopupBandRunProgram),
            QStringLiteral("/opt/my tools/sync --now"));
        QVERIFY(menu.tool(MenuNames::mnuProgram(2)).visible);
    }
};

void tst_ProgramsTab::addFillsTheFirstFreeSlot()
{
    TestContext t;
    t.settings().save(Keys::Program(1), QStringLiteral("/usr/bin/fetchmail"));
    t.settings().save(Keys::Program(3), QStringLiteral("/usr/bin/ntpdate"));
    Page page(t);
    FakeMenuTools &menu = page.menu;
    ProgramsTab &tab = page.tab;
    tab.refreshProgramList();
    t.dialogs().chooseFileNext(QStringLiteral("/bin/sh"));
    widget<QPushButton>(tab, "cmdAdd")->click();
    QCOMPARE(t.settings().get(Keys::Program(2)), QStringLiteral("/bin/sh"));
    QCOMPARE(widget<QListWidget>(tab, "lstPrograms")->item(1)->text(), QStringLiteral("/bin/sh"));
    const FakeMenuTools::Tool tool = menu.tool(MenuNames::mnuProgram(2));
    QCOMPARE(tool.captions.value(MenuNames::PopupBandRunProgram), QStringLiteral("/bin/sh"));
    QVERIFY(!tool.pictures.value(MenuNames::PopupBandRunProgram).isNull());
    QVERIFY(tool.visible);
    QCOMPARE(menu.refreshes, 1);
    QCOMPARE(menu.saves, 1);
}

void tst_ProgramsTab::addWhenFullGivesTheLimitMessage()
{
    TestContext t;
    for (int k = 1; k <= 9; ++k)
        t.settings().save(Keys::Program(k), QStringLiteral("/usr/bin/tool%1").arg(k));
    Page page(t);
    FakeMenuTools &menu = page.menu;
    ProgramsTab &tab = page.tab;
    t.dialogs().chooseFileNext(QStringLiteral("/bin/true"));
    widget<QPushButton>(tab, "cmdAdd")->click();
    QCOMPARE(t.settings().get(Keys::Program(10)), QStringLiteral("/bin/true"));
    t.dialogs().chooseFileNext(QStringLiteral("/usr/bin/one-too-many"));
    widget<QPushButton>(tab, "cmdAdd")->click();
    QCOMPARE(t.dialogs().shown().last().text,
        QStringLiteral("Maximum limit of programs/utilities are listed. Please remove a "
                       "program/utility."));
    QCOMPARE(t.dialogs().count(QStringLiteral("file")), 1);
    QCOMPARE(menu.saves, 1);
}

void tst_ProgramsTab::addRefillsASlotFreedBeforeTheLast()
{
    TestContext t;
    for (int k = 1; k <= ProgramsTab::kSlots; ++k)
        t.settings().save(Keys::Program(k), QStringLiteral("/usr/bin/tool%1").arg(k));
    Page page(t);
    FakeMenuTools &menu = page.menu;
    ProgramsTab &tab = page.tab;
    tab.refreshProgramList();
    widget<QListWidget>(tab, "lstPrograms")->item(2)->setSelected(true);
    widget<QPushButton>(tab, "cmdDelete")->click();
    t.dialogs().chooseFileNext(QStringLiteral("/bin/false"));
    widget<QPushButton>(tab, "cmdAdd")->click();
    QCOMPARE(t.settings().get(Keys::Program(3)), QStringLiteral("/bin/false"));
    QCOMPARE(
        widget<QListWidget>(tab, "lstPrograms")->item(2)->text(), QStringLiteral("/bin/false"));
    QVERIFY(menu.tool(MenuNames::mnuProgram(3)).visible);
    QCOMPARE(t.dialogs().count(QStringLiteral("message")), 0);
}

// A cancelled file dialog, a document and a folder add nothing; the last two are said.
void tst_ProgramsTab::cancelledFileDialogAddsNothing()
{
    TestContext t;
    Page page(t);
    FakeMenuTools &menu = page.menu;
    ProgramsTab &tab = page.tab;
    widget<QPushButton>(tab, "cmdAdd")->click();
    const QString document = t.dir() + QStringLiteral("/notes.txt");
    QFile text(document);
    QVERIFY(text.open(QIODevice::WriteOnly) && text.write("not a program\n") > 0);
    text.close();
    for (const QString &chosen : {document, QStringLiteral("/usr/bin")}) {
        t.dialogs().chooseFileNext(chosen);
        widget<QPushButton>(tab, "cmdAdd")->click();
        const ScriptedDialogs::Shown told = t.dialogs().shown().last();
        QCOMPARE(told.kind, QStringLiteral("message"));
        QCOMPARE(told.text,
            chosen + QStringLiteral(" is not a program: only files that may be run can be added."));
    }
    QVERIFY(!t.settings().contains(Keys::Program(1)));
    QCOMPARE(widget<QListWidget>(tab, "lstPrograms")->item(0)->text(), QString());
    QCOMPARE(menu.saves, 0);
}

void tst_ProgramsTab::deleteFreesTheSlotAndKeepsTheOthersInPlace()
{
    TestContext t;
    t.settings().save(Keys::Program(2), QStringLiteral("/usr/bin/fetchmail"));
    t.settings().save(Keys::Program(3), QStringLiteral("/usr/bin/ntpdate"));
    t.settings().save(Keys::RunConnected(2), QStringLiteral("1"));
    t.settings().save(Keys::RunDisconnected(2), QStringLiteral("1"));
    Page page(t);
    FakeMenuTools &menu = page.menu;
    ProgramsTab &tab = page.tab;
    tab.refreshProgramList();
    widget<QListWidget>(tab, "lstPrograms")->item(1)->setSelected(true);
    QVERIFY(tab.runConnected(2)->isChecked());
    widget<QPushButton>(tab, "cmdDelete")->click();
    QCOMPARE(t.settings().get(Keys::Program(2), QStringLiteral("absent")), QString());
    QCOMPARE(t.settings().get(Keys::RunConnected(2)), QStringLiteral("0"));
    QCOMPARE(t.settings().get(Keys::RunDisconnected(2)), QStringLiteral("0"));
    QVERIFY(!menu.tool(MenuNames::mnuProgram(2)).visible);
    // Slot 3 stays in row 2: what runs for slot 3 is still slot 3's program.
    QCOMPARE(widget<QListWidget>(tab, "lstPrograms")->count(), ProgramsTab::kSlots);
    QCOMPARE(widget<QListWidget>(tab, "lstPrograms")->item(2)->text(),
        QStringLiteral("/usr/bin/ntpdate"));
    QCOMPARE(menu.saves, 1);
}

QTEST_MAIN(tst_ProgramsTab)
#include "tst_programstab.moc"
