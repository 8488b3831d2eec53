#include "checkmailfixture.h"
#include "mail/ui/frmmailservererror.h"
#include "mail/ui/headerslist.h"
#include "shell/ui/settingstab.h"
#include "support/modalanswerer.h"
#include "support/widgetbyname.h"

#include <QDir>
#include <QHeaderView>
#include <QTest>

namespace {
const QString kRow1 = HeadersModel::rowText(QStringLiteral("sender1@example.org"),
    QStringLiteral("Invoice"), QStringLiteral("Mon, 7 Dec 2026 10:01:00 +0000"));

std::pair<SettingKey, QString> on(const SettingKey &key)
{
    return {key, QStringLiteral("1")};
}
} // namespace

class tst_frmCheckMail : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneSlotWithoutMailStaysOpenForItsStarter();
    void popupCheckOfOneEmptySlotIsClosedByTheStarter();
    void oneSlotWithMailCountsDownAndClosesItself();
    void countOnlyModeShowsProcessingBetweenAccounts();
    void threeSlotsWithSlotTwoEmptySkipTheEmptyPause();
    void cancelEndsTheCheckAndGivesEveryTimerBack();
    void aSlowLogOnNamesItsAccountAndCancelEndsIt();
    void logOnErrorCountsDownToTheNextAccount();
    void minimisedScheduledCheckGivesTheNewMailNotice();
    void popupCheckIsNeverMinimised();
    void headersStandInColumnsAndTheListGrowsWithTheWindow();
};

void tst_frmCheckMail::oneSlotWithoutMailStaysOpenForItsStarter()
{
    TestContext t;
    MailProgram p(t, 1, false, {on(Keys::AlertMailNoArrive)});
    p.mail(1, {});
    p.connectLine();
    p.check().clearForStart();
    p.finish(p.check().loadCheckWindow());
    frmCheckMail *w = p.window();
    QVERIFY(w && w->isVisible());
    QCOMPARE(w->windowTitle(), QStringLiteral("Checking Mail"));
    QCOMPARE(widget<QLabel>(w, "Label4")->text(),
        QStringLiteral("Number of messages waiting on Account 1: 0"));
    QVERIFY(!widget<HeadersList>(w, "listMessages")->isVisible());
    QVERIFY(p.customizeTimersStopped());
    // Usable from the log-on on: it closes the window too.
    QVERIFY(widget<QPushButton>(w, "cmdCancel")->isEnabled());
    QCOMPARE(t.sounds().names(), QStringList{QStringLiteral("<default>")}); // the no-mail alert
    QCOMPARE(t.settings().get(Keys::CheckMailExecuted), QStringLiteral("Executed"));
    QCOMPARE(t.settings().get(Keys::Check), QStringLiteral("0"));
    p.run(300);
    QCOMPARE(p.window(), w); // nothing closes it but its starter
}

void tst_frmCheckMail::popupCheckOfOneEmptySlotIsClosedByTheStarter()
{
    TestContext t;
    MailProgram p(t, 1, true);
    p.mail(1, {});
    p.connectLine();
    p.checkAllAccounts();
    QVERIFY(!p.window());
    QVERIFY(p.trayShows(QStringLiteral("net10a.ico")));
    QVERIFY(p.customizeTimersRunning());
    QCOMPARE(p.check().manualCheck, qint16(0));
    QCOMPARE(p.server.linesLike(QStringLiteral("QUIT")).size(), 1);
}

void tst_frmCheckMail::oneSlotWithMailCountsDownAndClosesItself()
{
    TestContext t;
    MailProgram p(t, 1, true);
    p.mail(1, {QStringLiteral("Invoice"), QStringLiteral("Minutes")});
    p.connectLine();
    p.checkAllAccounts();
    frmCheckMail *w = p.window();
    QVERIFY(w && !w->isMinimized());
    QCOMPARE(p.rows().size(), 2);
    QCOMPARE(p.rows().first(), kRow1);
    QVERIFY(!widget<HeadersList>(w, "listMessages")->rows().isTicked(1));
    QCOMPARE(widget<QLabel>(w, "Label4")->text(), QStringLiteral("Mail on Account 1"));
    QCOMPARE(widget<QLabel>(w, "Label5")->text(),
        QStringLiteral("Closing Checking Mail Dialog:  59 second(s)"));
    QVERIFY(!widget<QPushButton>(w, "cmdNextMailAccount")->isEnabled());
    QVERIFY(widget<QPushButton>(w, "cmdCancel")->isEnabled()
        && widget<QPushButton>(w, "cmdDeleteMessage")->isEnabled());
    // The starter leaves the window and the stopped timers alone.
    QVERIFY(p.customizeTimersStopped());
    p.run(30);
    QCOMPARE(widget<QLabel>(w, "Label5")->text(),
        QStringLiteral("Closing Checking Mail Dialog:  29 second(s)"));
    p.run(30);
    QVERIFY(!p.window());
    QVERIFY(p.trayShows(QStringLiteral("mail.ico"))); // the mail is still new
    QVERIFY(p.customizeTimersRunning());
    QCOMPARE(p.server.linesLike(QStringLiteral("QUIT")).size(), 1);
}

void tst_frmCheckMail::countOnlyModeShowsProcessingBetweenAccounts()
{
    TestContext t;
    MailProgram p(t, 2, false, {on(Keys::AlertMailArrive)});
    p.mail(1, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    p.mail(2, {});
    p.connectLine();
    p.checkAllAccounts();
    frmCheckMail *w = p.window();
    QVERIFY(w);
    QCOMPARE(widget<QLabel>(w, "Label4")->text(),
        QStringLiteral("Number of messages waiting on Account 1: 3"));
    QCOMPARE(widget<QLabel>(w, "Label5")->text(),
        QStringLiteral("Checking next account:  59 second(s)"));
    // The countdown stands inside the small window.
    QVERIFY(widget<QLabel>(w, "Label5")->isVisible()
        && w->rect().contains(widget<QLabel>(w, "Label5")->geometry()));
    QVERIFY(!widget<QLabel>(w, "Label5")
                 ->geometry()
                 .intersects(widget<QLabel>(w, "Label4")->geometry()));
    QVERIFY(widget<QPushButton>(w, "cmdNextMailAccount")->isEnabled());
    // Messages waiting give the arrival alert, not the no-mail one.
    QCOMPARE(t.sounds().names(), QStringList{QStringLiteral("<default>")});
    const qint64 paused = t.clock().tickCount();
    p.run(59);
    QVERIFY(widget<QLabel>(w, "Label6")->isVisible() || !p.window());
    p.run(10);
    QVERIFY(!p.window());
    // "Processing..." for 3 seconds, the 5-second gap, then slot 2.
    const qint64 gap = p.server.when(QStringLiteral("LOGON pop2")) - paused;
    QVERIFY2(gap >= 59000 + 3000 + 5000 && gap < 67010, qPrintable(QString::number(gap)));
}

void tst_frmCheckMail::threeSlotsWithSlotTwoEmptySkipTheEmptyPause()
{
    TestContext t;
    MailProgram p(t, 3, true);
    p.mail(1, {QStringLiteral("Invoice")});
    p.mail(2, {});
    p.mail(3, {QStringLiteral("Agenda")});
    p.connectLine();
    p.checkAllAccounts();
    QVERIFY(p.window());
    QCOMPARE(widget<QLabel>(p.window(), "Label5")->text(),
        QStringLiteral("Checking next account:  59 second(s)"));
    // A user who presses Next Mail Account during the gap before slot 2 gets nothing.
    Timer press(t.clock(), 61000, true);
    bool offeredDuringGap = true;
    connect(&press, &Timer::tick, this, [&] {
        press.setEnabled(false);
        offeredDuringGap = widget<QPushButton>(p.window(), "cmdNextMailAccount")->isEnabled();
        widget<QPushButton>(p.window(), "cmdNextMailAccount")->click();
    });
    p.run(80);
    QVERIFY(!offeredDuringGap);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 1);
    const ScriptedMailServer &s = p.server;
    QCOMPARE(s.when(QStringLiteral("LOGON pop2")) - s.when(QStringLiteral("QUIT pop1")), 5000);
    // Slot 2 is left as soon as its log-on is answered, without a pause.
    QVERIFY(s.when(QStringLiteral("QUIT pop2")) - s.when(QStringLiteral("LOGON pop2")) < 10);
    QCOMPARE(s.when(QStringLiteral("LOGON pop3")) - s.when(QStringLiteral("QUIT pop2")), 5000);
    QVERIFY(p.window());
    QCOMPARE(p.rows().size(), 1);
    QVERIFY(p.rows().first().contains(QStringLiteral("Agenda")));
    QVERIFY(widget<QLabel>(p.window(), "Label5")
                ->text()
                .startsWith(QStringLiteral("Closing Checking Mail Dialog:")));
    p.run(60);
    QVERIFY(!p.window());
    QVERIFY(p.customizeTimersRunning());
    QCOMPARE(s.linesLike(QStringLiteral("QUIT pop3")).size(), 1);
}

// In the countdown, or in the five seconds' gap after Next Mail Account.
void tst_frmCheckMail::cancelEndsTheCheckAndGivesEveryTimerBack()
{
    for (const bool inTheGap : {false, true}) {
        TestContext t;
        MailProgram p(t, 2, true);
        p.mail(1, {QStringLiteral("Invoice")});
        p.mail(2, {QStringLiteral("Agenda")});
        p.connectLine();
        p.checkAllAccounts();
        QVERIFY(p.window());
        if (inTheGap) {
            widget<QPushButton>(p.window(), "cmdNextMailAccount")->click();
            p.run(2);
        }
        widget<QPushButton>(p.window(), "cmdCancel")->click();
        QVERIFY(!p.window());
        QVERIFY(p.trayShows(QStringLiteral("mail.ico"))); // the mail is still new
        // The line watch too: a line lost after a cancelled check must still be noticed.
        QVERIFY(p.customizeTimersRunning());
        QCOMPARE(t.settings().get(Keys::CheckMailUnload), QStringLiteral("1"));
        p.run(120);
        QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 0);
        QCOMPARE(p.server.linesLike(QStringLiteral("QUIT pop1")).size(), 1);
    }
}

void tst_frmCheckMail::aSlowLogOnNamesItsAccountAndCancelEndsIt()
{
    TestContext t;
    MailProgram p(t, 2, false);
    p.mail(1, {QStringLiteral("Invoice")});
    p.mail(2, {});
    p.server.boxes[MailProgram::host(1)].logOnMs = 60000;
    p.connectLine();
    auto run = p.check().mnuAllAccounts_Click();
    p.run(1);
    QVERIFY(p.window());
    QCOMPARE(widget<QLabel>(p.window(), "Label4")->text(),
        QStringLiteral("Checking mail on Account 1......"));
    QVERIFY(widget<QLabel>(p.window(), "Label4")->isVisible()
        && widget<QPushButton>(p.window(), "cmdCancel")->isEnabled());
    widget<QPushButton>(p.window(), "cmdCancel")->click();
    p.finish(std::move(run));
    QVERIFY(!p.window());
    QVERIFY(p.customizeTimersRunning());
    p.run(120);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 0);
}

void tst_frmCheckMail::logOnErrorCountsDownToTheNextAccount()
{
    TestContext t;
    MailProgram p(t, 3, true);
    p.refuse(1);
    p.mail(2, {QStringLiteral("Invoice")});
    p.connectLine();
    p.checkAllAccounts();
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible());
    QVERIFY(error->cmdNextAccount->isEnabled());
    // The window counts down to the next account, and can be left at any time.
    frmCheckMail *w = p.window();
    QVERIFY(w && !w->isMinimized());
    QCOMPARE(widget<QLabel>(w, "Label4")->text(), QStringLiteral("Could not check Account 1"));
    QVERIFY(widget<QPushButton>(w, "cmdCancel")->isEnabled()
        && widget<QPushButton>(w, "cmdNextMailAccount")->isEnabled());
    QCOMPARE(t.settings().get(Keys::CheckMailUnload), QStringLiteral("0"));
    p.run(30);
    QCOMPARE(p.server.log.size(), 1); // the refused log-on, nothing after it
    error->cmdNextAccount->click();
    p.run(5.1); // the gap before the next account
    QCOMPARE(p.server.linesLike(QStringLiteral("QUIT")).size(), 0); // no Quit for slot 1
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 1);
    QCOMPARE(p.rows().size(), 1);
    // Escape on the window acts as its Cancel.
    QTest::keyClick(w, Qt::Key_Escape);
    QVERIFY(!p.window());
    QVERIFY(p.customizeTimersRunning());
}

void tst_frmCheckMail::minimisedScheduledCheckGivesTheNewMailNotice()
{
    TestContext t;
    MailProgram p(t, 1, true,
        {on(Keys::CheckMessages), on(Keys::CheckMailwhenMinimized), on(Keys::AlertMailArrive),
            {Keys::AlertConnected, QStringLiteral("0")}});
    p.mail(1, {QStringLiteral("Invoice"), QStringLiteral("Minutes")});
    p.connectLine();
    p.startSchedule();
    p.run(61);
    frmCheckMail *w = p.window();
    QVERIFY(w);
    QVERIFY(w->isMinimized());
    QCOMPARE(w->windowTitle(), QStringLiteral("You have new mail"));
    QCOMPARE(p.monitor->tray().TrayTip(), QStringLiteral("You have new mail (2 new)"));
    QVERIFY(p.trayShows(QStringLiteral("mail.ico")));
    // The notice instead of a sound per message.
    QCOMPARE(t.sounds().played().size(), 1);
    QVERIFY(t.sounds().played().first().file.endsWith(QStringLiteral("/notify.wav")));
}

void tst_frmCheckMail::popupCheckIsNeverMinimised()
{
    TestContext t;
    MailProgram p(t, 1, true, {on(Keys::CheckMailwhenMinimized)});
    p.mail(1, {QStringLiteral("Invoice")});
    p.connectLine();
    // Scheduled checking on as well, so that the minimised-check rule would apply.
    Form::setCheckValue(widget<QCheckBox>(p.dialog().mailTab(), "chkCheckMessages"), 1);
    p.checkAllAccounts();
    QVERIFY(p.window());
    QVERIFY(!p.window()->isMinimized());
    QCOMPARE(p.window()->windowTitle(), QStringLiteral("Checking Mail"));
    QCOMPARE(p.check().manualCheck, qint16(1));
    QVERIFY(t.sounds().played().isEmpty());
}

void tst_frmCheckMail::headersStandInColumnsAndTheListGrowsWithTheWindow()
{
    TestContext t;
    MailProgram p(t, 1, true);
    p.mail(1,
        {QStringLiteral("Invoice"), QStringLiteral("Minutes of the meeting on Tuesday"),
            QStringLiteral("Re: lunch"), QStringLiteral("Your order has shipped"),
            QStringLiteral("Holiday pictures")});
    p.connectLine();
    p.checkAllAccounts();
    frmCheckMail *w = p.window();
    QVERIFY(w);
    // The rows keep the text the check forms and compares; the list only shows it in columns.
    QCOMPARE(p.rows().size(), 5);
    QCOMPARE(p.rows().first(), kRow1);
    const QAbstractItemModel *rows = widget<HeadersList>(w, "listMessages")->model();
    QCOMPARE(QStringList({rows->index(0, 0).data().toString(), rows->index(0, 1).data().toString(),
                 rows->index(0, 2).data().toString()}),
        (QStringList{QStringLiteral("sender1@example.org"), QStringLiteral("Invoice"),
            QStringLiteral("Mon, 7 Dec 2026 10:01:00 +0000")}));
    QHeaderView *header = widget<HeadersList>(w, "listMessages")->header();
    QVERIFY(header->isVisible());
    QCOMPARE(header->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("From"));
    QCOMPARE(
        header->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Date/Time"));
    QVERIFY(header->sectionPosition(2) + 60
        < widget<HeadersList>(w, "listMessages")->viewport()->width());
    // Ticked as the user does it: a click in the first row's box, Space on the fourth row
    // whichever column has the focus.
    QStyleOptionViewItem box;
    box.initFrom(widget<HeadersList>(w, "listMessages"));
    box.rect = widget<HeadersList>(w, "listMessages")->visualRect(rows->index(0, 0));
    box.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    const QRect tick = w->style()->subElementRect(
        QStyle::SE_ItemViewItemCheckIndicator, &box, widget<HeadersList>(w, "listMessages"));
    QTest::mouseClick(
        widget<HeadersList>(w, "listMessages")->viewport(), Qt::LeftButton, {}, tick.center());
    widget<HeadersList>(w, "listMessages")->setCurrentIndex(rows->index(3, 2));
    QTest::keyClick(widget<HeadersList>(w, "listMessages"), Qt::Key_Space);
    QCOMPARE(QList({rows->index(0, 0).data(Qt::CheckStateRole).toInt(),
                 rows->index(1, 0).data(Qt::CheckStateRole).toInt(),
                 rows->index(3, 0).data(Qt::CheckStateRole).toInt()}),
        QList<int>({Qt::Checked, Qt::Unchecked, Qt::Checked}));
    QTest::keyClick(widget<HeadersList>(w, "listMessages"), Qt::Key_Space);
    QVERIFY(!widget<HeadersList>(w, "listMessages")->rows().isTicked(3));
    // The window grows and the list with it; the buttons keep to the bottom edge.
    const QRect list = widget<HeadersList>(w, "listMessages")->geometry();
    const int gap = w->height() - widget<QPushButton>(w, "cmdCancel")->geometry().bottom();
    w->resize(w->width() + 200, w->height() + 150);
    QCOMPARE(widget<HeadersList>(w, "listMessages")->width(), list.width() + 200);
    QCOMPARE(widget<HeadersList>(w, "listMessages")->height(), list.height() + 150);
    QCOMPARE(w->height() - widget<QPushButton>(w, "cmdCancel")->geometry().bottom(), gap);
    header->resizeSection(0, 260);
    QCOMPARE(header->sectionPosition(1), 260);
    const QString artifacts = qEnvironmentVariable("BVANE_ARTIFACTS");
    if (!artifacts.isEmpty() && QDir().mkpath(artifacts))
        QVERIFY(w->grab().save(artifacts + QStringLiteral("/check-window-five-headers.png")));
    widget<QPushButton>(w, "cmdCancel")->click();
}

QTEST_MAIN(tst_frmCheckMail)
#include "tst_frmcheckmail.moc"
