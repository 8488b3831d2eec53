// The mail control against GNU pop3d (mailutils) started for this test: STLS and implicit TLS,
// the APOP stamp it always sends (and the fall-back for a user without an APOP secret),
// headers, and deletions made at Quit.

#include "gnupop3dserver.h"
#include "mail/mailerror.h"
#include "mailundertest.h"

#include <memory>

namespace {
// Lines end in LF alone, as in any mailbox on disk (mailutils reads no header from CRLF).
QByteArray message(const QByteArray &subject)
{
    return "From: =?utf-8?q?J=C3=B6rg?= <joerg@example.org>\nSubject: " + subject
        + "\nDate: Tue, 8 Dec 2026 08:00:00 +0000\n\nHello.\n";
}
} // namespace

class tst_mMailGnuPop3d : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void stlsCountHeadersDeleteAndQuit();
    void implicitTlsLogsOn();
    void apopWithASecretAndUserPassWithout();

private:
    QString host(quint16 port) const { return QStringLiteral("127.0.0.1:%1").arg(port); }
    // Headers 1..count, then deletes `remove` and quits.
    void listDeleteAndQuit(MailUnderTest &t, QStringList *subjects, const QList<qint16> &remove);

    std::unique_ptr<GnuPop3dServer> server;
};

void tst_mMailGnuPop3d::initTestCase()
{
    if (GnuPop3dServer::program().isEmpty())
        QSKIP("GNU pop3d is not installed (Debian package mailutils-pop3d)");
    server = std::make_unique<GnuPop3dServer>();
    server->addUser(QStringLiteral("erin"), QStringLiteral("erin pass"));
    server->addUser(
        QStringLiteral("fred"), QStringLiteral("fred pass"), QStringLiteral("fred apop"));
    server->addUser(QStringLiteral("gail"), QStringLiteral("gail pass"));
    for (const char *subject : {"one", "two", "three"})
        server->deliver(QStringLiteral("erin"), message(subject));
    for (const char *subject : {"apop one", "apop two"})
        server->deliver(QStringLiteral("fred"), message(subject));
    for (const char *subject : {"plain one", "plain two"})
        server->deliver(QStringLiteral("gail"), message(subject));
    QString why;
    QVERIFY2(server->start(&why), qPrintable(why));
}

void tst_mMailGnuPop3d::listDeleteAndQuit(
    MailUnderTest &t, QStringList *subjects, const QList<qint16> &remove)
{
    for (qint16 number = 1; number <= t.mail.MessageCount(); ++number) {
        t.mail.setMessageNumber(number);
        QVERIFY(t.request([&t] { t.mail.RetrieveHeader(); }));
        QCOMPARE(t.mail.From(), QStringLiteral("Jörg <joerg@example.org>"));
        *subjects << t.mail.Subject();
        t.mail.EndMessage();
    }
    for (qint16 number : remove) {
        t.mail.setMessageNumber(number);
        t.mail.DeleteMessage();
    }
    QVERIFY(t.request([&t] { t.mail.Quit(); }));
    QCOMPARE(t.errors.size(), 0);
}

void tst_mMailGnuPop3d::stlsCountHeadersDeleteAndQuit()
{
    MailUnderTest t;
    t.mail.setCaCertificates(server->certificatePath());
    t.mail.setRequireTls(true);
    QVERIFY(t.logOn(host(server->pop3Port()), GnuPop3dServer::logOnName(QStringLiteral("erin")),
        QStringLiteral("erin pass")));
    QVERIFY(t.statusTexts().contains(u"Starting TLS"));
    QCOMPARE(t.mail.MessageCount(), 3);
    QStringList subjects;
    listDeleteAndQuit(t, &subjects, {2});
    QCOMPARE(subjects, (QStringList{"one", "two", "three"}));
    QCOMPARE(server->messagesOf(QStringLiteral("erin")), 2);
}

void tst_mMailGnuPop3d::implicitTlsLogsOn()
{
    MailUnderTest t;
    t.mail.setCaCertificates(server->certificatePath());
    QVERIFY(t.logOn(QStringLiteral("pop3s://localhost:%1").arg(server->pop3sPort()),
        GnuPop3dServer::logOnName(QStringLiteral("erin")), QStringLiteral("erin pass")));
    QVERIFY(!t.statusTexts().contains(u"Starting TLS"));
    QCOMPARE(t.mail.MessageCount(), server->messagesOf(QStringLiteral("erin")));
    QVERIFY(t.request([&t] { t.mail.Quit(); }));
    QCOMPARE(t.errors.size(), 0);
}

// In the clear the greeting's stamp asks for APOP: a user with an APOP secret logs on with it;
// one without is refused APOP and logs on with USER/PASS on the same connection.
void tst_mMailGnuPop3d::apopWithASecretAndUserPassWithout()
{
    MailUnderTest apop;
    QVERIFY(apop.logOn(host(server->plainPort()), GnuPop3dServer::logOnName(QStringLiteral("fred")),
        QStringLiteral("fred apop")));
    QVERIFY(apop.statusTexts().contains(u"with APOP"));
    QVERIFY(!apop.statusTexts().contains(u"USER/PASS"));
    QStringList subjects;
    listDeleteAndQuit(apop, &subjects, {1});
    QCOMPARE(subjects, (QStringList{"apop one", "apop two"}));
    QCOMPARE(server->messagesOf(QStringLiteral("fred")), 1);

    MailUnderTest plain;
    QVERIFY(plain.logOn(host(server->plainPort()),
        GnuPop3dServer::logOnName(QStringLiteral("gail")), QStringLiteral("gail pass")));
    QVERIFY(plain.statusTexts().contains(u"with APOP"));
    QVERIFY(plain.statusTexts().contains(u"with USER/PASS"));
    subjects.clear();
    listDeleteAndQuit(plain, &subjects, {1, 2});
    QCOMPARE(subjects, (QStringList{"plain one", "plain two"}));
    QCOMPARE(server->messagesOf(QStringLiteral("gail")), 0);

    // A wrong password is refused by both, and the error names both.
    MailUnderTest wrong;
    QVERIFY(!wrong.logOn(host(server->plainPort()),
        GnuPop3dServer::logOnName(QStringLiteral("gail")), QStringLiteral("not it")));
    QCOMPARE(wrong.errors.size(), 1);
    QCOMPARE(wrong.lastError(), int(MailError::LogOnRefused));
    QVERIFY2(wrong.lastErrorText().contains(u"(APOP, then USER/PASS)"),
        qPrintable(wrong.lastErrorText()));
}

QTEST_GUILESS_MAIN(tst_mMailGnuPop3d)
#include "tst_mmail_gnupop3d.moc"
