#pragma once

#include "mail/bearer.h"
#include "mail/mailconnection.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

class ImapConnection;
struct ImapResponse;

// The log-on dialogue on a fresh IMAP connection: greeting, CAPABILITY (from the greeting when
// it carries them), STARTTLS when offered on a plain connection, then AUTHENTICATE PLAIN (with
// the initial response where SASL-IR is offered) or LOGIN unless LOGINDISABLED (with an access
// token: AUTHENTICATE OAUTHBEARER, else XOAUTH2), and SELECT
// INBOX for the message count. The capabilities come from the greeting and the log-on's answer
// where the server sends them there. With pipelining SELECT follows a one-line log-on in the
// same write; its answer counts only once the log-on succeeded (a refusal ends the connection
// first). Reports through callbacks; the password goes only into the commands. While it runs it
// takes the connection's untagged responses.
class ImapLogOn
{
public:
    using Account = MailAccount;
    struct Result {
        QList<QByteArray> capabilities; // upper case
        int messageCount = 0;
        QByteArray uidValidity; // INBOX's, empty when the server gave none
    };
    using Callbacks = LogOnCallbacks<Result>;

    ImapLogOn(ImapConnection &connection, Account account, Callbacks callbacks);

    void start();

private:
    void onGreeting(const ImapResponse &greeting);
    bool onUntagged(const ImapResponse &response);
    void askCapabilities(const std::function<void()> &then);
    void secure();
    void authenticate();
    void authenticatePlain();
    void login();
    void authenticateBearer();
    void onBearerChallenge(const ImapResponse &challenge);
    void onAuthenticated(const ImapResponse &reply);
    void select();
    void selectAhead();
    void finishIfReady();
    bool offers(const QByteArray &capability) const;
    void refused(const ImapResponse &reply);

    ImapConnection &m_connection;
    Account m_account;
    Callbacks m_callbacks;
    QList<QByteArray> m_capabilities;
    qint64 m_exists = -1;
    QByteArray m_uidValidity;
    bool m_upgraded = false;
    bool m_authenticated = false;
    bool m_selectSent = false;
    bool m_selected = false;
    bool m_askingCapabilities = false;
    bool m_usesToken = false;
    Bearer::Exchange m_bearer;
    QString m_method;
};
