#include "mail/headerfields.h"

#include "mail/encodedwords.h"

#include <QByteArrayView>

namespace {

enum class Field { None, From, Subject, Date };

Field fieldOf(QByteArrayView name)
{
    const QByteArray lower = name.trimmed().toByteArray().toLower();
    if (lower == "from")
        return Field::From;
    if (lower == "subject")
        return Field::Subject;
    if (lower == "date")
        return Field::Date;
    return Field::None;
}

// `cut` says the raw value was cut already.
QString oneLine(QString text, qsizetype maxChars, bool cut)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    text = text.simplified();
    if (maxChars > 0 && (cut || text.size() > maxChars)) {
        // A cut text ends in an ellipsis within the bound, never half a surrogate pair.
        qsizetype keep = qMin(text.size(), maxChars - 1);
        if (keep > 0 && keep < text.size() && text.at(keep - 1).isHighSurrogate())
            --keep;
        text.truncate(keep);
        text += u'…';
    }
    return text;
}

// The unfolded raw values of the three fields, first occurrence each.
struct RawField {
    QByteArray value;
    bool have = false;
    bool cut = false; // folded lines past the byte bound were left out
};

struct RawFields {
    RawField from, subject, date;

    void take(Field field, const QByteArray &value, bool cut)
    {
        RawField *slot = field == Field::From ? &from
            : field == Field::Subject         ? &subject
            : field == Field::Date            ? &date
                                              : nullptr;
        if (slot && !slot->have)
            *slot = {value, true, cut};
    }
};

RawFields collect(const QList<QByteArray> &lines, qsizetype maxBytes)
{
    RawFields raw;
    Field current = Field::None;
    QByteArray value;
    bool cut = false;
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            break;
        if (line.front() == ' ' || line.front() == '\t') {
            if (current != Field::None && value.size() < maxBytes)
                value += line;
            else
                cut = cut || current != Field::None;
            continue;
        }
        raw.take(current, value, cut);
        const qsizetype colon = line.indexOf(':');
        current = colon > 0 ? fieldOf(QByteArrayView(line).first(colon)) : Field::None;
        value = current != Field::None ? line.mid(colon + 1) : QByteArray();
        cut = false;
    }
    raw.take(current, value, cut);
    return raw;
}

} // namespace

HeaderFields parseHeaderFields(const QList<QByteArray> &lines, qsizetype maxChars)
{
    // Encoded words take up to four bytes for each character they carry.
    const RawFields raw = collect(lines, maxChars * 8);
    HeaderFields fields;
    fields.from = oneLine(decodeEncodedWords(raw.from.value.trimmed()), maxChars, raw.from.cut);
    fields.subject
        = oneLine(decodeEncodedWords(raw.subject.value.trimmed()), maxChars, raw.subject.cut);
    fields.date = oneLine(textFromBytes(raw.date.value.trimmed()), maxChars, raw.date.cut);
    return fields;
}
