#include "mail/popreply.h"

#include "mail/encodedwords.h"

namespace {

// "[CODE] rest" -> CODE and rest; codes are atoms separated by '/', e.g. SYS/TEMP.
void splitResponseCode(QByteArrayView text, PopStatus *status)
{
    if (!text.startsWith('[')) {
        status->text = text.toByteArray();
        return;
    }
    const qsizetype close = text.indexOf(']');
    if (close < 2) {
        status->text = text.toByteArray();
        return;
    }
    status->code = text.sliced(1, close - 1).toByteArray().toUpper();
    status->text = text.sliced(close + 1).trimmed().toByteArray();
}

} // namespace

QString statusWords(const PopStatus &status)
{
    QString words = textFromBytes(status.text.left(200)).trimmed();
    if (!status.code.isEmpty())
        words = QLatin1Char('[') + QString::fromLatin1(status.code) + QLatin1String("] ") + words;
    return words;
}

std::optional<PopStatus> parseStatusLine(QByteArrayView line)
{
    PopStatus status;
    QByteArrayView rest;
    if (line.startsWith("+OK")) {
        status.ok = true;
        rest = line.sliced(3);
    } else if (line.startsWith("-ERR")) {
        rest = line.sliced(4);
    } else {
        return std::nullopt;
    }
    if (!rest.isEmpty() && rest.front() != ' ' && rest.front() != '\t')
        return std::nullopt;
    splitResponseCode(rest.trimmed(), &status);
    return status;
}

QByteArray apopTimestamp(QByteArrayView greetingText)
{
    const qsizetype open = greetingText.indexOf('<');
    if (open < 0)
        return {};
    const qsizetype close = greetingText.indexOf('>', open);
    if (close < 0)
        return {};
    const QByteArrayView stamp = greetingText.sliced(open, close - open + 1);
    if (!stamp.contains('@') || stamp.contains(' '))
        return {};
    return stamp.toByteArray();
}

bool PopCapabilities::offersSasl(QByteArrayView mechanism) const
{
    return sasl.contains(mechanism.toByteArray().toUpper());
}

PopCapabilities parseCapabilities(const QList<QByteArray> &lines)
{
    PopCapabilities caps;
    caps.top = false;
    caps.user = false;
    caps.listed = true;
    for (const QByteArray &line : lines) {
        const QList<QByteArray> words = line.simplified().split(' ');
        const QByteArray name = words.value(0).toUpper();
        if (name == "TOP")
            caps.top = true;
        else if (name == "USER")
            caps.user = true;
        else if (name == "PIPELINING")
            caps.pipelining = true;
        else if (name == "STLS")
            caps.stls = true;
        else if (name == "SASL")
            for (qsizetype i = 1; i < words.size(); ++i)
                caps.sasl.append(words.at(i).toUpper());
    }
    return caps;
}

MultiLineCollector::MultiLineCollector(Mode mode, qsizetype maxBytes)
    : m_mode(mode)
    , m_maxBytes(maxBytes)
{ }

bool MultiLineCollector::add(QByteArrayView line)
{
    if (m_complete)
        return true;
    if (line == ".") {
        m_complete = true;
        return true;
    }
    if (line.startsWith('.'))
        line = line.sliced(1);
    if (!keeping())
        return false;
    if (m_mode == Mode::HeaderOnly && line.isEmpty()) {
        m_headerEnded = true;
        return false;
    }
    m_bytes += line.size() + 2;
    if (m_bytes > m_maxBytes) {
        m_overflowed = true;
        m_lines.clear();
        return false;
    }
    m_lines.append(line.toByteArray());
    return false;
}

void MultiLineCollector::addDropped()
{
    if (!keeping())
        return;
    m_overflowed = true;
    m_lines.clear();
}
