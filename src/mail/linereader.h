#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Splits what a server sends into lines (CRLF or a bare LF ends one), holding at most one
// unfinished line of `maxLine` bytes. A longer line is reported once as TooLong and its bytes
// are dropped up to its end, so a hostile server cannot make the buffer grow.
class LineReader
{
public:
    enum class Result { NeedMore, Line, TooLong };

    explicit LineReader(qsizetype maxLine = 64 * 1024);

    void append(QByteArrayView data);
    // The next complete line without its line end.
    Result next(QByteArray *line);
    void clear();
    qsizetype maxLine() const { return m_maxLine; }
    // Bytes received but not yet handed out as lines (for a switch to TLS after STLS).
    qsizetype pending() const { return m_buffer.size() - m_start; }

private:
    void compact();

    QByteArray m_buffer;
    qsizetype m_start = 0;
    qsizetype m_maxLine;
    bool m_skipping = false;
};
