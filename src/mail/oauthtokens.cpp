#include "mail/oauthtokens.h"

#include "clock/clock.h"
#include "clock/detach.h"
#include "mail/mailsignin.h"

OAuthTokens::OAuthTokens(Clock &clock, MailSignIn &signIn, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_signIn(signIn)
{ }

void OAuthTokens::setRefreshToken(const QString &token)
{
    m_refreshToken = token;
    m_access.clear();
}

void OAuthTokens::signedIn(const QString &accessToken, const QString &refreshToken, int expiresIn)
{
    m_told = false;
    keepAccess(accessToken, expiresIn);
    if (refreshToken != m_refreshToken) {
        m_refreshToken = refreshToken;
        Q_EMIT refreshTokenChanged(m_refreshToken);
    }
}

// A provider that gave no lifetime is asked again after an hour, the usual one.
void OAuthTokens::keepAccess(const QString &token, int expiresIn)
{
    m_access = token;
    const int lifetime = expiresIn > 0 ? expiresIn : 3600;
    m_freshUntil = m_clock.tickCount() + qint64(qMax(0, lifetime - kRefreshAheadSeconds)) * 1000;
}

void OAuthTokens::accessToken(bool fresh, QObject *context, Done done)
{
    detach(provide(fresh, context, std::move(done)));
}

QCoro::Task<> OAuthTokens::provide(bool fresh, QPointer<QObject> context, Done done)
{
    if (!fresh && !m_access.isEmpty() && m_clock.tickCount() < m_freshUntil) {
        answer(context, done, m_access, {});
        co_return;
    }
    if (m_refreshToken.isEmpty()) {
        answer(context, done, {}, tr("Not signed in with the provider: sign in first"));
        co_return;
    }
    QPointer<OAuthTokens> self(this);
    const MailSignIn::Result result = co_await m_signIn.refresh(m_refreshToken);
    if (!self)
        co_return;
    if (result.outcome != MailSignIn::Outcome::Granted) {
        m_access.clear();
        // Revoked or expired for good: this refresh token will not work again.
        if (result.outcome == MailSignIn::Outcome::Refused) {
            m_refreshToken.clear();
            Q_EMIT refreshTokenChanged(m_refreshToken);
            if (!std::exchange(m_told, true))
                Q_EMIT signInNeeded(result.text);
        }
        answer(context, done, {}, result.text);
        co_return;
    }
    keepAccess(result.accessToken, result.expiresIn);
    if (result.refreshToken != m_refreshToken) {
        m_refreshToken = result.refreshToken;
        Q_EMIT refreshTokenChanged(m_refreshToken);
    }
    answer(context, done, m_access, {});
}

// From the event loop, as the sessions expect, and only while the asker lives.
void OAuthTokens::answer(
    QPointer<QObject> context, const Done &done, const QString &token, const QString &problem)
{
    if (!context)
        return;
    QMetaObject::invokeMethod(
        context, [done, token, problem] { done(token, problem); }, Qt::QueuedConnection);
}
