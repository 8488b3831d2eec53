#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// A value in an IMAP response: an atom (numbers and NIL among them), a string (quoted or a
// literal, as bytes) or a parenthesised list.
struct ImapValue {
    enum class Kind { Atom, String, List };
    Kind kind = Kind::Atom;
    QByteArray text; // atom or string bytes
    QList<ImapValue> items; // list members

    bool isAtom(QByteArrayView name) const;
    bool isNil() const { return isAtom("NIL"); }
};

// One server response. Status responses (OK, NO, BAD, PREAUTH, BYE; tagged or not) carry
// their response code and text; untagged data carries its number (for "* 3 EXISTS"), its
// keyword in upper case and the values that follow.
struct ImapResponse {
    enum class Kind { Tagged, Untagged, Continuation };
    Kind kind = Kind::Untagged;
    QByteArray tag;
    QByteArray status; // OK, NO, BAD, PREAUTH or BYE; empty for data
    QByteArray code; // inside "[...]" of a status, e.g. "CAPABILITY IMAP4rev1 IDLE"
    QByteArray text; // the rest of a status line, or of a continuation
    qint64 number = -1;
    QByteArray keyword;
    QList<ImapValue> data;

    bool isStatus() const { return !status.isEmpty(); }
    bool ok() const { return status == "OK" || status == "PREAUTH"; }
};

// The server's words for error texts: "[CODE] text", at most 200 bytes of text, one line.
QString imapStatusWords(const ImapResponse &response);

// The atoms of a CAPABILITY response or response code, in upper case.
QList<QByteArray> imapCapabilities(const ImapResponse &response);

// Splits what an IMAP server sends into responses. A response is one line, or several when
// literals ("{n}" at a line's end, then n bytes) are embedded. Whatever arrives, it holds at
// most one response and never more than `maxResponse` bytes once `next` has said NeedMore: a
// line over `maxLine`, a literal over `maxLiteral` or a response (its lines and literals
// together) over `maxResponse` bytes ends the reading with TooLarge, deeper nesting than
// `maxDepth` or more than `maxItems` values with Malformed. After either, the reader takes
// nothing more.
class ImapResponseReader
{
public:
    enum class Result { NeedMore, Response, Malformed, TooLarge };
    struct Limits {
        qsizetype maxLine = 64 * 1024;
        qsizetype maxLiteral = 1024 * 1024;
        qsizetype maxResponse = 1024 * 1024 + 64 * 1024;
        int maxDepth = 16;
        int maxItems = 64 * 1024;
        // All the untagged responses between two tagged ones (a command's headers, its
        // SEARCH, whatever else comes meanwhile): a server that never finishes one is cut off
        // here, whether or not the responses are the command's.
        qsizetype maxBetweenTagged = 16 * 1024 * 1024;
    };

    ImapResponseReader();
    explicit ImapResponseReader(Limits limits);

    void append(QByteArrayView data);
    Result next(ImapResponse *response);
    // Why the last Malformed or TooLarge came, for error texts.
    QString problem() const { return m_problem; }
    // Bytes received and not yet handed out (for the switch to TLS after STARTTLS).
    qsizetype pending() const { return m_buffer.size(); }
    // The size of the response `next` handed out last, as it came.
    qsizetype lastSize() const { return m_lastSize; }
    const Limits &limits() const { return m_limits; }

private:
    Result fail(Result result, const QString &problem);
    Result tooLong();

    Limits m_limits;
    QByteArray m_buffer; // starts with the response being read
    qsizetype m_scanned = 0; // bytes of it known to belong to the response
    qsizetype m_literalEnd = -1; // while waiting for a literal's bytes
    qsizetype m_lastSize = 0;
    bool m_failed = false;
    QString m_problem;
};

// Parses one complete response (literals inline, as the reader cut it out). For tests and the
// fuzz target; nothing for text that is not a response.
bool parseImapResponse(QByteArrayView raw, const ImapResponseReader::Limits &limits,
    ImapResponse *response, QString *problem);
