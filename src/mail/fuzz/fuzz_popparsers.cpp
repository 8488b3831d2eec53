// Feeds arbitrary server output through the line reader, the reply parsers and the header
// decoding the mail control uses, checking the bounds they promise.
//
//   fuzz_popparsers -max_total_time=300 corpus/

#include "mail/encodedwords.h"
#include "mail/headerfields.h"
#include "mail/linereader.h"
#include "mail/pophost.h"
#include "mail/popreply.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qsizetype kMaxLine = 256;
constexpr qsizetype kMaxReply = 2048;
constexpr qsizetype kMaxChars = 100;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

void checkField(const QString &field)
{
    check(field.size() <= kMaxChars);
    for (QChar c : field)
        check(c.unicode() >= 0x20 && c != QChar(0x7f));
}

void checkCollector(const MultiLineCollector &collector)
{
    qsizetype bytes = 0;
    for (const QByteArray &line : collector.lines()) {
        check(line.size() <= kMaxLine);
        bytes += line.size() + 2;
    }
    check(bytes <= kMaxReply);
    const HeaderFields fields = parseHeaderFields(collector.lines(), kMaxChars);
    checkField(fields.from);
    checkField(fields.subject);
    checkField(fields.date);
    parseCapabilities(collector.lines());
}

// The input as the network would deliver it: in chunks whose sizes the first byte picks.
void readReplies(QByteArrayView data)
{
    const qsizetype chunk = data.isEmpty() ? 1 : 1 + std::uint8_t(data.front()) % 64;
    LineReader reader(kMaxLine);
    MultiLineCollector header(MultiLineCollector::Mode::HeaderOnly, kMaxReply);
    MultiLineCollector all(MultiLineCollector::Mode::AllLines, kMaxReply);
    bool inReply = false;
    QByteArray line;
    for (qsizetype at = 0; at < data.size(); at += chunk) {
        reader.append(data.sliced(at, qMin(chunk, data.size() - at)));
        for (;;) {
            const auto result = reader.next(&line);
            if (result == LineReader::Result::NeedMore)
                break;
            if (result == LineReader::Result::TooLong) {
                header.addDropped();
                all.addDropped();
                continue;
            }
            check(line.size() <= kMaxLine && !line.contains('\n'));
            if (!inReply) {
                const auto status = parseStatusLine(line);
                inReply = status && status->ok;
                apopTimestamp(line);
                continue;
            }
            header.add(line);
            all.add(line);
        }
        check(reader.pending() <= kMaxLine);
    }
    checkCollector(header);
    checkCollector(all);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const QByteArrayView data(reinterpret_cast<const char *>(bytes), qsizetype(size));
    readReplies(data);
    decodeEncodedWords(data.first(qMin<qsizetype>(data.size(), 4096)));
    textFromBytes(data.first(qMin<qsizetype>(data.size(), 4096)));
    parsePopHost(QString::fromUtf8(data.first(qMin<qsizetype>(data.size(), 512))));
    return 0;
}
