#pragma once

#include "mail/bearer.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QPointer>
#include <QString>

class Clock;
class MailSignIn;

// The tokens of one signed-in mail account, as its sessions take them: the access token lives
// in memory only and is refreshed a minute before it expires (or when a server refused it);
// the refresh token is the one to keep (refreshTokenChanged says when it changes). A refresh
// token the provider no longer accepts asks the user to sign in again once (signInNeeded),
// not at every check, until a new sign-in brings new tokens.
class OAuthTokens : public QObject, public AccessTokenSource
{
    Q_OBJECT

public:
    static constexpr int kRefreshAheadSeconds = 60;

    OAuthTokens(Clock &clock, MailSignIn &signIn, QObject *parent = nullptr);

    // As kept from an earlier run.
    void setRefreshToken(const QString &token);
    QString refreshToken() const { return m_refreshToken; }
    // After a sign-in: the tokens it brought.
    void signedIn(const QString &accessToken, const QString &refreshToken, int expiresIn);
    bool needsSignIn() const { return m_refreshToken.isEmpty(); }

    void accessToken(bool fresh, QObject *context, Done done) override;

Q_SIGNALS:
    void refreshTokenChanged(const QString &token);
    void signInNeeded(const QString &why);

private:
    QCoro::Task<> provide(bool fresh, QPointer<QObject> context, Done done);
    void answer(
        QPointer<QObject> context, const Done &done, const QString &token, const QString &problem);
    void keepAccess(const QString &token, int expiresIn);

    Clock &m_clock;
    MailSignIn &m_signIn;
    QString m_access;
    qint64 m_freshUntil = 0; // tick count after which the access token is refreshed first
    QString m_refreshToken;
    bool m_told = false; // the user was asked to sign in again
};
