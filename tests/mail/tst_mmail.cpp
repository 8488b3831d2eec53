// The mail control against a scripted in-process server: the dialogue, and every way a
// server or the network can fail it.

#include "clock/virtualclock.h"
#include "mail/mailerror.h"
#include "mail/mmail.h"
#include "scriptedpopserver.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class tst_mMail : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void logOnListsHeadersAndQuitsWithEventsFromTheEventLoop();
    void apopWhenTheGreetingOffersAStampAuthPlainWhenSaslDoes();
    void refusedLogOnCarriesTheResponseCodeButNeverThePassword_data();
    void refusedLogOnCarriesTheResponseCodeButNeverThePassword();
    void connectionDroppedMidHeaderIsOneError();
    void unansweredRequestTimesOutOnTheClock();
    void garbageGreetingIsAProtocolError();
    void errOnTopFailsThatHeaderOnly();
    void oversizedLinesAndHeadersAreErrorsNotMemory();
    void dotStuffedHeaderLinesAreUndone();
    void pipeliningSendsTheTopsTogetherAndServesThemInOrder();
    void withoutPipeliningOneTopAtATime();
    void serverWithoutTopIsAskedWithRetr();
    void serverWithoutCapaFallsBackToRetrWhenTopIsRefused();
    void deleteRaisesNothingUnlessRefused();
    void stlsRefusedOrFollowedByInjectedDataNeverLogsOnInTheClear();
    void requireTlsOrTlsBeforeRefuseAServerWithoutStls();
    void requestsOutsideASessionAreErrors();
    void refusedConnectionAndBadHostText();

private:
    // Issues `action`, checks nothing was raised inside the call, and waits for the event.
    bool request(const std::function<void()> &action);
    bool logOn();
    int lastError() const { return errors->isEmpty() ? 0 : errors->last().at(0).toInt(); }
    QString lastErrorText() const
    {
        return errors->isEmpty() ? QString() : errors->last().at(1).toString();
    }
    QStringList statusTexts() const;

    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<ScriptedPopServer> server;
    std::unique_ptr<mMail> mail;
    std::unique_ptr<QSignalSpy> done, errors, status;
};

void tst_mMail::init()
{
    clock = std::make_unique<VirtualClock>();
    server = std::make_unique<ScriptedPopServer>();
    server->setMessages({scriptedMessage("Ann <ann@example.org>", "first"),
        scriptedMessage("=?utf-8?q?B=C3=A9a?= <bea@example.org>", "second")});
    mail = std::make_unique<mMail>(*clock);
    mail->setHost(server->host());
    mail->setUserName(QStringLiteral("ann"));
    mail->setPassword(QStringLiteral("hunter2pass"));
    done = std::make_unique<QSignalSpy>(mail.get(), &mMail::Done);
    errors = std::make_unique<QSignalSpy>(mail.get(), &mMail::Error);
    status = std::make_unique<QSignalSpy>(mail.get(), &mMail::Status);
}

void tst_mMail::cleanup()
{
    done.reset();
    errors.reset();
    status.reset();
    mail.reset();
    server.reset();
    clock.reset();
}

bool tst_mMail::request(const std::function<void()> &action)
{
    const qsizetype before = done->size() + errors->size();
    action();
    if (done->size() + errors->size() != before) {
        qWarning("an event was raised inside the call");
        return false;
    }
    return QTest::qWaitFor([&] { return done->size() + errors->size() > before; }, 10000);
}

bool tst_mMail::logOn()
{
    const qsizetype doneBefore = done->size();
    return request([this] { mail->LogOn(); }) && done->size() == doneBefore + 1;
}

QStringList tst_mMail::statusTexts() const
{
    QStringList texts;
    for (const auto &args : *status)
        texts << args.at(0).toString();
    return texts;
}

void tst_mMail::logOnListsHeadersAndQuitsWithEventsFromTheEventLoop()
{
    QVERIFY(logOn());
    QCOMPARE(mail->MessageCount(), 2);
    mail->setMessageNumber(2);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(mail->From(), QStringLiteral("Béa <bea@example.org>"));
    QCOMPARE(mail->Subject(), QStringLiteral("second"));
    QCOMPARE(mail->Date(), QStringLiteral("Mon, 7 Dec 2026 10:00:00 +0000"));
    mail->EndMessage();
    mail->setMessageNumber(1);
    mail->PrepareMessage();
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(mail->Subject(), QStringLiteral("first"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(done->size(), 4);
    QCOMPARE(errors->size(), 0);
    QCOMPARE(server->commands(),
        (QList<QByteArray>{
            "CAPA", "USER ann", "PASS hunter2pass", "STAT", "UIDL", "TOP 2 0", "TOP 1 0", "QUIT"}));
    QVERIFY(statusTexts().join(u'\n').contains(u"USER/PASS"));
    QVERIFY(!statusTexts().join(u'\n').contains(u"hunter2pass"));
    QVERIFY(!mail->isLoggedOn());
}

void tst_mMail::apopWhenTheGreetingOffersAStampAuthPlainWhenSaslDoes()
{
    // RFC 1939's own example.
    server->setGreeting("+OK POP3 server ready <1896.697170952@dbc.mtview.ca.us>\r\n");
    server->on("APOP", QByteArray("+OK\r\n"));
    server->setCapabilities({"TOP", "USER", "SASL PLAIN"});
    mail->setUserName(QStringLiteral("mrose"));
    mail->setPassword(QStringLiteral("tanstaaf"));
    QVERIFY(logOn());
    QVERIFY(server->received("APOP mrose c4c9334bac560ecc979e58001b3e22fb"));

    server->setGreeting("+OK ready\r\n");
    server->on("AUTH", QByteArray("+OK\r\n"));
    QVERIFY(logOn());
    QVERIFY(server->received("AUTH PLAIN AG1yb3NlAHRhbnN0YWFm"));
    QVERIFY(!server->received("PASS tanstaaf"));
    QCOMPARE(server->connections(), 2);
}

void tst_mMail::refusedLogOnCarriesTheResponseCodeButNeverThePassword_data()
{
    QTest::addColumn<QByteArray>("verb");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("words");
    QTest::newRow("auth") << QByteArray("PASS")
                          << QByteArray("-ERR [AUTH] wrong password hunter2pass\r\n")
                          << QStringLiteral("[AUTH] wrong password ********");
    QTest::newRow("in-use") << QByteArray("PASS") << QByteArray("-ERR [IN-USE] locked\r\n")
                            << QStringLiteral("[IN-USE] locked");
    QTest::newRow("login-delay") << QByteArray("USER")
                                 << QByteArray("-ERR [LOGIN-DELAY] wait 5 minutes\r\n")
                                 << QStringLiteral("[LOGIN-DELAY] wait 5 minutes");
    // With PIPELINING, PASS and STAT go out with USER: their answers change nothing.
    QTest::newRow("pipelined auth")
        << QByteArray("PASS") << QByteArray("-ERR [AUTH] no\r\n") << QStringLiteral("[AUTH] no");
    QTest::newRow("pipelined login-delay")
        << QByteArray("USER") << QByteArray("-ERR [LOGIN-DELAY] wait\r\n")
        << QStringLiteral("[LOGIN-DELAY] wait");
    QTest::newRow("greeting") << QByteArray() << QByteArray("-ERR [SYS/TEMP] overloaded\r\n")
                              << QStringLiteral("[SYS/TEMP] overloaded");
}

void tst_mMail::refusedLogOnCarriesTheResponseCodeButNeverThePassword()
{
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, reply);
    QFETCH(QString, words);
    const bool pipelined = QByteArray(QTest::currentDataTag()).startsWith("pipelined");
    if (pipelined)
        server->setCapabilities({"TOP", "USER", "PIPELINING"});
    if (verb.isEmpty())
        server->setGreeting(reply);
    else
        server->on(verb, reply);
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(errors->size(), 1);
    QCOMPARE(lastError(), int(MailError::LogOnRefused));
    QVERIFY2(lastErrorText().endsWith(words), qPrintable(lastErrorText()));
    QVERIFY(!lastErrorText().contains(u"hunter2pass"));
    QVERIFY(!mail->isLoggedOn());
    if (verb == "USER")
        QCOMPARE(server->received("PASS hunter2pass"), pipelined);
    QCOMPARE(server->received("STAT"), pipelined);
    // No second report later, from a time-out or the closed connection.
    clock->advance(120000);
    QTest::qWait(20);
    QCOMPARE(errors->size(), 1);
    QCOMPARE(done->size(), 0);
}

void tst_mMail::connectionDroppedMidHeaderIsOneError()
{
    server->on("TOP", [](QTcpSocket &client, const QByteArray &) {
        client.write("+OK\r\nFrom: ann@example.org\r\nSubj");
        client.flush();
        client.abort();
    });
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(errors->size(), 1);
    QCOMPARE(lastError(), int(MailError::ConnectionClosed));
    QCOMPARE(mail->From(), QString());
    clock->advance(120000);
    QTest::qWait(20);
    QCOMPARE(errors->size(), 1);

    // The next request fails on its own, saying why.
    mail->setMessageNumber(2);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(errors->size(), 2);
    QCOMPARE(lastError(), int(MailError::NotConnected));
    QVERIFY(lastErrorText().contains(u"closed the connection"));
}

void tst_mMail::unansweredRequestTimesOutOnTheClock()
{
    server->on("TOP", [](QTcpSocket &, const QByteArray &) {});
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    mail->RetrieveHeader();
    QTRY_VERIFY(server->received("TOP 1 0"));
    clock->advance(59000);
    QTest::qWait(20);
    QCOMPARE(errors->size(), 0);
    clock->advance(1000);
    QTRY_COMPARE(errors->size(), 1);
    QCOMPARE(lastError(), int(MailError::TimedOut));
    QVERIFY(lastErrorText().contains(u"60 seconds"));
    clock->advance(120000);
    QTest::qWait(20);
    QCOMPARE(errors->size(), 1);

    // A shorter time-out of one's own, here for a server that never greets.
    server->setGreeting({});
    mail->setTimeOut(5);
    mail->LogOn();
    QTRY_COMPARE(server->connections(), 2);
    clock->advance(5000);
    QTRY_COMPARE(errors->size(), 2);
    QCOMPARE(lastError(), int(MailError::TimedOut));
}

void tst_mMail::garbageGreetingIsAProtocolError()
{
    server->setGreeting("SSH-2.0-OpenSSH_9.2\r\n");
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(lastError(), int(MailError::ProtocolError));
    QVERIFY(lastErrorText().contains(u"SSH-2.0"));
    QVERIFY(server->commands().isEmpty());
}

void tst_mMail::errOnTopFailsThatHeaderOnly()
{
    server->on("TOP", [this](QTcpSocket &client, const QByteArray &command) {
        client.write(
            command == "TOP 1 0" ? QByteArray("-ERR [SYS/TEMP] busy\r\n") : server->topReply(2));
    });
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(lastError(), int(MailError::ServerError));
    QVERIFY(lastErrorText().contains(u"[SYS/TEMP] busy"));
    QCOMPARE(mail->Subject(), QString());
    mail->setMessageNumber(2);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(errors->size(), 1);
    QCOMPARE(mail->Subject(), QStringLiteral("second"));
}

void tst_mMail::oversizedLinesAndHeadersAreErrorsNotMemory()
{
    // A header of 2 MiB, and one line of 100 KiB: each fails at its bound and drops the
    // session (reading on would wait for the end of what may be an endless reply); the next
    // session works.
    server->on("TOP", [this](QTcpSocket &client, const QByteArray &command) {
        if (command == "TOP 1 0") {
            client.write("+OK\r\n");
            for (int i = 0; i < 32 * 1024; ++i)
                client.write("X-Filler: " + QByteArray(54, 'x') + "\r\n");
            client.write("\r\n.\r\n");
        } else if (command == "TOP 2 0") {
            client.write("+OK\r\nSubject: " + QByteArray(100 * 1024, 'y') + "\r\n\r\n.\r\n");
        } else {
            client.write(server->topReply(1));
        }
    });
    server->setMessages({"Subject: a\r\n\r\n", "Subject: b\r\n\r\n", "Subject: c\r\n\r\n"});
    for (qint16 number : {1, 2}) {
        QVERIFY(logOn());
        mail->setMessageNumber(number);
        QVERIFY(request([this] { mail->RetrieveHeader(); }));
        QCOMPARE(lastError(), int(MailError::ResponseTooLarge));
        QVERIFY(lastErrorText().contains(u"1024 KiB"));
        QVERIFY(!mail->isLoggedOn());
    }
    QVERIFY(logOn());
    mail->setMessageNumber(3);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(errors->size(), 2);
    QCOMPARE(mail->Subject(), QStringLiteral("a"));

    // A status line without end is cut off at the bound, and the connection with it.
    server->setGreeting("+OK " + QByteArray(200 * 1024, 'z'));
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(errors->size(), 3);
    QCOMPARE(lastError(), int(MailError::ResponseTooLarge));
}

void tst_mMail::dotStuffedHeaderLinesAreUndone()
{
    server->on("TOP",
        QByteArray("+OK\r\n"
                   "..From: not the sender\r\n"
                   "From: ann@example.org\r\n"
                   "..\r\n"
                   "...\r\n"
                   "Subject: .leading dot\r\n"
                   "\r\n"
                   ".\r\n"));
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(errors->size(), 0);
    QCOMPARE(mail->From(), QStringLiteral("ann@example.org"));
    QCOMPARE(mail->Subject(), QStringLiteral(".leading dot"));
}

void tst_mMail::pipeliningSendsTheTopsTogetherAndServesThemInOrder()
{
    QList<QByteArray> messages;
    for (int i = 1; i <= 5; ++i)
        messages << scriptedMessage("x@example.org", "message " + QByteArray::number(i));
    server->setMessages(messages);
    server->setCapabilities({"TOP", "USER", "PIPELINING"});
    // The server holds its answers until it has all five commands: a client that waited for
    // each answer before the next command would time out here.
    server->on("TOP", [this](QTcpSocket &client, const QByteArray &command) {
        if (command != "TOP 5 0")
            return;
        for (int i = 1; i <= 5; ++i)
            client.write(server->topReply(i));
    });
    QVERIFY(logOn());
    for (qint16 number = 1; number <= 5; ++number) {
        mail->setMessageNumber(number);
        QVERIFY(request([this] { mail->RetrieveHeader(); }));
        QCOMPARE(mail->Subject(), QStringLiteral("message %1").arg(number));
    }
    QCOMPARE(done->size(), 6);
    QCOMPARE(errors->size(), 0);
    QCOMPARE(server->commands().mid(5),
        (QList<QByteArray>{"TOP 1 0", "TOP 2 0", "TOP 3 0", "TOP 4 0", "TOP 5 0"}));
}

void tst_mMail::withoutPipeliningOneTopAtATime()
{
    server->setCapabilities({"TOP", "USER", "PIPELINING"});
    mail->setPipelining(false);
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QTest::qWait(20);
    QCOMPARE(server->commands().last(), QByteArray("TOP 1 0"));
    mail->setMessageNumber(2);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(mail->Subject(), QStringLiteral("second"));
}

void tst_mMail::serverWithoutTopIsAskedWithRetr()
{
    server->setCapabilities({"USER"});
    server->setMessages(
        {scriptedMessage("ann@example.org", "no top", "body\r\n.\r\n..\r\nend\r\n")});
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(errors->size(), 0);
    QCOMPARE(mail->Subject(), QStringLiteral("no top"));
    QVERIFY(server->received("RETR 1"));
    QVERIFY(!server->received("TOP 1 0"));
    QVERIFY(mail->usesRetrForHeaders());
    QVERIFY(statusTexts().join(u'\n').contains(u"RETR"));
}

void tst_mMail::serverWithoutCapaFallsBackToRetrWhenTopIsRefused()
{
    server->on("CAPA", QByteArray("-ERR unknown command\r\n"));
    server->on("TOP", QByteArray("-ERR unknown command\r\n"));
    QVERIFY(logOn());
    for (qint16 number : {1, 2}) {
        mail->setMessageNumber(number);
        QVERIFY(request([this] { mail->RetrieveHeader(); }));
    }
    QCOMPARE(errors->size(), 0);
    QCOMPARE(mail->Subject(), QStringLiteral("second"));
    QCOMPARE(server->commands().mid(5), (QList<QByteArray>{"TOP 1 0", "RETR 1", "RETR 2"}));
}

void tst_mMail::deleteRaisesNothingUnlessRefused()
{
    server->on("DELE", [](QTcpSocket &client, const QByteArray &command) {
        client.write(
            command == "DELE 2" ? "-ERR [SYS/PERM] read-only mailbox\r\n" : "+OK marked\r\n");
    });
    QVERIFY(logOn());
    mail->setMessageNumber(1);
    mail->DeleteMessage();
    QTRY_VERIFY(server->received("DELE 1"));
    QTest::qWait(20);
    QCOMPARE(errors->size(), 0);
    QCOMPARE(done->size(), 1);
    mail->setMessageNumber(2);
    mail->DeleteMessage();
    QTRY_COMPARE(errors->size(), 1);
    QCOMPARE(lastError(), int(MailError::ServerError));
    QVERIFY(lastErrorText().contains(u"[SYS/PERM] read-only mailbox"));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(done->size(), 2);
    QCOMPARE(server->commands().mid(5), (QList<QByteArray>{"DELE 1", "DELE 2", "QUIT"}));
}

void tst_mMail::stlsRefusedOrFollowedByInjectedDataNeverLogsOnInTheClear()
{
    server->setCapabilities({"TOP", "USER", "STLS"});
    server->on("STLS", QByteArray("-ERR [SYS/TEMP] no TLS today\r\n"));
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(lastError(), int(MailError::TlsFailed));
    QVERIFY(lastErrorText().contains(u"no TLS today"));

    server->on("STLS", QByteArray("+OK begin TLS\r\n+OK injected\r\n"));
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(errors->size(), 2);
    QCOMPARE(lastError(), int(MailError::ProtocolError));
    QVERIFY(!server->received("USER ann"));
}

void tst_mMail::requireTlsOrTlsBeforeRefuseAServerWithoutStls()
{
    mail->setRequireTls(true);
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(lastError(), int(MailError::TlsRequired));
    QCOMPARE(server->commands(), QList<QByteArray>{"CAPA"});
    mail->setRequireTls(false); // TLS before: a downgrade, allowed clear or not
    mail->setAllowClearText(true);
    mail->setTlsBefore(true);
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(lastError(), int(MailError::TlsRequired));
    QVERIFY2(lastErrorText().contains(u"logged on with TLS before"), qPrintable(lastErrorText()));
    QCOMPARE(server->commands(), (QList<QByteArray>{"CAPA", "CAPA"}));
}

void tst_mMail::requestsOutsideASessionAreErrors()
{
    mail->setMessageNumber(1);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(lastError(), int(MailError::NotConnected));
    mail->DeleteMessage();
    QTRY_COMPARE(errors->size(), 2);
    QCOMPARE(lastError(), int(MailError::NotConnected));
    mail->Quit(); // nothing to close: nothing to report
    QVERIFY(logOn());
    mail->setMessageNumber(3);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(lastError(), int(MailError::NoSuchMessage));
    mail->setMessageNumber(0);
    QVERIFY(request([this] { mail->RetrieveHeader(); }));
    QCOMPARE(lastError(), int(MailError::NoSuchMessage));
    QCOMPARE(errors->size(), 4);
}

void tst_mMail::refusedConnectionAndBadHostText()
{
    const QString host = server->host();
    server.reset(); // nothing listens there now
    mail->setHost(host);
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(lastError(), int(MailError::ConnectionRefused));
    QVERIFY(lastErrorText().contains(host));

    mail->setHost(QStringLiteral("imap://mail.example.org"));
    QVERIFY(request([this] { mail->LogOn(); }));
    QCOMPARE(lastError(), int(MailError::InvalidHost));
    QCOMPARE(errors->size(), 2);
}

QTEST_GUILESS_MAIN(tst_mMail)
#include "tst_mmail.moc"
