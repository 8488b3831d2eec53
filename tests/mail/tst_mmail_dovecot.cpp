// The mail control against a real Dovecot POP3 server started for this test: STLS, APOP,
// headers as real mail has them, and deletions made at Quit (TLS, certificates and a refused
// log-on for both protocols are in tst_imapmail_dovecot).

#include "clock/virtualclock.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/mailerror.h"
#include "mail/mmail.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace CraftedMessages;

class tst_mMailDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void plainHostUpgradesWithStlsAndCounts();
    void headersWithEncodedWordsAndFoldedLines_data();
    void headersWithEncodedWordsAndFoldedLines();
    void deleteTwoOfThreeLeavesOneAfterQuit();
    void apopWithoutTls();
    void probeListsAndDeletesWithThePasswordOnStandardInput();

private:
    bool request(const std::function<void()> &action);
    void logOnAs(const QString &user, const QString &password, const QString &host);
    QString plainHost() const { return QStringLiteral("127.0.0.1:%1").arg(dovecot->pop3Port()); }
    int lastError() const { return errors->isEmpty() ? 0 : errors->last().at(0).toInt(); }
    QString lastErrorText() const
    {
        return errors->isEmpty() ? QString() : errors->last().at(1).toString();
    }
    QString statusTexts() const;

    std::unique_ptr<DovecotServer> dovecot;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<mMail> mail;
    std::unique_ptr<QSignalSpy> done, errors, status;
};

void tst_mMailDovecot::initTestCase()
{
    if (DovecotServer::program().isEmpty())
        QSKIP("dovecot is not installed (Debian package dovecot-pop3d)");
    dovecot = std::make_unique<DovecotServer>();
    dovecot->addUser(QStringLiteral("alice"), QStringLiteral("wonder land"));
    dovecot->addUser(QStringLiteral("bob"), QStringLiteral("builder"));
    for (const QByteArray &crafted : alicesMessages())
        dovecot->deliver(QStringLiteral("alice"), crafted);
    for (const char *subject : {"one", "two", "three"})
        dovecot->deliver(QStringLiteral("bob"), message(subject));
    dovecot->addUser(QStringLiteral("dave"), QStringLiteral("probe pass"));
    for (const char *subject : {"keep\tme", "drop me"})
        dovecot->deliver(QStringLiteral("dave"), message(subject));
    QString why;
    QVERIFY2(dovecot->start(&why), qPrintable(why));
}

void tst_mMailDovecot::init()
{
    clock = std::make_unique<VirtualClock>();
    mail = std::make_unique<mMail>(*clock);
    mail->setCaCertificates(dovecot->certificatePath());
    done = std::make_unique<QSignalSpy>(mail.get(), &mMail::Done);
    errors = std::make_unique<QSignalSpy>(mail.get(), &mMail::Error);
    status = std::make_unique<QSignalSpy>(mail.get(), &mMail::Status);
}

void tst_mMailDovecot::cleanup()
{
    if (QTest::currentTestFailed() && dovecot)
        qInfo().noquote() << "dovecot log:\n" << dovecot->log();
    done.reset();
    errors.reset();
    status.reset();
    mail.reset();
    clock.reset();
}

bool tst_mMailDovecot::request(const std::function<void()> &action)
{
    const qsizetype before = done->size() + errors->size();
    action();
    if (done->size() + errors->size() != before)
        return false;
    return QTest::qWaitFor([&] { return done->size() + errors->size() > before; }, 30000);
}

void tst_mMailDovecot::logOnAs(const QString &user, const QString &password, const QString &host)
{
    mail->setUserName(user);
    mail->setPassword(password);
    mail->setHost(host);
    QVERIFY(request([this] { mail->LogOn(); }));
}

QString tst_mMailDovecot::statusTexts() const
{
    QStringList texts;
    for (const auto &args : *status)
        texts << args.at(0).toString();
    return texts.join(u'\n');
}

void tst_mMailDovecot::plainHostUpgradesWithStlsAndCounts()
{
    logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), plainHost());
    QCOMPARE(errors->size(), 0);
    QCOMPARE(mail->MessageCount(), 3);
    QVERIFY(statusTexts().contains(u"Starting TLS"));
    QVERIFY(statusTexts().contains(u"AUTH PLAIN"));
    QVERIFY(!statusTexts().contains(u"wonder land"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(done->size(), 2);
}

void tst_mMailDovecot::headersWithEncodedWordsAndFoldedLines_data()
{
    QTest::addColumn<bool>("pipelining");
    QTest::newRow("pipelined") << true;
    QTest::newRow("one at a time") << false;
}

void tst_mMailDovecot::headersWithEncodedWordsAndFoldedLines()
{
    QFETCH(bool, pipelining);
    mail->setPipelining(pipelining);
    logOnAs(QStringLiteral("alice"), QStringLiteral("wonder land"), plainHost());
    QCOMPARE(mail->MessageCount(), 3);
    QStringList rows;
    for (qint16 number = 1; number <= mail->MessageCount(); ++number) {
        mail->setMessageNumber(number);
        QVERIFY(request([this] { mail->RetrieveHeader(); }));
        rows << mail->From() + u'|' + mail->Subject() + u'|' + mail->Date();
        mail->EndMessage();
    }
    QCOMPARE(errors->size(), 0);
    QCOMPARE(rows, alicesRows());
    QVERIFY(request([this] { mail->Quit(); }));
}

void tst_mMailDovecot::deleteTwoOfThreeLeavesOneAfterQuit()
{
    logOnAs(QStringLiteral("bob"), QStringLiteral("builder"), plainHost());
    QCOMPARE(mail->MessageCount(), 3);
    for (qint16 number : {1, 3}) {
        mail->setMessageNumber(number);
        mail->DeleteMessage();
    }
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(errors->size(), 0);
    QCOMPARE(dovecot->messagesOf(QStringLiteral("bob")), 1);

    logOnAs(QStringLiteral("bob"), QStringLiteral("builder"), plainHost());
    QCOMPARE(mail->MessageCount(), 1);
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(mail->Subject(), QStringLiteral("two"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(errors->size(), 0);
}

void tst_mMailDovecot::apopWithoutTls()
{
    DovecotServer plain(DovecotServer::Options{false, true, false, {}});
    plain.addUser(QStringLiteral("carol"), QStringLiteral("secret"));
    plain.deliver(QStringLiteral("carol"), message("for carol"));
    QString why;
    QVERIFY2(plain.start(&why), qPrintable(why));
    logOnAs(QStringLiteral("carol"), QStringLiteral("secret"),
        QStringLiteral("127.0.0.1:%1").arg(plain.pop3Port()));
    QCOMPARE(errors->size(), 0);
    QCOMPARE(mail->MessageCount(), 1);
    QVERIFY(statusTexts().contains(u"with APOP"));
    QVERIFY(request([this] { mail->Quit(); }));

    logOnAs(QStringLiteral("carol"), QStringLiteral("wrong"),
        QStringLiteral("127.0.0.1:%1").arg(plain.pop3Port()));
    QCOMPARE(lastError(), int(MailError::LogOnRefused));
    QVERIFY(lastErrorText().contains(u"APOP"));
}

void tst_mMailDovecot::probeListsAndDeletesWithThePasswordOnStandardInput()
{
    QProcess probe;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("BVANE_MAIL_PASSWORD"));
    probe.setProcessEnvironment(environment);
    probe.start(QCoreApplication::applicationDirPath() + QLatin1String("/bvane-mailprobe"),
        {QStringLiteral("--cafile"), dovecot->certificatePath(), plainHost(),
            QStringLiteral("dave"), QStringLiteral("--delete"), QStringLiteral("2")});
    probe.write("probe pass\n");
    probe.closeWriteChannel();
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(probe.readAllStandardOutput()),
        QStringLiteral("2\n"
                       "Bob <bob@example.org>\tkeep me\tMon, 7 Dec 2026 10:00:00 +0000\n"
                       "Bob <bob@example.org>\tdrop me\tMon, 7 Dec 2026 10:00:00 +0000\n"));
    QCOMPARE(dovecot->messagesOf(QStringLiteral("dave")), 1);
}

QTEST_GUILESS_MAIN(tst_mMailDovecot)
#include "tst_mmail_dovecot.moc"
