#include "clock/timer.h"
#include "mail/ui/mailtab.h"
#include "support/fakemenutools.h"
#include "support/testcontext.h"

#include <QTest>

class tst_MailTab : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void slotCountZeroDisablesEveryOptionAndHidesTools();
    void slotCountOneShowsOnlyTheFirstTool();
    void toolsAreGreyedWhileTheLineIsDown();
    void accountNameFollowsIntoTheMenuOneKeystrokeAtATime();
    void slotBoxesAreStoredAndReloadedByOption();
    void spinnersStoreOnlyValuesOfTheirRange();
    void eachCounterSitsInItsGapOfTheSentence();
    void disablingMailCheckingStopsAndResumesTheSchedule();
    void scheduledCheckingGreysItsControls();

private:
    std::unique_ptr<TestContext> t;
    FakeMenuTools menu;
    std::unique_ptr<Timer> schedule;
    std::unique_ptr<QCheckBox> minimized;
    std::unique_ptr<MailTab> tab;
    bool lineUp = false;
};

void tst_MailTab::init()
{
    t = std::make_unique<TestContext>();
    menu = FakeMenuTools();
    schedule = std::make_unique<Timer>(t->clock(), 500, true);
    minimized = std::make_unique<QCheckBox>();
    lineUp = false;
    tab = std::make_unique<MailTab>(
        MailTab::Links{t->context(), menu, *schedule, [this] { return lineUp; }, minimized.get()});
}

void tst_MailTab::cleanup()
{
    tab.reset();
    minimized.reset();
    schedule.reset();
    t.reset();
}

void tst_MailTab::slotCountZeroDisablesEveryOptionAndHidesTools()
{
    tab->lblMailSlots->setText(QStringLiteral("1"));
    tab->UpDown2->stepDown();
    QCOMPARE(tab->lblMailSlots->text(), QStringLiteral("0"));
    QCOMPARE(t->settings().get(Keys::MailSlotCount), QStringLiteral("0"));
    for (int slot = 1; slot <= MailTab::kSlots; ++slot) {
        QVERIFY(!tab->option(slot)->isEnabled());
        QVERIFY(!menu.tool(MenuNames::mnuMailSlot(slot)).visible);
    }
    QVERIFY(!menu.tool(MenuNames::mnuAllAccounts).visible);
    // Below 0 the spinner stays put and stores nothing new.
    tab->UpDown2->stepDown();
    QCOMPARE(tab->lblMailSlots->text(), QStringLiteral("0"));
}

void tst_MailTab::slotCountOneShowsOnlyTheFirstTool()
{
    tab->lblMailSlots->setText(QStringLiteral("0"));
    tab->UpDown2->stepUp();
    QVERIFY(menu.tool(MenuNames::mnuMailSlot(1)).visible);
    for (int slot = 2; slot <= MailTab::kSlots; ++slot) {
        QVERIFY(!menu.tool(MenuNames::mnuMailSlot(slot)).visible);
        QVERIFY(!tab->option(slot)->isEnabled());
    }
    QVERIFY(tab->option(1)->isEnabled());
    QVERIFY(!menu.tool(MenuNames::mnuAllAccounts).visible);
    tab->UpDown2->stepUp();
    QVERIFY(menu.tool(MenuNames::mnuAllAccounts).visible);
    QCOMPARE(t->settings().get(Keys::MailSlotCount), QStringLiteral("2"));
}

void tst_MailTab::toolsAreGreyedWhileTheLineIsDown()
{
    tab->lblMailSlots->setText(QStringLiteral("3"));
    tab->CheckMailSlots();
    for (int slot = 1; slot <= 3; ++slot) {
        QVERIFY(menu.tool(MenuNames::mnuMailSlot(slot)).visible);
        QVERIFY(!menu.tool(MenuNames::mnuMailSlot(slot)).enabled);
    }
    QVERIFY(!menu.tool(MenuNames::mnuAllAccounts).enabled);
    lineUp = true;
    tab->CheckMailSlots();
    for (int slot = 1; slot <= 3; ++slot)
        QVERIFY(menu.tool(MenuNames::mnuMailSlot(slot)).enabled);
    QVERIFY(!menu.tool(MenuNames::mnuMailSlot(4)).visible);
    QVERIFY(menu.tool(MenuNames::mnuAllAccounts).enabled);
    // Switched-off mail checking keeps them greyed when the line comes up (a connect runs
    // this again).
    tab->chkDisableMailChecking->setChecked(true);
    tab->CheckMailSlots();
    for (int slot = 1; slot <= 3; ++slot)
        QVERIFY(!menu.tool(MenuNames::mnuMailSlot(slot)).enabled);
    QVERIFY(!menu.tool(MenuNames::mnuAllAccounts).enabled);
}

void tst_MailTab::accountNameFollowsIntoTheMenuOneKeystrokeAtATime()
{
    QTest::keyClicks(tab->txtAccountName1, QStringLiteral("Wo"));
    QCOMPARE(menu.tool(MenuNames::mnuMailSlot(1)).captions.value(MenuNames::PopupBandMailSlots),
        QStringLiteral("Wo"));
    QCOMPARE(t->settings().get(Keys::AccountName(1)), QStringLiteral("Wo"));
    QTest::keyClicks(tab->txtAccountName1, QStringLiteral("rk"));
    QCOMPARE(menu.tool(MenuNames::mnuMailSlot(1)).captions.value(MenuNames::PopupBandMailSlots),
        QStringLiteral("Work"));
}

void tst_MailTab::slotBoxesAreStoredAndReloadedByOption()
{
    t->settings().save(Keys::AccountName(3), QStringLiteral("Home"));
    t->settings().save(Keys::MailPassword(3), QStringLiteral(" se cret "));
    tab->lblMailSlots->setText(QStringLiteral("5"));
    tab->UpDown2_Change();
    tab->Option3->click();
    QVERIFY(tab->txtAccountName3->isVisibleTo(tab.get()));
    QVERIFY(!tab->txtAccountName1->isVisibleTo(tab.get()));
    QCOMPARE(tab->txtAccountName3->text(), QStringLiteral("Home"));
    QCOMPARE(tab->txtPassword3->text(), QStringLiteral(" se cret "));
    QCOMPARE(tab->txtPassword3->echoMode(), QLineEdit::Password);
    tab->txtDomain3->setText(QStringLiteral("pop.example.org"));
    tab->txtUserName3->setText(QStringLiteral("dave"));
    QCOMPARE(t->settings().get(Keys::Domain(3)), QStringLiteral("pop.example.org"));
    QCOMPARE(t->settings().get(Keys::MailUserName(3)), QStringLiteral("dave"));
}

void tst_MailTab::spinnersStoreOnlyValuesOfTheirRange()
{
    tab->lblCheckMailMinutes->setText(QStringLiteral("29"));
    tab->UpDown1->stepUp();
    tab->UpDown1->stepUp();
    QCOMPARE(tab->lblCheckMailMinutes->text(), QStringLiteral("30"));
    QCOMPARE(t->settings().get(Keys::CheckMailMinutes), QStringLiteral("30"));
    tab->lblPauseBetweenAccounts->setText(QStringLiteral("9"));
    tab->UpDown3_Change();
    QVERIFY(!t->settings().contains(Keys::PauseBetweenAccounts));
    tab->UpDown3->stepDown();
    QCOMPARE(tab->lblPauseBetweenAccounts->text(), QStringLiteral("5"));
    QCOMPARE(t->settings().get(Keys::PauseBetweenAccounts), QStringLiteral("5"));
}

void tst_MailTab::eachCounterSitsInItsGapOfTheSentence()
{
    GapCheckBox *box = tab->chkCheckMessages;
    QCOMPARE(box->text(),
        QStringLiteral("Check messages every   minutes and pause between mail accounts"));
    QCOMPARE(box->shownPieces(),
        (QStringList{QStringLiteral("Check messages every"), QStringLiteral("minutes and pause"),
            QStringLiteral("between mail accounts")}));
    box->resize(box->sizeHint());
    const QFontMetrics metrics = box->fontMetrics();
    const int minutes = tab->lblCheckMailMinutes->geometry().left();
    const int pause = tab->lblPauseBetweenAccounts->geometry().left();
    QCOMPARE(tab->lblCheckMailMinutes->parentWidget(), box);
    QVERIFY(minutes > metrics.horizontalAdvance(QStringLiteral("Check messages every")));
    QVERIFY(tab->UpDown1->geometry().left() > minutes);
    QVERIFY(pause > tab->UpDown1->geometry().right()
            + metrics.horizontalAdvance(QStringLiteral("minutes and pause")));
    QVERIFY(box->sizeHint().width() > tab->UpDown3->geometry().right()
            + metrics.horizontalAdvance(QStringLiteral("between mail accounts")));
    // A click on a counter is no click on the box.
    const bool ticked = box->isChecked();
    QTest::mouseClick(box, Qt::LeftButton, {}, tab->lblPauseBetweenAccounts->geometry().center());
    QCOMPARE(box->isChecked(), ticked);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
    QCOMPARE(box->isChecked(), !ticked);
}

void tst_MailTab::disablingMailCheckingStopsAndResumesTheSchedule()
{
    tab->show();
    tab->lblMailSlots->setText(QStringLiteral("2"));
    tab->chkDisableMailChecking->setChecked(true);
    QCOMPARE(t->settings().get(Keys::DisableMailChecking), QStringLiteral("1"));
    QVERIFY(!schedule->enabled());
    QVERIFY(!tab->fraMailSlots->isVisible());
    QVERIFY(!tab->fraMailSchedule->isVisible());
    QVERIFY(menu.tool(MenuNames::mnuDisableMailChecking).checked);
    QVERIFY(!menu.tool(MenuNames::mnuMailSlot(1)).enabled);

    tab->chkDisableMailChecking->setChecked(false);
    QCOMPARE(t->settings().get(Keys::DisableMailChecking), QStringLiteral("0"));
    QVERIFY(schedule->enabled());
    QVERIFY(tab->fraMailSlots->isVisible());
    QVERIFY(tab->txtAccountName1->isVisible());
    QVERIFY(!menu.tool(MenuNames::mnuDisableMailChecking).checked);
    QCOMPARE(t->settings().get(Keys::MailSlotCount), QStringLiteral("2"));
}

void tst_MailTab::scheduledCheckingGreysItsControls()
{
    tab->chkCheckMessages->setChecked(true);
    tab->chkCheckMessages->setChecked(false);
    QCOMPARE(t->settings().get(Keys::CheckMessages), QStringLiteral("0"));
    QVERIFY(!tab->UpDown1->isEnabled());
    QVERIFY(!tab->lblPauseBetweenAccounts->isEnabled());
    QVERIFY(!minimized->isEnabled());
    tab->chkCheckMessages->setChecked(true);
    QVERIFY(tab->UpDown3->isEnabled());
    QVERIFY(minimized->isEnabled());
    tab->chkMailConnected->setChecked(true);
    QCOMPARE(t->settings().get(Keys::MailConnected), QStringLiteral("1"));
}

QTEST_MAIN(tst_MailTab)
#include "tst_mailtab.moc"
