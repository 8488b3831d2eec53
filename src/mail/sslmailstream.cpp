// The mail stream of the program: MailStream over QSslSocket.
#include "mail/mailerror.h"
#include "mail/mailstream.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHostAddress>
#include <QList>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslError>
#include <QSslSocket>
#include <QStringList>

namespace {

QString tr(const char *text)
{
    return QCoreApplication::translate("MailSocket", text);
}

QString tlsErrorText(
    const QSslSocket &socket, const QString &where, const QList<QSslError> &sslErrors)
{
    if (sslErrors.isEmpty())
        return tr("TLS handshake with %1 failed: %2").arg(where, socket.errorString());
    QStringList reasons;
    for (const QSslError &error : sslErrors)
        reasons << error.errorString();
    reasons.removeDuplicates();
    return tr("The TLS certificate of %1 was not accepted: %2")
        .arg(where, reasons.join(QLatin1String("; ")));
}

// The error number and text for a socket failure of `socket`, connected to `host` at `where`;
// `sslErrors` are the certificate errors seen during the handshake.
MailStream::Failure failure(QAbstractSocket::SocketError error, const QSslSocket &socket,
    const QString &host, const QString &where, const QList<QSslError> &sslErrors)
{
    switch (error) {
    case QAbstractSocket::HostNotFoundError:
        return {MailError::HostNotFound, tr("Mail server %1 not found").arg(host)};
    case QAbstractSocket::ConnectionRefusedError:
        return {MailError::ConnectionRefused, tr("Connection to %1 refused").arg(where)};
    case QAbstractSocket::RemoteHostClosedError:
        return {MailError::ConnectionClosed, tr("%1 closed the connection").arg(where)};
    case QAbstractSocket::SslHandshakeFailedError:
    case QAbstractSocket::SslInternalError:
    case QAbstractSocket::SslInvalidUserDataError:
        return {MailError::TlsFailed, tlsErrorText(socket, where, sslErrors)};
    default:
        return {MailError::NetworkError,
            tr("Network error with %1: %2").arg(where, socket.errorString())};
    }
}

class SslMailStream final : public MailStream
{
public:
    SslMailStream()
        : m_socket(new QSslSocket)
    {
        QObject::connect(m_socket, &QSslSocket::readyRead, &m_context, [this] {
            if (m_callbacks.readyRead)
                m_callbacks.readyRead();
        });
        QObject::connect(m_socket, &QSslSocket::encrypted, &m_context, [this] {
            if (m_callbacks.encrypted)
                m_callbacks.encrypted();
        });
        QObject::connect(m_socket, &QSslSocket::disconnected, &m_context, [this] {
            if (m_callbacks.disconnected)
                m_callbacks.disconnected();
        });
        QObject::connect(m_socket, &QSslSocket::sslErrors, &m_context,
            [this](const QList<QSslError> &errors) { judge(errors); });
        QObject::connect(m_socket, &QSslSocket::errorOccurred, &m_context,
            [this](QAbstractSocket::SocketError error) {
                if (m_callbacks.failed)
                    m_callbacks.failed(failure(error, *m_socket, m_host, where(), m_sslErrors));
            });
    }

    ~SslMailStream() override { delete m_socket; }

    void setCallbacks(Callbacks callbacks) override { m_callbacks = std::move(callbacks); }

    void connectPlain(const QString &host, quint16 port) override
    {
        m_host = host;
        m_port = port;
        m_socket->connectToHost(host, port);
    }

    std::optional<Failure> connectEncrypted(
        const QString &host, quint16 port, const QString &caFile) override
    {
        m_host = host;
        m_port = port;
        if (auto refused = readyTls(caFile))
            return refused;
        m_socket->connectToHostEncrypted(host, port);
        return std::nullopt;
    }

    std::optional<Failure> upgrade(
        qsizetype buffered, const char *command, const QString &caFile) override
    {
        if (buffered > 0 || m_socket->bytesAvailable() > 0) {
            return Failure{MailError::ProtocolError,
                tr("%1 sent data after agreeing to %2").arg(where(), QLatin1String(command))};
        }
        if (auto refused = readyTls(caFile))
            return refused;
        m_socket->startClientEncryption();
        return std::nullopt;
    }

    void setTrustedCertificate(const QByteArray &sha256) override { m_trusted = sha256; }
    QByteArray refusedCertificate() const override { return m_refused; }
    void write(const QByteArray &data) override { m_socket->write(data); }
    QByteArray readAll() override { return m_socket->readAll(); }
    bool isEncrypted() const override { return m_socket->isEncrypted(); }
    bool peerIsLoopback() const override
    {
        const QHostAddress peer = m_socket->peerAddress();
        bool mapped = false;
        const QHostAddress v4(peer.toIPv4Address(&mapped));
        return peer.isLoopback() || (mapped && v4.isLoopback());
    }

    void abort() override
    {
        m_socket->disconnect(&m_context);
        m_socket->abort();
    }

    void closeOnItsOwn() override
    {
        QSslSocket *socket = std::exchange(m_socket, nullptr);
        socket->disconnect(&m_context);
        socket->setParent(QCoreApplication::instance());
        QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
        QObject::connect(socket, &QSslSocket::errorOccurred, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
        delete this;
    }

private:
    QString where() const { return MailSocket::where(m_host, m_port); }

    // The certificate no authority vouches for goes through only when it is the one trusted.
    void judge(const QList<QSslError> &errors)
    {
        m_sslErrors = errors;
        const QSslCertificate peer = m_socket->peerCertificate();
        const QByteArray sha256 = peer.digest(QCryptographicHash::Sha256).toHex();
        if (!m_trusted.isEmpty() && !peer.isNull() && sha256 == m_trusted) {
            m_socket->ignoreSslErrors(errors);
            return;
        }
        m_refused = peer.toPem();
        if (m_trusted.isEmpty() || peer.isNull())
            return;
        // Not the handshake's own failure: the account's certificate was replaced.
        m_socket->disconnect(&m_context);
        m_socket->abort();
        if (m_callbacks.failed)
            m_callbacks.failed({MailError::CertificateChanged,
                tr("The certificate of %1 is not the one trusted for this account (SHA-256 %2, "
                   "trusted %3): it was replaced, or someone is in between")
                    .arg(where(), QString::fromLatin1(sha256), QString::fromLatin1(m_trusted))});
    }

    // Peers always verified; the authorities in `caFile` trusted besides the system's.
    std::optional<Failure> readyTls(const QString &caFile)
    {
        if (!QSslSocket::supportsSsl())
            return Failure{MailError::TlsFailed, tr("TLS is not available on this system")};
        QSslConfiguration config = QSslConfiguration::defaultConfiguration();
        if (!caFile.isEmpty()) {
            const QList<QSslCertificate> extra = QSslCertificate::fromPath(caFile);
            if (extra.isEmpty())
                return Failure{MailError::TlsFailed, tr("No certificate in %1").arg(caFile)};
            config.addCaCertificates(extra);
        }
        config.setPeerVerifyMode(QSslSocket::VerifyPeer);
        m_socket->setSslConfiguration(config);
        return std::nullopt;
    }

    QObject m_context; // the receiver of the socket's signals, to drop them in one go
    QSslSocket *m_socket;
    Callbacks m_callbacks;
    QList<QSslError> m_sslErrors;
    QByteArray m_trusted; // SHA-256 (hex) of a certificate accepted without an authority
    QByteArray m_refused; // PEM of the certificate the handshake refused
    QString m_host;
    quint16 m_port = 0;
};

} // namespace

std::unique_ptr<MailStream> newMailStream()
{
    return std::make_unique<SslMailStream>();
}
