#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// What the real POP3 servers that the tests start share: a temporary folder for their
// configuration and mail, a self-signed certificate (for "localhost" and 127.0.0.1), free
// loopback ports, Maildirs owned by the mail user (nobody as root, else the caller), and the
// server process, stopped with all its children on destruction.
class PopServerFixture
{
public:
    virtual ~PopServerFixture();

    quint16 pop3Port() const { return m_pop3Port; }
    quint16 pop3sPort() const { return m_pop3sPort; }
    QString certificatePath() const { return path(QStringLiteral("cert.pem")); }
    // Any time: a message appears in the user's new/ folder (in order of delivery).
    void deliver(const QString &user, const QByteArray &message);
    // Messages the user still has on the server.
    int messagesOf(const QString &user) const;
    QString log() const;

    static quint16 freePort();
    // Runs a helper program to its end; false with its complaint otherwise.
    static bool run(const QString &program, const QStringList &args, QString *why);
    // The password as crypt(3) keeps it in a passwd or shadow file (SHA-512).
    static QByteArray cryptedPassword(const QString &password);

protected:
    // `maildirPattern` places a user's Maildir below the folder ("mail/%1/Maildir").
    PopServerFixture(QString name, QString maildirPattern, QString logName);

    QString path(const QString &name) const { return m_dir.filePath(name); }
    QString maildir(const QString &user) const;
    // The user's Maildir with new/, cur/ and tmp/, and the folders above it, for the mail user.
    void makeMaildir(const QString &user);
    void giveToMailUser(const QString &file) const;
    // The program found, the folder, the certificate and the two ports ready, or why not.
    bool prepare(const QString &program, QString *why);
    void writeFile(const QString &name, const QByteArray &text) const;
    // Starts the server and waits until the POP3 port greets; false with the reason otherwise.
    bool startServer(const QString &program, const QStringList &args, QString *why);

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_pop3Port = 0;
    quint16 m_pop3sPort = 0;
    uint m_mailUid = 0;
    uint m_mailGid = 0;

private:
    bool waitUntilListening(QString *why);

    QString m_name;
    QString m_maildirPattern;
    QString m_logName;
    int m_delivered = 0;
};
