// The IMAP mail control against Dovecot's IMAP server started for this test: STARTTLS and
// implicit TLS, certificates, the headers of the crafted messages the POP3 tests use, and
// deletions by UID that leave alone what arrived meanwhile or was marked elsewhere. What the
// two protocols share (TLS and its certificates, a refused log-on) runs for POP3 as well, on
// the same server.

#include "clock/virtualclock.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/imapmail.h"
#include "mail/mailerror.h"
#include "mail/mmail.h"
#include "mailspies.h"

#include <QCryptographicHash>
#include <QProcess>
#include <QSignalSpy>
#include <QSslCertificate>
#include <QTest>

#include <memory>

using namespace CraftedMessages;

class tst_ImapMailDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void startTlsLogOnAndCount();
    void headersAsPop3ListsThemAndNothingMarkedRead_data();
    void headersAsPop3ListsThemAndNothingMarkedRead();
    void implicitTlsWithTheFixturesCertificate_data();
    void implicitTlsWithTheFixturesCertificate();
    void untrustedCertificateIsRejected_data();
    void untrustedCertificateIsRejected();
    void wrongPasswordIsRefused_data();
    void wrongPasswordIsRefused();
    void deletesTheChosenAndLeavesWhatArrivedMeanwhile();
    void withoutUidplusExpungesOnlyWhenNoOtherMessageIsMarked();
    void deletionByIdentityFollowsTheMailboxChangedSinceTheListing_data();
    void deletionByIdentityFollowsTheMailboxChangedSinceTheListing();
    void countsUnreadMailAndMarksItRead_data();
    void countsUnreadMailAndMarksItRead();
    void probeTakesImapAddresses();

private:
    bool request(const std::function<void()> &action) { return spies->request(action); }
    // A POP3 control for a POP3 `host`, else IMAP.
    void makeControl(const QString &host = QStringLiteral("imap:"));
    ImapMail *imap() const { return qobject_cast<ImapMail *>(mail.get()); }
    void logOnAs(const QString &user, const QString &password, const QString &host);
    void listAll();
    // Deletes the listed message with that Subject (the order of Maildir files is the
    // server's).
    void deleteRowWithSubject(const QString &subject);
    QString imapHost(const DovecotServer &server) const
    {
        return QStringLiteral("imap://127.0.0.1:%1").arg(server.imapPort());
    }
    int lastError() const { return spies->lastError(); }
    QString lastErrorText() const { return spies->lastErrorText(); }
    QString statusTexts() const { return spies->statusTexts(); }

    std::unique_ptr<DovecotServer> dovecot;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<MailSession> mail;
    std::unique_ptr<MailSpies<MailSession>> spies;
    QStringList rows;
};

void tst_ImapMailDovecot::initTestCase()
{
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    dovecot = std::make_unique<DovecotServer>(DovecotServer::Options{true, false, true, {}});
    dovecot->addUser(QStringLiteral("alice"), QStringLiteral("wonder land"));
    for (const QByteArray &crafted : alicesMessages())
        dovecot->deliver(QStringLiteral("alice"), crafted);
    dovecot->addUser(QStringLiteral("bob"), QStringLiteral("builder"));
    for (const char *subject : {"one", "two", "three"})
        dovecot->deliver(QStringLiteral("bob"), message(subject));
    for (const char *user : {"carol", "cyril"}) {
        dovecot->addUser(QString::fromLatin1(user), QStringLiteral("changing"));
        for (const char *subject : {"first", "second", "third"})
            dovecot->deliver(QString::fromLatin1(user), message(subject));
    }
    for (const char *user : {"gail", "gus"}) {
        dovecot->addUser(QString::fromLatin1(user), QStringLiteral("read some"));
        for (const char *subject : {"one", "two", "three", "four"})
            dovecot->deliver(QString::fromLatin1(user), message(subject));
    }
    dovecot->addUser(QStringLiteral("dave"), QStringLiteral("probe pass"));
    for (const char *subject : {"keep\tme", "drop me"})
        dovecot->deliver(QStringLiteral("dave"), message(subject));
    QString why;
    QVERIFY2(dovecot->start(&why), qPrintable(why));
}

void tst_ImapMailDovecot::init()
{
    clock = std::make_unique<VirtualClock>();
    makeControl();
    rows.clear();
}

void tst_ImapMailDovecot::makeControl(const QString &host)
{
    spies.reset();
    if (host.startsWith(u"imap"))
        mail = std::make_unique<ImapMail>(*clock);
    else
        mail = std::make_unique<mMail>(*clock);
    mail->setCaCertificates(dovecot->certificatePath());
    spies = std::make_unique<MailSpies<MailSession>>(*mail);
}

void tst_ImapMailDovecot::cleanup()
{
    if (QTest::currentTestFailed() && dovecot)
        qInfo().noquote() << "dovecot log:\n" << dovecot->log();
    spies.reset();
    mail.reset();
    clock.reset();
}

void tst_ImapMailDovecot::logOnAs(const QString &user, const QString &password, const QString &host)
{
    mail->setUserName(user);
    mail->setPassword(password);
    mail->setHost(host);
    QVERIFY(request([this] { mail->LogOn(); }));
}

void tst_ImapMailDovecot::listAll()
{
    for (qint16 number = 1; number <= mail->MessageCount(); ++number) {
        mail->setMessageNumber(number);
        QVERIFY(request([this] { mail->RetrieveHeader(); }));
        rows << mail->From() + u'|' + mail->Subject() + u'|' + mail->Date();
        mail->EndMessage();
    }
}

void tst_ImapMailDovecot::deleteRowWithSubject(const QString &subject)
{
    qsizetype row = rows.size() - 1;
    while (row >= 0 && rows.at(row).section(u'|', 1, 1) != subject)
        --row;
    QVERIFY2(row >= 0, qPrintable(rows.join(u'\n')));
    mail->setMessageNumber(qint16(row + 1));
    mail->DeleteMessage();
}

void tst_ImapMailDovecot::startTlsLogOnAndCount()
{
    logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), imapHost(*dovecot));
    QCOMPARE(spies->errors.size(), 0);
    QCOMPARE(mail->MessageCount(), 3);
    QVERIFY(statusTexts().contains(u"Starting TLS"));
    QVERIFY(statusTexts().contains(u"AUTHENTICATE PLAIN"));
    QVERIFY(!statusTexts().contains(u"wonder land"));
    QVERIFY(imap()->capabilities().contains("IDLE"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(spies->done.size(), 2);
}

void tst_ImapMailDovecot::headersAsPop3ListsThemAndNothingMarkedRead_data()
{
    QTest::addColumn<bool>("pipelining");
    QTest::newRow("one FETCH") << true;
    QTest::newRow("one at a time") << false;
}

void tst_ImapMailDovecot::headersAsPop3ListsThemAndNothingMarkedRead()
{
    QFETCH(bool, pipelining);
    mail->setPipelining(pipelining);
    logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), imapHost(*dovecot));
    listAll();
    QCOMPARE(spies->errors.size(), 0);
    QCOMPARE(rows, alicesRows());
    QVERIFY(request([this] { mail->Quit(); }));
    // Dovecot keeps \Seen as the Maildir flag S in the file name.
    QCOMPARE(dovecot->flaggedOf(QStringLiteral("alice"), u'S'), 0);
}

void tst_ImapMailDovecot::implicitTlsWithTheFixturesCertificate_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("pop3s") << QStringLiteral("pop3s://localhost:%1").arg(dovecot->pop3sPort());
    QTest::newRow("imaps") << QStringLiteral("imaps://localhost:%1").arg(dovecot->imapsPort());
}

void tst_ImapMailDovecot::implicitTlsWithTheFixturesCertificate()
{
    QFETCH(QString, host);
    makeControl(host);
    logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), host);
    QCOMPARE(spies->errors.size(), 0);
    QCOMPARE(mail->MessageCount(), 3);
    QVERIFY(!statusTexts().contains(u"Starting TLS"));
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QVERIFY(mail->Subject().startsWith(u"Grüße"));
    QVERIFY(request([this] { mail->Quit(); }));
}

void tst_ImapMailDovecot::untrustedCertificateIsRejected_data()
{
    QTest::addColumn<QString>("host");
    QTest::newRow("STLS") << QStringLiteral("127.0.0.1:%1").arg(dovecot->pop3Port());
    QTest::newRow("pop3s") << QStringLiteral("pop3s://127.0.0.1:%1").arg(dovecot->pop3sPort());
    QTest::newRow("STARTTLS") << imapHost(*dovecot);
    QTest::newRow("imaps") << QStringLiteral("imaps://127.0.0.1:%1").arg(dovecot->imapsPort());
}

void tst_ImapMailDovecot::untrustedCertificateIsRejected()
{
    QFETCH(QString, host);
    makeControl(host);
    mail->setCaCertificates({});
    logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), host);
    QCOMPARE(spies->errors.size(), 1);
    QCOMPARE(spies->done.size(), 0);
    QCOMPARE(lastError(), int(MailError::TlsFailed));
    QVERIFY2(lastErrorText().contains(u"self-signed"), qPrintable(lastErrorText()));
    QVERIFY(!mail->isLoggedOn());
    // The certificate refused is the server's. Trusted, it logs on; another one trusted, the
    // server's is refused as changed.
    const QSslCertificate served = QSslCertificate::fromPath(dovecot->certificatePath()).value(0);
    QCOMPARE(mail->refusedCertificate(), served.toPem());
    const QByteArray sha256 = served.digest(QCryptographicHash::Sha256).toHex();
    for (const auto &[trusted, error] :
        {std::pair{sha256, 0}, {QByteArray(64, 'a'), int(MailError::CertificateChanged)}}) {
        makeControl(host);
        mail->setCaCertificates({});
        mail->setTrustedCertificate(trusted);
        logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), host);
        QCOMPARE(mail->isLoggedOn(), error == 0);
        QCOMPARE(spies->errors.isEmpty() ? 0 : lastError(), error);
    }
}

void tst_ImapMailDovecot::wrongPasswordIsRefused_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("code");
    QTest::newRow("POP3") << QStringLiteral("127.0.0.1:%1").arg(dovecot->pop3Port())
                          << QStringLiteral("[AUTH]");
    QTest::newRow("IMAP") << imapHost(*dovecot) << QStringLiteral("[AUTHENTICATIONFAILED]");
}

void tst_ImapMailDovecot::wrongPasswordIsRefused()
{
    QFETCH(QString, host);
    QFETCH(QString, code);
    makeControl(host);
    logOnAs(QStringLiteral("alice"), QStringLiteral("not the password"), host);
    QCOMPARE(spies->errors.size(), 1);
    QCOMPARE(lastError(), int(MailError::LogOnRefused));
    QVERIFY2(lastErrorText().contains(code), qPrintable(lastErrorText()));
    QVERIFY(!lastErrorText().contains(u"not the password"));
    QVERIFY(!mail->isLoggedOn());
}

void tst_ImapMailDovecot::deletesTheChosenAndLeavesWhatArrivedMeanwhile()
{
    logOnAs(QStringLiteral("bob"), QStringLiteral("builder"), imapHost(*dovecot));
    QCOMPARE(mail->MessageCount(), 3);
    listAll();
    dovecot->deliver(QStringLiteral("bob"), message("arrived meanwhile"));
    for (qint16 number : {1, 3}) {
        mail->setMessageNumber(number);
        mail->DeleteMessage();
    }
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(spies->errors.size(), 0);
    QCOMPARE(dovecot->subjectsOf(QStringLiteral("bob")),
        (QStringList{QStringLiteral("arrived meanwhile"), QStringLiteral("two")}));
}

void tst_ImapMailDovecot::withoutUidplusExpungesOnlyWhenNoOtherMessageIsMarked()
{
    DovecotServer plain(DovecotServer::Options{
        true, false, true, QStringLiteral("IMAP4rev1 LITERAL+ SASL-IR IDLE NAMESPACE")});
    plain.addUser(QStringLiteral("erin"), QStringLiteral("secret"));
    plain.deliver(QStringLiteral("erin"), message("a"));
    plain.deliver(QStringLiteral("erin"), message("b"));
    plain.addUser(QStringLiteral("finn"), QStringLiteral("secret"));
    plain.deliver(QStringLiteral("finn"), message("a"));
    plain.deliver(QStringLiteral("finn"), message("marked elsewhere"), QStringLiteral("T"));
    QString why;
    QVERIFY2(plain.start(&why), qPrintable(why));
    mail->setCaCertificates(plain.certificatePath());

    logOnAs(QStringLiteral("erin"), QStringLiteral("secret"), imapHost(plain));
    QVERIFY(!imap()->capabilities().contains("UIDPLUS"));
    listAll();
    deleteRowWithSubject(QStringLiteral("a"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(spies->errors.size(), 0);
    QCOMPARE(plain.subjectsOf(QStringLiteral("erin")), QStringList{QStringLiteral("b")});

    logOnAs(QStringLiteral("finn"), QStringLiteral("secret"), imapHost(plain));
    rows.clear();
    listAll();
    deleteRowWithSubject(QStringLiteral("a"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(lastError(), int(MailError::ServerError));
    QVERIFY2(lastErrorText().contains(u"stay marked"), qPrintable(lastErrorText()));
    QCOMPARE(plain.messagesOf(QStringLiteral("finn")), 2);
}

void tst_ImapMailDovecot::deletionByIdentityFollowsTheMailboxChangedSinceTheListing_data()
{
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("user");
    QTest::newRow("POP3") << QStringLiteral("127.0.0.1:%1").arg(dovecot->pop3Port())
                          << QStringLiteral("carol");
    QTest::newRow("IMAP") << imapHost(*dovecot) << QStringLiteral("cyril");
}

// A list shown for a while: meanwhile the first message went (here in a session of its own)
// and another came. The listing's second message is now number 1, and its first is gone.
void tst_ImapMailDovecot::deletionByIdentityFollowsTheMailboxChangedSinceTheListing()
{
    QFETCH(QString, host);
    QFETCH(QString, user);
    makeControl(host);
    logOnAs(user, QStringLiteral("changing"), host);
    listAll();
    const QStringList listed = mail->Identities();
    QCOMPARE(listed.size(), 3);
    mail->setMessageNumber(1);
    mail->DeleteMessage();
    QVERIFY(request([this] { mail->Quit(); }));
    dovecot->deliver(user, message("fourth"));

    logOnAs(user, QStringLiteral("changing"), host);
    QCOMPARE(mail->MessageCount(), 3);
    mail->DeleteByIdentity(listed.at(0));
    QTRY_COMPARE(spies->errors.size(), 1);
    QCOMPARE(lastError(), int(MailError::NoSuchMessage));
    mail->DeleteByIdentity(listed.at(1));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(spies->errors.size(), 1);
    QCOMPARE(dovecot->subjectsOf(user),
        (QStringList{QStringLiteral("fourth"), QStringLiteral("third")}));
}

void tst_ImapMailDovecot::countsUnreadMailAndMarksItRead_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("unreadOnly");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QList<bool>>("unread");
    QTest::newRow("unread only") << QStringLiteral("gail") << true
                                 << QStringList{QStringLiteral("one"), QStringLiteral("four")}
                                 << QList<bool>{true, true};
    QTest::newRow("all") << QStringLiteral("gus") << false
                         << QStringList{QStringLiteral("one"), QStringLiteral("two"),
                                QStringLiteral("three"), QStringLiteral("four")}
                         << QList<bool>{true, false, false, true};
}

// Two of four messages read in another mail client; then the first one listed marked read here.
void tst_ImapMailDovecot::countsUnreadMailAndMarksItRead()
{
    QFETCH(QString, user);
    QFETCH(bool, unreadOnly);
    QFETCH(QStringList, listed);
    QFETCH(QList<bool>, unread);
    QString why;
    QVERIFY2(dovecot->imapSession(
                 user, QStringLiteral("read some"), {"STORE 2:3 +FLAGS (\\Seen)"}, &why),
        qPrintable(why));
    mail->setUnreadOnly(unreadOnly);
    logOnAs(user, QStringLiteral("read some"), imapHost(*dovecot));
    QCOMPARE(mail->MessageCount(), listed.size());
    QCOMPARE(mail->UnreadCount(), 2);
    QCOMPARE(mail->Identities().size(), listed.size());
    listAll();
    QStringList subjects;
    QList<bool> unreadNow;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        subjects << rows.at(i).section(u'|', 1, 1);
        unreadNow << mail->isUnread(int(i) + 1);
    }
    QCOMPARE(subjects, listed);
    QCOMPARE(unreadNow, unread);

    QSignalSpy marked(mail.get(), &MailSession::ReadMarked);
    mail->MarkListedRead({1, 2});
    QTRY_COMPARE(marked.size(), 1);
    const QList<int> wasUnread = unreadOnly ? QList<int>{1, 2} : QList<int>{1};
    QCOMPARE(marked.first().first().value<QList<int>>(), wasUnread);
    QCOMPARE(mail->UnreadCount(), 2 - int(wasUnread.size()));
    QTRY_COMPARE(dovecot->flaggedOf(user, u'S'), unreadOnly ? 4 : 3);
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(spies->errors.size(), 0);
}

void tst_ImapMailDovecot::probeTakesImapAddresses()
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("BVANE_MAIL_PASSWORD"), QStringLiteral("probe pass"));
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationDirPath() + QLatin1String("/bvane-mailprobe"),
        {QStringLiteral("--cafile"), dovecot->certificatePath(),
            QStringLiteral("imaps://localhost:%1").arg(dovecot->imapsPort()),
            QStringLiteral("dave"), QStringLiteral("--delete"), QStringLiteral("2")});
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()),
        QStringLiteral("2\n"
                       "Bob <bob@example.org>\tkeep me\tMon, 7 Dec 2026 10:00:00 +0000\n"
                       "Bob <bob@example.org>\tdrop me\tMon, 7 Dec 2026 10:00:00 +0000\n"));
    QCOMPARE(dovecot->subjectsOf(QStringLiteral("dave")), QStringList{QStringLiteral("keep\tme")});
}

QTEST_GUILESS_MAIN(tst_ImapMailDovecot)
#include "tst_imapmail_dovecot.moc"
