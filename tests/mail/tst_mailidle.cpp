// The IDLE watches of the IMAP slots with the program around them, against Dovecot: a watch
// while the line is up and scheduled checking is on, the scheduled check started at once by
// a delivery, no second check while one is open, and the watches' end before the machine
// sleeps and their new start after it wakes.

#include "checkmailfixture.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/imapidle.h"
#include "mail/mailidle.h"
#include "mail/ui/slotmailcontrol.h"
#include "shell/systemevents.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

using namespace CraftedMessages;

class tst_MailIdle : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void deliveryStartsTheScheduledCheckAtOnce();
    void failedWatchIsRetriedSoonThenLessOften();
};

void tst_MailIdle::deliveryStartsTheScheduledCheckAtOnce()
{
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    DovecotServer dovecot(DovecotServer::Options{false, false, true, {}});
    dovecot.addUser(QStringLiteral("ann"), QStringLiteral("old hand"));
    dovecot.addUser(QStringLiteral("jo"), QStringLiteral("idle hands"));
    QString why;
    QVERIFY2(dovecot.start(&why), qPrintable(why));
    dovecot.deliver(QStringLiteral("ann"), message("old news"));

    TestContext t;
    const QString imap = QStringLiteral("imap://127.0.0.1:%1").arg(dovecot.imapPort());
    MailProgram p(t, 3, true,
        {{Keys::Domain(1), imap}, {Keys::MailUserName(1), QStringLiteral("ann")},
            {Keys::MailPassword(1), QStringLiteral("old hand")}, {Keys::Domain(2), imap},
            {Keys::MailUserName(2), QStringLiteral("jo")},
            {Keys::MailPassword(2), QStringLiteral("idle hands")},
            {Keys::CheckMessages, QStringLiteral("1")},
            {Keys::CheckMailMinutes, QStringLiteral("30")}});
    // The schedule's own timer stays off (its 30-minute wait would hold the test); the
    // watches follow the line on their own.
    p.useRealServer();

    MailIdle &idle = p.monitor->app().mailIdle();
    QTest::qWait(MailIdle::kFollowMs);
    QVERIFY(!idle.watch(2)); // line down
    p.connectLine();
    QTRY_VERIFY_WITH_TIMEOUT(idle.watch(2) && idle.watch(2)->isIdling(), 20000);
    QVERIFY(!idle.watch(3)); // a POP3 slot

    // News on slot 2 checks slot 2 alone: slot 1's old message is not listed again first.
    QSignalSpy news(&idle, &MailIdle::newMail);
    dovecot.deliver(QStringLiteral("jo"), message("straight in"));
    QTRY_VERIFY_WITH_TIMEOUT(p.window() && p.rows().size() == 1, 5000);
    QCOMPARE(news.size(), 1);
    QCOMPARE(news.first().at(0).toInt(), 2);
    QVERIFY(p.rows().first().contains(u"straight in"));
    QCOMPARE(p.check().currentSlotIndex, qint16(1));

    // While that check is open, more news starts nothing new.
    frmCheckMail *open = p.window();
    dovecot.deliver(QStringLiteral("jo"), message("second"));
    QTRY_COMPARE_WITH_TIMEOUT(news.size(), 2, 5000);
    QCOMPARE(p.window(), open);
    QCOMPARE(p.rows().size(), 1);

    // The machine sleeps: the watches log out first and stay away until the wake, which
    // starts them again at once, not after the retry's five minutes.
    SystemEvents &events = t.context().systemEvents();
    Q_EMIT events.aboutToSleep();
    QVERIFY(!idle.watch(1) && !idle.watch(2));
    QTest::qWait(2 * MailIdle::kFollowMs);
    QVERIFY(!idle.watch(2));
    Q_EMIT events.resumed();
    QTRY_VERIFY_WITH_TIMEOUT(idle.watch(2) && idle.watch(2)->isIdling(), 10000);
}

// A server that is away (nobody listens on its port: a restart) is tried again after 5 s,
// then 10, 20, 40 s: back soon after a short outage, without hammering one that stays away.
void tst_MailIdle::failedWatchIsRetriedSoonThenLessOften()
{
    QTcpServer gone;
    QVERIFY(gone.listen(QHostAddress::LocalHost));
    const quint16 port = gone.serverPort();
    gone.close();
    TestContext t;
    for (const auto &[key, value] : {std::pair{Keys::MailSlotCount, QStringLiteral("1")},
             {Keys::Domain(1), QStringLiteral("imap://127.0.0.1:%1").arg(port)},
             {Keys::MailUserName(1), QStringLiteral("ann")},
             {Keys::MailPassword(1), QStringLiteral("pw")},
             {Keys::CheckMessages, QStringLiteral("1")}})
        t.settings().save(key, value);
    MailIdle idle(t.context(), [] { return true; });
    int starts = 0;
    const MailIdle::WatchFactory make = idle.makeWatch;
    idle.makeWatch = [&] {
        ++starts;
        return make();
    };
    for (int second = 1; second <= 60; ++second) {
        t.clock().advance(1000);
        QTest::qWait(5); // the refusal comes from the socket
    }
    QCOMPARE(starts, 4); // at about 2, 8, 18 and 38 s
}

QTEST_MAIN(tst_MailIdle)
#include "tst_mailidle.moc"
