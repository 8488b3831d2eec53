#include "monitor/bandmenu/bandmenu.h"
#include "monitor/bandmenu/bandnames.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

QAction *actionOf(QMenu *menu, const QString &toolName)
{
    for (QAction *action : menu->actions()) {
        if (action->objectName() == toolName)
            return action;
    }
    return nullptr;
}

QStringList captions(const Band *band)
{
    QStringList out;
    for (const BandTool *tool : band->tools())
        out << tool->caption();
    return out;
}

} // namespace

class tst_BandMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theDesignTree()
    {
        BandMenu menu;
        QStringList bands;
        for (const Band *band : menu.bands())
            bands << band->name() + '/' + band->caption();
        QCOMPARE(bands,
            QStringList({"PopupBandBvane/Bvane", "PopupBandCustomize/Customize",
                "PopupBandRunProgram/RunProgram", "PopupBandMailSlots/MailSlots",
                "PopupBandConnection/Connection",
                "PopupBandConfirmationMenus/Confirmation Menus"}));
        QCOMPARE(captions(menu.band(BandNames::PopupBandBvane)),
            QStringList({"Confirmation Menus", "Customize", "Run Program", "Check Mail",
                "Connection Status", "About", "Exit"}));
        QCOMPARE(captions(menu.band(BandNames::PopupBandCustomize)),
            QStringList(
                {"Connection Properties", "Mail Properties", "Program Properties", "Settings"}));
        QCOMPARE(captions(menu.band(BandNames::PopupBandRunProgram)),
            QStringList({"Program1", "Program2", "Program3", "Program4", "Program5", "Program6",
                "Program7", "Program8", "Program9", "Program10", "Disable Programs/Applications"}));
        QCOMPARE(captions(menu.band(BandNames::PopupBandMailSlots)),
            QStringList({"MailSlot 1", "MailSlot 2", "MailSlot 3", "MailSlot 4", "MailSlot 5",
                "All Accounts", "Disable Mail Checking"}));
        QCOMPARE(captions(menu.band(BandNames::PopupBandConnection)),
            QStringList({"Connect", "Disconnect", "Usage..."}));
        QCOMPARE(captions(menu.band(BandNames::PopupBandConfirmationMenus)),
            QStringList({"Show Customize Brisvane Dialog on Startup",
                "Show Customize Brisvane Dialog Reminder", "Show Close Mail Program Message Dialog",
                "Show Delete Message Confirmation Dialog"}));
        QCOMPARE(menu.tool(QStringLiteral("mnuConfirmation Menus"))->opensBand(),
            BandNames::PopupBandConfirmationMenus);
        QCOMPARE(menu.tool(BandNames::mnuCheckMail)->opensBand(), BandNames::PopupBandMailSlots);
        QCOMPARE(menu.tools().size(), 7 + 4 + 11 + 7 + 3 + 4);
        QVERIFY(menu.layout().problem().isEmpty());
    }

    void toolsAreControlWideAndBandsOnlyHoldTheirOwn()
    {
        BandMenu menu;
        const Band *programs = menu.band(BandNames::PopupBandRunProgram);
        QCOMPARE(programs->tool(BandNames::mnuProgram(4)), menu.tool(BandNames::mnuProgram(4)));
        QVERIFY(!programs->tool(BandNames::mnuExit));
        QVERIFY(!menu.tool(QStringLiteral("mnuNothing")));
        QVERIFY(!menu.band(QStringLiteral("PopupBandNothing")));
        menu.popupBand(QStringLiteral("PopupBandNothing")); // quietly nothing
        QVERIFY(!menu.currentPopup());
    }

    void thePopupShowsTheBandTreeAndToolStates()
    {
        BandMenu menu;
        menu.tool(BandNames::mnuDisconnect)->setEnabled(false);
        menu.tool(BandNames::mnuProgram(3))->setVisible(false);
        menu.tool(BandNames::mnuProgram(1))->setCaption(QStringLiteral("/usr/bin/xterm"));
        menu.tool(BandNames::mnuDisableMailChecking)->setChecked(true);
        menu.popupBand(BandNames::PopupBandBvane, QPoint(40, 50));
        QMenu *root = menu.currentPopup();
        QVERIFY(root && root->isVisible());
        QCOMPARE(root->pos(), QPoint(40, 50));
        QStringList texts;
        for (QAction *action : root->actions())
            texts << action->text() + (action->menu() ? ">" : "");
        QCOMPARE(texts,
            QStringList({"Confirmation Menus>", "Customize>", "Run Program>", "Check Mail>",
                "Connection Status>", "About", "Exit"}));

        QMenu *connection = actionOf(root, BandNames::mnuConnectionStatus)->menu();
        QCOMPARE(connection->objectName(), BandNames::PopupBandConnection);
        QVERIFY(actionOf(connection, BandNames::mnuConnect)->isEnabled());
        QVERIFY(!actionOf(connection, BandNames::mnuDisconnect)->isEnabled());

        QMenu *programs = actionOf(root, BandNames::mnuRunProgram)->menu();
        QCOMPARE(
            actionOf(programs, BandNames::mnuProgram(1))->text(), QStringLiteral("/usr/bin/xterm"));
        QVERIFY(!actionOf(programs, BandNames::mnuProgram(3))->isVisible());
        QVERIFY(actionOf(programs, BandNames::mnuProgram(2))->isVisible());

        QMenu *mail = actionOf(root, BandNames::mnuCheckMail)->menu();
        QAction *disable = actionOf(mail, BandNames::mnuDisableMailChecking);
        QVERIFY(disable->isCheckable() && disable->isChecked());
        QVERIFY(!actionOf(mail, BandNames::mnuAllAccounts)->isCheckable());
        // A toggle that is off is still a toggle (a desktop's menu shows its empty box).
        QAction *programsOff = actionOf(programs, BandNames::mnuDisableProgramsApplications);
        QVERIFY(programsOff->isCheckable() && !programsOff->isChecked());
    }

    void aChosenToolIsReportedOnceAndItsStateIsLeftToTheHandler()
    {
        BandMenu menu;
        QSignalSpy clicks(&menu, &BandMenu::toolClick);
        menu.tool(BandNames::mnuShowCustomizeBrisvaneReminder)->setChecked(true);
        menu.popupBand(BandNames::PopupBandBvane);
        QMenu *confirm = actionOf(menu.currentPopup(), BandNames::mnuConfirmationMenus)->menu();
        actionOf(confirm, BandNames::mnuShowCustomizeBrisvaneReminder)->trigger();
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).value<BandTool *>(),
            menu.tool(BandNames::mnuShowCustomizeBrisvaneReminder));
        // The menu does not toggle the tool itself: the dispatcher inverts and reads it back.
        QVERIFY(menu.tool(BandNames::mnuShowCustomizeBrisvaneReminder)->checked());
        // A tool that opens a band is no command.
        actionOf(menu.currentPopup(), BandNames::mnuConfirmationMenus)->trigger();
        QCOMPARE(clicks.count(), 1);
    }

    void changesShowInAnOpenPopup()
    {
        BandMenu menu;
        menu.popupBand(BandNames::PopupBandRunProgram);
        QAction *slot5 = actionOf(menu.currentPopup(), BandNames::mnuProgram(5));
        BandTool *tool = menu.tool(BandNames::mnuProgram(5));
        tool->setEnabled(false);
        tool->setCaption(QStringLiteral("/opt/game"));
        QVERIFY(!slot5->isEnabled());
        QCOMPARE(slot5->text(), QStringLiteral("/opt/game"));
        QPixmap red(16, 16);
        red.fill(Qt::red);
        tool->setPicture(red);
        menu.refreshBands();
        QVERIFY(!slot5->icon().isNull());
        QCOMPARE(slot5->icon().pixmap(16, 16).toImage().pixelColor(8, 8), QColor(Qt::red));
    }

    // A program path is the tool's caption and shows as written, with no mnemonic.
    void anAmpersandInACaptionShowsLiterally()
    {
        BandMenu menu;
        menu.tool(BandNames::mnuProgram(2))->setCaption(QStringLiteral("/opt/R&D/report"));
        menu.popupBand(BandNames::PopupBandRunProgram);
        QAction *slot2 = actionOf(menu.currentPopup(), BandNames::mnuProgram(2));
        QCOMPARE(slot2->iconText(), QStringLiteral("/opt/R&D/report"));
        QVERIFY(QKeySequence::mnemonic(slot2->text()).isEmpty());
        QCOMPARE(menu.tool(BandNames::mnuProgram(2))->caption(), QStringLiteral("/opt/R&D/report"));
    }

    void aNewPopupReplacesTheLastOne()
    {
        BandMenu menu;
        menu.popupBand(BandNames::PopupBandBvane);
        QPointer<QMenu> first = menu.currentPopup();
        menu.popupBand(BandNames::PopupBandConnection);
        QVERIFY(first.isNull());
        QCOMPARE(menu.currentPopup()->actions().size(), 3);
    }

    // The menu a StatusNotifier host shows (Qt exports it over D-Bus): the whole tree,
    // every later change of a tool at once, clicks through the one tool-click signal.
    void theIconMenuHoldsTheTreeAndFollowsEveryTool()
    {
        BandMenu menu;
        QMenu *icon = menu.iconMenu(BandNames::PopupBandBvane);
        QCOMPARE(icon->actions().size(), 7);
        QAction *status = actionOf(icon, BandNames::mnuConnectionStatus);
        QVERIFY(status && status->menu());
        QAction *connectAction = actionOf(status->menu(), BandNames::mnuConnect);
        QVERIFY(connectAction);
        // A popup shown and replaced meanwhile leaves the icon menu's mirroring alone.
        menu.popupBand(BandNames::PopupBandBvane);
        menu.popupBand(BandNames::PopupBandConnection);
        BandTool *tool = menu.tool(BandNames::mnuConnect);
        tool->setEnabled(false);
        tool->setCaption(QStringLiteral("Dial"));
        tool->setChecked(true);
        QVERIFY(!connectAction->isEnabled());
        QCOMPARE(connectAction->text(), QStringLiteral("Dial"));
        QVERIFY(connectAction->isChecked());
        tool->setVisible(false);
        QVERIFY(!connectAction->isVisible());
        tool->setEnabled(true);
        QSignalSpy clicks(&menu, &BandMenu::toolClick);
        connectAction->trigger();
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(clicks.at(0).at(0).value<BandTool *>()->name(), BandNames::mnuConnect);
        QCOMPARE(menu.iconMenu(BandNames::PopupBandBvane), icon);
    }

    void aLayoutLoadBuildsTheIconMenuAnew()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mulayout.tb"));
        BandMenu menu;
        menu.tool(BandNames::mnuProgram(1))->setCaption(QStringLiteral("/usr/bin/xterm"));
        QVERIFY(menu.saveLayout(path));
        QPointer<QMenu> old = menu.iconMenu(BandNames::PopupBandBvane);
        QSignalSpy rebuilt(&menu, &BandMenu::iconMenuRebuilt);
        QCOMPARE(menu.loadLayout(path), BandMenu::LoadResult::Loaded);
        QCOMPARE(rebuilt.count(), 1);
        QMenu *fresh = menu.iconMenu(BandNames::PopupBandBvane);
        QVERIFY(old.isNull() && fresh);
        QAction *run = actionOf(fresh, BandNames::mnuRunProgram);
        QCOMPARE(actionOf(run->menu(), BandNames::mnuProgram(1))->text(),
            QStringLiteral("/usr/bin/xterm"));
    }
};

QTEST_MAIN(tst_BandMenu)
#include "tst_bandmenu.moc"
