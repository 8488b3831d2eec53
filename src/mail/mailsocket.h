#pragma once

#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QString>

#include <optional>
#include <utility>

// What the POP3 and IMAP connections share about their sockets: how certificates are
// checked and how a socket failure is told as a mail control error.
namespace MailSocket {

// Peers always verified; `extra` trusted besides the system's authorities.
QSslConfiguration tlsConfiguration(const QList<QSslCertificate> &extra);

// A mail control error: its number and text.
using Failure = std::pair<int, QString>;

// Readies `socket` for a TLS handshake, `extra` trusted besides the system's authorities;
// the error to report instead when this system has no TLS.
std::optional<Failure> readyTls(QSslSocket &socket, const QList<QSslCertificate> &extra);

// The same for an upgrade the server at `where` agreed to with `command` (STLS, STARTTLS).
// Whatever came after its agreement (`buffered` bytes its reader holds, or more waiting on
// the socket) came in the clear and may have been injected on the way: that is refused too.
std::optional<Failure> readyUpgrade(QSslSocket &socket, qsizetype buffered, const QString &where,
    const char *command, const QList<QSslCertificate> &extra);

// "host:port", with IPv6 literals in brackets.
QString where(const QString &host, quint16 port);

// The error number and text for a socket failure of `socket`, connected to `host` at `where`;
// `sslErrors` are the certificate errors seen during the handshake.
Failure failure(QAbstractSocket::SocketError error, const QSslSocket &socket, const QString &host,
    const QString &where, const QList<QSslError> &sslErrors);

// Lets a socket finish on its own: what is written goes out, then it closes and is deleted
// (it no longer belongs to the connection that used it).
void closeOnItsOwn(QSslSocket *socket);

// A line from the server as it may appear in an error text: short, one line, no controls.
QString quoted(const QByteArray &line);

} // namespace MailSocket
