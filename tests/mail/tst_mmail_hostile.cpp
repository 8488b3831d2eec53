// The mail control and bvane-mailprobe against a scripted server that means harm: replies
// that never end, fast or slow; a refused APOP; a connection lost with requests and deletions
// pending; a count of 32767 messages. Bounds on time are loose: the figures are in
// bench/mail/bench_hostile_server.

#include "mail/mailerror.h"
#include "mailundertest.h"
#include "scriptedpopserver.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <memory>

class tst_mMailHostile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void endlessReplyFailsAtItsBoundAndDropsTheSession();
    void slowEndlessReplyFailsAtTheDeadline();
    void refusedApopFallsBackToWhatCapaOffers();
    void dataInjectedBeforeTlsIsRefused();
    void tlsWhereTheGreetingBelongsFailsAtOnce();
    void lostConnectionIsOneErrorForRequestsAndDeletions();
    void probeStopsAtALostConnectionWithOneError();
    void probeEndsOnAMailboxOf32767Messages();

private:
    // Writes `line` to the client every `everyMs` until it goes away.
    void keepWriting(QTcpSocket &client, const QByteArray &line, int everyMs, int linesEachTime);
    QProcess *startProbe(const QStringList &args);
    // Runs the event loop (the scripted server lives in it) until the probe ends.
    static bool waitForEnd(QProcess *probe, int ms);

    std::unique_ptr<ScriptedPopServer> server;
    std::unique_ptr<MailUnderTest> t;
};

void tst_mMailHostile::init()
{
    server = std::make_unique<ScriptedPopServer>();
    server->setMessages({scriptedMessage("ann@example.org", "first"),
        scriptedMessage("bea@example.org", "second"), scriptedMessage("cy@example.org", "third")});
    t = std::make_unique<MailUnderTest>();
}

void tst_mMailHostile::cleanup()
{
    t.reset();
    server.reset();
}

void tst_mMailHostile::keepWriting(
    QTcpSocket &client, const QByteArray &line, int everyMs, int linesEachTime)
{
    auto *timer = new QTimer(&client);
    connect(timer, &QTimer::timeout, &client, [&client, line, linesEachTime] {
        if (client.state() == QAbstractSocket::ConnectedState && client.bytesToWrite() < 1 << 20)
            client.write(line.repeated(linesEachTime));
    });
    timer->start(everyMs);
}

void tst_mMailHostile::endlessReplyFailsAtItsBoundAndDropsTheSession()
{
    QPointer<QTcpSocket> talker;
    server->on("TOP", [&](QTcpSocket &client, const QByteArray &) {
        talker = &client;
        client.write("+OK here it comes\r\n");
        keepWriting(client, "X-Junk: " + QByteArray(70, 'j') + "\r\n", 1, 1000);
    });
    QVERIFY(t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    t->mail.setMessageNumber(1);
    QVERIFY(t->request([this] { t->mail.RetrieveHeader(); }, 20000));
    QCOMPARE(t->errors.size(), 1);
    QCOMPARE(t->lastError(), int(MailError::ResponseTooLarge));
    QVERIFY2(t->lastErrorText().contains(u"1024 KiB"), qPrintable(t->lastErrorText()));
    QVERIFY(!t->mail.isLoggedOn());
    // The session is dropped: the server sees the connection go.
    QTRY_VERIFY(!talker || talker->state() != QAbstractSocket::ConnectedState);
}

// A reply that trickles forever never leaves the idle time-out a minute without data; the
// deadline ends it all the same.
void tst_mMailHostile::slowEndlessReplyFailsAtTheDeadline()
{
    server->setCapabilities({"USER"}); // no TOP: the header comes by RETR, the body dropped
    server->on("RETR", [this](QTcpSocket &client, const QByteArray &) {
        client.write("+OK\r\nSubject: slow\r\n\r\n");
        keepWriting(client, "body line\r\n", 5, 1);
    });
    QVERIFY(t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    t->mail.setMessageNumber(1);
    t->mail.RetrieveHeader();
    QTRY_VERIFY(server->received("RETR 1"));
    for (int seconds = 0; seconds < mMail::kDefaultDeadline - 30; seconds += 30) {
        t->clock.advance(30000);
        QTest::qWait(150); // body lines come in meanwhile: the idle time-out starts again
        QVERIFY2(t->errors.isEmpty(), qPrintable(t->lastErrorText()));
    }
    t->clock.advance(30000);
    QTRY_COMPARE(t->errors.size(), 1);
    QCOMPARE(t->lastError(), int(MailError::TimedOut));
    QVERIFY2(t->lastErrorText().contains(u"300 seconds"), qPrintable(t->lastErrorText()));
    QVERIFY(!t->mail.isLoggedOn());
}

void tst_mMailHostile::refusedApopFallsBackToWhatCapaOffers()
{
    server->setGreeting("+OK ready <4711.1@mail.example.org>\r\n");
    server->on("APOP", QByteArray("-ERR [AUTH] Bad login\r\n"));
    QVERIFY(t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    QCOMPARE(server->commands().mid(1, 3),
        (QList<QByteArray>{"APOP ann 057709e2e74efbd5c6c0a6cce12f22b8", "USER ann", "PASS pw"}));
    QVERIFY(t->request([this] { t->mail.Quit(); }));

    // SASL PLAIN is preferred to USER; when it is refused as well, the error names both.
    server->setCapabilities({"TOP", "USER", "SASL PLAIN"});
    server->on("AUTH", QByteArray("-ERR [AUTH] no\r\n"));
    QVERIFY(!t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    QVERIFY2(t->lastErrorText().contains(u"(APOP, then AUTH PLAIN): [AUTH] no"),
        qPrintable(t->lastErrorText()));
    QCOMPARE(server->commands().count("USER ann"), 1);

    // A locked mailbox is no matter of method: no fall-back, and no USER without CAPA's leave.
    server->on("APOP", QByteArray("-ERR [IN-USE] locked\r\n"));
    const int before = int(server->commands().size());
    QVERIFY(!t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    QVERIFY(t->lastErrorText().endsWith(u"(APOP): [IN-USE] locked"));
    QCOMPARE(server->commands().size(), before + 2); // CAPA, APOP
    QCOMPARE(t->errors.size(), 2);
}

// Whatever follows the "+OK" to STLS came in the clear: the upgrade is refused and no
// password follows.
void tst_mMailHostile::dataInjectedBeforeTlsIsRefused()
{
    server->setCapabilities({"TOP", "USER", "STLS"});
    server->on("STLS", QByteArray("+OK begin TLS\r\n+OK injected\r\n"));
    QVERIFY(!t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    QCOMPARE(t->lastError(), int(MailError::ProtocolError));
    QVERIFY2(t->lastErrorText().contains(u"sent data after agreeing to STLS"),
        qPrintable(t->lastErrorText()));
    QVERIFY(!server->commands().contains("PASS pw"));
    server->on("STLS", QByteArray("+OK begin\r\n-ERR STLS failed: 500 Error starting tls.\r\n"));
    QVERIFY(!t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    QVERIFY(t->lastErrorText().endsWith(u"STLS: STLS failed: 500 Error starting tls."));
}

// A TLS alert where the greeting belongs fails at once, naming the address that reaches it.
void tst_mMailHostile::tlsWhereTheGreetingBelongsFailsAtOnce()
{
    server->setGreeting(QByteArray("\x15\x03\x03\x00\x02\x02\x46", 7));
    QVERIFY(!t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    QCOMPARE(
        t->lastErrorText(), server->host() + QStringLiteral(" speaks TLS at once: use pop3s://"));
}

void tst_mMailHostile::lostConnectionIsOneErrorForRequestsAndDeletions()
{
    server->on("TOP", [](QTcpSocket &client, const QByteArray &) { client.abort(); });
    QVERIFY(t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    // Three requests issued together: the first fails, the two behind it end quietly.
    for (qint16 number : {1, 2, 3}) {
        t->mail.setMessageNumber(number);
        t->mail.RetrieveHeader();
    }
    QTRY_COMPARE(t->errors.size(), 1);
    QCOMPARE(t->lastError(), int(MailError::ConnectionClosed));
    t->clock.advance(600000);
    QTest::qWait(50);
    QCOMPARE(t->errors.size(), 1);

    // Deletions on their way when the line drops: one Error that says so.
    server->on("DELE", [](QTcpSocket &client, const QByteArray &) { client.abort(); });
    QVERIFY(t->logOn(server->host(), QStringLiteral("ann"), QStringLiteral("pw")));
    for (qint16 number : {1, 3}) {
        t->mail.setMessageNumber(number);
        t->mail.DeleteMessage();
    }
    QTRY_COMPARE(t->errors.size(), 2);
    QVERIFY2(t->lastErrorText().contains(u"2 message(s) marked for deletion were not deleted"),
        qPrintable(t->lastErrorText()));
    QTest::qWait(50);
    QCOMPARE(t->errors.size(), 2);
}

QProcess *tst_mMailHostile::startProbe(const QStringList &args)
{
    auto *probe = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("BVANE_MAIL_PASSWORD"), QStringLiteral("pw"));
    probe->setProcessEnvironment(environment);
    probe->start(QCoreApplication::applicationDirPath() + QLatin1String("/bvane-mailprobe"),
        QStringList{server->host(), QStringLiteral("ann")} + args);
    return probe;
}

bool tst_mMailHostile::waitForEnd(QProcess *probe, int ms)
{
    QEventLoop loop;
    connect(probe, &QProcess::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    if (probe->state() != QProcess::NotRunning)
        loop.exec();
    return probe->state() == QProcess::NotRunning;
}

void tst_mMailHostile::probeStopsAtALostConnectionWithOneError()
{
    QList<QByteArray> messages;
    for (int i = 1; i <= 50; ++i)
        messages << scriptedMessage("x@example.org", "n" + QByteArray::number(i));
    server->setMessages(messages);
    server->on("TOP", [this](QTcpSocket &client, const QByteArray &command) {
        if (command == "TOP 3 0")
            client.abort();
        else
            client.write(server->topReply(command.split(' ').value(1).toInt()));
    });
    QProcess *probe = startProbe({QStringLiteral("--no-pipelining"), QStringLiteral("--delete"),
        QStringLiteral("1"), QStringLiteral("2")});
    QVERIFY(waitForEnd(probe, 30000));
    QCOMPARE(probe->exitCode(), 1);
    const QByteArray errors = probe->readAllStandardError();
    QCOMPARE(errors.count("error "), 1);
    QVERIFY(errors.contains("error 4:"));
    QCOMPARE(probe->readAllStandardOutput().count('\n'), 3); // the count and two headers
    QVERIFY(!server->received("DELE 1"));
}

void tst_mMailHostile::probeEndsOnAMailboxOf32767Messages()
{
    server->setCapabilities({"TOP", "USER", "PIPELINING"});
    server->on("STAT", QByteArray("+OK 40000 4000000\r\n"));
    server->on("TOP", [](QTcpSocket &client, const QByteArray &) {
        client.write("+OK\r\nSubject: s\r\n\r\n.\r\n");
    });
    QProcess *probe = startProbe({});
    QByteArray out;
    connect(probe, &QProcess::readyReadStandardOutput, this,
        [probe, &out] { out += probe->readAllStandardOutput(); });
    QVERIFY(waitForEnd(probe, 120000));
    out += probe->readAllStandardOutput();
    QCOMPARE(probe->exitCode(), 0);
    QVERIFY(out.startsWith("32767\n"));
    QCOMPARE(out.count('\n'), 1 + 32767);
    QCOMPARE(probe->readAllStandardError(), QByteArray());
}

QTEST_GUILESS_MAIN(tst_mMailHostile)
#include "tst_mmail_hostile.moc"
