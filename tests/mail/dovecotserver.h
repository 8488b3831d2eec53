#pragma once

#include "popserverfixture.h"

// A private Dovecot POP3 server for one test program: its own configuration, passwd-file and
// Maildirs in a temporary folder, listening on free loopback ports for POP3 (with STLS) and
// POP3S, and with `imap` also for IMAP (with STARTTLS) and IMAPS on the same Maildirs. As root
// it runs its login processes as dovenull and its internals as dovecot, and reads mail as
// nobody; as anyone else, all as that user.
class DovecotServer : public PopServerFixture
{
public:
    struct Options {
        bool tls = true; // STLS and the pop3s port
        bool apop = false; // offer APOP (a timestamp in the greeting)
        bool imap = false; // IMAP and IMAPS beside POP3
        // The capabilities IMAP announces after log-on; empty for Dovecot's own.
        QString imapCapability;
    };

    // The dovecot program, or empty when it is not installed.
    static QString program();
    // Whether Dovecot's IMAP server (dovecot-imapd) is installed.
    static bool hasImap();

    explicit DovecotServer(Options options);
    DovecotServer();

    // Before start().
    void addUser(const QString &name, const QString &password);
    // Before start(), with an OpenID provider's address ("http://127.0.0.1:port",
    // tests/mail/oidc): the users log on with its access tokens only, through these SASL
    // mechanisms (the oauth2 passdb asks its tokeninfo and introspection endpoints as the
    // client "dovecot").
    void useOAuth2(
        const QString &issuer, const QString &mechanisms = QStringLiteral("xoauth2 oauthbearer"))
    {
        m_oauth2Issuer = issuer;
        m_oauth2Mechanisms = mechanisms;
    }
    // An address to listen on besides 127.0.0.1 (in a test's own network namespace).
    void setAlsoListen(const QString &address) { m_alsoListen = address; }
    // Starts and waits until the ports answer; false with the reason (and the log) otherwise.
    bool start(QString *why);

    using PopServerFixture::deliver;
    // A message with Maildir flags (such as "T", marked deleted), in cur/.
    void deliver(const QString &user, const QByteArray &message, const QString &flags);
    quint16 imapPort() const { return m_imapPort; }
    quint16 imapsPort() const { return m_imapsPort; }
    // How many of the user's messages carry the Maildir flag `flag` (S seen, T deleted).
    int flaggedOf(const QString &user, QChar flag) const;
    // Another mail client: logs on over plain IMAP, selects INBOX and sends `commands` in
    // turn (STORE 2 +FLAGS (\Seen), ...), each to its tagged answer; false with why otherwise.
    bool imapSession(const QString &user, const QString &password,
        const QList<QByteArray> &commands, QString *why) const;
    // The Subject lines of the user's messages, sorted.
    QStringList subjectsOf(const QString &user) const;

private:
    void writeConfig();
    QString passdb() const;
    bool waitForImap(QString *why);

    Options m_options;
    QString m_passwd;
    QString m_alsoListen;
    QString m_oauth2Issuer;
    QString m_oauth2Mechanisms;
    quint16 m_imapPort = 0;
    quint16 m_imapsPort = 0;
    int m_flaggedDelivered = 0;
};
