#pragma once

#include <QByteArray>
#include <QProcess>
#include <QSslCertificate>
#include <QString>
#include <QTemporaryDir>

// A private Dovecot POP3 server for one test program: its own configuration, passwd-file,
// Maildirs and self-signed certificate (for "localhost" and 127.0.0.1) in a temporary folder,
// listening on free loopback ports for POP3 (with STLS) and POP3S, and with `imap` also for
// IMAP (with STARTTLS) and IMAPS on the same Maildirs. As root it runs its login
// processes as dovenull and its internals as dovecot, and reads mail as nobody; as anyone
// else, all as that user. The server is stopped, with all its processes, on destruction.
class DovecotServer
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
    ~DovecotServer();

    // Before start().
    void addUser(const QString &name, const QString &password);
    // Any time: a message appears in the user's new/ folder (in order of delivery); with
    // Maildir flags (such as "T", marked deleted) in cur/ instead.
    void deliver(const QString &user, const QByteArray &message, const QString &flags = {});
    // Starts and waits until the ports answer; false with the reason (and the log) otherwise.
    bool start(QString *why);

    quint16 pop3Port() const { return m_pop3Port; }
    quint16 pop3sPort() const { return m_pop3sPort; }
    quint16 imapPort() const { return m_imapPort; }
    quint16 imapsPort() const { return m_imapsPort; }
    QList<QSslCertificate> certificate() const;
    QString certificatePath() const { return path(QStringLiteral("cert.pem")); }
    // Messages the user still has on the server.
    int messagesOf(const QString &user) const;
    // How many of them carry the Maildir flag `flag` (S seen, T deleted).
    int flaggedOf(const QString &user, QChar flag) const;
    // The Subject lines of those messages, sorted.
    QStringList subjectsOf(const QString &user) const;
    QString log() const;

private:
    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString maildir(const QString &user) const;
    bool makeCertificate(QString *why);
    void writeConfig();
    bool waitUntilListening(quint16 port, const QByteArray &greeting, QString *why);
    void giveToMailUser(const QString &file) const;

    Options m_options;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_passwd;
    quint16 m_pop3Port = 0;
    quint16 m_pop3sPort = 0;
    quint16 m_imapPort = 0;
    quint16 m_imapsPort = 0;
    uint m_mailUid = 0;
    uint m_mailGid = 0;
    int m_delivered = 0;
};
