#include "settings/inidocument.h"

#include <QTest>

class tst_IniDocument : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void valuesRoundTripExactly_data();
    void valuesRoundTripExactly();
    void plainValuesAreWrittenAsTheyStand();
    void namesAreCaseInsensitiveAndKeepFirstSpelling();
    void malformedTextIsRefused_data();
    void malformedTextIsRefused();
    void acceptsCommentsBlankLinesAndCrlf();
};

void tst_IniDocument::valuesRoundTripExactly_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("empty") << QString();
    QTest::newRow("password with symbols") << QStringLiteral("p@ss=w;rd#[x]\\\"");
    QTest::newRow("surrounding blanks") << QStringLiteral("  spaced  ");
    QTest::newRow("leading quote") << QStringLiteral("\"quoted\"");
    QTest::newRow("line breaks") << QStringLiteral("one\r\ntwo\nthree");
    QTest::newRow("control chars") << QStringLiteral("a\tb") + QChar(0x01) + QChar(0x7f);
    QTest::newRow("unicode") << QStringLiteral("Grüße – 日本");
    QTest::newRow("windows path") << QStringLiteral("C:\\Program Files\\mail.exe /check");
}

void tst_IniDocument::valuesRoundTripExactly()
{
    QFETCH(QString, value);
    IniDocument doc;
    doc.setValue(QStringLiteral("Section"), QStringLiteral("Key"), value);
    const auto reread = IniDocument::parse(doc.serialize());
    QVERIFY(reread);
    QCOMPARE(reread->value(QStringLiteral("Section"), QStringLiteral("Key")), value);
}

void tst_IniDocument::plainValuesAreWrittenAsTheyStand()
{
    IniDocument doc;
    doc.setValue(
        QStringLiteral("Password"), QStringLiteral("Password"), QStringLiteral("s3cr=t \"x\""));
    doc.setValue(
        QStringLiteral("Programs"), QStringLiteral("1"), QStringLiteral("/usr/bin/xterm -e mutt"));
    QCOMPARE(doc.serialize(),
        QByteArray("[Password]\nPassword=s3cr=t \"x\"\n\n[Programs]\n1=/usr/bin/xterm -e mutt\n"));
}

void tst_IniDocument::namesAreCaseInsensitiveAndKeepFirstSpelling()
{
    IniDocument doc;
    QVERIFY(doc.setValue(QStringLiteral("MailSlot"), QStringLiteral("Slot"), QStringLiteral("2")));
    QVERIFY(doc.setValue(QStringLiteral("MAILSLOT"), QStringLiteral("slot"), QStringLiteral("3")));
    QVERIFY(!doc.setValue(QStringLiteral("mailslot"), QStringLiteral("SLOT"), QStringLiteral("3")));
    QCOMPARE(doc.value(QStringLiteral("mailSlot"), QStringLiteral("sLoT")), QStringLiteral("3"));
    QCOMPARE(doc.sectionCount(), 1);
    QCOMPARE(doc.serialize(), QByteArray("[MailSlot]\nSlot=3\n"));
    // A different section with the same key is another value.
    QCOMPARE(doc.value(QStringLiteral("Slot"), QStringLiteral("Slot")), std::nullopt);
}

void tst_IniDocument::malformedTextIsRefused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("binary") << QByteArray("[A]\nB=\0\x01\x02", 8);
    QTest::newRow("not utf-8") << QByteArray("[A]\nB=\xff\xfe\n");
    QTest::newRow("key before section") << QByteArray("B=1\n[A]\n");
    QTest::newRow("stray line") << QByteArray("[A]\njust words\n");
    QTest::newRow("open section") << QByteArray("[A\nB=1\n");
    QTest::newRow("bad escape") << QByteArray("[A]\nB=\"a\\qb\"\n");
    QTest::newRow("truncated hex escape") << QByteArray("[A]\nB=\"a\\x4\"\n");
}

void tst_IniDocument::malformedTextIsRefused()
{
    QFETCH(QByteArray, text);
    IniDocument::ParseError error;
    QVERIFY(!IniDocument::parse(text, &error));
    QVERIFY(!error.reason.isEmpty());
}

void tst_IniDocument::acceptsCommentsBlankLinesAndCrlf()
{
    const auto doc
        = IniDocument::parse("; written by hand\r\n\r\n[A]\r\nB=1\r\n# note\r\nC = two\r\n");
    QVERIFY(doc);
    QCOMPARE(doc->value(QStringLiteral("a"), QStringLiteral("b")), QStringLiteral("1"));
    QCOMPARE(doc->value(QStringLiteral("A"), QStringLiteral("C")), QStringLiteral(" two"));
}

QTEST_GUILESS_MAIN(tst_IniDocument)
#include "tst_inidocument.moc"
