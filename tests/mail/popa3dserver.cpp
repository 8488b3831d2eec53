#include "popa3dserver.h"

#include "popserverfixture.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>

#include <pwd.h>
#include <unistd.h>

namespace {
constexpr const char *kUnpacked = "/opt/bvane-peers/popa3d/usr/sbin/popa3d";

QByteArray readFile(const QString &name)
{
    QFile file(name);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

bool writeFile(const QString &name, const QByteArray &text)
{
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

uint nobodyId()
{
    const passwd *nobody = getpwnam("nobody");
    return nobody ? nobody->pw_uid : 65534;
}
} // namespace

QString Popa3dServer::program()
{
    const QString path = qEnvironmentVariable("BVANE_POPA3D", QLatin1String(kUnpacked));
    return QFile::exists(path) ? path : QString();
}

QString Popa3dServer::whyNot()
{
    if (program().isEmpty())
        return QStringLiteral("popa3d is not unpacked at %1 (scripts/bvane-dev deps does it)")
            .arg(QLatin1String(kUnpacked));
    if (geteuid() != 0)
        return QStringLiteral("popa3d needs root: it reads /etc/shadow, chroots and changes user, "
                              "and the test gives it a mount namespace of its own");
    return {};
}

Popa3dServer::Popa3dServer()
{
    // Every system user stays known inside the namespace; popa3d's own user is added.
    m_passwd = readFile(QStringLiteral("/etc/passwd"))
        + "popa3d:x:64999:64999::/nonexistent:/bin/false\n";
    m_shadow = readFile(QStringLiteral("/etc/shadow")) + "popa3d:*:19000:0:99999:7:::\n";
    QDir().mkpath(path(QStringLiteral("var/mail")));
    QDir().mkpath(path(QStringLiteral("var/lib/popa3d")));
    QFile::setPermissions(m_dir.path(),
        QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
            | QFile::ExeOther);
    connect(&m_server, &QTcpServer::newConnection, this, &Popa3dServer::serve);
}

Popa3dServer::~Popa3dServer()
{
    for (QProcess *session : std::as_const(m_sessions)) {
        session->kill();
        session->waitForFinished(5000);
    }
}

void Popa3dServer::addUser(const QString &name, const QString &password)
{
    QProcess crypt;
    crypt.start(QStringLiteral("openssl"),
        {QStringLiteral("passwd"), QStringLiteral("-6"), QStringLiteral("-stdin")});
    crypt.write(password.toUtf8() + '\n');
    crypt.closeWriteChannel();
    crypt.waitForFinished(10000);
    const QByteArray id = QByteArray::number(nobodyId());
    m_passwd += name.toUtf8() + ":x:" + id + ':' + id + "::/nonexistent:/bin/false\n";
    m_shadow
        += name.toUtf8() + ':' + crypt.readAllStandardOutput().trimmed() + ":19000:0:99999:7:::\n";
    deliver(name, {});
}

void Popa3dServer::deliver(const QString &user, const QByteArray &message)
{
    const QString mailbox = path(QStringLiteral("var/mail/") + user);
    QFile file(mailbox);
    file.open(QIODevice::Append);
    if (!message.isEmpty())
        file.write("From sender@example.org Tue Dec  8 08:00:00 2026\n" + message + "\n");
    file.close();
    const uint id = nobodyId();
    if (chown(QFile::encodeName(mailbox).constData(), id, id) != 0)
        qWarning("cannot hand %s to nobody", qPrintable(mailbox));
    QFile::setPermissions(mailbox, QFile::ReadOwner | QFile::WriteOwner);
}

int Popa3dServer::messagesOf(const QString &user) const
{
    const QByteArray mbox = readFile(path(QStringLiteral("var/mail/") + user));
    return int(mbox.count("\nFrom ") + (mbox.startsWith("From ") ? 1 : 0));
}

QString Popa3dServer::log() const
{
    return QString::fromLocal8Bit(readFile(path(QStringLiteral("popa3d.log"))));
}

bool Popa3dServer::start(QString *why)
{
    *why = whyNot();
    if (!why->isEmpty())
        return false;
    if (!writeFile(path(QStringLiteral("passwd")), m_passwd)
        || !writeFile(path(QStringLiteral("shadow")), m_shadow)
        || !writeFile(path(QStringLiteral("group")),
            readFile(QStringLiteral("/etc/group")) + "popa3d:x:64999:\n")) {
        *why = QStringLiteral("cannot write the namespace's files");
        return false;
    }
    if (!m_server.listen(QHostAddress::LocalHost, PopServerFixture::freePort())) {
        *why = m_server.errorString();
        return false;
    }
    return true;
}

// One connection: popa3d in its namespace, its standard input and output joined to the
// socket as inetd would.
void Popa3dServer::serve()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        client->setParent(this);
        auto *session = new QProcess(this);
        m_sessions << session;
        session->setStandardErrorFile(path(QStringLiteral("popa3d.log")), QIODevice::Append);
        const QString dir = m_dir.path();
        const QString script
            = QStringLiteral("mount --make-rprivate / && mount --bind %1/passwd /etc/passwd && "
                             "mount --bind %1/shadow /etc/shadow && mount --bind %1/group "
                             "/etc/group && mount --bind %1/var /var && exec \"$0\"")
                  .arg(dir);
        connect(client, &QTcpSocket::readyRead, session,
            [client, session] { session->write(client->readAll()); });
        connect(session, &QProcess::readyReadStandardOutput, client,
            [client, session] { client->write(session->readAllStandardOutput()); });
        connect(session, &QProcess::finished, client, [client] { client->disconnectFromHost(); });
        connect(client, &QTcpSocket::disconnected, session,
            [session] { session->closeWriteChannel(); });
        session->start(QStringLiteral("unshare"),
            {QStringLiteral("-m"), QStringLiteral("sh"), QStringLiteral("-c"), script, program()});
    }
}
