#include "mail/encodedwords.h"

#include <QTest>

#include <ctime>

class tst_EncodedWords : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodes_data();
    void decodes();
    void invalidUtf8IsTakenAsLatin1();
    void craftedHeadersDecodeInLinearTime();
};

void tst_EncodedWords::decodes_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << QByteArray("Hello there") << QStringLiteral("Hello there");
    QTest::newRow("B utf-8") << QByteArray("=?UTF-8?B?SsO2cmc=?= <j@x.org>")
                             << QStringLiteral("Jörg <j@x.org>");
    QTest::newRow("Q latin-1 with underscore")
        << QByteArray("=?iso-8859-1?q?caf=E9_cr=E8me?=") << QStringLiteral("café crème");
    QTest::newRow("lower-case hex")
        << QByteArray("=?utf-8?Q?=c3=a9t=c3=a9?=") << QStringLiteral("été");
    QTest::newRow("space between words dropped")
        << QByteArray("=?utf-8?q?one?= \t =?utf-8?q?_two?=") << QStringLiteral("one two");
    QTest::newRow("text between words kept")
        << QByteArray("=?utf-8?q?a?= and =?utf-8?q?b?=") << QStringLiteral("a and b");
    QTest::newRow("multibyte split across words")
        << QByteArray("=?UTF-8?B?4oK=?= =?utf-8?B?rA==?=") << QStringLiteral("€");
    QTest::newRow("two charsets") << QByteArray("=?iso-8859-2?Q?=B1?= =?koi8-r?B?8tXT?=")
                                  << QStringLiteral("ąРус");
    QTest::newRow("windows-1252") << QByteArray("=?windows-1252?Q?=80_=93quoted=94?=")
                                  << QStringLiteral("€ “quoted”");
    QTest::newRow("shift_jis") << QByteArray("=?Shift_JIS?B?k/qWe4zq?=")
                               << QStringLiteral("日本語");
    QTest::newRow("language tag") << QByteArray("=?utf-8*en?q?hi?=") << QStringLiteral("hi");
    QTest::newRow("base64 without padding")
        << QByteArray("=?utf-8?b?SsO2cmc?=") << QStringLiteral("Jörg");
    QTest::newRow("unknown charset left as is")
        << QByteArray("=?x-nonsense?q?abc?= x") << QStringLiteral("=?x-nonsense?q?abc?= x");
    QTest::newRow("unknown encoding left as is")
        << QByteArray("=?utf-8?x?abc?=") << QStringLiteral("=?utf-8?x?abc?=");
    QTest::newRow("B text that is not base64 left as is")
        << QByteArray("=?UTF-8?B?!!!notbase64?= x") << QStringLiteral("=?UTF-8?B?!!!notbase64?= x");
    QTest::newRow("unterminated") << QByteArray("=?utf-8?q?abc") << QStringLiteral("=?utf-8?q?abc");
    QTest::newRow("space inside is no word")
        << QByteArray("=?utf-8?q?a b?=") << QStringLiteral("=?utf-8?q?a b?=");
    QTest::newRow("bad Q escape kept")
        << QByteArray("=?utf-8?q?100=_=ZZ?=") << QStringLiteral("100= =ZZ");
    QTest::newRow("word ends cached past a rejected word")
        << QByteArray("=?a?Q?x y =?utf-8?q?ok?= =?b?q?z") << QStringLiteral("=?a?Q?x y ok =?b?q?z");
    QTest::newRow("a later word inside an unfinished one")
        << QByteArray("=?utf-8?q?a=?utf-8?q?b?=") << QStringLiteral("a=?utf-8?q?b");
    QTest::newRow("8-bit text beside a word") << QByteArray("Re: =?utf-8?q?caf=C3=A9?= \xc3\xbc"
                                                            "ber")
                                              << QStringLiteral("Re: café über");
}

void tst_EncodedWords::decodes()
{
    QFETCH(QByteArray, raw);
    QTEST(decodeEncodedWords(raw), "text");
}

void tst_EncodedWords::invalidUtf8IsTakenAsLatin1()
{
    QCOMPARE(textFromBytes("caf\xe9"), QStringLiteral("café"));
    QCOMPARE(textFromBytes("caf\xc3\xa9"), QStringLiteral("café"));
    QCOMPARE(textFromBytes("cut \xc3"), QStringLiteral("cut Ã"));
    QCOMPARE(textFromBytes("na\xc3\xafve r\xc3\xa9sum\xc3\xa9 and \xe9t\xe9"),
        QStringLiteral("naïve résumé and été"));
    QCOMPARE(textFromBytes("\xe2\x82 \xe2\x82\xac \xc0\xaf"), QStringLiteral("â\u0082 € À¯"));
    QCOMPARE(decodeEncodedWords("=?utf-8?q?caf=E9?="), QStringLiteral("café"));
}

// Values a hostile server crafts: a 64 KiB first line full of "=?" with no "?=" after them
// (each once sent the search to the end of the value), or words broken by spaces. 128 of
// them, a window of headers read ahead, once cost over a minute of CPU; the bound here is
// loose (bench/mail/bench_hostile_server prints the figures).
void tst_EncodedWords::craftedHeadersDecodeInLinearTime()
{
    const QByteArray noEnd = QByteArray("=?a?Q?x").repeated(64 * 1024 / 7);
    const QByteArray spaced = QByteArray("=?utf-8?q?a b?=").repeated(64 * 1024 / 15);
    const std::clock_t started = std::clock();
    for (int i = 0; i < 128; ++i) {
        const QByteArray &raw = i % 2 ? spaced : noEnd;
        QCOMPARE(decodeEncodedWords(raw).size(), raw.size()); // nothing in them decodes
    }
    const double seconds = double(std::clock() - started) / CLOCKS_PER_SEC;
    QVERIFY2(seconds < 5.0, qPrintable(QStringLiteral("%1 s of CPU").arg(seconds)));
}

QTEST_GUILESS_MAIN(tst_EncodedWords)
#include "tst_encodedwords.moc"
