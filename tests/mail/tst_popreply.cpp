#include "mail/popreply.h"

#include <QTest>

class tst_PopReply : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusLines_data();
    void statusLines();
    void apopTimestampOnlyWhenWellFormed();
    void capabilitiesWithAndWithoutCapa();
    void multiLineUndoesDotStuffingAndStopsAtTheLoneDot();
    void headerOnlyKeepsTheHeaderAndReadsPastTheBody();
    void oversizedReplyIsReadToItsEndAndFlagged();
};

void tst_PopReply::statusLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("ok") << QByteArray("+OK 2 320") << true << true << QByteArray()
                        << QByteArray("2 320");
    QTest::newRow("bare ok") << QByteArray("+OK") << true << true << QByteArray() << QByteArray();
    QTest::newRow("err") << QByteArray("-ERR no such message") << true << false << QByteArray()
                         << QByteArray("no such message");
    QTest::newRow("auth code") << QByteArray("-ERR [AUTH] Authentication failed.") << true << false
                               << QByteArray("AUTH") << QByteArray("Authentication failed.");
    QTest::newRow("in-use") << QByteArray("-ERR [in-use] mailbox locked") << true << false
                            << QByteArray("IN-USE") << QByteArray("mailbox locked");
    QTest::newRow("hierarchical code") << QByteArray("-ERR [SYS/TEMP] try later") << true << false
                                       << QByteArray("SYS/TEMP") << QByteArray("try later");
    QTest::newRow("unclosed bracket") << QByteArray("-ERR [LOGIN-DELAY") << true << false
                                      << QByteArray() << QByteArray("[LOGIN-DELAY");
    QTest::newRow("glued word") << QByteArray("+OKAY") << false << false << QByteArray()
                                << QByteArray();
    QTest::newRow("challenge") << QByteArray("+ ") << false << false << QByteArray()
                               << QByteArray();
    QTest::newRow("http") << QByteArray("HTTP/1.1 400 Bad Request") << false << false
                          << QByteArray() << QByteArray();
    QTest::newRow("empty") << QByteArray() << false << false << QByteArray() << QByteArray();
}

void tst_PopReply::statusLines()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, valid);
    const auto status = parseStatusLine(line);
    QCOMPARE(status.has_value(), valid);
    if (!valid)
        return;
    QTEST(status->ok, "ok");
    QTEST(status->code, "code");
    QTEST(status->text, "text");
}

void tst_PopReply::apopTimestampOnlyWhenWellFormed()
{
    QCOMPARE(apopTimestamp("POP3 server ready <1896.697170952@dbc.mtview.ca.us>"),
        QByteArray("<1896.697170952@dbc.mtview.ca.us>"));
    QCOMPARE(apopTimestamp("Dovecot ready."), QByteArray());
    QCOMPARE(apopTimestamp("ready <no-at-sign>"), QByteArray());
    QCOMPARE(apopTimestamp("ready <unclosed@x"), QByteArray());
    QCOMPARE(apopTimestamp("ready <with space@x>"), QByteArray());
}

void tst_PopReply::capabilitiesWithAndWithoutCapa()
{
    const PopCapabilities none;
    QVERIFY(none.top && none.user && !none.pipelining && !none.stls && !none.listed);

    const auto caps = parseCapabilities(
        {"TOP", "user", "SASL PLAIN login", "PIPELINING", "STLS", "UIDL", "IMPLEMENTATION x"});
    QVERIFY(caps.listed && caps.top && caps.user && caps.pipelining && caps.stls);
    QVERIFY(caps.offersSasl("plain") && caps.offersSasl("LOGIN") && !caps.offersSasl("CRAM-MD5"));

    const auto bare = parseCapabilities({"UIDL"});
    QVERIFY(bare.listed && !bare.top && !bare.user && !bare.pipelining);
}

void tst_PopReply::multiLineUndoesDotStuffingAndStopsAtTheLoneDot()
{
    MultiLineCollector reply(MultiLineCollector::Mode::AllLines, 1000);
    for (const char *line : {"first", "..", "...dots", ".x", ""})
        QVERIFY(!reply.add(line));
    QVERIFY(reply.add("."));
    QVERIFY(reply.complete() && !reply.overflowed());
    QCOMPARE(reply.lines(), (QList<QByteArray>{"first", ".", "..dots", "x", ""}));
    QVERIFY(reply.add("after the end is ignored"));
    QCOMPARE(reply.lines().size(), 5);
}

void tst_PopReply::headerOnlyKeepsTheHeaderAndReadsPastTheBody()
{
    MultiLineCollector reply(MultiLineCollector::Mode::HeaderOnly, 1000);
    for (const char *line : {"Subject: hi", " folded", "", "body line", "..", ""})
        QVERIFY(!reply.add(line));
    reply.addDropped(); // an overlong body line is no fault
    QVERIFY(reply.add("."));
    QVERIFY(!reply.overflowed());
    QCOMPARE(reply.lines(), (QList<QByteArray>{"Subject: hi", " folded"}));
}

void tst_PopReply::oversizedReplyIsReadToItsEndAndFlagged()
{
    MultiLineCollector big(MultiLineCollector::Mode::HeaderOnly, 100);
    for (int i = 0; i < 50; ++i)
        QVERIFY(!big.add("X-Filler: 0123456789"));
    QVERIFY(big.add("."));
    QVERIFY(big.overflowed());
    QVERIFY(big.lines().isEmpty());

    MultiLineCollector dropped(MultiLineCollector::Mode::AllLines, 100);
    dropped.add("kept");
    dropped.addDropped();
    dropped.add("more");
    QVERIFY(dropped.add("."));
    QVERIFY(dropped.overflowed());
    QVERIFY(dropped.lines().isEmpty());
}

QTEST_GUILESS_MAIN(tst_PopReply)
#include "tst_popreply.moc"
