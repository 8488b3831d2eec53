#include "mail/linereader.h"

#include <QTest>

class tst_LineReader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void splitsOnCrLfAndBareLfAcrossChunks();
    void overlongLineIsReportedOnceAndSkippedToItsEnd();
    void overlongLineWithoutEndNeverGrowsTheBuffer();
};

void tst_LineReader::splitsOnCrLfAndBareLfAcrossChunks()
{
    LineReader reader(100);
    QByteArray line;
    reader.append("+OK ready\r");
    QCOMPARE(reader.next(&line), LineReader::Result::NeedMore);
    reader.append("\nsecond\nthi");
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray("+OK ready"));
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray("second"));
    QCOMPARE(reader.next(&line), LineReader::Result::NeedMore);
    QCOMPARE(reader.pending(), 3);
    reader.append("rd\r\n\r\n");
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray("third"));
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray());
    QCOMPARE(reader.pending(), 0);
}

void tst_LineReader::overlongLineIsReportedOnceAndSkippedToItsEnd()
{
    LineReader reader(8);
    QByteArray line;
    reader.append("short\r\n0123456789abcdef\r\nafter\r\n");
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(reader.next(&line), LineReader::Result::TooLong);
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray("after"));
    // Exactly at the limit is still a line.
    reader.append("12345678\r\n");
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray("12345678"));
}

void tst_LineReader::overlongLineWithoutEndNeverGrowsTheBuffer()
{
    LineReader reader(16);
    QByteArray line;
    reader.append(QByteArray(20, 'x'));
    QCOMPARE(reader.next(&line), LineReader::Result::TooLong);
    for (int i = 0; i < 1000; ++i) {
        reader.append(QByteArray(1000, 'y'));
        QCOMPARE(reader.next(&line), LineReader::Result::NeedMore);
        QCOMPARE(reader.pending(), 0);
    }
    reader.append("tail of the long one\r\nnext\r\n");
    QCOMPARE(reader.next(&line), LineReader::Result::Line);
    QCOMPARE(line, QByteArray("next"));
}

QTEST_GUILESS_MAIN(tst_LineReader)
#include "tst_linereader.moc"
