// The encoded-word decoder as it was before it became linear: each "=?" searched to the end
// of the value for "?=". Kept only as the baseline bench_hostile_server measures against.

#include "mail/encodedwords.h"

#include <QStringDecoder>

#include <optional>

namespace baseline {

namespace {

struct EncodedWord {
    QByteArray charset;
    QByteArray bytes;
    qsizetype end = 0; // index just past "?="
};

bool isUtf8Name(QByteArrayView charset)
{
    const QByteArray name = charset.toByteArray().toLower();
    return name == "utf-8" || name == "utf8";
}

std::optional<QString> decodeCharset(QByteArrayView charset, QByteArrayView bytes)
{
    if (isUtf8Name(charset))
        return textFromBytes(bytes);
    QStringDecoder decoder(charset.toByteArray().constData(), QStringDecoder::Flag::Stateless);
    if (!decoder.isValid())
        return std::nullopt;
    QString text = decoder.decode(bytes);
    return text;
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

QByteArray decodeQ(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c == '_') {
            out.append(' ');
        } else if (c == '=' && i + 2 < text.size() && hexValue(text.at(i + 1)) >= 0
            && hexValue(text.at(i + 2)) >= 0) {
            out.append(char(hexValue(text.at(i + 1)) * 16 + hexValue(text.at(i + 2))));
            i += 2;
        } else {
            out.append(c);
        }
    }
    return out;
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool hasSpace(QByteArrayView text)
{
    for (char c : text)
        if (isSpace(c))
            return true;
    return false;
}

// Reads the encoded word starting at `at` (which holds "=?"), if it is one.
std::optional<EncodedWord> readEncodedWord(QByteArrayView raw, qsizetype at)
{
    const qsizetype charsetEnd = raw.indexOf('?', at + 2);
    if (charsetEnd < 0 || charsetEnd == at + 2 || charsetEnd + 2 >= raw.size())
        return std::nullopt;
    const char encoding = raw.at(charsetEnd + 1);
    if (raw.at(charsetEnd + 2) != '?')
        return std::nullopt;
    const qsizetype textStart = charsetEnd + 3;
    const qsizetype textEnd = raw.indexOf("?=", textStart);
    if (textEnd < 0)
        return std::nullopt;
    QByteArrayView charset = raw.sliced(at + 2, charsetEnd - at - 2);
    const QByteArrayView text = raw.sliced(textStart, textEnd - textStart);
    if (hasSpace(charset) || hasSpace(text))
        return std::nullopt;
    // RFC 2231 adds a language after '*': "=?utf-8*en?Q?...?=".
    if (const qsizetype star = charset.indexOf('*'); star >= 0)
        charset = charset.first(star);
    EncodedWord word;
    word.charset = charset.toByteArray();
    word.end = textEnd + 2;
    if (encoding == 'B' || encoding == 'b')
        word.bytes = QByteArray::fromBase64(text.toByteArray());
    else if (encoding == 'Q' || encoding == 'q')
        word.bytes = decodeQ(text);
    else
        return std::nullopt;
    return word;
}

bool onlySpace(QByteArrayView text)
{
    for (char c : text)
        if (!isSpace(c))
            return false;
    return true;
}

// Collects the pieces of a value: plain text as it stands, runs of encoded words per charset.
class Decoder
{
public:
    explicit Decoder(QByteArrayView raw)
        : m_raw(raw)
    { }

    QString run()
    {
        qsizetype plainStart = 0;
        qsizetype at = 0;
        while ((at = m_raw.indexOf("=?", at)) >= 0) {
            const auto word = readEncodedWord(m_raw, at);
            if (!word) {
                at += 2;
                continue;
            }
            const QByteArrayView between = m_raw.sliced(plainStart, at - plainStart);
            if (!(m_inWord && onlySpace(between))) {
                flushWords();
                m_out += textFromBytes(between);
            }
            addWord(*word, at);
            plainStart = at = word->end;
        }
        flushWords();
        m_out += textFromBytes(m_raw.sliced(plainStart));
        return m_out;
    }

private:
    void addWord(const EncodedWord &word, qsizetype at)
    {
        if (m_inWord && word.charset.compare(m_charset, Qt::CaseInsensitive) != 0)
            flushWords();
        if (!m_inWord) {
            m_charset = word.charset;
            m_wordsStart = at;
        }
        m_inWord = true;
        m_bytes += word.bytes;
        m_wordsEnd = word.end;
    }

    void flushWords()
    {
        if (!m_inWord)
            return;
        const auto text = decodeCharset(m_charset, m_bytes);
        m_out
            += text ? *text : textFromBytes(m_raw.sliced(m_wordsStart, m_wordsEnd - m_wordsStart));
        m_inWord = false;
        m_bytes.clear();
    }

    QByteArrayView m_raw;
    QString m_out;
    bool m_inWord = false;
    QByteArray m_charset;
    QByteArray m_bytes;
    qsizetype m_wordsStart = 0;
    qsizetype m_wordsEnd = 0;
};

} // namespace

QString decodeEncodedWords(QByteArrayView raw)
{
    return Decoder(raw).run();
}

} // namespace baseline
