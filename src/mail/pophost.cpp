#include "mail/pophost.h"

#include <QUrl>

namespace {

constexpr quint16 kPlainPort = 110;
constexpr quint16 kTlsPort = 995;

bool validHostName(const QString &host)
{
    if (host.isEmpty() || host.size() > 253)
        return false;
    for (QChar c : host) {
        if (c.isSpace() || c == u'/' || c == u'@' || c == u'?' || c == u'#')
            return false;
    }
    return true;
}

std::optional<MailEndpoint> fromUrl(
    const QString &text, quint16 plainPort, quint16 tlsPort, QStringView tlsScheme)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    if (!url.path().isEmpty() && url.path() != u"/")
        return std::nullopt;
    MailEndpoint point;
    point.implicitTls = url.scheme() == tlsScheme;
    point.host = url.host();
    const int port = url.port(point.implicitTls ? tlsPort : plainPort);
    if (port <= 0 || !validHostName(point.host))
        return std::nullopt;
    point.port = quint16(port);
    return point;
}

std::optional<quint16> portNumber(QStringView text)
{
    bool ok = false;
    const uint port = text.toUInt(&ok, 10);
    if (!ok || port == 0 || port > 65535 || !text.front().isDigit())
        return std::nullopt;
    return quint16(port);
}

} // namespace

std::optional<MailEndpoint> parsePopHost(const QString &text)
{
    const QString trimmed = text.trimmed();
    const qsizetype schemeEnd = trimmed.indexOf(u"://");
    if (schemeEnd >= 0) {
        const QString scheme = trimmed.left(schemeEnd).toLower();
        if (scheme != u"pop3" && scheme != u"pop3s")
            return std::nullopt;
        return fromUrl(scheme + trimmed.mid(schemeEnd), kPlainPort, kTlsPort, u"pop3s");
    }
    MailEndpoint point;
    QString host = trimmed;
    const qsizetype colon = trimmed.lastIndexOf(u':');
    const bool bracketed = trimmed.startsWith(u'[');
    if (colon >= 0 && (bracketed ? trimmed.at(colon - 1) == u']' : trimmed.count(u':') == 1)) {
        const auto port = portNumber(QStringView(trimmed).mid(colon + 1));
        if (!port)
            return std::nullopt;
        point.port = *port;
        host = trimmed.left(colon);
    }
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    if (!validHostName(host))
        return std::nullopt;
    point.host = host;
    point.implicitTls = point.port == kTlsPort;
    return point;
}

bool isImapAddress(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.startsWith(u"imap://", Qt::CaseInsensitive)
        || trimmed.startsWith(u"imaps://", Qt::CaseInsensitive);
}

std::optional<MailEndpoint> parseImapHost(const QString &text)
{
    if (!isImapAddress(text))
        return std::nullopt;
    const QString trimmed = text.trimmed();
    const qsizetype schemeEnd = trimmed.indexOf(u"://");
    return fromUrl(trimmed.left(schemeEnd).toLower() + trimmed.mid(schemeEnd), 143, 993, u"imaps");
}
