#include "mail/headerfields.h"

#include <QTest>

class tst_HeaderFields : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void unfoldsAndDecodesTheThreeFields();
    void firstOccurrenceCountsAndOtherFieldsAreIgnored();
    void valuesBecomeOneLineWithoutTabs();
    void missingFieldsAreEmptyAndTheBodyIsNotRead();
    void longValuesAreCut();
};

void tst_HeaderFields::unfoldsAndDecodesTheThreeFields()
{
    const HeaderFields fields = parseHeaderFields({
        "Received: from x by y;",
        "\tMon, 7 Dec 2026 10:00:00 +0000",
        "from: =?utf-8?B?SsO2cmc=?=",
        " <j@x.org>",
        "SUBJECT : =?iso-8859-1?Q?Gr=FC=DFe?=",
        "\t=?iso-8859-1?Q?_aus_K=F6ln?=",
        "Date: Mon, 7 Dec 2026",
        "  10:00:00 +0000",
    });
    QCOMPARE(fields.from, QStringLiteral("Jörg <j@x.org>"));
    QCOMPARE(fields.subject, QStringLiteral("Grüße aus Köln"));
    QCOMPARE(fields.date, QStringLiteral("Mon, 7 Dec 2026 10:00:00 +0000"));
}

void tst_HeaderFields::firstOccurrenceCountsAndOtherFieldsAreIgnored()
{
    const HeaderFields fields = parseHeaderFields({
        "From nobody Mon Dec  7 10:00:00 2026", // mbox separator, no colon after the name
        "X-From: not this",
        "Subject: first",
        "Subject: second",
        "Resent-Date: not this either",
        "no colon line",
        "Date: today",
    });
    QCOMPARE(fields.from, QString());
    QCOMPARE(fields.subject, QStringLiteral("first"));
    QCOMPARE(fields.date, QStringLiteral("today"));
}

void tst_HeaderFields::valuesBecomeOneLineWithoutTabs()
{
    const HeaderFields fields = parseHeaderFields({
        "Subject: a\tb  c\x01"
        "d =?utf-8?q?e=09f=0Ag?=",
        "From: \xe9t\xe9 <x@y>",
    });
    QCOMPARE(fields.subject, QStringLiteral("a b c d e f g"));
    QCOMPARE(fields.from, QStringLiteral("été <x@y>"));
}

void tst_HeaderFields::missingFieldsAreEmptyAndTheBodyIsNotRead()
{
    const HeaderFields fields = parseHeaderFields({"X-Only: one", "", "Subject: in the body"});
    QCOMPARE(fields.subject, QString());
    QCOMPARE(parseHeaderFields({}).from, QString());
}

void tst_HeaderFields::longValuesAreCut()
{
    QList<QByteArray> lines{"Subject: start"};
    for (int i = 0; i < 10000; ++i)
        lines << " continued";
    lines << "From: " + QByteArray(60, 'f') << "Date: " + QByteArray(50, 'd');
    const HeaderFields fields = parseHeaderFields(lines, 50);
    QCOMPARE(fields.subject.size(), 50);
    QVERIFY(fields.subject.startsWith(u"start continued"));
    QCOMPARE(fields.from, QString(49, u'f') + u'…');
    QCOMPARE(fields.date, QString(50, u'd'));
    QVERIFY(fields.subject.endsWith(u'…'));
    const QList<QByteArray> spaced{"Subject: a", QByteArray(400, ' ') + 'b', " c"};
    QCOMPARE(parseHeaderFields(spaced, 50).subject, QStringLiteral("a b…"));
}

QTEST_GUILESS_MAIN(tst_HeaderFields)
#include "tst_headerfields.moc"
