// The mail control against popa3d, a server without CAPA (so without TOP or USER announced)
// and with mailboxes in mbox form: log-on with USER/PASS, count, headers, deletion at Quit.

#include "mail/mailerror.h"
#include "mailundertest.h"
#include "popa3dserver.h"

#include <memory>

class tst_mMailPopa3d : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void userPassCountHeadersDeleteAndQuit();
    void wrongPasswordIsRefused();

private:
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(server->port()); }

    std::unique_ptr<Popa3dServer> server;
};

void tst_mMailPopa3d::initTestCase()
{
    if (const QString why = Popa3dServer::whyNot(); !why.isEmpty())
        QSKIP(qPrintable(why));
    server = std::make_unique<Popa3dServer>();
    server->addUser(QStringLiteral("hank"), QStringLiteral("hank pass"));
    for (const char *subject : {"mbox one", "mbox two", "mbox three"})
        server->deliver(QStringLiteral("hank"),
            QByteArray("From: Ida <ida@example.org>\nSubject: ") + subject
                + "\nDate: Tue, 8 Dec 2026 08:00:00 +0000\n\nHello from the body.\n");
    QString why;
    QVERIFY2(server->start(&why), qPrintable(why));
}

void tst_mMailPopa3d::userPassCountHeadersDeleteAndQuit()
{
    MailUnderTest t;
    QVERIFY2(t.logOn(host(), QStringLiteral("hank"), QStringLiteral("hank pass")),
        qPrintable(t.lastErrorText() + server->log()));
    QVERIFY(t.statusTexts().contains(u"USER/PASS"));
    QCOMPARE(t.mail.MessageCount(), 3);
    QStringList subjects;
    for (qint16 number = 1; number <= 3; ++number) {
        t.mail.setMessageNumber(number);
        QVERIFY(t.request([&t] { t.mail.RetrieveHeader(); }));
        QCOMPARE(t.mail.From(), QStringLiteral("Ida <ida@example.org>"));
        subjects << t.mail.Subject();
    }
    QCOMPARE(subjects, (QStringList{"mbox one", "mbox two", "mbox three"}));
    for (qint16 number : {1, 3}) {
        t.mail.setMessageNumber(number);
        t.mail.DeleteMessage();
    }
    QVERIFY(t.request([&t] { t.mail.Quit(); }));
    QCOMPARE(t.errors.size(), 0);
    QTRY_COMPARE(server->messagesOf(QStringLiteral("hank")), 1);
}

void tst_mMailPopa3d::wrongPasswordIsRefused()
{
    MailUnderTest t;
    QVERIFY(!t.logOn(host(), QStringLiteral("hank"), QStringLiteral("not it")));
    QCOMPARE(t.errors.size(), 1);
    QCOMPARE(t.lastError(), int(MailError::LogOnRefused));
}

QTEST_GUILESS_MAIN(tst_mMailPopa3d)
#include "tst_mmail_popa3d.moc"
