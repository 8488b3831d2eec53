// New mail is told once, by name, against Dovecot's POP3 (UIDL) and IMAP (UIDVALIDITY and
// UID), listing headers or counting only: the mail schedule's rounds over an unchanged mailbox
// announce it once, a message delivered between rounds is announced alone, and after a
// restart nothing old is announced again.

#include "checkmailfixture.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "support/recordingsoundplayer.h"
#include "support/widgetbyname.h"

#include <QTest>

class tst_NewMailDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void announcedOnceByNameAcrossRoundsAndRestarts_data();
    void announcedOnceByNameAcrossRoundsAndRestarts();
};

namespace {

// The program with its schedule running every minute over the line, on Dovecot.
std::unique_ptr<MailProgram> startProgram(TestContext &t, const QString &server, bool headers)
{
    auto p = std::make_unique<MailProgram>(t, 1, headers,
        QList<std::pair<SettingKey, QString>>{{Keys::Domain(1), server},
            {Keys::MailUserName(1), QStringLiteral("ann")},
            {Keys::MailPassword(1), QStringLiteral("tea time")},
            {Keys::CheckMessages, QStringLiteral("1")},
            {Keys::CheckMailMinutes, QStringLiteral("1")},
            {Keys::MailConnected, QStringLiteral("0")},
            {Keys::AlertMailArrive, QStringLiteral("1")}});
    p->useRealServer();
    p->connectLine();
    p->startSchedule();
    return p;
}

// What one round told: the notifications, whether the arrival sound played, and which rows
// of the list showed as new (bold).
struct Told {
    QStringList notices;
    bool sounded = false;
    QList<int> boldRows;
    bool operator==(const Told &) const = default;
};

// One scheduled round: the minute's wait in virtual time, the check in real time until its
// pause, then Cancel, and the server's answer to the QUIT (virtual time jumps only while no
// session is open).
Told round(TestContext &t, MailProgram &p, const DovecotServer &dovecot)
{
    const int rounds = int(dovecot.log().count(QStringLiteral("Logged out"))) + 1;
    t.notifier().clear();
    t.sounds().clear();
    p.run(61);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(p.window() && p.window()->run().countingDown(), 20000); }();
    Told told{t.notifier().bodies(), !t.sounds().played().isEmpty(), {}};
    if (frmCheckMail *w = p.window()) {
        for (int i = 0; i < widget<HeadersList>(w, "listMessages")->count(); ++i)
            if (widget<HeadersList>(w, "listMessages")
                    ->rows()
                    .data(widget<HeadersList>(w, "listMessages")->rows().index(i, 0), Qt::FontRole)
                    .value<QFont>()
                    .bold())
                told.boldRows << i + 1;
        widget<QPushButton>(w, "cmdCancel")->click();
    }
    [&] {
        QTRY_COMPARE_WITH_TIMEOUT(dovecot.log().count(QStringLiteral("Logged out")), rounds, 10000);
    }();
    return told;
}

} // namespace

void tst_NewMailDovecot::announcedOnceByNameAcrossRoundsAndRestarts_data()
{
    QTest::addColumn<bool>("imap");
    QTest::addColumn<bool>("headers");
    QTest::newRow("POP3, headers") << false << true;
    QTest::newRow("POP3, count only") << false << false;
    QTest::newRow("IMAP, headers") << true << true;
    QTest::newRow("IMAP, count only") << true << false;
}

void tst_NewMailDovecot::announcedOnceByNameAcrossRoundsAndRestarts()
{
    QFETCH(bool, imap);
    QFETCH(bool, headers);
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot (dovecot-pop3d, dovecot-imapd) is not installed");
    DovecotServer dovecot(DovecotServer::Options{false, false, true, {}});
    dovecot.addUser(QStringLiteral("ann"), QStringLiteral("tea time"));
    dovecot.deliver(QStringLiteral("ann"), CraftedMessages::message("Minutes"));
    dovecot.deliver(QStringLiteral("ann"), CraftedMessages::message("Lunch"));
    QString why;
    QVERIFY2(dovecot.start(&why), qPrintable(why));
    const QString server = imap ? QStringLiteral("imap://127.0.0.1:%1").arg(dovecot.imapPort())
                                : QStringLiteral("127.0.0.1:%1").arg(dovecot.pop3Port());

    TestContext t;
    auto p = startProgram(t, server, headers);
    const QString bob = QStringLiteral("\nBob <bob@example.org>: ");
    QCOMPARE(round(t, *p, dovecot),
        (Told{{QStringLiteral("Account 1: 2 messages waiting") + bob + QStringLiteral("Minutes")
                  + bob + QStringLiteral("Lunch")},
            true, headers ? QList<int>{1, 2} : QList<int>{}}));
    for (int i = 0; i < 2; ++i)
        QCOMPARE(round(t, *p, dovecot), Told());

    dovecot.deliver(QStringLiteral("ann"), CraftedMessages::message("Arrived between"));
    QCOMPARE(round(t, *p, dovecot),
        (Told{{QStringLiteral("Account 1: 1 new message, 3 waiting") + bob
                  + QStringLiteral("Arrived between")},
            true, headers ? QList<int>{3} : QList<int>{}}));

    p.reset();
    t.reopen();
    p = startProgram(t, server, headers);
    QCOMPARE(round(t, *p, dovecot), Told());
}

QTEST_MAIN(tst_NewMailDovecot)
#include "tst_newmail_dovecot.moc"
