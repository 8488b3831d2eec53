#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

// popa3d for one test program. popa3d has no configuration: it serves /var/mail/USER, checks
// passwords through PAM, runs as the user "popa3d" chrooted in /var/lib/popa3d, and talks on
// its standard input and output as inetd starts it. So this listener (on a free loopback
// port, inside the test's event loop) starts one popa3d per connection in a mount namespace
// of its own, where a temporary passwd, shadow and group with the test's users and a
// temporary /var stand in for the system's; the system itself is left as it is. Needs root
// (for the namespace) and an unpacked popa3d (Debian's package conflicts with every other
// POP3 server, so scripts/bvane-dev unpacks it beside them).
class Popa3dServer : public QObject
{
    Q_OBJECT

public:
    // The unpacked popa3d program, or empty.
    static QString program();
    // Empty when popa3d can run here, else why not.
    static QString whyNot();

    Popa3dServer();
    ~Popa3dServer() override;

    // Before start(): a user whose mailbox is read as nobody.
    void addUser(const QString &name, const QString &password);
    void deliver(const QString &user, const QByteArray &message);
    bool start(QString *why);
    quint16 port() const { return m_server.serverPort(); }
    int messagesOf(const QString &user) const;
    QString log() const;

private:
    void serve();
    QString path(const QString &name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
    QTcpServer m_server;
    QByteArray m_passwd;
    QByteArray m_shadow;
    QList<QProcess *> m_sessions;
};
