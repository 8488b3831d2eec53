// Logging on with OAuth2 access tokens: Dovecot's oauth2 passdb checks them at a real OpenID
// provider on loopback, which hands them out after its login and consent pages. POP3 and IMAP,
// OAUTHBEARER where offered and XOAUTH2 where it is the only one, the refusal of a token the
// provider does not know (the server's JSON error answered and named), one refresh after a
// refusal, and the sign-in itself: the browser (a script walking the provider's pages) comes
// back to the program's loopback listener, declines, or never answers.

#include "clock/virtualclock.h"
#include "craftedmessages.h"
#include "dovecotserver.h"
#include "mail/bearer.h"
#include "mail/imapmail.h"
#include "mail/mailerror.h"
#include "mail/mailsignin.h"
#include "mail/mmail.h"
#include "mail/oauthtokens.h"
#include "mailspies.h"
#include "oidcprovider.h"

#include <QProcess>
#include <QTest>

#include <memory>

// Hands out the listed tokens in turn (an empty one: "not signed in") and notes each ask.
class ListedTokens : public AccessTokenSource
{
public:
    void accessToken(bool fresh, QObject *context, Done done) override
    {
        asked << fresh;
        const QString token = tokens.value(asked.size() - 1);
        QMetaObject::invokeMethod(
            context, [done, token] { done(token, token.isEmpty() ? "not signed in" : ""); },
            Qt::QueuedConnection);
    }

    QStringList tokens;
    QList<bool> asked;
};

class tst_BearerDovecot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void logsOnOrNamesTheRefusal_data();
    void logsOnOrNamesTheRefusal();
    void refusedTokenIsRefreshedOnce_data();
    void refusedTokenIsRefreshedOnce();
    void probeTakesTheTokenFromStandardInput();
    void signsInRefreshesAndLearnsOfTheRevocation();
    void signInEnds_data();
    void signInEnds();
    void accountTokensRenewAheadAndAskOnceWhenRevoked();

private:
    // The provider's preset for the client "bvane"; the browser runs the page script.
    std::unique_ptr<MailSignIn> makeSignIn(const QString &consent);
    MailSignIn::Result await(QCoro::Task<MailSignIn::Result> task, qint64 advanceMs = 0);
    bool logsOnWith(const QString &token, const QString &protocol);
    void makeControl(const QString &protocol, const DovecotServer &server);
    QString hostOf(const QString &row, const DovecotServer &server) const;

    OidcProvider provider;
    std::unique_ptr<DovecotServer> dovecot; // OAUTHBEARER and XOAUTH2
    std::unique_ptr<DovecotServer> xoauth2Only;
    QString aliceToken;
    std::unique_ptr<VirtualClock> clock;
    std::unique_ptr<MailSession> mail;
    std::unique_ptr<MailSpies<MailSession>> spies;
};

void tst_BearerDovecot::initTestCase()
{
    if (DovecotServer::program().isEmpty() || !DovecotServer::hasImap())
        QSKIP("Dovecot's IMAP is not installed (Debian package dovecot-imapd)");
    if (const QString why = OidcProvider::whyMissing(); !why.isEmpty())
        QSKIP(qPrintable(why));
    QString why;
    QVERIFY2(provider.start(&why), qPrintable(why));
    for (auto *server : {&dovecot, &xoauth2Only}) {
        *server = std::make_unique<DovecotServer>(DovecotServer::Options{true, false, true, {}});
        (*server)->useOAuth2(provider.issuer(),
            server == &dovecot ? QStringLiteral("xoauth2 oauthbearer") : QStringLiteral("xoauth2"));
        (*server)->addUser(QStringLiteral("alice"), QStringLiteral("unused"));
        for (const char *subject : {"one", "two"})
            (*server)->deliver(QStringLiteral("alice"), CraftedMessages::message(subject));
        QVERIFY2((*server)->start(&why), qPrintable(why));
    }
    const QJsonObject tokens = provider.signIn(QStringLiteral("alice"), &why);
    aliceToken = tokens.value(QLatin1String("access_token")).toString();
    QVERIFY2(!aliceToken.isEmpty(), qPrintable(why));
}

void tst_BearerDovecot::init()
{
    clock = std::make_unique<VirtualClock>();
}

void tst_BearerDovecot::cleanup()
{
    if (QTest::currentTestFailed() && dovecot)
        qInfo().noquote() << "dovecot log:\n"
                          << dovecot->log() << "\nprovider:\n"
                          << provider.log();
    spies.reset();
    mail.reset();
    clock.reset();
}

void tst_BearerDovecot::makeControl(const QString &protocol, const DovecotServer &server)
{
    spies.reset();
    const QString host = hostOf(protocol, server);
    if (host.startsWith(u"imap"))
        mail = std::make_unique<ImapMail>(*clock);
    else
        mail = std::make_unique<mMail>(*clock);
    mail->setCaCertificates(server.certificatePath());
    mail->setHost(host);
    mail->setUserName(QStringLiteral("alice"));
    spies = std::make_unique<MailSpies<MailSession>>(*mail);
}

// "pop3", "pop3s", "imap", "imaps": plain with STLS/STARTTLS or TLS at once.
QString tst_BearerDovecot::hostOf(const QString &row, const DovecotServer &server) const
{
    const quint16 port = row == u"pop3" ? server.pop3Port()
        : row == u"pop3s"               ? server.pop3sPort()
        : row == u"imap"                ? server.imapPort()
                                        : server.imapsPort();
    return QStringLiteral("%1://localhost:%2").arg(row).arg(port);
}

void tst_BearerDovecot::logsOnOrNamesTheRefusal_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<bool>("bothOffered");
    QTest::addColumn<QString>("token"); // "alice": the one the provider gave
    // Signed in: the mechanism the status names; refused: the status of the server's JSON
    // challenge (RFC 7628's error code, or XOAUTH2's HTTP status), so the exchange went on
    // to its end.
    QTest::addColumn<QString>("words");
    for (const char *protocol : {"pop3", "pop3s", "imap", "imaps"}) {
        QTest::addRow("%s OAUTHBEARER", protocol) << protocol << true << "alice"
                                                  << "OAUTHBEARER";
        QTest::addRow("%s XOAUTH2 alone", protocol) << protocol << false << "alice"
                                                    << "XOAUTH2";
    }
    const QString unknown = QStringLiteral("not-a-token-of-the-provider");
    // Longer than POP3's AUTH line may carry: it waits for the server's empty challenge.
    const QString huge = QString(400, u'x');
    QTest::newRow("pop3 OAUTHBEARER refused") << "pop3" << true << unknown << "invalid_token";
    QTest::newRow("pop3s OAUTHBEARER refused, token after the challenge")
        << "pop3s" << true << huge << "invalid_token";
    QTest::newRow("pop3 XOAUTH2 refused") << "pop3" << false << unknown << "invalid_token (401)";
    QTest::newRow("imap OAUTHBEARER refused") << "imap" << true << unknown << "invalid_token";
    QTest::newRow("imaps XOAUTH2 refused") << "imaps" << false << huge << "invalid_token (401)";
}

void tst_BearerDovecot::logsOnOrNamesTheRefusal()
{
    QFETCH(QString, protocol);
    QFETCH(bool, bothOffered);
    QFETCH(QString, token);
    QFETCH(QString, words);
    makeControl(protocol, bothOffered ? *dovecot : *xoauth2Only);
    const bool valid = token == u"alice";
    mail->setBearerToken(valid ? aliceToken : token);
    QVERIFY(spies->request([this] { mail->LogOn(); }));
    QVERIFY(!spies->statusTexts().contains(aliceToken));
    if (!valid) {
        QCOMPARE(spies->lastError(), int(MailError::TokenRefused));
        QVERIFY2(spies->lastErrorText().contains(u"refused the sign-in token of alice")
                && spies->lastErrorText().endsWith(QLatin1String(": ") + words),
            qPrintable(spies->lastErrorText()));
        return;
    }
    QVERIFY2(spies->errors.isEmpty(), qPrintable(spies->lastErrorText()));
    QCOMPARE(mail->MessageCount(), 2);
    QVERIFY(mail->loggedOnWithTls());
    QVERIFY2(spies->statusTexts().contains(QLatin1String("with ") + words),
        qPrintable(spies->statusTexts()));
    QVERIFY(spies->request([this] { mail->Quit(); }));
}

void tst_BearerDovecot::refusedTokenIsRefreshedOnce_data()
{
    QTest::addColumn<QString>("protocol");
    QTest::addColumn<QStringList>("tokens");
    QTest::addColumn<int>("error");
    const QString stale = QStringLiteral("expired-long-ago");
    QTest::newRow("pop3: stale, then fresh") << "pop3" << QStringList{stale, "alice"} << 0;
    QTest::newRow("imaps: stale, then fresh") << "imaps" << QStringList{stale, "alice"} << 0;
    QTest::newRow("imaps: refused twice")
        << "imaps" << QStringList{stale, stale} << int(MailError::TokenRefused);
    QTest::newRow("imap: none to be had")
        << "imap" << QStringList{} << int(MailError::TokenUnavailable);
    QTest::newRow("pop3: none after the refresh")
        << "pop3" << QStringList{stale} << int(MailError::TokenUnavailable);
}

void tst_BearerDovecot::refusedTokenIsRefreshedOnce()
{
    QFETCH(QString, protocol);
    QFETCH(QStringList, tokens);
    QFETCH(int, error);
    ListedTokens source;
    source.tokens = tokens.replaceInStrings(QStringLiteral("alice"), aliceToken);
    makeControl(protocol, *dovecot);
    mail->setTokenSource(&source);
    // Dovecot delays the answers to an address whose log-ons failed (up to 15 s each, its
    // auth penalty): a refusal and the retry after it may take twice that.
    QVERIFY(spies->request([this] { mail->LogOn(); }, 60000));
    QCOMPARE(spies->lastError(), error);
    QCOMPARE(spies->done.size() + spies->errors.size(), 1);
    const QList<bool> asked = tokens.isEmpty() ? QList<bool>{false} : QList<bool>{false, true};
    QCOMPARE(source.asked, asked);
    if (error == 0)
        QCOMPARE(mail->MessageCount(), 2);
    else if (error == MailError::TokenUnavailable)
        QCOMPARE(spies->lastErrorText(), QStringLiteral("not signed in"));
}

void tst_BearerDovecot::probeTakesTheTokenFromStandardInput()
{
    QProcess probe;
    probe.start(QCoreApplication::applicationDirPath() + QLatin1String("/bvane-mailprobe"),
        {QStringLiteral("--bearer"), QStringLiteral("--count-only"), QStringLiteral("--cafile"),
            dovecot->certificatePath(), hostOf(QStringLiteral("imaps"), *dovecot),
            QStringLiteral("alice")});
    probe.write(aliceToken.toUtf8() + '\n');
    probe.closeWriteChannel();
    QVERIFY(probe.waitForFinished(30000));
    QCOMPARE(probe.readAllStandardError(), QByteArray());
    QCOMPARE(probe.exitCode(), 0);
    QCOMPARE(probe.readAllStandardOutput(), QByteArray("2\n"));
}

std::unique_ptr<MailSignIn> tst_BearerDovecot::makeSignIn(const QString &consent)
{
    const OAuthProvider preset{QStringLiteral("test"), QUrl(provider.issuer() + "/auth"),
        QUrl(provider.issuer() + "/token"), QStringLiteral("bvane"), {},
        QStringLiteral("openid offline_access mail"),
        {{QStringLiteral("prompt"), QStringLiteral("consent")}}};
    auto browser = [consent](const QUrl &url) {
        if (consent == u"never")
            return; // a browser closed without an answer
        auto *page = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("BVANE_TEST_CONSENT"), consent);
        page->setProcessEnvironment(environment);
        QObject::connect(page, &QProcess::finished, page, &QObject::deleteLater);
        page->start(QStringLiteral("/usr/bin/python3"),
            {OidcProvider::browserScript(), url.toString(QUrl::FullyEncoded)});
    };
    return std::make_unique<MailSignIn>(*clock, preset, browser);
}

MailSignIn::Result tst_BearerDovecot::await(QCoro::Task<MailSignIn::Result> task, qint64 advanceMs)
{
    std::optional<MailSignIn::Result> result;
    auto running = task.then([&result](MailSignIn::Result r) { result = r; });
    if (advanceMs > 0)
        clock->advance(advanceMs);
    [&] { QTRY_VERIFY_WITH_TIMEOUT(result.has_value(), 30000); }();
    return result.value_or(MailSignIn::Result{});
}

bool tst_BearerDovecot::logsOnWith(const QString &token, const QString &protocol)
{
    makeControl(protocol, *dovecot);
    mail->setBearerToken(token);
    return spies->request([this] { mail->LogOn(); }) && spies->errors.isEmpty()
        && mail->MessageCount() == 2;
}

void tst_BearerDovecot::signsInRefreshesAndLearnsOfTheRevocation()
{
    auto signIn = makeSignIn(QStringLiteral("yes"));
    const MailSignIn::Result granted = await(signIn->signIn());
    QCOMPARE(int(granted.outcome), int(MailSignIn::Outcome::Granted));
    QVERIFY(!granted.refreshToken.isEmpty());
    QVERIFY(granted.expiresIn > 3000);
    QVERIFY(logsOnWith(granted.accessToken, QStringLiteral("imaps")));

    // Expired at the provider: the server refuses it, a refresh brings one it takes.
    provider.expire(granted.accessToken);
    QVERIFY(!logsOnWith(granted.accessToken, QStringLiteral("pop3")));
    const MailSignIn::Result refreshed = await(signIn->refresh(granted.refreshToken));
    QCOMPARE(int(refreshed.outcome), int(MailSignIn::Outcome::Granted));
    QVERIFY(refreshed.accessToken != granted.accessToken);
    QVERIFY(logsOnWith(refreshed.accessToken, QStringLiteral("pop3")));

    provider.revokeGrants(QStringLiteral("alice"));
    const MailSignIn::Result revoked = await(signIn->refresh(refreshed.refreshToken));
    QCOMPARE(int(revoked.outcome), int(MailSignIn::Outcome::Refused));
    QVERIFY2(revoked.text.contains(u"sign in again"), qPrintable(revoked.text));
}

void tst_BearerDovecot::signInEnds_data()
{
    QTest::addColumn<QString>("consent");
    QTest::addColumn<qint64>("advanceMs");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("words");
    QTest::newRow("declined") << "no" << qint64(0) << int(MailSignIn::Outcome::Refused)
                              << "access_denied";
    QTest::newRow("browser closed") << "never" << qint64(MailSignIn::kLimitSeconds * 1000)
                                    << int(MailSignIn::Outcome::TimedOut) << "5 minute(s)";
}

void tst_BearerDovecot::signInEnds()
{
    QFETCH(QString, consent);
    QFETCH(qint64, advanceMs);
    QFETCH(int, outcome);
    QFETCH(QString, words);
    auto signIn = makeSignIn(consent);
    bool ended = false;
    connect(signIn.get(), &MailSignIn::ended, this, [&ended] { ended = true; });
    auto task = signIn->signIn();
    if (advanceMs > 0) {
        clock->advance(advanceMs - 1); // a moment before the limit nothing has ended
        QVERIFY(!ended);
    }
    const MailSignIn::Result result = await(std::move(task), advanceMs > 0 ? 1 : 0);
    QCOMPARE(int(result.outcome), outcome);
    QVERIFY2(result.text.contains(words), qPrintable(result.text));
}

void tst_BearerDovecot::accountTokensRenewAheadAndAskOnceWhenRevoked()
{
    auto signIn = makeSignIn(QStringLiteral("yes"));
    const MailSignIn::Result granted = await(signIn->signIn());
    QCOMPARE(int(granted.outcome), int(MailSignIn::Outcome::Granted));
    OAuthTokens tokens(*clock, *signIn);
    QSignalSpy kept(&tokens, &OAuthTokens::refreshTokenChanged);
    QSignalSpy asked(&tokens, &OAuthTokens::signInNeeded);
    tokens.signedIn(granted.accessToken, granted.refreshToken, granted.expiresIn);
    const auto logOn = [&](const QString &protocol) {
        makeControl(protocol, *dovecot);
        mail->setTokenSource(&tokens);
        return spies->request([this] { mail->LogOn(); });
    };
    QVERIFY(logOn(QStringLiteral("imaps")));
    QCOMPARE(spies->lastError(), 0);
    QCOMPARE(kept.size(), 1); // the sign-in's

    // Expired early at the provider: refused, renewed, logged on, all in one LogOn.
    provider.expire(granted.accessToken);
    QVERIFY(logOn(QStringLiteral("pop3")));
    QCOMPARE(spies->lastError(), 0);
    QVERIFY(spies->statusTexts().contains(u"Renewing the sign-in token"));
    const qsizetype renewals = kept.size();
    QCOMPARE(renewals, 2);

    // Within the last minute of its hour (the provider's lifetime; the renewed token's may
    // have been counted a second longer), the next log-on renews it first.
    clock->advance(qint64(3600 - OAuthTokens::kRefreshAheadSeconds + 1) * 1000);
    QVERIFY(logOn(QStringLiteral("imap")));
    QCOMPARE(spies->lastError(), 0);
    QVERIFY(!spies->statusTexts().contains(u"Renewing"));
    // The provider rotates refresh tokens at each refresh: one more was kept.
    QCOMPARE(kept.size(), renewals + 1);

    // Revoked: asked to sign in again once, however many checks follow.
    provider.revokeGrants(QStringLiteral("alice"));
    for (int check = 0; check < 2; ++check) {
        QVERIFY(logOn(QStringLiteral("imaps")));
        QCOMPARE(spies->lastError(), int(MailError::TokenUnavailable));
    }
    QCOMPARE(asked.size(), 1);
    QVERIFY(asked.first().first().toString().contains(u"sign in again"));
    QVERIFY(tokens.needsSignIn());
    QCOMPARE(kept.last().first().toString(), QString());
}

QTEST_GUILESS_MAIN(tst_BearerDovecot)
#include "tst_bearer_dovecot.moc"
