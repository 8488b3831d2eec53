#pragma once

#include "mail/mailsocket.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// The byte stream a POP3 or IMAP connection talks over: plain TCP, TLS from the start, or
// upgraded after STLS/STARTTLS. The connections know only this class; the program's stream is
// QSslSocket (sslmailstream.cpp), and tests may stand in for it here.
class MailStream
{
public:
    using Failure = MailSocket::Failure;

    // What the stream tells its connection. After `failed` (refused, dropped, TLS, any other
    // socket failure, with the number and text the mail control reports) the stream is of no
    // more use; `disconnected` may follow it.
    struct Callbacks {
        std::function<void()> readyRead;
        std::function<void()> encrypted;
        std::function<void()> disconnected;
        std::function<void(const Failure &)> failed;
    };

    virtual ~MailStream() = default;

    virtual void setCallbacks(Callbacks callbacks) = 0;
    virtual void connectPlain(const QString &host, quint16 port) = 0;
    // TLS from the first byte; the peer is verified against the system's authorities and
    // those in `caFile` (none when empty). Returns the failure instead of connecting when
    // this system has no TLS.
    virtual std::optional<Failure> connectEncrypted(
        const QString &host, quint16 port, const QString &caFile)
        = 0;
    // The TLS handshake after the server agreed to `command` (STLS, STARTTLS).
    // Whatever came after its agreement (`buffered` bytes its reader holds, or more waiting
    // on the stream) came in the clear and may have been injected on the way: that is
    // refused, as is an upgrade on a system without TLS.
    virtual std::optional<Failure> upgrade(
        qsizetype buffered, const char *command, const QString &caFile)
        = 0;
    // The certificate with this SHA-256 (hex) is accepted although no authority vouches for
    // it (one the user trusted); any other that fails verification is refused, a different one
    // with CertificateChanged. Before connecting.
    virtual void setTrustedCertificate(const QByteArray &sha256) = 0;
    // The certificate (PEM) that the last handshake refused; empty when none was.
    virtual QByteArray refusedCertificate() const = 0;
    virtual void write(const QByteArray &data) = 0;
    virtual QByteArray readAll() = 0;
    virtual bool isEncrypted() const = 0;
    // Whether the connected peer is this machine (127.0.0.0/8, ::1): what goes to it in the
    // clear does not leave the machine.
    virtual bool peerIsLoopback() const = 0;
    // Drops the callbacks and the connection at once.
    virtual void abort() = 0;
    // Drops the callbacks and lets the stream finish on its own: what is written goes out,
    // then it closes and deletes itself (it no longer belongs to the connection that used it).
    virtual void closeOnItsOwn() = 0;

protected:
    MailStream() = default;
    MailStream(const MailStream &) = delete;
    MailStream &operator=(const MailStream &) = delete;
};

// A new stream over QSslSocket, not yet connected.
std::unique_ptr<MailStream> newMailStream();
