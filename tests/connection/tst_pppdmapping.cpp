#include "connection/dialupservice.h"
#include "connection/pppdmapping.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace PppdMapping;

// What is written for pppd and chat, and how their output is read.
class tst_PppdMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void quotingSurvivesEveryCharacter_data();
    void quotingSurvivesEveryCharacter();
    void logonArgumentsNameTheFilesOnly();
    void busyIsToldFromOtherFailures();
    void connectLineTellsWhereChatReportsBusy_data();
    void connectLineTellsWhereChatReportsBusy();
};

void tst_PppdMapping::quotingSurvivesEveryCharacter_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QStringLiteral("secret") << QStringLiteral("\"secret\"");
    QTest::newRow("blank") << QStringLiteral("two words") << QStringLiteral("\"two words\"");
    QTest::newRow("quote") << QStringLiteral("a\"b") << QStringLiteral("\"a\\\"b\"");
    QTest::newRow("backslash") << QStringLiteral("a\\b") << QStringLiteral("\"a\\\\b\"");
    QTest::newRow("newline") << QStringLiteral("a\nb") << QStringLiteral("\"a\\012b\"");
    QTest::newRow("empty") << QString() << QStringLiteral("\"\"");
}

void tst_PppdMapping::quotingSurvivesEveryCharacter()
{
    QFETCH(QString, word);
    QFETCH(QString, expected);
    QCOMPARE(quoted(word), expected);
}

void tst_PppdMapping::logonArgumentsNameTheFilesOnly()
{
    DialRequest request;
    request.useLogon = true;
    request.logonName = QStringLiteral("user");
    request.logonPassword = QStringLiteral("pa ss");
    QCOMPARE(secretOptions(request), QStringLiteral("user \"user\"\npassword \"pa ss\"\n"));
    const QStringList args
        = logonArguments(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/tmp/x/options"),
            QStringLiteral("/usr/sbin/chat"), QStringLiteral("/tmp/it's/chat"));
    QCOMPARE(args.first(), QStringLiteral("/dev/ttyUSB0"));
    QVERIFY(args.contains(QStringLiteral("updetach")));
    QCOMPARE(args.at(args.indexOf(QStringLiteral("linkname")) + 1), QStringLiteral("brisvane"));
    QCOMPARE(args.at(args.indexOf(QStringLiteral("file")) + 1), QStringLiteral("/tmp/x/options"));
    // pppd hands the connect command to the shell: the quote in the path is escaped for it.
    QCOMPARE(args.last(), QStringLiteral("'/usr/sbin/chat' -s -v -f '/tmp/it'\\''s/chat'"));
    QVERIFY(
        chatScript(QStringLiteral("555 0100")).contains(QStringLiteral("OK \"ATDT555 0100\"\n")));
}

void tst_PppdMapping::busyIsToldFromOtherFailures()
{
    QVERIFY(showsBusy(QStringLiteral("Failed (BUSY)")));
    QVERIFY(showsBusy(QStringLiteral("abort on (BUSY)")));
    QVERIFY(!showsBusy(QStringLiteral("Failed (NO CARRIER)")));
    QCOMPARE(stepForLine(QStringLiteral("remote IP address 10.0.0.1"))->code, DialState::Connected);
    QVERIFY(!stepForLine(QStringLiteral("Connect script failed")));
    QCOMPARE(exitMeaning(16), QStringLiteral("the modem hung up"));
}

void tst_PppdMapping::connectLineTellsWhereChatReportsBusy_data()
{
    QTest::addColumn<QByteArray>("peer");
    QTest::addColumn<bool>("shown");
    QTest::addColumn<QString>("report");
    QTest::addColumn<bool>("canTell");
    QTest::newRow("chat -v logs to syslog only")
        << QByteArray("connect \"/usr/sbin/chat -v -f /etc/chatscripts/provider\"\n") << false
        << QString() << false;
    QTest::newRow("-s") << QByteArray("connect \"/usr/sbin/chat -s -v -f /etc/x\"") << true
                        << QString() << true;
    QTest::newRow("-ve together, single quotes")
        << QByteArray("connect '/usr/sbin/chat -ve -f /etc/x'") << true << QString() << true;
    QTest::newRow("-r with a quoted path, last connect line counts")
        << QByteArray("connect \"chat -s\"\nconnect \"chat -v -r '/var/log/chat report' -f x\"")
        << false << QStringLiteral("/var/log/chat report") << true;
    QTest::newRow("-f's value is no flag")
        << QByteArray("connect \"chat -f /etc/sec\"") << false << QString() << false;
    QTest::newRow("not chat") << QByteArray("connect /usr/local/bin/dialer") << false << QString()
                              << false;
    QTest::newRow("no connect line (PPPoE)")
        << QByteArray("plugin rp-pppoe.so eth0\n") << false << QString() << true;
}

void tst_PppdMapping::connectLineTellsWhereChatReportsBusy()
{
    QFETCH(QByteArray, peer);
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("isp")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("/dev/ttyS0\n115200\n" + peer);
    file.close();
    const BusyReporting reporting = busyReporting(file.fileName());
    QTEST(reporting.chatOutputShown, "shown");
    QTEST(reporting.reportFile, "report");
    QTEST(reporting.canTell(), "canTell");
}

QTEST_GUILESS_MAIN(tst_PppdMapping)
#include "tst_pppdmapping.moc"
