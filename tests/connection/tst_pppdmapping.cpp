#include "connection/dialupservice.h"
#include "connection/pppdmapping.h"

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
    QVERIFY(args.contains(QStringLiteral("nodetach")));
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

QTEST_GUILESS_MAIN(tst_PppdMapping)
#include "tst_pppdmapping.moc"
