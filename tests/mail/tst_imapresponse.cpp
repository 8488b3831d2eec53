#include "mail/imapresponse.h"

#include <QRandomGenerator>
#include <QTest>

// The IMAP response reader: what servers send, cut at any byte, and what hostile ones send.
class tst_ImapResponse : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusResponsesWithCodes();
    void fetchWithLiteralsQuotedStringsAndNestedLists();
    void responsesCutAtEveryByteComeOutTheSame();
    void untaggedInAnyOrderAndCapabilities();
    void boundsEndTheReading_data();
    void boundsEndTheReading();
    void malformedResponses_data();
    void malformedResponses();
    void mutatedInputKeepsTheBounds();

private:
    static QList<ImapResponse> readAll(const QByteArray &data, qsizetype chunk = 0);
};

QList<ImapResponse> tst_ImapResponse::readAll(const QByteArray &data, qsizetype chunk)
{
    ImapResponseReader reader;
    QList<ImapResponse> out;
    ImapResponse response;
    const qsizetype step = chunk > 0 ? chunk : qMax<qsizetype>(1, data.size());
    for (qsizetype at = 0; at < data.size(); at += step) {
        reader.append(QByteArrayView(data).sliced(at, qMin(step, data.size() - at)));
        for (;;) {
            const auto result = reader.next(&response);
            if (result == ImapResponseReader::Result::NeedMore)
                break;
            if (result != ImapResponseReader::Result::Response)
                return {};
            out << response;
        }
    }
    return out;
}

const QByteArray kFetch
    = "* 2 FETCH (UID 17 FLAGS (\\Seen $Label1) BODY[HEADER.FIELDS (FROM SUBJECT DATE)] {34}\r\n"
      "Subject: a (paren) and \"quote\"\r\n\r\n)\r\n"
      "* 3 FETCH (BODY[HEADER.FIELDS (FROM SUBJECT DATE)] \"From: \\\"Q\\\" <q@x>\" UID 18)\r\n"
      "* 4 FETCH (UID 19 BODY[HEADER.FIELDS (FROM SUBJECT DATE)] NIL)\r\n"
      "b5 OK Fetch completed.\r\n";

void tst_ImapResponse::statusResponsesWithCodes()
{
    const auto all = readAll("* OK [CAPABILITY IMAP4rev1 STARTTLS AUTH=PLAIN] Dovecot ready.\r\n"
                             "b1 NO [AUTHENTICATIONFAILED] Authentication failed.\r\n"
                             "+ idling\r\n"
                             "* BYE Logging out\n"
                             "b2 BAD\r\n");
    QCOMPARE(all.size(), 5);
    QCOMPARE(all[0].kind, ImapResponse::Kind::Untagged);
    QCOMPARE(all[0].status, QByteArray("OK"));
    QCOMPARE(imapCapabilities(all[0]), (QList<QByteArray>{"IMAP4REV1", "STARTTLS", "AUTH=PLAIN"}));
    QCOMPARE(all[1].kind, ImapResponse::Kind::Tagged);
    QCOMPARE(all[1].tag, QByteArray("b1"));
    QVERIFY(!all[1].ok());
    QCOMPARE(
        imapStatusWords(all[1]), QStringLiteral("[AUTHENTICATIONFAILED] Authentication failed."));
    QCOMPARE(all[2].kind, ImapResponse::Kind::Continuation);
    QCOMPARE(all[2].text, QByteArray("idling"));
    QCOMPARE(all[3].status, QByteArray("BYE"));
    QCOMPARE(all[4].status, QByteArray("BAD"));
    QVERIFY(all[4].text.isEmpty());
}

void tst_ImapResponse::fetchWithLiteralsQuotedStringsAndNestedLists()
{
    const auto all = readAll(kFetch);
    QCOMPARE(all.size(), 4);
    const ImapResponse &first = all[0];
    QCOMPARE(first.number, 2);
    QCOMPARE(first.keyword, QByteArray("FETCH"));
    QCOMPARE(first.data.size(), 1);
    const QList<ImapValue> &items = first.data[0].items;
    QCOMPARE(items.size(), 6);
    QVERIFY(items[0].isAtom("uid"));
    QCOMPARE(items[1].text, QByteArray("17"));
    QCOMPARE(items[3].kind, ImapValue::Kind::List);
    QCOMPARE(items[3].items.size(), 2);
    QCOMPARE(items[3].items[0].text, QByteArray("\\Seen"));
    QCOMPARE(items[4].text, QByteArray("BODY[HEADER.FIELDS (FROM SUBJECT DATE)]"));
    QCOMPARE(items[5].kind, ImapValue::Kind::String);
    QCOMPARE(items[5].text, QByteArray("Subject: a (paren) and \"quote\"\r\n\r\n"));
    QCOMPARE(all[1].data[0].items[1].text, QByteArray("From: \"Q\" <q@x>"));
    QVERIFY(all[2].data[0].items[3].isNil());
    QCOMPARE(all[3].tag, QByteArray("b5"));
}

void tst_ImapResponse::responsesCutAtEveryByteComeOutTheSame()
{
    const auto whole = readAll(kFetch);
    for (qsizetype chunk : {1, 2, 3, 7, 64}) {
        const auto cut = readAll(kFetch, chunk);
        QCOMPARE(cut.size(), whole.size());
        for (qsizetype i = 0; i < whole.size(); ++i) {
            QCOMPARE(cut[i].number, whole[i].number);
            QCOMPARE(cut[i].data.size(), whole[i].data.size());
            if (!whole[i].data.isEmpty())
                QCOMPARE(cut[i].data[0].items.last().text, whole[i].data[0].items.last().text);
        }
    }
}

void tst_ImapResponse::untaggedInAnyOrderAndCapabilities()
{
    const auto all = readAll("* 4 EXISTS\r\n* 1 RECENT\r\n* FLAGS (\\Answered \\Deleted)\r\n"
                             "* CAPABILITY IMAP4rev1 IDLE UIDPLUS\r\n* SEARCH 3 9\r\n"
                             "* 2 EXPUNGE\r\n* ENABLED\r\n");
    QCOMPARE(all.size(), 7);
    QCOMPARE(all[0].keyword, QByteArray("EXISTS"));
    QCOMPARE(all[0].number, 4);
    QCOMPARE(all[1].keyword, QByteArray("RECENT"));
    QCOMPARE(all[2].data[0].items.size(), 2);
    QCOMPARE(imapCapabilities(all[3]), (QList<QByteArray>{"IMAP4REV1", "IDLE", "UIDPLUS"}));
    QCOMPARE(all[4].data.size(), 2);
    QCOMPARE(all[5].keyword, QByteArray("EXPUNGE"));
    QVERIFY(all[6].data.isEmpty());
}

void tst_ImapResponse::boundsEndTheReading_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<int>("expected");
    const int tooLarge = int(ImapResponseReader::Result::TooLarge);
    const int malformed = int(ImapResponseReader::Result::Malformed);
    QTest::newRow("long line") << QByteArray("* OK ") + QByteArray(100, 'x') << tooLarge;
    QTest::newRow("huge literal announced")
        << QByteArray("* 1 FETCH (BODY[] {99999999}\r\n") << tooLarge;
    QTest::newRow("literals adding up") << QByteArray("* 1 FETCH (A {40}\r\n") + QByteArray(40, 'a')
            + " B {40}\r\n" + QByteArray(40, 'b')
            + " C {40}\r\n" << tooLarge;
    QTest::newRow("text after a literal")
        << QByteArray("* 1 FETCH (A {40}\r\n") + QByteArray(40, 'a') + ' ' + QByteArray(60, 'x')
        << tooLarge;
    QTest::newRow("deep nesting") << QByteArray(20, '(').prepend("* LIST ") + "\r\n" << malformed;
    QTest::newRow("many values") << QByteArray("* SEARCH") + QByteArray(" 1").repeated(25) + "\r\n"
                                 << malformed;
}

void tst_ImapResponse::boundsEndTheReading()
{
    QFETCH(QByteArray, data);
    QFETCH(int, expected);
    ImapResponseReader::Limits limits;
    limits.maxLine = 64;
    limits.maxLiteral = 50;
    limits.maxResponse = 100;
    limits.maxDepth = 4;
    limits.maxItems = 20;
    ImapResponseReader reader(limits);
    ImapResponse response;
    for (char c : std::as_const(data)) {
        reader.append(QByteArrayView(&c, 1));
        const auto result = reader.next(&response);
        QVERIFY(reader.pending() <= limits.maxResponse);
        if (result == ImapResponseReader::Result::NeedMore)
            continue;
        QCOMPARE(int(result), expected);
        QVERIFY(!reader.problem().isEmpty());
        reader.append("b1 OK fine\r\n");
        QVERIFY(reader.next(&response) != ImapResponseReader::Result::Response);
        return;
    }
    QFAIL("the reader kept reading");
}

void tst_ImapResponse::malformedResponses_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::newRow("no keyword") << QByteArray("*");
    QTest::newRow("tagged data") << QByteArray("b1 FETCH (UID 1)");
    QTest::newRow("tagged bye") << QByteArray("b1 BYE");
    QTest::newRow("open list") << QByteArray("* 1 FETCH (UID 1");
    QTest::newRow("stray close") << QByteArray("* SEARCH 1)");
    QTest::newRow("open quote") << QByteArray("* 1 FETCH (BODY[] \"abc)");
    QTest::newRow("short literal") << QByteArray("* 1 FETCH (BODY[] {10}\r\nabc)");
    QTest::newRow("literal mid-line") << QByteArray("* 1 FETCH (BODY[] {3} abc)");
    QTest::newRow("control in atom") << QByteArray("* SEARCH 1\x01");
}

void tst_ImapResponse::malformedResponses()
{
    QFETCH(QByteArray, raw);
    ImapResponse response;
    QString problem;
    QVERIFY(!parseImapResponse(raw, ImapResponseReader::Limits{}, &response, &problem));
    QVERIFY(!problem.isEmpty());
}

// A short run of what the fuzz target does at length: damaged server output, cut anywhere,
// never holds more than the limits allow.
void tst_ImapResponse::mutatedInputKeepsTheBounds()
{
    QRandomGenerator random(18);
    const QByteArray alphabet = "(){}[]\"\\ \r\n*+0123456789ABC";
    ImapResponseReader::Limits limits;
    limits.maxLine = 128;
    limits.maxLiteral = 64;
    limits.maxResponse = 256;
    limits.maxDepth = 4;
    limits.maxItems = 50;
    for (int round = 0; round < 2000; ++round) {
        QByteArray data = kFetch;
        for (int edits = random.bounded(1, 8); edits > 0; --edits)
            data[random.bounded(data.size())] = alphabet.at(random.bounded(alphabet.size()));
        ImapResponseReader reader(limits);
        ImapResponse response;
        const qsizetype chunk = random.bounded(1, 40);
        for (qsizetype at = 0; at < data.size(); at += chunk) {
            reader.append(QByteArrayView(data).sliced(at, qMin(chunk, data.size() - at)));
            while (reader.next(&response) == ImapResponseReader::Result::Response) {
                for (const ImapValue &value : std::as_const(response.data))
                    QVERIFY(value.text.size() <= limits.maxResponse);
            }
            QVERIFY(reader.pending() <= limits.maxResponse);
        }
    }
}

QTEST_GUILESS_MAIN(tst_ImapResponse)
#include "tst_imapresponse.moc"
