// Feeds arbitrary server output through the IMAP response reader and the header decoding the
// IMAP mail control uses, checking the bounds the reader promises.
//
//   fuzz_imapparser -max_total_time=300 corpus/

#include "mail/headerfields.h"
#include "mail/imapresponse.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {

constexpr qsizetype kMaxChars = 100;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

int depthOf(const ImapValue &value)
{
    int deepest = 0;
    for (const ImapValue &item : value.items)
        deepest = qMax(deepest, depthOf(item));
    return value.kind == ImapValue::Kind::List ? deepest + 1 : deepest;
}

void checkResponse(const ImapResponse &response, const ImapResponseReader::Limits &limits)
{
    for (const ImapValue &value : response.data) {
        check(depthOf(value) <= limits.maxDepth);
        check(value.text.size() <= limits.maxResponse);
        // What the mail control does with a FETCH: the header literal through the decoding.
        for (const ImapValue &item : value.items) {
            if (item.kind != ImapValue::Kind::String)
                continue;
            const HeaderFields fields = parseHeaderFields(item.text.split('\n'), kMaxChars);
            check(fields.from.size() <= kMaxChars && fields.subject.size() <= kMaxChars
                && fields.date.size() <= kMaxChars);
        }
    }
    imapCapabilities(response);
    check(imapStatusWords(response).size() <= 400);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const QByteArrayView data(reinterpret_cast<const char *>(bytes), qsizetype(size));
    // In chunks whose sizes the first byte picks, as the network would deliver them.
    const qsizetype chunk = data.isEmpty() ? 1 : 1 + std::uint8_t(data.front()) % 64;
    ImapResponseReader::Limits limits;
    limits.maxLine = 256;
    limits.maxLiteral = 1024;
    limits.maxResponse = 2048;
    limits.maxDepth = 8;
    limits.maxItems = 200;
    ImapResponseReader reader(limits);
    ImapResponse response;
    for (qsizetype at = 0; at < data.size(); at += chunk) {
        reader.append(data.sliced(at, qMin(chunk, data.size() - at)));
        for (;;) {
            const auto result = reader.next(&response);
            if (result != ImapResponseReader::Result::Response)
                break;
            checkResponse(response, limits);
        }
        check(reader.pending() <= limits.maxResponse);
    }
    return 0;
}
