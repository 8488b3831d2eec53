#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The first line of a POP3 reply: "+OK text" or "-ERR [CODE] text", with the RFC 2449
// response code (AUTH, IN-USE, LOGIN-DELAY, SYS/TEMP, ...) split off when there is one.
struct PopStatus {
    bool ok = false;
    QByteArray code;
    QByteArray text;
};

// The server's words for error texts: "[CODE] text", at most 200 bytes of text.
QString statusWords(const PopStatus &status);

// Nothing for a line that is neither +OK nor -ERR (garbage, or a SASL "+ " challenge).
std::optional<PopStatus> parseStatusLine(QByteArrayView line);

// The APOP timestamp "<...@...>" a greeting offers, or empty when it offers none.
QByteArray apopTimestamp(QByteArrayView greetingText);

// What CAPA says the server can do. A server without CAPA is taken to know USER and TOP (the
// commands every RFC 1939 server has or says it lacks when asked).
struct PopCapabilities {
    bool top = true;
    bool user = true;
    bool pipelining = false;
    bool stls = false;
    bool listed = false; // CAPA answered
    QList<QByteArray> sasl; // upper case mechanism names

    bool offersSasl(QByteArrayView mechanism) const;
};

PopCapabilities parseCapabilities(const QList<QByteArray> &lines);

// The lines of a multi-line reply, after the status line and up to the lone ".", with
// dot-stuffing undone. Whatever arrives, it keeps at most `maxBytes` of text; a reply that
// would exceed that is flagged as overflowed (the connection gives up on it at once: reading an
// endless reply to its end would hold the request for as long as the server likes). In HeaderOnly
// mode it keeps lines up to the blank line after the header and drops the rest (a message body,
// when TOP is missing and RETR stands in).
class MultiLineCollector
{
public:
    enum class Mode { AllLines, HeaderOnly };

    MultiLineCollector(Mode mode, qsizetype maxBytes);

    // Feeds one line as read (without its line end); true once the terminator has come.
    bool add(QByteArrayView line);
    // The line reader dropped an overlong line here.
    void addDropped();
    bool complete() const { return m_complete; }
    bool overflowed() const { return m_overflowed; }
    const QList<QByteArray> &lines() const { return m_lines; }

private:
    bool keeping() const { return !m_overflowed && (m_mode == Mode::AllLines || !m_headerEnded); }

    Mode m_mode;
    qsizetype m_maxBytes;
    qsizetype m_bytes = 0;
    QList<QByteArray> m_lines;
    bool m_headerEnded = false;
    bool m_complete = false;
    bool m_overflowed = false;
};
