#include "app/brisvaneapp.h"
#include "checkmailfixture.h"
#include "connection/linecontroller.h"
#include "mail/mailschedule.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/frmmailservererror.h"
#include "mail/ui/headerslist.h"
#include "shell/menutools.h"
#include "support/widgetbyname.h"

#include <QLabel>
#include <QTest>

namespace {
std::pair<SettingKey, QString> on(const SettingKey &key)
{
    return {key, QStringLiteral("1")};
}

// The program with the single-slot window reached from the popup menu.
struct SlotProgram : MailProgram {
    using MailProgram::MailProgram;
    frmCheckMail *slotWindow() { return check().slotWindow(); }
    // The popup menu's MailSlot `slot`, run until its starter is done with the window.
    void checkSlot(int slot) { finish(check().mnuMailSlot_Click(slot)); }
    QStringList slotRows()
    {
        QStringList out;
        if (frmCheckMail *w = slotWindow()) {
            for (int i = 0; i < widget<HeadersList>(w, "listMessages")->count(); ++i)
                out << widget<HeadersList>(w, "listMessages")->rows().rowText(i);
        }
        return out;
    }
    int quits() const { return int(server.linesLike(QStringLiteral("QUIT")).size()); }
    QString detailsText()
    {
        frmMailServerError *error = check().serverErrorDialog();
        if (!error)
            return {};
        error->cmdDetails->click();
        return error->Label2->text().section(QStringLiteral(" is unresponsive"), 0, 0);
    }
    struct Timers {
        bool t1, t2, t3;
        bool operator==(const Timers &) const = default;
    };
    Timers timers() const
    {
        LineController &line = monitor->app().line();
        return {line.clockTimer().enabled(), monitor->app().mailSchedule().isEnabled(),
            line.watchTimer().enabled()};
    }
};

const QStringList kTwo{QStringLiteral("Invoice"), QStringLiteral("Minutes")};
} // namespace

class tst_frmCheckMail2 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void slotThreeWithTwoMessagesListsBothAndStaysOpen();
    void headersModeWithoutMailVanishesSilently();
    void countOnlyWithNoMailShowsZeroAndPlaysTheArrivalAlert();
    void alertsNeedTheLineUp();
    void logOnErrorOpensTheErrorDialogWithoutNextAccountAndNoReport();
    void aScheduledRoundWaitsForTheOpenSlotWindow();
    void cancelSendsQuitAndLeavesTrayAndTimersAlone();
    void selectAllAndDeleteWorkWithoutACountdown();
    void runMailProgramClosesThroughCancel();
    void singleSlotIndexFollowsTheChosenSlot();
    void aSecondSlotCommandReplacesTheOpenWindow();
};

void tst_frmCheckMail2::slotThreeWithTwoMessagesListsBothAndStaysOpen()
{
    TestContext t;
    SlotProgram p(t, 3, true, {on(Keys::AlertMailArrive)});
    p.mail(3, kTwo);
    p.connectLine();
    const auto timers = p.timers();
    p.checkSlot(3);
    frmCheckMail *w = p.slotWindow();
    QVERIFY(w && w->isVisible() && !w->isMinimized());
    QCOMPARE(w->objectName(), QStringLiteral("frmCheckMail2"));
    QCOMPARE(w->windowTitle(), QStringLiteral("Checking Mail"));
    QCOMPARE(t.settings().get(Keys::MailSlotChosen), QStringLiteral("3"));
    QCOMPARE(t.settings().get(Keys::CheckMailExecuted), QStringLiteral("NotExecuted"));
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
    QVERIFY(p.server.log.join(u'\n').contains(QStringLiteral("LOGON pop3.example.org user3")));
    QCOMPARE(p.slotRows(),
        QStringList(
            {HeadersModel::rowText(QStringLiteral("sender1@example.org"), QStringLiteral("Invoice"),
                 QStringLiteral("Mon, 7 Dec 2026 10:01:00 +0000")),
                HeadersModel::rowText(QStringLiteral("sender2@example.org"),
                    QStringLiteral("Minutes"), QStringLiteral("Mon, 7 Dec 2026 10:02:00 +0000"))}));
    QVERIFY(!widget<HeadersList>(w, "listMessages")->rows().isTicked(0));
    QCOMPARE(t.sounds().names(), QStringList{QStringLiteral("<default>")}); // once for the check
    for (QWidget *b : std::initializer_list<QWidget *>{widget<QPushButton>(w, "cmdDeleteMessage"),
             widget<QPushButton>(w, "cmdSelectMessage"), widget<QPushButton>(w, "cmdMailProgram"),
             widget<QPushButton>(w, "cmdCancel")})
        QVERIFY(b->isEnabled());
    QVERIFY(!widget<QPushButton>(w, "cmdNextMailAccount")->isVisible()
        && !widget<QLabel>(w, "Label5")->isVisible());
    QVERIFY(!widget<QLabel>(w, "Label4")->isVisible());
    QCOMPARE(p.check().accountDone, qint16(1));
    // The Customize dialog's timers are not this window's business; the tray shows the
    // envelope for the new mail, as the tip counts it.
    QVERIFY(p.trayShows(QStringLiteral("mail.ico")));
    QCOMPARE(p.timers(), timers);
    p.run(600);
    QCOMPARE(p.slotWindow(), w); // no countdown closes it
    QCOMPARE(p.quits(), 0);
}

void tst_frmCheckMail2::headersModeWithoutMailVanishesSilently()
{
    TestContext t;
    SlotProgram p(t, 2, true, {on(Keys::AlertMailArrive), on(Keys::AlertMailNoArrive)});
    p.mail(2, {});
    p.connectLine();
    p.checkSlot(2);
    QVERIFY(!p.slotWindow());
    QVERIFY(t.sounds().names().isEmpty());
    QCOMPARE(p.quits(), 1); // the session is closed on the way out
}

void tst_frmCheckMail2::countOnlyWithNoMailShowsZeroAndPlaysTheArrivalAlert()
{
    TestContext t;
    SlotProgram p(t, 2, false, {on(Keys::AlertMailArrive), on(Keys::AlertMailNoArrive)});
    p.mail(2, {});
    p.connectLine();
    p.checkSlot(2);
    frmCheckMail *w = p.slotWindow();
    QVERIFY(w && w->isVisible());
    QCOMPARE(widget<QLabel>(w, "Label4")->text(),
        QStringLiteral("Number of messages waiting on Account 2: 0"));
    QVERIFY(widget<QLabel>(w, "Label4")->isVisible());
    QCOMPARE(t.sounds().names(), QStringList{QStringLiteral("<default>")});
    for (QWidget *hidden :
        std::initializer_list<QWidget *>{widget<QLabel>(w, "Label1"), widget<QLabel>(w, "Label2"),
            widget<QLabel>(w, "Label3"), widget<HeadersList>(w, "listMessages"),
            widget<QPushButton>(w, "cmdDeleteMessage"), widget<QPushButton>(w, "cmdSelectMessage")})
        QVERIFY(!hidden->isVisible());
    QVERIFY(!widget<QPushButton>(w, "cmdMailProgram")->isEnabled());
    QVERIFY(widget<QPushButton>(w, "cmdCancel")->isEnabled()); // enabled by the popup command
    // Laid out as the headers layout is: the buttons keep 8 px to the bottom edge and are as
    // wide as their captions need.
    QCOMPARE(w->height() - widget<QPushButton>(w, "cmdCancel")->geometry().bottom() - 1, 8);
    for (QPushButton *b :
        {widget<QPushButton>(w, "cmdMailProgram"), widget<QPushButton>(w, "cmdCancel")})
        QVERIFY(b->width() >= b->sizeHint().width());
    QCOMPARE(p.check().singleSlotIndex, qint16(0));
}

void tst_frmCheckMail2::alertsNeedTheLineUp()
{
    TestContext t;
    SlotProgram p(t, 1, true, {on(Keys::AlertMailArrive)});
    p.mail(1, kTwo);
    p.checkSlot(1);
    QCOMPARE(p.slotRows().size(), 2);
    QVERIFY(t.sounds().names().isEmpty());
}

void tst_frmCheckMail2::logOnErrorOpensTheErrorDialogWithoutNextAccountAndNoReport()
{
    for (const bool headers : {true, false}) {
        TestContext t;
        SlotProgram p(t, 3, headers, {on(Keys::AlertMailArrive)});
        p.refuse(2);
        p.connectLine();
        p.checkSlot(2);
        frmMailServerError *error = p.check().serverErrorDialog();
        QVERIFY(error && error->isVisible());
        QVERIFY(!error->cmdNextAccount->isEnabled());
        QVERIFY(t.sounds().names().isEmpty());
        QCOMPARE(p.check().accountDone, qint16(0));
        // Nothing to show: the popup command unloads the window, with no QUIT for the
        // session that never came up.
        QVERIFY(!p.slotWindow());
        QCOMPARE(p.quits(), 0);
        QCOMPARE(t.settings().get(Keys::CheckMailUnload), QStringLiteral("1"));
        QCOMPARE(p.detailsText(), QStringLiteral("Mail Account Account 2"));
    }
}

void tst_frmCheckMail2::aScheduledRoundWaitsForTheOpenSlotWindow()
{
    TestContext t;
    SlotProgram p(
        t, 2, true, {on(Keys::CheckMessages), {Keys::CheckMailMinutes, QStringLiteral("1")}});
    p.mail(1, kTwo);
    p.refuse(2);
    p.server.boxes[MailProgram::host(2)].logOnMs = 90000;
    p.connectLine();
    p.startSchedule();
    QCoro::Task<> slotCheck = p.check().mnuMailSlot_Click(2);
    // The round is due while slot 2's log-on is still unanswered: no second window.
    p.run(70);
    QVERIFY(!p.window());
    p.finish(std::move(slotCheck));
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible());
    QVERIFY(!error->cmdNextAccount->isEnabled());
    QCOMPARE(p.detailsText(), QStringLiteral("Mail Account Account 2"));
    // The slot window has gone: the round that waited for it runs now.
    QVERIFY(!p.slotWindow());
    p.run(1.5);
    QVERIFY(p.window());
    error->cmdClose->click();
    QVERIFY(p.window()); // the healthy scheduled check stays
}

void tst_frmCheckMail2::cancelSendsQuitAndLeavesTrayAndTimersAlone()
{
    TestContext t;
    SlotProgram p(t, 2, true);
    p.mail(1, kTwo);
    p.connectLine();
    p.check().stopCustomizeTimers();
    p.line().watchTimer().setEnabled(true);
    const auto timers = p.timers();
    p.checkSlot(1);
    QVERIFY(p.slotWindow());
    widget<QPushButton>(p.slotWindow(), "cmdCancel")->click();
    QVERIFY(!p.slotWindow());
    QCOMPARE(p.quits(), 1);
    QCOMPARE(t.settings().get(Keys::CheckMailUnload), QStringLiteral("1"));
    QVERIFY(p.trayShows(QStringLiteral("mail.ico"))); // the new mail's, not the window's
    QCOMPARE(p.timers(), timers);
}

void tst_frmCheckMail2::selectAllAndDeleteWorkWithoutACountdown()
{
    TestContext t;
    SlotProgram p(t, 1, true, {{Keys::DeleteMessageConfirmation, SettingValues::FalseText}});
    p.mail(1, {QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")});
    p.connectLine();
    p.checkSlot(1);
    frmCheckMail *w = p.slotWindow();
    QVERIFY(w);
    widget<QPushButton>(w, "cmdDeleteMessage")->click();
    QCOMPARE(t.dialogs().shown().last().text,
        QStringLiteral("Please select a message(s) by clicking in the appropriate checkbox"));
    widget<HeadersList>(w, "listMessages")->rows().setTicked(1, true);
    widget<QPushButton>(w, "cmdDeleteMessage")->click();
    p.run(3.5);
    const QStringList deleted = p.server.linesLike(QStringLiteral("DELE"));
    QCOMPARE(deleted.size(), 1);
    QVERIFY(deleted.first().endsWith(QStringLiteral(" DELE pop1.example.org 2")));
    QCOMPARE(widget<HeadersList>(w, "listMessages")->rows().rowText(1),
        QStringLiteral("Message Deleted"));
    QVERIFY(widget<QPushButton>(w, "cmdDeleteMessage")->isEnabled()
        && widget<QPushButton>(w, "cmdCancel")->isEnabled());
    // The deleted row has no tick box any more: Select All and Delete pass it by.
    widget<QPushButton>(w, "cmdSelectMessage")->click();
    for (int i = 0; i < 3; ++i)
        QCOMPARE(widget<HeadersList>(w, "listMessages")->rows().isTicked(i), i != 1);
    widget<QPushButton>(w, "cmdDeleteMessage")->click();
    p.run(9.5);
    QCOMPARE(p.server.linesLike(QStringLiteral("DELE")).size(), 3);
    // One batch: both go at once.
    QCOMPARE(p.server.when(QStringLiteral("DELE"), 2), p.server.when(QStringLiteral("DELE"), 1));
    QCOMPARE(p.slotWindow(), w);
}

void tst_frmCheckMail2::runMailProgramClosesThroughCancel()
{
    TestContext t;
    SlotProgram p(t, 1, true, {{Keys::CloseMailProgramMessage, SettingValues::FalseText}});
    p.mail(1, kTwo);
    p.connectLine();
    p.checkSlot(1);
    t.dialogs().clear();
    widget<QPushButton>(p.slotWindow(), "cmdMailProgram")->click();
    QCOMPARE(t.dialogs().shown().size(), 1); // no program chosen yet
    QVERIFY(p.slotWindow());
    t.settings().save(Keys::MailProgram, QStringLiteral("mutt"));
    widget<QLineEdit>(p.dialog().mailTab(), "txtMailProgram")->setText(QStringLiteral("mutt"));
    widget<QPushButton>(p.slotWindow(), "cmdMailProgram")->click();
    QVERIFY(!p.slotWindow());
    QCOMPARE(p.quits(), 1);
    QCOMPARE(t.programs().watched, QStringList{QStringLiteral("mutt")});
}

void tst_frmCheckMail2::singleSlotIndexFollowsTheChosenSlot()
{
    TestContext t;
    SlotProgram p(t, 5, false);
    for (int slot = 1; slot <= 5; ++slot)
        p.mail(slot, {QStringLiteral("hello")});
    p.connectLine();
    for (int slot = 2; slot <= 5; ++slot) {
        p.check().singleSlotIndex = 3;
        p.checkSlot(slot);
        QCOMPARE(widget<QLabel>(p.slotWindow(), "Label4")->text(),
            QStringLiteral("Number of messages waiting on Account %1: 1").arg(slot));
        QCOMPARE(p.check().singleSlotIndex, qint16(0)); // set back once the count shows
    }
    // A failed count keeps the index for the error dialog. The QUIT of the window it
    // replaces is answered while it logs on; that answer is not taken for its own.
    p.refuse(4);
    p.checkSlot(4);
    QCOMPARE(p.check().singleSlotIndex, qint16(3));
    QCOMPARE(p.detailsText(), QStringLiteral("Mail Account Account 4"));
    // Slot 1 does not inherit an index left by an earlier check of another slot.
    p.check().serverErrorDialog()->cmdClose->click();
    p.refuse(1);
    p.checkSlot(1);
    QCOMPARE(p.check().singleSlotIndex, qint16(0));
    QCOMPARE(p.detailsText(), QStringLiteral("Mail Account Account 1"));
}

void tst_frmCheckMail2::aSecondSlotCommandReplacesTheOpenWindow()
{
    TestContext t;
    SlotProgram p(t, 2, true);
    p.mail(1, kTwo);
    p.mail(2, {QStringLiteral("Agenda")});
    p.connectLine();
    p.checkSlot(1);
    QPointer<frmCheckMail> first = p.slotWindow();
    p.checkSlot(2);
    QVERIFY(p.slotWindow() && p.slotWindow() != first);
    QVERIFY(!first || first->isUnloaded());
    QCOMPARE(p.quits(), 1); // the first session was closed
    QCOMPARE(p.slotRows().size(), 1);
}

QTEST_MAIN(tst_frmCheckMail2)
#include "tst_frmcheckmail2.moc"
