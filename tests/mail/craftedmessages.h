#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The messages the tests against a real mail server deliver, and the header rows the mail
// controls make of them (POP3 and IMAP alike): encoded words in two character sets split
// across a folded line, a Latin-1 byte left raw, and a folded Subject.
namespace CraftedMessages {

inline const QByteArray kFolded = "Return-Path: <ann@example.org>\r\n"
                                  "From: =?ISO-8859-1?Q?Andr=E9_?=\r\n"
                                  "  =?utf-8?B?TcO8bGxlcg==?= <andre@example.org>\r\n"
                                  "To: alice@example.org\r\n"
                                  "Subject: =?utf-8?q?Gr=C3=BC=C3=9Fe?= from a folded\r\n"
                                  "\tsubject line\r\n"
                                  "Date: Mon, 7 Dec 2026 09:15:00 +0100\r\n"
                                  "\r\n"
                                  "Body.\r\n.\r\nMore body.\r\n";

inline QByteArray message(const QByteArray &subject)
{
    return "From: Bob <bob@example.org>\r\nSubject: " + subject
        + "\r\nDate: Mon, 7 Dec 2026 10:00:00 +0000\r\n\r\nHello.\r\n";
}

// The three messages alice gets, in order of delivery.
inline QList<QByteArray> alicesMessages()
{
    return {kFolded, message("=?iso-8859-2?B?r29sdw==?= plain"), message("Latin-1 \xe9t\xe9 raw")};
}

// "From|Subject|Date" of each of alice's messages.
inline QStringList alicesRows()
{
    return {
        QStringLiteral("André Müller <andre@example.org>|Grüße from a folded "
                       "subject line|Mon, 7 Dec 2026 09:15:00 +0100"),
        QStringLiteral("Bob <bob@example.org>|Żolw plain|Mon, 7 Dec 2026 10:00:00 +0000"),
        QStringLiteral("Bob <bob@example.org>|Latin-1 été raw|Mon, 7 Dec 2026 10:00:00 +0000"),
    };
}

} // namespace CraftedMessages
