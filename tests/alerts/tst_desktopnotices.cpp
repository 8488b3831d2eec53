#include "alerts/desktopnotices.h"
#include "support/testcontext.h"

#include <QTest>

// The texts of the desktop notifications and their switch; the events that send them are
// tested with the connection manager and the mail check.
class tst_DesktopNotices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onUntilTheBoxIsCleared()
    {
        TestContext t;
        QVERIFY(DesktopNotices::enabled(t.context()));
        DesktopNotices::lineLost(t.context(), QStringLiteral("Office"));
        t.settings().save(Keys::DesktopNotifications, SettingValues::Unchecked);
        DesktopNotices::lineLost(t.context(), QStringLiteral("Office"));
        DesktopNotices::newMail(t.context(), QStringLiteral("Home"), 2);
        QCOMPARE(
            t.notifier().bodies(), QStringList{QStringLiteral("The line to Office was lost.")});
    }

    void newMailNamesWhatItHas()
    {
        TestContext t;
        DesktopNotices::newMail(t.context(), QStringLiteral("Home"), 1,
            {{QStringLiteral("Ann <ann@example.org>"), QStringLiteral(" Tea ")}});
        DesktopNotices::newMail(t.context(), QStringLiteral("Work"), 2,
            {{QStringLiteral("bob@example.org"), QString()}, {QString(), QStringLiteral("Re: x")}});
        DesktopNotices::newMail(t.context(), QStringLiteral("Work"), 4);
        QCOMPARE(t.notifier().bodies(),
            QStringList({QStringLiteral("Home: 1 message waiting\nAnn <ann@example.org>: Tea"),
                QStringLiteral("Work: 2 messages waiting\nbob@example.org\nRe: x"),
                QStringLiteral("Work: 4 messages waiting")}));
        // One notification per account, each replacing its own.
        QVERIFY(t.notifier().sent().at(0).tag != t.notifier().sent().at(1).tag);
        QCOMPARE(t.notifier().sent().at(1).tag, t.notifier().sent().at(2).tag);
        QCOMPARE(t.notifier().sent().at(2).urgency, Notifier::Urgency::Normal);
    }

    void thePasswordNeverShows()
    {
        TestContext t;
        const QString password = QStringLiteral("hunter2");
        DesktopNotices::accountFailed(t.context(), QStringLiteral("Home"),
            QStringLiteral("USER ann PASS hunter2 refused (hunter2)"), password);
        DesktopNotices::accountFailed(
            t.context(), QStringLiteral("Home"), QStringLiteral("Connection refused"), QString());
        QCOMPARE(t.notifier().bodies(),
            QStringList({QStringLiteral("Home: USER ann PASS ******** refused (********)"),
                QStringLiteral("Home: Connection refused")}));
        QVERIFY(t.notifier().sent().at(0).actions.isEmpty());
    }

    void theLineSaysWhichLineAndWhichAttempt()
    {
        TestContext t;
        DesktopNotices::busyRedial(t.context(), QString(), 1, 10);
        DesktopNotices::lineLost(t.context(), QString());
        DesktopNotices::reconnected(t.context(), QStringLiteral("Office"));
        QCOMPARE(t.notifier().bodies(),
            QStringList({QStringLiteral("Redialling the dial-up line: attempt 1 of 10"),
                QStringLiteral("The dial-up line was lost."),
                QStringLiteral("The line to Office is back up.")}));
        QCOMPARE(t.notifier().sent().at(2).urgency, Notifier::Urgency::Low);
    }
};

QTEST_MAIN(tst_DesktopNotices)
#include "tst_desktopnotices.moc"
