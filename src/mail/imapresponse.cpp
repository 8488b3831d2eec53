#include "mail/imapresponse.h"

#include <QCoreApplication>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("ImapResponseReader", text);
}

bool isStatusWord(QByteArrayView word)
{
    return word == "OK" || word == "NO" || word == "BAD" || word == "PREAUTH" || word == "BYE";
}

bool isDigits(QByteArrayView text)
{
    if (text.isEmpty() || text.size() > 18)
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Reads one response from its complete bytes, literals inline.
class Parser
{
public:
    Parser(QByteArrayView raw, const ImapResponseReader::Limits &limits)
        : m_s(raw)
        , m_limits(limits)
    { }

    bool response(ImapResponse *r)
    {
        if (m_s.startsWith('+')) {
            r->kind = ImapResponse::Kind::Continuation;
            r->tag = "+";
            m_pos = 1;
            skipSpaces();
            r->text = rest();
            return true;
        }
        const QByteArray tag = word();
        if (tag.isEmpty())
            return fail(tr("a response without a tag"));
        r->tag = tag;
        r->kind = tag == "*" ? ImapResponse::Kind::Untagged : ImapResponse::Kind::Tagged;
        skipSpaces();
        QByteArray first = word().toUpper();
        if (r->kind == ImapResponse::Kind::Untagged && isDigits(first)) {
            r->number = first.toLongLong();
            skipSpaces();
            first = word().toUpper();
        }
        if (first.isEmpty())
            return fail(tr("a response without a keyword"));
        if (r->number < 0 && isStatusWord(first)) {
            if (r->kind == ImapResponse::Kind::Tagged && (first == "PREAUTH" || first == "BYE"))
                return fail(tr("a tagged %1").arg(QString::fromLatin1(first)));
            r->status = first;
            statusText(r);
            return true;
        }
        if (r->kind == ImapResponse::Kind::Tagged)
            return fail(tr("a tagged response that is not OK, NO or BAD"));
        r->keyword = first;
        return values(&r->data, 0, false);
    }

    QString problem() const { return m_problem; }

private:
    bool fail(const QString &problem)
    {
        if (m_problem.isEmpty())
            m_problem = problem;
        return false;
    }
    bool atEnd() const { return m_pos >= m_s.size(); }
    char peek() const { return m_s.at(m_pos); }
    void skipSpaces()
    {
        while (!atEnd() && peek() == ' ')
            ++m_pos;
    }
    QByteArray rest()
    {
        const QByteArray text = m_s.sliced(m_pos).toByteArray();
        m_pos = m_s.size();
        return text;
    }
    QByteArray word()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek() != ' ')
            ++m_pos;
        return m_s.sliced(start, m_pos - start).toByteArray();
    }

    void statusText(ImapResponse *r)
    {
        skipSpaces();
        if (!atEnd() && peek() == '[') {
            const qsizetype close = m_s.indexOf(']', m_pos);
            if (close > 0) {
                r->code = m_s.sliced(m_pos + 1, close - m_pos - 1).toByteArray();
                m_pos = close + 1;
                skipSpaces();
            }
        }
        r->text = rest();
    }

    // Values up to the end, or up to the ")" of a list when `inList`.
    bool values(QList<ImapValue> *out, int depth, bool inList)
    {
        for (;;) {
            skipSpaces();
            if (atEnd())
                return inList ? fail(tr("a list without its \")\"")) : true;
            if (peek() == ')') {
                if (!inList)
                    return fail(tr("a \")\" without its \"(\""));
                ++m_pos;
                return true;
            }
            if (++m_items > m_limits.maxItems)
                return fail(tr("more than %1 values").arg(m_limits.maxItems));
            ImapValue value;
            if (!this->value(&value, depth))
                return false;
            out->append(std::move(value));
        }
    }

    bool value(ImapValue *v, int depth)
    {
        switch (peek()) {
        case '(':
            if (depth + 1 > m_limits.maxDepth)
                return fail(tr("lists nested deeper than %1").arg(m_limits.maxDepth));
            ++m_pos;
            v->kind = ImapValue::Kind::List;
            return values(&v->items, depth + 1, true);
        case '"': v->kind = ImapValue::Kind::String; return quoted(&v->text);
        case '{': v->kind = ImapValue::Kind::String; return literal(&v->text);
        default: v->kind = ImapValue::Kind::Atom; return atom(&v->text);
        }
    }

    bool quoted(QByteArray *out)
    {
        for (++m_pos; !atEnd(); ++m_pos) {
            char c = peek();
            if (c == '"') {
                ++m_pos;
                return true;
            }
            if (c == '\\' && m_pos + 1 < m_s.size())
                c = m_s.at(++m_pos);
            out->append(c);
        }
        return fail(tr("a quoted string without its closing quote"));
    }

    bool literal(QByteArray *out)
    {
        const qsizetype close = m_s.indexOf('}', m_pos);
        if (close < 0)
            return fail(tr("a literal without its size"));
        QByteArrayView digits = m_s.sliced(m_pos + 1, close - m_pos - 1);
        if (digits.endsWith('+'))
            digits.chop(1);
        if (!isDigits(digits))
            return fail(tr("a literal with a bad size"));
        const qint64 size = digits.toLongLong();
        qsizetype start = close + 1;
        if (m_s.sliced(start).startsWith("\r\n"))
            start += 2;
        else if (m_s.sliced(start).startsWith("\n"))
            start += 1;
        else
            return fail(tr("a literal size not at the end of a line"));
        if (size > m_limits.maxLiteral || size > m_s.size() - start)
            return fail(tr("a literal longer than its response"));
        *out = m_s.sliced(start, qsizetype(size)).toByteArray();
        m_pos = start + qsizetype(size);
        return true;
    }

    // An atom; a "[" in it runs to its "]", spaces and parentheses included
    // (BODY[HEADER.FIELDS (FROM SUBJECT DATE)]).
    bool atom(QByteArray *out)
    {
        const qsizetype start = m_pos;
        int brackets = 0;
        for (; !atEnd(); ++m_pos) {
            const char c = peek();
            if (c == '[')
                ++brackets;
            else if (c == ']' && brackets > 0)
                --brackets;
            else if (brackets == 0 && (c == ' ' || c == '(' || c == ')' || c == '"' || c == '{'))
                break;
            else if (uchar(c) < 0x20 || c == 0x7f)
                return fail(tr("a control character in an atom"));
        }
        if (m_pos == start)
            return fail(tr("an unexpected \"%1\"").arg(QLatin1Char(peek())));
        *out = m_s.sliced(start, m_pos - start).toByteArray();
        return true;
    }

    QByteArrayView m_s;
    const ImapResponseReader::Limits &m_limits;
    qsizetype m_pos = 0;
    int m_items = 0;
    QString m_problem;
};

} // namespace

bool ImapValue::isAtom(QByteArrayView name) const
{
    return kind == Kind::Atom && text.compare(name, Qt::CaseInsensitive) == 0;
}

QString imapStatusWords(const ImapResponse &response)
{
    QByteArray words = response.text.left(200);
    if (!response.code.isEmpty())
        words = '[' + response.code.left(100) + "] " + words;
    QString text = QString::fromUtf8(words).trimmed();
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    return text;
}

QList<QByteArray> imapCapabilities(const ImapResponse &response)
{
    QList<QByteArray> names;
    if (response.keyword == "CAPABILITY") {
        for (const ImapValue &value : response.data)
            if (value.kind == ImapValue::Kind::Atom)
                names << value.text.toUpper();
    } else if (response.code.toUpper().startsWith("CAPABILITY ")) {
        const QList<QByteArray> words = response.code.toUpper().split(' ');
        for (const QByteArray &word : words.mid(1))
            if (!word.isEmpty())
                names << word;
    }
    return names;
}

bool parseImapResponse(QByteArrayView raw, const ImapResponseReader::Limits &limits,
    ImapResponse *response, QString *problem)
{
    Parser parser(raw, limits);
    *response = {};
    if (parser.response(response))
        return true;
    *problem = parser.problem();
    return false;
}

ImapResponseReader::ImapResponseReader()
    : ImapResponseReader(Limits{})
{ }

ImapResponseReader::ImapResponseReader(Limits limits)
    : m_limits(limits)
{ }

void ImapResponseReader::append(QByteArrayView data)
{
    if (!m_failed)
        m_buffer.append(data);
}

ImapResponseReader::Result ImapResponseReader::fail(Result result, const QString &problem)
{
    m_failed = true;
    m_problem = problem;
    m_buffer.clear();
    return result;
}

ImapResponseReader::Result ImapResponseReader::tooLong()
{
    return fail(Result::TooLarge, tr("a response longer than %1 bytes").arg(m_limits.maxResponse));
}

ImapResponseReader::Result ImapResponseReader::next(ImapResponse *response)
{
    if (m_failed)
        return Result::Malformed;
    for (;;) {
        if (m_literalEnd >= 0) {
            if (m_buffer.size() < m_literalEnd)
                return Result::NeedMore;
            m_scanned = std::exchange(m_literalEnd, -1);
        }
        const qsizetype lineEnd = m_buffer.indexOf('\n', m_scanned);
        const qsizetype lineLength = (lineEnd < 0 ? m_buffer.size() : lineEnd) - m_scanned;
        if (lineLength > m_limits.maxLine)
            return fail(Result::TooLarge, tr("a line longer than %1 bytes").arg(m_limits.maxLine));
        // The whole response so far, literals and the lines between them, counts against the
        // limit: a line after a literal is no cheaper than the literal itself.
        if (m_scanned + lineLength > m_limits.maxResponse)
            return tooLong();
        if (lineEnd < 0)
            return Result::NeedMore;
        QByteArrayView line = QByteArrayView(m_buffer).sliced(m_scanned, lineLength);
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype open = line.endsWith('}') ? line.lastIndexOf('{') : -1;
        QByteArrayView digits = open >= 0 ? line.sliced(open + 1, line.size() - open - 2) : "";
        if (digits.endsWith('+'))
            digits.chop(1);
        if (open >= 0 && isDigits(digits)) {
            const qint64 size = digits.toLongLong();
            if (size > m_limits.maxLiteral)
                return fail(Result::TooLarge,
                    tr("a literal of %1 bytes, over the limit of %2")
                        .arg(size)
                        .arg(m_limits.maxLiteral));
            m_literalEnd = lineEnd + 1 + qsizetype(size);
            if (m_literalEnd > m_limits.maxResponse)
                return tooLong();
            continue;
        }
        const QByteArray raw = m_buffer.left(m_scanned + line.size());
        m_lastSize = lineEnd + 1;
        m_buffer.remove(0, lineEnd + 1);
        m_scanned = 0;
        QString problem;
        if (!parseImapResponse(raw, m_limits, response, &problem))
            return fail(Result::Malformed, problem);
        return Result::Response;
    }
}
