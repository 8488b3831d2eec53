#include "mail/bearer.h"

#include <QCoreApplication>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace Bearer {

QByteArray name(Mechanism mechanism)
{
    return mechanism == Mechanism::OAuthBearer ? QByteArrayLiteral("OAUTHBEARER")
                                               : QByteArrayLiteral("XOAUTH2");
}

namespace {

// The gs2 header's authorization identity escapes "," and "=" (RFC 5801).
QByteArray saslName(const QString &user)
{
    QByteArray out;
    for (char c : user.toUtf8()) {
        if (c == ',')
            out += "=2C";
        else if (c == '=')
            out += "=3D";
        else
            out += c;
    }
    return out;
}

} // namespace

QByteArray clientResponse(Mechanism mechanism, const QString &user, const QString &token,
    const QString &host, quint16 port)
{
    if (mechanism == Mechanism::XOAuth2)
        return "user=" + user.toUtf8()
            + "\x01"
              "auth=Bearer "
            + token.toUtf8() + "\x01\x01";
    return "n,a=" + saslName(user)
        + ",\x01"
          "host="
        + host.toUtf8()
        + "\x01"
          "port="
        + QByteArray::number(port)
        + "\x01"
          "auth=Bearer "
        + token.toUtf8() + "\x01\x01";
}

QByteArray errorAnswer(Mechanism mechanism)
{
    return mechanism == Mechanism::OAuthBearer ? QByteArray("\x01", 1) : QByteArray();
}

QString challengeStatus(QByteArrayView base64Challenge)
{
    const auto decoded = QByteArray::fromBase64Encoding(base64Challenge.trimmed().toByteArray());
    if (!decoded)
        return {};
    const QJsonObject object = QJsonDocument::fromJson(*decoded).object();
    // Only what a person can read: a status code is short and of plain characters.
    const QString status = object.value(QLatin1String("status")).toString().left(80);
    for (QChar c : status)
        if (!c.isPrint())
            return {};
    // XOAUTH2 servers give the HTTP status; the words RFC 6750 has for it read better.
    static const QHash<QString, QString> words{
        {QStringLiteral("400"), QStringLiteral("invalid_request")},
        {QStringLiteral("401"), QStringLiteral("invalid_token")},
        {QStringLiteral("403"), QStringLiteral("insufficient_scope")}};
    const auto word = words.constFind(status);
    return word == words.constEnd() ? status : *word + QStringLiteral(" (") + status + u')';
}

bool Exchange::choose(const std::function<bool(const QByteArray &)> &offers)
{
    for (const Mechanism mechanism : {Mechanism::OAuthBearer, Mechanism::XOAuth2}) {
        if (offers(Bearer::name(mechanism))) {
            m_mechanism = mechanism;
            return true;
        }
    }
    return false;
}

QByteArray Exchange::start(
    const QString &user, const QString &token, const QString &host, quint16 port)
{
    m_status.clear();
    m_pending = clientResponse(m_mechanism, user, token, host, port).toBase64();
    return m_pending;
}

Exchange::Answer Exchange::answer(QByteArrayView challenge)
{
    if (!m_pending.isEmpty())
        return {std::exchange(m_pending, {}), true};
    m_status = challengeStatus(challenge);
    return {errorAnswer(m_mechanism).toBase64(), false};
}

QString Exchange::nothingOffered(const QString &where)
{
    return QCoreApplication::translate(
        "Bearer", "%1 offers no sign-in with a token (OAUTHBEARER or XOAUTH2)")
        .arg(where);
}

QString Exchange::refusal(
    const QString &where, const QString &user, const QString &serverWords) const
{
    return QCoreApplication::translate("Bearer", "%1 refused the sign-in token of %2 (%3): %4")
        .arg(where, user, QString::fromLatin1(name()), m_status.isEmpty() ? serverWords : m_status);
}

} // namespace Bearer
