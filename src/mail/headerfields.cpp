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

QString oneLine(QString text, qsizetype maxChars)
{
    for (QChar &c : text) {
        if (c.category() == QChar::Other_Control)
            c = u' ';
    }
    text = text.simplified();
    if (text.size() > maxChars)
        text.truncate(maxChars);
    return text;
}

// The unfolded raw values of the three fields, first occurrence each.
struct RawFields {
    QByteArray from, subject, date;
    bool haveFrom = false, haveSubject = false, haveDate = false;

    void take(Field field, const QByteArray &value)
    {
        auto set = [&value](QByteArray &slot, bool &have) {
            if (!have)
                slot = value;
            have = true;
        };
        switch (field) {
        case Field::From: set(from, haveFrom); break;
        case Field::Subject: set(subject, haveSubject); break;
        case Field::Date: set(date, haveDate); break;
        case Field::None: break;
        }
    }
};

RawFields collect(const QList<QByteArray> &lines, qsizetype maxBytes)
{
    RawFields raw;
    Field current = Field::None;
    QByteArray value;
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            break;
        if (line.front() == ' ' || line.front() == '\t') {
            if (current != Field::None && value.size() < maxBytes)
                value += line;
            continue;
        }
        raw.take(current, value);
        const qsizetype colon = line.indexOf(':');
        current = colon > 0 ? fieldOf(QByteArrayView(line).first(colon)) : Field::None;
        value = current != Field::None ? line.mid(colon + 1) : QByteArray();
    }
    raw.take(current, value);
    return raw;
}

} // namespace

HeaderFields parseHeaderFields(const QList<QByteArray> &lines, qsizetype maxChars)
{
    // Encoded words take up to four bytes for each character they carry.
    const RawFields raw = collect(lines, maxChars * 8);
    HeaderFields fields;
    fields.from = oneLine(decodeEncodedWords(raw.from.trimmed()), maxChars);
    fields.subject = oneLine(decodeEncodedWords(raw.subject.trimmed()), maxChars);
    fields.date = oneLine(textFromBytes(raw.date.trimmed()), maxChars);
    return fields;
}
