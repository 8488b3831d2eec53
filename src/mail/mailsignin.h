#pragma once

#include <QCoro/QCoroTask>
#include <QMultiMap>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QVariant>

#include <functional>
#include <optional>

class Clock;
class QNetworkAccessManager;
class QOAuth2AuthorizationCodeFlow;

// Where a mail account signs in with OAuth2, and what it asks for. No client id is built in:
// each belongs to whoever registered it with the provider (the README says how).
struct OAuthProvider {
    QString name;
    QUrl authorizationUrl;
    QUrl tokenUrl;
    QString clientId;
    QString clientSecret; // empty for a public client (PKCE alone)
    QString scope;
    // Added to the sign-in page's address (Google's access_type=offline, prompt=consent).
    QMultiMap<QString, QVariant> extraParameters = {};

    // The presets: the scope of full mail access by IMAP or POP3, and a refresh token.
    static OAuthProvider google(const QString &clientId, const QString &clientSecret);
    static OAuthProvider microsoft(const QString &clientId, bool pop3);
};

// The OAuth2 authorization code flow with PKCE (S256) for a mail account: the provider's
// sign-in page opens in the user's browser, which comes back to a listener on 127.0.0.1 at a
// free port; the code is exchanged for the tokens. It ends on that redirect, on the user's
// refusal (access_denied), or after kLimitSeconds on the project's clock (a browser closed
// without an answer); nothing in it waits in the event loop. Refreshing takes the stored
// refresh token to the same token endpoint.
class MailSignIn : public QObject
{
    Q_OBJECT

public:
    static constexpr int kLimitSeconds = 300;
    enum class Outcome { Granted, Refused, TimedOut, Failed };
    struct Result {
        Outcome outcome = Outcome::Failed;
        QString text = {}; // why it did not work, in words; empty when granted
        QString accessToken = {};
        QString refreshToken = {}; // a new one or, on refresh, the one given when none came
        int expiresIn = 0; // seconds, 0 when the provider did not say
    };
    using Browser = std::function<void(const QUrl &)>;

    MailSignIn(Clock &clock, OAuthProvider provider, Browser browser, QObject *parent = nullptr);
    ~MailSignIn() override;

    QCoro::Task<Result> signIn();
    QCoro::Task<Result> refresh(QString refreshToken);

Q_SIGNALS:
    void ended();

private:
    QOAuth2AuthorizationCodeFlow *makeFlow();
    void finish(Result result);
    QCoro::Task<> limit(int generation);
    QCoro::Task<Result> awaitEnd();

    Clock &m_clock;
    OAuthProvider m_provider;
    Browser m_browser;
    QNetworkAccessManager *m_network;
    QOAuth2AuthorizationCodeFlow *m_flow = nullptr;
    std::optional<Result> m_result;
    QByteArray m_verifier;
    int m_generation = 0;
};
