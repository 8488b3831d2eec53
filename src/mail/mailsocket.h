#pragma once

#include <QByteArray>
#include <QString>

#include <utility>

// What the POP3 and IMAP connections share about their streams: how a failure is told and
// how a server is named in the texts.
namespace MailSocket {

// A mail control error: its number and text.
using Failure = std::pair<int, QString>;

// "host:port", with IPv6 literals in brackets. Inline: the mail transport module names
// servers the same way and needs no symbol of the program.
inline QString where(const QString &host, quint16 port)
{
    return (host.contains(u':') ? u'[' + host + u']' : host) + u':' + QString::number(port);
}

// A line from the server as it may appear in an error text: short, one line, no controls.
QString quoted(const QByteArray &line);

} // namespace MailSocket
