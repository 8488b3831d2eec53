#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>

#include <functional>

// Logging on with an OAuth2 access token instead of a password: the two SASL mechanisms mail
// servers take it with, OAUTHBEARER (RFC 7628, the standard) and XOAUTH2 (Google's and
// Microsoft's older one, which many servers still offer alone).
namespace Bearer {

enum class Mechanism { OAuthBearer, XOAuth2 };

// "OAUTHBEARER" or "XOAUTH2", as the capabilities and AUTHENTICATE name them.
QByteArray name(Mechanism mechanism);

// The one client message of the mechanism (unencoded). OAUTHBEARER names the server as the
// client reached it (host and port), which servers may check against themselves.
QByteArray clientResponse(Mechanism mechanism, const QString &user, const QString &token,
    const QString &host, quint16 port);

// A server that refuses the token sends a challenge holding JSON ({"status":"invalid_token",
// ...}) before its refusal; the client must answer it so the exchange can end: OAUTHBEARER
// with a lone %x01, XOAUTH2 with an empty response. Both unencoded.
QByteArray errorAnswer(Mechanism mechanism);

// The "status" of such a challenge (base64 as it came), or empty when it holds none; an HTTP
// status (XOAUTH2's) in RFC 6750's words: "invalid_token (401)".
QString challengeStatus(QByteArrayView base64Challenge);

// One log-on with a token, over IMAP's AUTHENTICATE and POP3's AUTH alike: the mechanism the
// server offers, the client message until the server asks for it, and the status of the
// server's error challenge once it sent one.
class Exchange
{
public:
    // OAUTHBEARER where the server offers it (`offers` is asked by mechanism name), else
    // XOAUTH2; false when it offers neither: the token never goes out as a password.
    bool choose(const std::function<bool(const QByteArray &)> &offers);
    QByteArray name() const { return Bearer::name(m_mechanism); }
    // The client message, base64. It is kept for the first challenge unless it went out with
    // the command (SASL-IR, a short POP3 AUTH line): then sentWithCommand().
    QByteArray start(const QString &user, const QString &token, const QString &host, quint16 port);
    void sentWithCommand() { m_pending.clear(); }

    struct Answer {
        QByteArray line; // base64
        bool token = false; // the line holds the token (kept out of the log)
    };
    // The answer to a challenge (base64 as it came): the client message where the server asked
    // for it, else the mechanism's answer to the server's error, whose status is kept.
    Answer answer(QByteArrayView challenge);

    // "<where> offers no sign-in with a token (...)".
    static QString nothingOffered(const QString &where);
    // "<where> refused the sign-in token of <user> (<mechanism>): <why>", the why being the
    // status of the error challenge or, without one, the server's own words.
    QString refusal(const QString &where, const QString &user, const QString &serverWords) const;

private:
    Mechanism m_mechanism = Mechanism::OAuthBearer;
    QByteArray m_pending;
    QString m_status;
};

} // namespace Bearer

// Where a mail session gets its access token from before each log-on (a provider's sign-in, an
// Online Accounts account). `fresh` asks for one newly refreshed: the server refused the last
// one. `done` gets the token, or an empty one and why there is none; it runs from the event
// loop, never inside the call, and not at all once `context` is gone.
class AccessTokenSource
{
public:
    using Done = std::function<void(const QString &token, const QString &problem)>;

    virtual ~AccessTokenSource() = default;
    virtual void accessToken(bool fresh, QObject *context, Done done) = 0;
};
