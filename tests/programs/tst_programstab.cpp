#include "programs/ui/programstab.h"
#include "support/fakemenutools.h"
#include "support/testcontext.h"

#include <QTest>

class tst_ProgramsTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void flagsAreStoredUnderTheirOwnSlot()
    {
        TestContext t;
        FakeMenuTools menu;
        ProgramsTab tab(t.context(), menu);
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
        FakeMenuTools menu;
        ProgramsTab tab(t.context(), menu);
        tab.show();
        tab.chkDisableProgramsApplications->setChecked(true);
        QCOMPARE(t.settings().get(Keys::DisableProgramsApplications), QStringLiteral("1"));
        QVERIFY(!tab.lstPrograms->isVisible());
        QVERIFY(!tab.cmdAdd->isVisible());
        QVERIFY(!tab.runConnected(1)->isVisible());
        QVERIFY(menu.tool(MenuNames::mnuDisableProgramsApplications).checked);
        QVERIFY(!menu.tool(MenuNames::mnuProgram(4)).enabled);
        tab.chkDisableProgramsApplications->setChecked(false);
        // All twenty flags come back at once ...
        for (int k = 1; k <= ProgramsTab::kSlots; ++k)
            QVERIFY(tab.runConnected(k)->isVisible() && tab.runDisconnected(k)->isVisible());
        QVERIFY(menu.tool(MenuNames::mnuProgram(4)).enabled);
        QVERIFY(!menu.tool(MenuNames::mnuDisableProgramsApplications).checked);
        // ... until a click on the list leaves only the selected slot's pair.
        t.settings().save(Keys::Program(3), QStringLiteral("/usr/bin/xterm"));
        t.settings().save(Keys::RunConnected(3), QStringLiteral("1"));
        tab.refreshProgramList();
        tab.lstPrograms->item(2)->setSelected(true);
        QVERIFY(tab.runConnected(3)->isVisible());
        QVERIFY(tab.runConnected(3)->isChecked());
        QVERIFY(!tab.runConnected(1)->isVisible());
    }

    void emptyRowOtherThanTheFirstChangesNothing()
    {
        TestContext t;
        FakeMenuTools menu;
        ProgramsTab tab(t.context(), menu);
        tab.show();
        tab.refreshProgramList();
        QCOMPARE(tab.lstPrograms->count(), 10);
        tab.lstPrograms->item(5)->setSelected(true);
        QVERIFY(tab.runConnected(1)->isVisible());
        QVERIFY(!tab.runConnected(6)->isVisible());
    }

    void refreshFollowsTheStoreIntoListAndTools()
    {
        TestContext t;
        FakeMenuTools menu;
        ProgramsTab tab(t.context(), menu);
        t.settings().save(Keys::Program(2), QStringLiteral("/opt/my tools/sync --now"));
        tab.refreshProgramList();
        QCOMPARE(tab.lstPrograms->item(1)->text(), QStringLiteral("/opt/my tools/sync --now"));
        QCOMPARE(menu.tool(MenuNames::mnuProgram(2)).captions.value(MenuNames::PopupBandRunProgram),
            QStringLiteral("/opt/my tools/sync --now"));
        QVERIFY(menu.tool(MenuNames::mnuProgram(2)).visible);
        QVERIFY(!menu.tool(MenuNames::mnuProgram(1)).visible);
    }
};

QTEST_MAIN(tst_ProgramsTab)
#include "tst_programstab.moc"
