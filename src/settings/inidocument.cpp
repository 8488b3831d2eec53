#include "settings/inidocument.h"

#include <QStringDecoder>

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool needsQuoting(const QString &value)
{
    if (value.isEmpty())
        return false;
    if (value.front() == u'"' || value.front().isSpace() || value.back().isSpace())
        return true;
    for (QChar c : value) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return true;
    }
    return false;
}

QString quoted(const QString &value)
{
    QString out = QStringLiteral("\"");
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QLatin1String("\\\\"); break;
        case '"': out += QLatin1String("\\\""); break;
        case '\n': out += QLatin1String("\\n"); break;
        case '\r': out += QLatin1String("\\r"); break;
        case '\t': out += QLatin1String("\\t"); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

std::optional<QString> unquoted(QStringView text)
{
    QString out;
    for (qsizetype i = 1; i + 1 < text.size(); ++i) {
        QChar c = text[i];
        if (c != u'\\') {
            out += c;
            continue;
        }
        if (++i + 1 >= text.size())
            return std::nullopt;
        switch (text[i].unicode()) {
        case '\\': out += u'\\'; break;
        case '"': out += u'"'; break;
        case 'n': out += u'\n'; break;
        case 'r': out += u'\r'; break;
        case 't': out += u'\t'; break;
        case 'x': {
            if (i + 2 >= text.size() - 1)
                return std::nullopt;
            bool ok = false;
            const int code = text.mid(i + 1, 2).toInt(&ok, 16);
            if (!ok)
                return std::nullopt;
            out += QChar(code);
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
}

} // namespace

bool IniDocument::isValidName(const QString &name)
{
    if (name.isEmpty() || name.trimmed() != name)
        return false;
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c == u'=' || c == u'[' || c == u']' || c == u';' || c == u'#')
            return false;
    }
    return true;
}

std::optional<IniDocument> IniDocument::parse(const QByteArray &text, ParseError *error)
{
    auto fail = [error](int line, const QString &reason) -> std::optional<IniDocument> {
        if (error)
            *error = ParseError{line, reason};
        return std::nullopt;
    };
    if (text.contains('\0'))
        return fail(0, QStringLiteral("the file holds binary data"));
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString all = decode(text);
    if (decode.hasError())
        return fail(0, QStringLiteral("the file is not UTF-8 text"));

    IniDocument doc;
    const QStringList lines = all.split(u'\n');
    for (int n = 0; n < lines.size(); ++n) {
        QStringView line = QStringView(lines[n]);
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u';') || trimmed.startsWith(u'#'))
            continue;
        if (trimmed.startsWith(u'[')) {
            if (!trimmed.endsWith(u']'))
                return fail(n + 1, QStringLiteral("a section line has no closing bracket"));
            const QString name = trimmed.mid(1, trimmed.size() - 2).toString();
            if (!isValidName(name))
                return fail(n + 1, QStringLiteral("a section has no valid name"));
            if (!doc.findSection(name))
                doc.m_sections.append(Section{name, {}});
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            return fail(n + 1, QStringLiteral("a line is neither a section nor a key"));
        if (doc.m_sections.isEmpty())
            return fail(n + 1, QStringLiteral("a key stands before any section"));
        const QString key = line.left(eq).trimmed().toString();
        if (!isValidName(key))
            return fail(n + 1, QStringLiteral("a key has no valid name"));
        QStringView raw = line.mid(eq + 1);
        QString value = raw.toString();
        if (raw.size() >= 2 && raw.front() == u'"' && raw.back() == u'"') {
            const auto decoded = unquoted(raw);
            if (!decoded)
                return fail(n + 1, QStringLiteral("a quoted value is malformed"));
            value = *decoded;
        }
        doc.setValue(doc.m_sections.back().name, key, value);
    }
    return doc;
}

QByteArray IniDocument::serialize() const
{
    QString out;
    for (const Section &section : m_sections) {
        if (!out.isEmpty())
            out += u'\n';
        out += u'[' + section.name + QLatin1String("]\n");
        for (const Entry &entry : section.entries) {
            const QString value = needsQuoting(entry.value) ? quoted(entry.value) : entry.value;
            out += entry.key + u'=' + value + u'\n';
        }
    }
    return out.toUtf8();
}

IniDocument::Section *IniDocument::findSection(const QString &name)
{
    for (Section &section : m_sections) {
        if (sameName(section.name, name))
            return &section;
    }
    return nullptr;
}

const IniDocument::Section *IniDocument::findSection(const QString &name) const
{
    return const_cast<IniDocument *>(this)->findSection(name);
}

std::optional<QString> IniDocument::value(const QString &section, const QString &key) const
{
    if (const Section *s = findSection(section)) {
        for (const Entry &entry : s->entries) {
            if (sameName(entry.key, key))
                return entry.value;
        }
    }
    return std::nullopt;
}

bool IniDocument::setValue(const QString &section, const QString &key, const QString &value)
{
    Section *s = findSection(section);
    if (!s) {
        m_sections.append(Section{section, {}});
        s = &m_sections.back();
    }
    for (Entry &entry : s->entries) {
        if (sameName(entry.key, key)) {
            if (entry.value == value)
                return false;
            entry.value = value;
            return true;
        }
    }
    s->entries.append(Entry{key, value});
    return true;
}
