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
        DesktopNotices::lineLost(t.context(), QString()); // a dial with the user's settings
        t.settings().save(Keys::DesktopNotifications, SettingValues::Unchecked);
        DesktopNotices::lineLost(t.context(), QStringLiteral("Office"));
        DesktopNotices::newMail(t.context(), QStringLiteral("Home"), 2);
        QCOMPARE(t.notifier().bodies(), QStringList{QStringLiteral("The dial-up line was lost.")});
    }

    void mailTextsNameWhatTheyHaveAndNeverThePassword()
    {
        TestContext t;
        DesktopNotices::newMail(t.context(), QStringLiteral("Home"), 1,
            {{QStringLiteral("Ann <ann@example.org>"), QStringLiteral(" Tea ")}});
        DesktopNotices::newMail(t.context(), QStringLiteral("Work"), 2,
            {{QStringLiteral("bob@example.org"), QString()}, {QString(), QStringLiteral("Re: x")}});
        DesktopNotices::accountFailed(t.context(), QString(),
            QStringLiteral("USER ann PASS hunter2 refused (hunter2)"), QStringLiteral("hunter2"));
        QCOMPARE(t.notifier().bodies(),
            QStringList({QStringLiteral("Home: 1 message waiting\nAnn <ann@example.org>: Tea"),
                QStringLiteral("Work: 2 messages waiting\nbob@example.org\nRe: x"),
                QStringLiteral("Your mail account: USER ann PASS ******** refused (********)")}));
        // One notification per account, each replacing its own; no actions on a failure.
        QVERIFY(t.notifier().sent().at(0).tag != t.notifier().sent().at(1).tag);
        QVERIFY(t.notifier().sent().at(2).actions.isEmpty());
    }
};

QTEST_MAIN(tst_DesktopNotices)
#include "tst_desktopnotices.moc"
