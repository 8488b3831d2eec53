#include "mail/linereader.h"

LineReader::LineReader(qsizetype maxLine)
    : m_maxLine(maxLine)
{ }

void LineReader::append(QByteArrayView data)
{
    compact();
    if (!m_skipping) {
        m_buffer.append(data);
        return;
    }
    // Dropping an overlong line: keep only what follows its end.
    const qsizetype end = data.indexOf('\n');
    if (end < 0)
        return;
    m_skipping = false;
    m_buffer.append(data.sliced(end + 1));
}

LineReader::Result LineReader::next(QByteArray *line)
{
    const qsizetype end = m_buffer.indexOf('\n', m_start);
    if (end < 0) {
        if (pending() <= m_maxLine)
            return Result::NeedMore;
        clear();
        m_skipping = true;
        return Result::TooLong;
    }
    qsizetype length = end - m_start;
    if (length > 0 && m_buffer.at(end - 1) == '\r')
        --length;
    const qsizetype start = m_start;
    m_start = end + 1;
    if (length > m_maxLine)
        return Result::TooLong;
    *line = m_buffer.mid(start, length);
    return Result::Line;
}

void LineReader::clear()
{
    m_buffer.clear();
    m_start = 0;
    m_skipping = false;
}

void LineReader::compact()
{
    if (m_start == 0)
        return;
    m_buffer.remove(0, m_start);
    m_start = 0;
}
