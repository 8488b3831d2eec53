#include "app/brisvaneapp.h"
#include "checkmailfixture.h"
#include "connection/linecontroller.h"
#include "mail/mailschedule.h"
#include "mail/ui/frmclosemailprogrammessage.h"
#include "shell/menutools.h"
#include "support/modalanswerer.h"
#include "support/widgetbyname.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The mail program: chosen and removed on the Mail tab, started from the check window with its
// notice, and the schedule held until it ends.
class tst_MailProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void browseStoresTheChoiceAndCancelKeepsIt()
    {
        TestContext t;
        MailProgram p(t, 1, true);
        MailTab &tab = p.dialog().mailTab();
        t.dialogs().chooseFileNext(QStringLiteral("/usr/bin/thunderbird"));
        widget<QPushButton>(tab, "cmdMailProgram")->click();
        QCOMPARE(t.settings().get(Keys::MailProgram), QStringLiteral("/usr/bin/thunderbird"));
        QCOMPARE(widget<QLineEdit>(tab, "txtMailProgram")->text(),
            QStringLiteral("/usr/bin/thunderbird"));
        // Arguments typed after it are kept, and started with it.
        QTest::keyClicks(widget<QLineEdit>(tab, "txtMailProgram"), QStringLiteral(" -mail"));
        QCOMPARE(t.settings().get(Keys::MailProgram), QStringLiteral("/usr/bin/thunderbird -mail"));
        widget<QPushButton>(tab, "cmdMailProgram")->click(); // cancelled
        QCOMPARE(t.settings().get(Keys::MailProgram), QStringLiteral("/usr/bin/thunderbird -mail"));
        widget<QPushButton>(tab, "cmdRemoveMailCommandLine")->click();
        QCOMPARE(widget<QLineEdit>(tab, "txtMailProgram")->text(), QString());
        QVERIFY(t.settings().contains(Keys::MailProgram));
        QCOMPARE(t.settings().get(Keys::MailProgram, QStringLiteral("x")), QString());
    }

    void withoutAProgramTheCheckGoesOn()
    {
        TestContext t;
        MailProgram p(t, 2, true);
        p.mail(1, {QStringLiteral("Invoice")});
        p.connectLine();
        p.checkAllAccounts();
        QVERIFY(p.window());
        t.dialogs().clear();
        widget<QPushButton>(p.window(), "cmdMailProgram")->click();
        QCOMPARE(t.dialogs().shown().size(), 1);
        QCOMPARE(t.dialogs().shown().first().title, QStringLiteral("Checking Mail"));
        QVERIFY(p.window());
        QVERIFY(t.programs().watched.isEmpty());
    }

    void noticeOffStartsAtOnceAndHoldsTheSchedule()
    {
        TestContext t;
        MailProgram p(t, 2, true,
            {{Keys::MailProgram, QStringLiteral("thunderbird -mail")},
                {Keys::CloseMailProgramMessage, SettingValues::FalseText}});
        p.mail(1, {QStringLiteral("Invoice")});
        p.connectLine();
        p.checkAllAccounts();
        widget<QPushButton>(p.window(), "cmdMailProgram")->click();
        QVERIFY(!p.window());
        QCOMPARE(t.programs().watched, QStringList{QStringLiteral("thunderbird -mail")});
        QVERIFY(p.check().mailProgramRunning());
        QVERIFY(!p.schedule().isEnabled());
        // While the program runs, the schedule starts no check, whatever the time.
        t.settings().save(Keys::CheckMessages, QStringLiteral("1"));
        p.schedule().setEnabled(true);
        p.run(5 * 60);
        QVERIFY(!p.window());
        t.programs().exitAll();
        QVERIFY(!p.check().mailProgramRunning());
        QVERIFY(p.schedule().isEnabled());
    }

    // The tray's tip counts the mail told, beside the connected time, until the program
    // starts. This scripted server gives no identities: each check tells all it holds.
    void theTipCountsNewMailUntilTheProgramStarts()
    {
        TestContext t;
        MailProgram p(t, 1, true,
            {{Keys::MailProgram, QStringLiteral("thunderbird -mail")},
                {Keys::CloseMailProgramMessage, SettingValues::FalseText}});
        p.mail(1, {QStringLiteral("Invoice"), QStringLiteral("Minutes")});
        p.connectLine();
        const auto tipAfterACheck = [&p](bool readMail) {
            p.checkAllAccounts();
            (readMail ? widget<QPushButton>(p.window(), "cmdMailProgram")
                      : widget<QPushButton>(p.window(), "cmdCancel"))
                ->click();
            p.run(1.1);
            return p.tray.lastTip();
        };
        QString tip = tipAfterACheck(false);
        QVERIFY2(tip.startsWith(u"(2 new) Single click to zoom dialog to and from tray 00:00:"),
            qPrintable(tip));
        p.mail(1, {QStringLiteral("Invoice")});
        // Fewer waiting than told: the count keeps to the mailbox. The longer hint of single
        // clicks gives way to the count and the time.
        t.settings().save(Keys::ConnectSingleClick, QStringLiteral("1"));
        tip = tipAfterACheck(false);
        QVERIFY2(tip.startsWith(u"(1 new) Click to Disc/Dbclick to zoom dialog to and 00:00:"),
            qPrintable(tip));
        QCOMPARE(tip.size(), 60);
        QVERIFY(!tipAfterACheck(true).contains(u"new"));
    }

    // Run Mail Program holds the schedule from the click on: no round comes during the notice
    // (one used to log on while it was up), and nothing waits under its OK (a wait begun then
    // used to hold the OK, so the program started a minute late).
    void programStartsAtOkWhileTheScheduleWaits()
    {
        TestContext t;
        MailProgram p(t, 2, true,
            {{Keys::MailProgram, QStringLiteral("mutt")},
                {Keys::CloseMailProgramMessage, SettingValues::TrueText},
                {Keys::CheckMessages, QStringLiteral("1")},
                {Keys::CheckMailMinutes, QStringLiteral("1")}});
        p.mail(1, {QStringLiteral("Invoice")});
        p.connectLine();
        p.startSchedule();
        p.checkAllAccounts();
        QVERIFY(p.window());
        const qint64 pressed = t.clock().tickCount();
        widget<QPushButton>(p.window(), "cmdMailProgram")->click();
        p.run(2); // the user reads the notice
        QVERIFY(!p.schedule().isEnabled());
        QVERIFY(t.programs().watched.isEmpty());
        QString told;
        QCOMPARE(ModalAnswerer::answerOpen(QStringLiteral("cmdOK"),
                     [&told](QWidget *notice) {
                         for (const QLabel *label : notice->findChildren<QLabel *>())
                             told += label->text();
                     }),
            QStringLiteral("Close Mail Program"));
        QVERIFY2(told.contains(QStringLiteral("every 1 minute(s).")), qPrintable(told));
        QCOMPARE(t.clock().tickCount() - pressed, 2000);
        QCOMPARE(t.programs().watched, QStringList{QStringLiteral("mutt")});
        // No round while the program runs.
        const int logOns = int(p.server.linesLike(QStringLiteral("LOGON")).size());
        p.run(5 * 60);
        QVERIFY(!p.window());
        QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), logOns);
    }

    // A program started and ended within one wait: the user has just read the mail, so the
    // next check comes a whole interval after the program's end, not when the wait would end.
    void theIntervalCountsFromTheProgramsEnd()
    {
        TestContext t;
        MailProgram p(t, 1, true,
            {{Keys::MailProgram, QStringLiteral("mutt")},
                {Keys::CloseMailProgramMessage, SettingValues::FalseText},
                {Keys::CheckMessages, QStringLiteral("1")},
                {Keys::CheckMailMinutes, QStringLiteral("1")}});
        p.mail(1, {});
        p.connectLine();
        p.run(20);
        p.check().launchMailProgram();
        p.run(20);
        t.programs().exitAll();
        const qint64 ended = t.clock().tickCount();
        p.run(65);
        QCOMPARE(p.server.linesLike(QStringLiteral("LOGON")).size(), 1);
        const qint64 after = p.server.when(QStringLiteral("LOGON")) - ended;
        QVERIFY2(after >= 60000 && after < 61000, qPrintable(QString::number(after)));
    }

    // Two launches overlap: the schedule stays held until the last one has ended.
    void eachLaunchHoldsTheScheduleUntilItEnds()
    {
        TestContext t;
        MailProgram p(t, 1, true,
            {{Keys::MailProgram, QStringLiteral("mutt")},
                {Keys::CloseMailProgramMessage, SettingValues::FalseText}});
        p.check().launchMailProgram();
        p.check().launchMailProgram();
        QCOMPARE(t.programs().watched.size(), 2);
        t.programs().exitFirst();
        QVERIFY(p.check().mailProgramRunning());
        QVERIFY(!p.schedule().isEnabled());
        t.programs().exitFirst();
        QVERIFY(!p.check().mailProgramRunning());
        QVERIFY(p.schedule().isEnabled());
    }

    void noticeShowsAndCanBeSwitchedOff()
    {
        TestContext t;
        MailProgram p(t, 1, true,
            {{Keys::MailProgram, QStringLiteral("mutt")},
                {Keys::CloseMailProgramMessage, SettingValues::TrueText}});
        p.check().launchMailProgram();
        const auto switchOff = [](QWidget *w) {
            if (auto *box = w->findChild<QCheckBox *>(QStringLiteral("Check1")))
                box->setChecked(false);
        };
        QCOMPARE(ModalAnswerer::answerOpen(QStringLiteral("cmdOK"), switchOff),
            QStringLiteral("Close Mail Program"));
        QCOMPARE(t.settings().get(Keys::CloseMailProgramMessage), QStringLiteral("False"));
        QCOMPARE(t.settings().get(Keys::CloseMailProgramMessageDialog), QStringLiteral("0"));
        QVERIFY(!p.monitor->menu().toolChecked(MenuNames::mnuShowCloseMailProgramMessageDialog));
        QCOMPARE(t.programs().watched, QStringList{QStringLiteral("mutt")});
        t.programs().exitAll();
        p.check().launchMailProgram();
        QVERIFY(!QApplication::activeModalWidget());
        QCOMPARE(t.programs().watched.size(), 2);
    }
};

QTEST_MAIN(tst_MailProgram)
#include "tst_mailprogram.moc"
