#include "checkmailfixture.h"
#include "mail/ui/frmmailservererror.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {
// Three accounts with the second refusing the log-on, checked from the popup menu and run
// until the error dialog is up.
struct FailingSecond : MailProgram {
    explicit FailingSecond(TestContext &t)
        : MailProgram(t, 3, true)
    {
        mail(1, {QStringLiteral("Invoice")});
        refuse(2);
        mail(3, {QStringLiteral("Agenda")});
        connectLine();
        checkAllAccounts();
        run(70);
    }
    frmMailServerError *error() { return check().serverErrorDialog(); }
};
} // namespace

class tst_frmMailServerError : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void errorOnTheLastSlotDisablesNextAccount();
    void detailsNamesTheFailingAccountOnce();
    void closingAfterAnErrorOnSlotTwoOfThreeEndsTheCheck();
    void aDeadFirstAccountKeepsNoOtherFromItsCheck();
    void singleSlotWindowErrorHasNoNextAccount();
};

void tst_frmMailServerError::errorOnTheLastSlotDisablesNextAccount()
{
    TestContext t;
    MailProgram p(t, 2, true);
    p.mail(1, {QStringLiteral("Invoice")});
    p.refuse(2);
    p.connectLine();
    p.checkAllAccounts();
    p.run(70);
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible());
    QCOMPARE(error->windowTitle(), QStringLiteral("Mail Server Error"));
    QVERIFY(!error->cmdNextAccount->isEnabled());
    QVERIFY(error->cmdClose->isEnabled());
}

void tst_frmMailServerError::detailsNamesTheFailingAccountOnce()
{
    TestContext t;
    FailingSecond p(t);
    QVERIFY(p.error() && p.error()->isVisible());
    QVERIFY(p.error()->cmdNextAccount->isEnabled());
    QVERIFY(p.error()->Label2->text().isEmpty());
    p.error()->cmdDetails->click();
    // The general words, then what the server said.
    QCOMPARE(p.error()->Label2->text(),
        QStringLiteral("Mail Account Account 2 is unresponsive\r\n\r\nThis error may be resulting "
                       "in an incorrect username, password, or domain name or the mail server is "
                       "unresponsive at this time. Please check your settings on the Mail tab and "
                       "try again later.\r\n\r\n-ERR refused"));
    QVERIFY(!p.error()->cmdDetails->isEnabled());
    QVERIFY(p.error()->height() >= 210);
    // The failure notification shows an error, not the line's icon.
    QCOMPARE(t.notifier().sent().last().icon, QStringLiteral("dialog-error"));
}

void tst_frmMailServerError::closingAfterAnErrorOnSlotTwoOfThreeEndsTheCheck()
{
    TestContext t;
    FailingSecond p(t);
    QVERIFY(p.window());
    p.error()->close(); // the title bar's close acts as Close
    QVERIFY(!p.window());
    QVERIFY(p.trayShows(QStringLiteral("mail.ico"))); // slot 1's mail is new
    p.run(300);
    QVERIFY(p.server.linesLike(QStringLiteral("LOGON pop3")).isEmpty());
    // The popup command returned long before the error: the timers come back here.
    QVERIFY(p.customizeTimersRunning());
    QCOMPARE(t.settings().get(Keys::CheckMailUnload), QStringLiteral("1"));
}

void tst_frmMailServerError::aDeadFirstAccountKeepsNoOtherFromItsCheck()
{
    TestContext t;
    MailProgram p(t, 3, true,
        {{Keys::CheckMessages, QStringLiteral("1")},
            {Keys::CheckMailMinutes, QStringLiteral("1")}});
    p.refuse(1);
    p.mail(2, {QStringLiteral("Invoice")});
    p.mail(3, {});
    p.connectLine();
    p.run(61);
    // The scheduled round waits on the failed account instead of closing.
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible() && error->cmdNextAccount->isEnabled() && p.window());
    error->cmdNextAccount->click();
    QVERIFY(!error->isVisible());
    p.run(5.1);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), 1);
    // Nobody at the screen: the next round's dead account gives way after the pause.
    p.run(60 + 5 + 65);
    error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible());
    const qsizetype pop2 = p.server.linesLike(QStringLiteral("LOGON pop2")).size();
    p.run(61 + 5);
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON pop2")).size(), pop2 + 1);
    // The dialog no longer offers to go on from an account the run has left.
    QVERIFY(!error->cmdNextAccount->isEnabled());
}

void tst_frmMailServerError::singleSlotWindowErrorHasNoNextAccount()
{
    TestContext t;
    MailProgram p(t, 3, true);
    p.check().showServerError({nullptr, false, 0, {}, {}, {}});
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(!error->cmdNextAccount->isEnabled());
    error->cmdClose->click();
    QVERIFY(!error->isVisible());
    QVERIFY(p.trayShows(QStringLiteral("net10a.ico")));
}

QTEST_MAIN(tst_frmMailServerError)
#include "tst_frmmailservererror.moc"
