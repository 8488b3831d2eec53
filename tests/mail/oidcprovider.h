#pragma once

#include <QJsonObject>
#include <QProcess>
#include <QString>

// The OpenID provider of the OAuth2 tests (tests/mail/oidc/provider.mjs, the npm package
// oidc-provider on Node.js) on a free loopback port, ended with the fixture. Its login and
// consent pages are walked by tests/mail/oidc_browser.py, as a person in a browser would.
class OidcProvider
{
public:
    ~OidcProvider();

    // Why the provider cannot run here (no node, the package not installed), or empty.
    static QString whyMissing();
    bool start(QString *why);
    // "http://127.0.0.1:port", as Dovecot and the sign-in reach it.
    QString issuer() const;
    // Signs in as `login` (authorization code with PKCE for the client "bvane") and gives the
    // token endpoint's answer: access_token, refresh_token, expires_in.
    QJsonObject signIn(const QString &login, QString *why) const;
    // The provider forgets the access token, as when it expires.
    void expire(const QString &accessToken) const;
    // Every grant of `login` is revoked: its refresh tokens no longer work.
    void revokeGrants(const QString &login) const;
    QString log() const { return m_log; }
    static QString browserScript();

private:
    void post(const QString &path, const QByteArray &form) const;

    QProcess m_process;
    quint16 m_port = 0;
    mutable QString m_log;
};
