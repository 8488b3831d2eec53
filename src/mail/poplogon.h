#pragma once

#include "mail/bearer.h"
#include "mail/mailconnection.h"
#include "mail/popreply.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class PopConnection;
struct PopReply;

// The log-on dialogue on a fresh connection: greeting, CAPA, STLS when offered on a plain
// connection, then APOP (greeting timestamp, no TLS), AUTH PLAIN or USER/PASS as the server
// offers, and STAT. A refused APOP (the user may have no APOP secret) is followed by AUTH PLAIN
// or USER/PASS when CAPA allows one; a refusal names every method tried. Where the server offers
// PIPELINING, PASS and STAT go out with the log-on command; their answers count only when the
// log-on succeeded. With an access token the one method is AUTH OAUTHBEARER, else AUTH XOAUTH2.
// Reports through callbacks; the password goes only into the commands.
class PopLogOn
{
public:
    using Account = MailAccount;
    struct Result {
        PopCapabilities capabilities;
        int messageCount = 0;
    };
    using Callbacks = LogOnCallbacks<Result>;

    PopLogOn(PopConnection &connection, Account account, Callbacks callbacks);

    void start();

private:
    void onGreeting(const PopReply &reply);
    void askCapabilities();
    void onCapabilities(const PopReply &reply);
    void upgrade();
    void authenticate();
    void tryNextMethod();
    void apop();
    void authPlain();
    void userPass();
    void authBearer();
    void onBearerChallenge(const PopReply &challenge);
    void onUser(const PopReply &reply);
    void sendPass();
    void askStatAhead();
    void sendStep(const QByteArray &command, void (PopLogOn::*next)(const PopReply &),
        const QByteArray &logText = {});
    void onAuthenticated(const PopReply &reply);
    void onStat(const PopReply &reply);
    void refused(const PopReply &reply);

    PopConnection &m_connection;
    Account m_account;
    Callbacks m_callbacks;
    QByteArray m_timestamp;
    PopCapabilities m_capabilities;
    bool m_upgraded = false;
    QString m_method;
    QStringList m_tried;
    QList<void (PopLogOn::*)()> m_methods; // still to try, in order
    int m_attempt = 0; // the method being tried
    int m_statAhead = 0; // the attempt STAT was sent behind, without waiting
    Bearer::Exchange m_bearer;
};
