#pragma once

#include <QByteArrayView>
#include <QString>

// Header text as a person reads it.

// Bytes as UTF-8, but each byte that is not part of a valid UTF-8 sequence as Latin-1 (so
// that a stray 8-bit byte from an old mailer shows as a letter instead of vanishing, and
// spoils nothing around it).
QString textFromBytes(QByteArrayView bytes);

// Decodes the RFC 2047 encoded words ("=?charset?B?...?=" and "=?charset?Q?...?=") in an
// unstructured header value, in any character set Qt knows. Whitespace between two encoded
// words is dropped; adjacent words in one character set are joined before decoding, so a
// character split across two words still comes out whole. A word that cannot be decoded (an
// unknown charset or encoding, B text that is not base64) is left as it stands.
QString decodeEncodedWords(QByteArrayView raw);
