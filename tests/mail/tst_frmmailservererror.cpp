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
    void closeAfterAnErrorOnSlotTwoOfThreeEndsTheCheck();
    void nextAccountWithoutACheckLeftJustCloses();
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
    QCOMPARE(p.error()->Label2->text(),
        QStringLiteral("Mail Account Account 2 is unresponsive\r\n\r\nThis error may be resulting "
                       "in an incorrect username, password, or domain name or the mail server is "
                       "unresponsive at this time. Please check your settings on the Mail tab and "
                       "try again later."));
    QVERIFY(!p.error()->cmdDetails->isEnabled());
    QCOMPARE(p.error()->size(), QSize(404, 210));
}

void tst_frmMailServerError::closeAfterAnErrorOnSlotTwoOfThreeEndsTheCheck()
{
    TestContext t;
    FailingSecond p(t);
    QVERIFY(p.window());
    p.error()->cmdClose->click();
    QVERIFY(!p.window());
    QVERIFY(p.trayShows(QStringLiteral("net10a.ico")));
    p.run(300);
    QVERIFY(p.server.linesLike(QStringLiteral("LOGON pop3")).isEmpty());
    // The popup command returned long before the error: the timers come back here.
    QVERIFY(p.customizeTimersRunning());
    QCOMPARE(t.settings().get(Keys::CheckMailUnload), QStringLiteral("1"));
}

void tst_frmMailServerError::nextAccountWithoutACheckLeftJustCloses()
{
    TestContext t;
    MailProgram p(t, 2, true,
        {{Keys::CheckMessages, QStringLiteral("1")},
            {Keys::CheckMailMinutes, QStringLiteral("1")}});
    p.refuse(1);
    p.mail(2, {QStringLiteral("Invoice")});
    p.connectLine();
    p.startSchedule();
    p.run(61);
    // The scheduler closed the check it found without messages.
    QVERIFY(!p.window());
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(error && error->isVisible());
    const int logOns = int(p.server.linesLike(QStringLiteral("LOGON")).size());
    error->cmdNextAccount->click();
    QVERIFY(!error->isVisible());
    QVERIFY(!p.window());
    QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), logOns);
}

void tst_frmMailServerError::singleSlotWindowErrorHasNoNextAccount()
{
    TestContext t;
    MailProgram p(t, 3, true);
    p.check().showServerError({nullptr, false, 0, {}, 0, {}});
    frmMailServerError *error = p.check().serverErrorDialog();
    QVERIFY(!error->cmdNextAccount->isEnabled());
    error->cmdClose->click();
    QVERIFY(!error->isVisible());
    QVERIFY(p.trayShows(QStringLiteral("net10a.ico")));
}

QTEST_MAIN(tst_frmMailServerError)
#include "tst_frmmailservererror.moc"
