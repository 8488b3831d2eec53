#include "mail/encodedwords.h"

#include <QStringDecoder>

#include <optional>

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

// The next place at or after `from` where something is found, remembered: the places asked for
// only move forward, so each byte of the value is searched once however many "=?" it holds
// (searching afresh from each "=?" to the end of a long value made decoding quadratic).
class ForwardSearch
{
public:
    ForwardSearch(QByteArrayView raw, qsizetype (*find)(QByteArrayView, qsizetype))
        : m_raw(raw)
        , m_find(find)
    { }

    qsizetype from(qsizetype at)
    {
        if (m_found == kUnknown || (m_found >= 0 && m_found < at))
            m_found = m_find(m_raw, at);
        return m_found;
    }

private:
    static constexpr qsizetype kUnknown = -2;
    QByteArrayView m_raw;
    qsizetype (*m_find)(QByteArrayView, qsizetype);
    qsizetype m_found = kUnknown;
};

qsizetype findWordEnd(QByteArrayView raw, qsizetype from)
{
    return raw.indexOf("?=", from);
}

qsizetype findSpace(QByteArrayView raw, qsizetype from)
{
    for (qsizetype i = from; i < raw.size(); ++i)
        if (isSpace(raw.at(i)))
            return i;
    return -1;
}

// Reads the encoded word starting at `at` (which holds "=?"), if it is one. The searches
// are shared by all the words of one value.
std::optional<EncodedWord> readEncodedWord(
    QByteArrayView raw, qsizetype at, ForwardSearch &wordEnds, ForwardSearch &spaces)
{
    // The charset ends at the first '?': no later "=?" starts before it, so these scans
    // never overlap.
    const qsizetype charsetEnd = raw.indexOf('?', at + 2);
    if (charsetEnd < 0 || charsetEnd == at + 2 || charsetEnd + 2 >= raw.size())
        return std::nullopt;
    const char encoding = raw.at(charsetEnd + 1);
    if (raw.at(charsetEnd + 2) != '?')
        return std::nullopt;
    const qsizetype textStart = charsetEnd + 3;
    const qsizetype textEnd = wordEnds.from(textStart);
    if (textEnd < 0)
        return std::nullopt;
    QByteArrayView charset = raw.sliced(at + 2, charsetEnd - at - 2);
    const QByteArrayView text = raw.sliced(textStart, textEnd - textStart);
    const qsizetype space = spaces.from(textStart);
    if (hasSpace(charset) || (space >= 0 && space < textEnd))
        return std::nullopt;
    // RFC 2231 adds a language after '*': "=?utf-8*en?Q?...?=".
    if (const qsizetype star = charset.indexOf('*'); star >= 0)
        charset = charset.first(star);
    EncodedWord word;
    word.charset = charset.toByteArray();
    word.end = textEnd + 2;
    if (encoding == 'B' || encoding == 'b') {
        // Text that is not base64 is no encoded word: it shows as it stands.
        auto decoded = QByteArray::fromBase64Encoding(
            text.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            return std::nullopt;
        word.bytes = std::move(decoded.decoded);
    } else if (encoding == 'Q' || encoding == 'q') {
        word.bytes = decodeQ(text);
    } else {
        return std::nullopt;
    }
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
        , m_wordEnds(raw, findWordEnd)
        , m_spaces(raw, findSpace)
    { }

    QString run()
    {
        qsizetype plainStart = 0;
        qsizetype at = 0;
        while ((at = m_raw.indexOf("=?", at)) >= 0) {
            const auto word = readEncodedWord(m_raw, at, m_wordEnds, m_spaces);
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
    ForwardSearch m_wordEnds;
    ForwardSearch m_spaces;
    QString m_out;
    bool m_inWord = false;
    QByteArray m_charset;
    QByteArray m_bytes;
    qsizetype m_wordsStart = 0;
    qsizetype m_wordsEnd = 0;
};

// The length of the UTF-8 sequence that starts at `at`, or 0 when none does there.
qsizetype utf8SequenceAt(QByteArrayView bytes, qsizetype at)
{
    const uchar lead = uchar(bytes.at(at));
    if (lead < 0x80)
        return 1;
    const qsizetype length = lead >= 0xc2 && lead <= 0xdf ? 2
        : lead >= 0xe0 && lead <= 0xef                    ? 3
        : lead >= 0xf0 && lead <= 0xf4                    ? 4
                                                          : 0;
    return length > 0 && at + length <= bytes.size() && bytes.sliced(at, length).isValidUtf8()
        ? length
        : 0;
}

} // namespace

QString textFromBytes(QByteArrayView bytes)
{
    if (bytes.isValidUtf8())
        return QString::fromUtf8(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype runStart = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        if (const qsizetype length = utf8SequenceAt(bytes, at); length > 0) {
            at += length;
            continue;
        }
        text += QString::fromUtf8(bytes.sliced(runStart, at - runStart));
        text += QChar(uchar(bytes.at(at)));
        runStart = ++at;
    }
    text += QString::fromUtf8(bytes.sliced(runStart));
    return text;
}

QString decodeEncodedWords(QByteArrayView raw)
{
    return Decoder(raw).run();
}
