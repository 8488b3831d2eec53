#include "mail/mailsignin.h"

#include "clock/clock.h"
#include "clock/detach.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QOAuth2AuthorizationCodeFlow>
#include <QOAuthHttpServerReplyHandler>
#include <QOAuthOobReplyHandler>
#include <QRandomGenerator>

OAuthProvider OAuthProvider::google(const QString &clientId, const QString &clientSecret)
{
    OAuthProvider provider{QStringLiteral("Google"),
        QUrl(QStringLiteral("https://accounts.google.com/o/oauth2/v2/auth")),
        QUrl(QStringLiteral("https://oauth2.googleapis.com/token")), clientId, clientSecret,
        QStringLiteral("https://mail.google.com/"), {}};
    provider.extraParameters.insert(QStringLiteral("access_type"), QStringLiteral("offline"));
    provider.extraParameters.insert(QStringLiteral("prompt"), QStringLiteral("consent"));
    return provider;
}

OAuthProvider OAuthProvider::microsoft(const QString &clientId, bool pop3)
{
    return {QStringLiteral("Microsoft"),
        QUrl(QStringLiteral("https://login.microsoftonline.com/common/oauth2/v2.0/authorize")),
        QUrl(QStringLiteral("https://login.microsoftonline.com/common/oauth2/v2.0/token")),
        clientId, {},
        pop3 ? QStringLiteral("https://outlook.office.com/POP.AccessAsUser.All offline_access")
             : QStringLiteral("https://outlook.office.com/IMAP.AccessAsUser.All offline_access"),
        {}};
}

namespace {

// The token endpoint's refusal says why in its JSON ("invalid_grant": the refresh token was
// revoked or has expired); Qt 6.4 drops that body and reports a failed request only.
class TokenReplyHandler : public QOAuthOobReplyHandler
{
public:
    using Refused = std::function<void(const QString &error, const QString &description)>;

    TokenReplyHandler(Refused refused, QObject *parent)
        : QOAuthOobReplyHandler(parent)
        , m_refused(std::move(refused))
    { }

    void networkReplyFinished(QNetworkReply *reply) override
    {
        if (reply->error() != QNetworkReply::NoError) {
            const QJsonObject answer = QJsonDocument::fromJson(reply->peek(64 * 1024)).object();
            const QString error = answer.value(QLatin1String("error")).toString();
            if (!error.isEmpty())
                m_refused(error.left(80),
                    answer.value(QLatin1String("error_description")).toString().left(200));
        }
        QOAuthOobReplyHandler::networkReplyFinished(reply);
    }

private:
    Refused m_refused;
};

QByteArray base64Url(const QByteArray &bytes)
{
    return bytes.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
}

} // namespace

MailSignIn::MailSignIn(Clock &clock, OAuthProvider provider, Browser browser, QObject *parent)
    : QObject(parent)
    , m_clock(clock)
    , m_provider(std::move(provider))
    , m_browser(std::move(browser))
    , m_network(new QNetworkAccessManager(this))
{ }

MailSignIn::~MailSignIn() = default;

// A flow for each attempt: Qt's keeps its state (and its listener) between grants.
QOAuth2AuthorizationCodeFlow *MailSignIn::makeFlow()
{
    if (m_flow)
        m_flow->deleteLater();
    m_flow = new QOAuth2AuthorizationCodeFlow(
        m_provider.clientId, m_provider.authorizationUrl, m_provider.tokenUrl, m_network, this);
    m_flow->setScope(m_provider.scope);
    if (!m_provider.clientSecret.isEmpty())
        m_flow->setClientIdentifierSharedKey(m_provider.clientSecret);
    connect(m_flow, &QAbstractOAuth::granted, this, [this, flow = m_flow] {
        finish({Outcome::Granted, {}, flow->token(), flow->refreshToken(),
            int(qMax<qint64>(0, QDateTime::currentDateTime().secsTo(flow->expirationAt())))});
    });
    connect(m_flow, &QAbstractOAuth2::error, this,
        [this](const QString &error, const QString &description, const QUrl &) {
            // Qt 6.4 hands the description on as the query had it, "+" for each space.
            const QString said = QString(description).replace(u'+', u' ');
            const QString words = said.isEmpty() ? error : error + QLatin1String(": ") + said;
            if (error == u"access_denied")
                finish({Outcome::Refused, tr("The sign-in was declined (%1)").arg(words)});
            else if (error == u"invalid_grant")
                finish({Outcome::Refused,
                    tr("The provider no longer accepts this sign-in (%1): sign in again")
                        .arg(words)});
            else
                finish({Outcome::Failed, tr("The sign-in failed: %1").arg(words)});
        });
    connect(m_flow, &QAbstractOAuth::requestFailed, this, [this](QAbstractOAuth::Error error) {
        finish({Outcome::Failed,
            tr("The provider %1 could not be reached or answered no tokens (error %2)")
                .arg(m_provider.name)
                .arg(int(error))});
    });
    return m_flow;
}

QCoro::Task<MailSignIn::Result> MailSignIn::signIn()
{
    auto *flow = makeFlow();
    // Only this machine may answer: a listener on 127.0.0.1 at a port the system picks.
    auto *handler = new QOAuthHttpServerReplyHandler(QHostAddress::LocalHost, 0, flow);
    if (!handler->isListening()) {
        finish({Outcome::Failed, tr("No port on 127.0.0.1 could be opened for the sign-in")});
        co_return co_await awaitEnd();
    }
    handler->setCallbackText(tr("Brisvane has the sign-in. You can close this page."));
    flow->setReplyHandler(handler);
    // PKCE (RFC 7636): Qt 6.4's flow has none of its own, so its parameter hook adds it.
    QByteArray random(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(reinterpret_cast<quint32 *>(random.data()),
        reinterpret_cast<quint32 *>(random.data() + 32));
    m_verifier = base64Url(random);
    const QByteArray challenge
        = base64Url(QCryptographicHash::hash(m_verifier, QCryptographicHash::Sha256));
    const auto extra = m_provider.extraParameters;
    flow->setModifyParametersFunction(
        [verifier = m_verifier, challenge, extra](
            QAbstractOAuth::Stage stage, QMultiMap<QString, QVariant> *parameters) {
            if (stage == QAbstractOAuth::Stage::RequestingAuthorization) {
                parameters->insert(QStringLiteral("code_challenge"), challenge);
                parameters->insert(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
                for (auto it = extra.cbegin(); it != extra.cend(); ++it)
                    parameters->insert(it.key(), it.value());
            } else if (stage == QAbstractOAuth::Stage::RequestingAccessToken) {
                parameters->insert(QStringLiteral("code_verifier"), verifier);
            }
        });
    connect(flow, &QAbstractOAuth::authorizeWithBrowser, this, [this](const QUrl &url) {
        if (m_browser)
            m_browser(url);
    });
    m_result.reset();
    detach(limit(++m_generation));
    flow->grant();
    co_return co_await awaitEnd();
}

QCoro::Task<MailSignIn::Result> MailSignIn::refresh(QString refreshToken)
{
    auto *flow = makeFlow();
    // Reads the token endpoint's answer; no listener: no browser comes back.
    flow->setReplyHandler(new TokenReplyHandler(
        [this](const QString &error, const QString &description) {
            Q_EMIT m_flow->error(error, description, {});
        },
        flow));
    m_result.reset();
    ++m_generation;
    flow->setRefreshToken(refreshToken);
    flow->refreshAccessToken();
    Result result = co_await awaitEnd();
    // Most providers keep the refresh token; one that gave none keeps the old one valid.
    if (result.outcome == Outcome::Granted && result.refreshToken.isEmpty())
        result.refreshToken = refreshToken;
    co_return result;
}

QCoro::Task<MailSignIn::Result> MailSignIn::awaitEnd()
{
    const bool ended = co_await m_clock.until(
        [this] { return m_result.has_value(); }, this, &MailSignIn::ended, this);
    if (!ended)
        co_return Result{Outcome::Failed, QStringLiteral("the sign-in was given up")};
    co_return *m_result;
}

// A browser closed without an answer would leave the listener waiting for ever.
QCoro::Task<> MailSignIn::limit(int generation)
{
    const bool waited = co_await m_clock.sleep(kLimitSeconds, this);
    if (!waited || generation != m_generation || m_result)
        co_return;
    finish({Outcome::TimedOut,
        tr("No answer from the browser within %n minute(s): the sign-in is given up", nullptr,
            kLimitSeconds / 60)});
}

void MailSignIn::finish(Result result)
{
    if (m_result)
        return;
    m_result = std::move(result);
    // The listener goes at once: nothing else may come to it.
    if (m_flow)
        for (auto *handler : m_flow->findChildren<QOAuthHttpServerReplyHandler *>())
            handler->close();
    Q_EMIT ended();
}
