#include "mail/mailsocket.h"

#include "mail/mailerror.h"

#include <QCoreApplication>
#include <QStringList>

namespace MailSocket {

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

} // namespace

QSslConfiguration tlsConfiguration(const QList<QSslCertificate> &extra)
{
    QSslConfiguration config = QSslConfiguration::defaultConfiguration();
    if (!extra.isEmpty())
        config.addCaCertificates(extra);
    config.setPeerVerifyMode(QSslSocket::VerifyPeer);
    return config;
}

std::optional<Failure> readyTls(QSslSocket &socket, const QList<QSslCertificate> &extra)
{
    if (!QSslSocket::supportsSsl())
        return Failure{MailError::TlsFailed, tr("TLS is not available on this system")};
    socket.setSslConfiguration(tlsConfiguration(extra));
    return std::nullopt;
}

std::optional<Failure> readyUpgrade(QSslSocket &socket, qsizetype buffered, const QString &where,
    const char *command, const QList<QSslCertificate> &extra)
{
    if (buffered > 0 || socket.bytesAvailable() > 0) {
        return Failure{MailError::ProtocolError,
            tr("%1 sent data after agreeing to %2").arg(where, QLatin1String(command))};
    }
    return readyTls(socket, extra);
}

QString where(const QString &host, quint16 port)
{
    return (host.contains(u':') ? u'[' + host + u']' : host) + u':' + QString::number(port);
}

Failure failure(QAbstractSocket::SocketError error, const QSslSocket &socket, const QString &host,
    const QString &where, const QList<QSslError> &sslErrors)
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

void closeOnItsOwn(QSslSocket *socket)
{
    socket->setParent(QCoreApplication::instance());
    QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QSslSocket::errorOccurred, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
    if (socket->state() == QAbstractSocket::UnconnectedState)
        socket->deleteLater();
}

QString quoted(const QByteArray &line)
{
    QString text = QString::fromLatin1(line.left(80));
    for (QChar &c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = u'?';
    return QLatin1Char('"') + text + QLatin1String(line.size() > 80 ? "...\"" : "\"");
}

} // namespace MailSocket
