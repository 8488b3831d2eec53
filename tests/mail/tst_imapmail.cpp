// The IMAP mail control against a scripted server on loopback: what Dovecot does not do
// (LOGINDISABLED, no SASL-IR, greetings that turn away, broken and missing answers).

#include "clock/virtualclock.h"
#include "mail/imapmail.h"
#include "mail/mailerror.h"
#include "mailspies.h"

#include <QHash>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Answers each command by its first word; "%t" in an answer stands for the command's tag.
// Lines that follow a continuation request are answered by the "" entry.
class ScriptedImapServer : public QObject
{
public:
    explicit ScriptedImapServer(QByteArray greeting)
        : m_greeting(std::move(greeting))
    {
        // The log-on's listing of the UIDs, after SELECT.
        answers["UID"] = "* SEARCH 1 2\r\n%t OK done\r\n";
        m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            connect(m_client, &QTcpSocket::readyRead, this, &ScriptedImapServer::read);
            m_client->write(m_greeting);
        });
    }

    QString host() const
    {
        return QStringLiteral("imap://127.0.0.1:%1").arg(m_server.serverPort());
    }
    QHash<QByteArray, QByteArray> answers;
    QList<QByteArray> received;
    QTcpSocket *client() const { return m_client; }

private:
    void read()
    {
        while (m_client->canReadLine()) {
            const QByteArray line = m_client->readLine().trimmed();
            received << line;
            const QList<QByteArray> words = line.split(' ');
            const QByteArray command = words.size() > 1 ? words.at(1).toUpper() : QByteArray();
            const QByteArray answer = answers.value(answers.contains(command) ? command : "");
            m_client->write(QByteArray(answer).replace("%t", words.at(0)));
        }
    }

    QByteArray m_greeting;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
};

} // namespace

class tst_ImapMail : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void loginDisabledOrPreauthWithoutTlsSendNothing();
    void plainWithoutSaslIrAnswersTheContinuation();
    void greetingThatTurnsAwayIsALogOnError();
    void somethingThatIsNotImapIsAProtocolError();
    void alertsAndTheServersOwnWordsReachTheUser();
    void silenceTimesOutOnTheClock();
    void slowEndlessResponseFailsAtTheDeadline();
    void endlessOtherResponsesFailTheCommandAtTheTimeOut_data();
    void endlessOtherResponsesFailTheCommandAtTheTimeOut();
    void endlessSearchIsCutOffAtTheLimit();
    void fetchRefusedFailsEachHeaderAndDeletionNeedsAListing();
    void aDeletionBatchIsOneStoreAndOneExpunge();

private:
    bool request(const std::function<void()> &action) { return spies->request(action); }
    void logOn(ScriptedImapServer &server);
    int lastError() const { return spies->lastError(); }
    QString lastErrorText() const { return spies->lastErrorText(); }

    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<ImapMail> mail;
    std::unique_ptr<MailSpies<ImapMail>> spies;
};

const QByteArray kSelect = "* 2 EXISTS\r\n* OK [UIDVALIDITY 1] ok\r\n%t OK [READ-WRITE] done\r\n";

void tst_ImapMail::init()
{
    clock = std::make_unique<VirtualClock>();
    mail = std::make_unique<ImapMail>(*clock);
    // The script answers by a command's first word: listing all messages keeps their FETCH
    // (by number) apart from the UID SEARCHes.
    mail->setUnreadOnly(false);
    mail->setUserName(QStringLiteral("ann"));
    mail->setPassword(QStringLiteral("sesame open"));
    spies = std::make_unique<MailSpies<ImapMail>>(*mail);
}

void tst_ImapMail::cleanup()
{
    spies.reset();
    mail.reset();
    clock.reset();
}

void tst_ImapMail::logOn(ScriptedImapServer &server)
{
    mail->setHost(server.host());
    QVERIFY(request([this] { mail->LogOn(); }));
}

void tst_ImapMail::loginDisabledOrPreauthWithoutTlsSendNothing()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1 LOGINDISABLED] ready\r\n");
    logOn(server);
    QCOMPARE(lastError(), int(MailError::TlsRequired));
    QVERIFY(lastErrorText().contains(u"LOGINDISABLED"));
    QVERIFY(server.received.isEmpty());
    ScriptedImapServer preauth("* PREAUTH [CAPABILITY IMAP4rev1] welcome back\r\n");
    mail->setRequireTls(true);
    logOn(preauth);
    QCOMPARE(lastError(), int(MailError::TlsRequired));
    QVERIFY2(lastErrorText().contains(u"PREAUTH"), qPrintable(lastErrorText()));
    QVERIFY(preauth.received.isEmpty());
}

void tst_ImapMail::plainWithoutSaslIrAnswersTheContinuation()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1 AUTH=PLAIN] ready\r\n");
    server.answers["AUTHENTICATE"] = "+ \r\n";
    server.answers[""] = "b1 OK [CAPABILITY IMAP4rev1 IDLE] in\r\n";
    server.answers["SELECT"] = kSelect;
    logOn(server);
    QCOMPARE(spies->errors.size(), 0);
    QCOMPARE(mail->MessageCount(), 2);
    QCOMPARE(server.received.value(0), QByteArray("b1 AUTHENTICATE PLAIN"));
    QCOMPARE(
        QByteArray::fromBase64(server.received.value(1)), QByteArray("\0ann\0sesame open", 16));
}

void tst_ImapMail::greetingThatTurnsAwayIsALogOnError()
{
    ScriptedImapServer server("* BYE [UNAVAILABLE] too busy\r\n");
    logOn(server);
    QCOMPARE(lastError(), int(MailError::LogOnRefused));
    QVERIFY(lastErrorText().contains(u"[UNAVAILABLE] too busy"));
}

void tst_ImapMail::somethingThatIsNotImapIsAProtocolError()
{
    ScriptedImapServer server("+OK POP3 ready\r\n");
    logOn(server);
    QCOMPARE(lastError(), int(MailError::ProtocolError));
    ScriptedImapServer broken("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    broken.answers["LOGIN"] = "* 1 FETCH (UID 1\r\n";
    logOn(broken);
    QCOMPARE(lastError(), int(MailError::ProtocolError));
    QVERIFY2(lastErrorText().contains(u"not an IMAP response"), qPrintable(lastErrorText()));
}

// What Courier showed: an [ALERT] that refuses nothing goes out on its own, TLS where the
// greeting belongs fails at once, words after agreeing to STARTTLS are kept.
void tst_ImapMail::alertsAndTheServersOwnWordsReachTheUser()
{
    QSignalSpy alerts(mail.get(), &ImapMail::Alert);
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    server.answers["LOGIN"] = "* OK [ALERT] Filesystem notification error\r\n"
                              "%t OK [ALERT] Password expires soon\r\n";
    server.answers["CAPABILITY"] = "* CAPABILITY IMAP4rev1\r\n%t OK done\r\n";
    server.answers["SELECT"] = kSelect;
    logOn(server);
    server.answers["LOGIN"] = "%t NO [ALERT] Account locked\r\n";
    logOn(server);
    QCOMPARE(alerts.size(), 2);
    QCOMPARE(alerts.at(0).at(0).toString(), QStringLiteral("Filesystem notification error"));
    QCOMPARE(alerts.at(1).at(0).toString(), QStringLiteral("Password expires soon"));
    QVERIFY(lastErrorText().endsWith(u"[ALERT] Account locked"));

    ScriptedImapServer tls(QByteArray("\x16\x03\x03\x00\x01\x00", 6));
    logOn(tls);
    QCOMPARE(
        lastErrorText(), tls.host().mid(7) + QStringLiteral(" speaks TLS at once: use imaps://"));

    ScriptedImapServer courier("* OK [CAPABILITY IMAP4rev1 STARTTLS] ready\r\n");
    courier.answers["STARTTLS"]
        = "%t OK Begin\r\n%t NO STARTTLS failed: 500 Error starting tls.\r\n";
    logOn(courier);
    QVERIFY(lastErrorText().endsWith(u"STARTTLS: STARTTLS failed: 500 Error starting tls."));
}

void tst_ImapMail::silenceTimesOutOnTheClock()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    mail->setTimeOut(30);
    mail->setHost(server.host());
    mail->LogOn();
    QTRY_COMPARE(server.received.size(), 2); // LOGIN and SELECT sent, never answered
    clock->advance(29000);
    QTest::qWait(20);
    QCOMPARE(spies->errors.size(), 0);
    clock->advance(1000);
    QTRY_COMPARE(spies->errors.size(), 1);
    QCOMPARE(lastError(), int(MailError::TimedOut));
    // Silence where the greeting belongs is what a port that speaks TLS at once gives.
    ScriptedImapServer silent("");
    mail->setHost(silent.host());
    mail->LogOn();
    clock->advance(30000);
    QTRY_COMPARE(spies->errors.size(), 2);
    QVERIFY(lastErrorText().endsWith(u"within 30 seconds; if it speaks TLS at once, use imaps://"));
}

// A response that trickles in forever never leaves the idle time-out a minute without data;
// the deadline ends it all the same.
void tst_ImapMail::slowEndlessResponseFailsAtTheDeadline()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    server.answers["LOGIN"] = "%t OK [CAPABILITY IMAP4rev1] in\r\n";
    server.answers["SELECT"] = kSelect;
    server.answers["FETCH"] = "* 1 FETCH (BODY[HEADER] {500000}\r\n";
    logOn(server);
    mail->setMessageNumber(1);
    mail->RetrieveHeader();
    QTRY_VERIFY(!server.received.isEmpty() && server.received.last().contains("FETCH"));
    QTimer trickle;
    connect(&trickle, &QTimer::timeout, server.client(), [&] { server.client()->write("x"); });
    trickle.start(5);
    for (int seconds = 0; seconds < 300 - 30; seconds += 30) {
        clock->advance(30000);
        QTest::qWait(100); // data comes in meanwhile: the idle time-out starts again
        QVERIFY2(spies->errors.isEmpty(), qPrintable(lastErrorText()));
    }
    clock->advance(30000);
    QTRY_COMPARE(spies->errors.size(), 1);
    QCOMPARE(lastError(), int(MailError::TimedOut));
    QVERIFY2(lastErrorText().contains(u"300 seconds"), qPrintable(lastErrorText()));
}

// A FETCH answered only with untagged responses about something else, sent on and on: the
// data keeps the idle time-out and the deadline going, but the command ends at the time-out.
// Dripped a byte at a time, so that one is always half in, they fail at the next one's end.
void tst_ImapMail::endlessOtherResponsesFailTheCommandAtTheTimeOut_data()
{
    QTest::addColumn<int>("bytesEachTime");
    QTest::newRow("whole responses") << 850;
    QTest::newRow("a byte at a time") << 1;
}

void tst_ImapMail::endlessOtherResponsesFailTheCommandAtTheTimeOut()
{
    QFETCH(int, bytesEachTime);
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    server.answers["LOGIN"] = "%t OK [CAPABILITY IMAP4rev1] in\r\n";
    server.answers["SELECT"] = kSelect;
    server.answers["FETCH"] = "* 1 FETCH (FLAGS (\\Seen))\r\n";
    logOn(server);
    mail->setMessageNumber(1);
    mail->RetrieveHeader();
    QTRY_VERIFY(!server.received.isEmpty() && server.received.last().contains("FETCH"));
    const QByteArray talking = QByteArray("* OK still here\r\n").repeated(50);
    qsizetype at = 0;
    QTimer talk;
    connect(&talk, &QTimer::timeout, server.client(), [&] {
        server.client()->write(talking.mid(at, bytesEachTime));
        at = (at + bytesEachTime) % talking.size();
    });
    talk.start(5);
    for (int seconds = 0; seconds < 60 - 10; seconds += 10) {
        clock->advance(10000);
        QTest::qWait(60);
        QVERIFY2(spies->errors.isEmpty(), qPrintable(lastErrorText()));
    }
    clock->advance(9999);
    QTest::qWait(60);
    QCOMPARE(spies->errors.size(), 0);
    clock->advance(1);
    QTRY_COMPARE(spies->errors.size(), 1);
    QCOMPARE(lastError(), int(MailError::TimedOut));
    QVERIFY2(lastErrorText().contains(u"did not complete the command within 60 seconds"),
        qPrintable(lastErrorText()));
    QVERIFY(!mail->isLoggedOn());
}

// The UIDs of the log-on's listing without end, as fast as loopback takes them: each response
// is progress, so only the limit over everything between two tagged replies ends it.
void tst_ImapMail::endlessSearchIsCutOffAtTheLimit()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    server.answers["LOGIN"] = "%t OK [CAPABILITY IMAP4rev1] in\r\n";
    server.answers["SELECT"] = kSelect;
    server.answers["UID"] = "";
    const QByteArray search = "* SEARCH" + QByteArray(" 1 2 3 4 5 6 7 8 9").repeated(400) + "\r\n";
    QTimer flood;
    connect(&flood, &QTimer::timeout, this, [&] {
        if (server.client()->bytesToWrite() < 1 << 20)
            server.client()->write(search.repeated(16));
    });
    mail->setHost(server.host());
    mail->LogOn();
    QTRY_VERIFY(!server.received.isEmpty() && server.received.last().contains("UID SEARCH"));
    flood.start(0);
    QTRY_COMPARE_WITH_TIMEOUT(spies->errors.size(), 1, 20000);
    QCOMPARE(lastError(), int(MailError::ResponseTooLarge));
    QVERIFY2(
        lastErrorText().contains(u"more than 16 MB of responses"), qPrintable(lastErrorText()));
}

void tst_ImapMail::fetchRefusedFailsEachHeaderAndDeletionNeedsAListing()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    server.answers["LOGIN"] = "%t OK [CAPABILITY IMAP4rev1 UIDPLUS] in\r\n";
    server.answers["SELECT"] = kSelect;
    server.answers["FETCH"] = "%t NO [SERVERBUG] cannot\r\n";
    server.answers["LOGOUT"] = "* BYE bye\r\n%t OK done\r\n";
    logOn(server);
    QVERIFY(server.received.value(0).startsWith("b1 LOGIN \"ann\" \"sesame open\""));
    for (qint16 number : {1, 2}) {
        mail->setMessageNumber(number);
        QVERIFY(request([this] { mail->RetrieveHeader(); }));
        QCOMPARE(lastError(), int(MailError::ServerError));
        QVERIFY(lastErrorText().contains(u"[SERVERBUG]"));
    }
    QCOMPARE(spies->errors.size(), 2); // one FETCH for both
    mail->setMessageNumber(1);
    mail->DeleteMessage();
    QTRY_COMPARE(spies->errors.size(), 3);
    QCOMPARE(lastError(), int(MailError::NoSuchMessage));
    QVERIFY(request([this] { mail->Quit(); }));
    QCOMPARE(spies->done.size(), 2);
    QVERIFY(!server.received.last().contains("EXPUNGE"));
}

void tst_ImapMail::aDeletionBatchIsOneStoreAndOneExpunge()
{
    ScriptedImapServer server("* OK [CAPABILITY IMAP4rev1] ready\r\n");
    server.answers["LOGIN"] = "%t OK [CAPABILITY IMAP4rev1 UIDPLUS] in\r\n";
    server.answers["SELECT"] = kSelect;
    server.answers["LOGOUT"] = "* BYE bye\r\n%t OK done\r\n";
    logOn(server);
    QSignalSpy progress(mail.get(), &ImapMail::DeletionProgress);
    mail->DeleteListed({2, 1});
    QVERIFY(mail->deletionsUnderWay());
    QTRY_COMPARE(progress.size(), 1);
    QCOMPARE(progress.first(), QVariantList({2, 2}));
    QVERIFY(!mail->deletionsUnderWay() && mail->isDeleted(1) && mail->isDeleted(2));
    QVERIFY(request([this] { mail->Quit(); }));
    QList<QByteArray> sent;
    for (const QByteArray &line : std::as_const(server.received)) {
        if (line.contains("STORE") || line.contains("EXPUNGE"))
            sent << line.mid(line.indexOf(' ') + 1);
    }
    QCOMPARE(
        sent, QList<QByteArray>({"UID STORE 1:2 +FLAGS.SILENT (\\Deleted)", "UID EXPUNGE 1:2"}));
    QCOMPARE(spies->errors.size(), 0);
}

QTEST_GUILESS_MAIN(tst_ImapMail)
#include "tst_imapmail.moc"
