#include "dovecotserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

quint16 freePort()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

bool run(const QString &program, const QStringList &args, QString *why)
{
    QProcess process;
    process.start(program, args);
    if (process.waitForFinished(30000) && process.exitCode() == 0)
        return true;
    *why = program + QLatin1String(": ") + QString::fromLocal8Bit(process.readAllStandardError());
    return false;
}

QString userName(uid_t uid)
{
    const passwd *entry = getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(uid);
}

QString groupName(gid_t gid)
{
    const group *entry = getgrgid(gid);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(gid);
}

} // namespace

QString DovecotServer::program()
{
    return QStandardPaths::findExecutable(QStringLiteral("dovecot"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin"),
            QStringLiteral("/usr/bin")});
}

bool DovecotServer::hasImap()
{
    return QFile::exists(QStringLiteral("/usr/lib/dovecot/imap"))
        || QFile::exists(QStringLiteral("/usr/libexec/dovecot/imap"));
}

DovecotServer::DovecotServer()
    : DovecotServer(Options{})
{ }

DovecotServer::DovecotServer(Options options)
    : m_options(options)
{
    if (geteuid() == 0) {
        // Mail is not read as root; nobody owns the Maildirs.
        const passwd *nobody = getpwnam("nobody");
        m_mailUid = nobody ? nobody->pw_uid : 65534;
        m_mailGid = nobody ? nobody->pw_gid : 65534;
        QFile::setPermissions(m_dir.path(),
            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    } else {
        m_mailUid = getuid();
        m_mailGid = getgid();
    }
    m_process.setProcessChannelMode(QProcess::MergedChannels);
}

DovecotServer::~DovecotServer()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The master takes its login, auth and pop3 processes down with it.
    m_process.terminate();
    if (!m_process.waitForFinished(10000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString DovecotServer::maildir(const QString &user) const
{
    return path(QStringLiteral("mail/%1/Maildir").arg(user));
}

void DovecotServer::giveToMailUser(const QString &file) const
{
    if (geteuid() == 0 && chown(QFile::encodeName(file).constData(), m_mailUid, m_mailGid) != 0)
        qWarning("cannot hand %s to the mail user", qPrintable(file));
}

void DovecotServer::addUser(const QString &name, const QString &password)
{
    const QString home = path(QStringLiteral("mail/") + name);
    QDir().mkpath(home);
    for (const char *sub : {"", "/new", "/cur", "/tmp"})
        QDir().mkpath(maildir(name) + QLatin1String(sub));
    for (const QString &dir :
        {path(QStringLiteral("mail")), home, maildir(name), maildir(name) + QLatin1String("/new"),
            maildir(name) + QLatin1String("/cur"), maildir(name) + QLatin1String("/tmp")})
        giveToMailUser(dir);
    m_passwd += QStringLiteral("%1:{PLAIN}%2:%3:%4::%5::\n")
                    .arg(name, password)
                    .arg(m_mailUid)
                    .arg(m_mailGid)
                    .arg(home);
}

void DovecotServer::deliver(const QString &user, const QByteArray &message, const QString &flags)
{
    ++m_delivered;
    const QString name
        = QStringLiteral("%1.M%2P1.bvanetest").arg(1700000000 + m_delivered).arg(m_delivered);
    const QString file = flags.isEmpty()
        ? maildir(user) + QLatin1String("/new/") + name
        : maildir(user) + QLatin1String("/cur/") + name + QLatin1String(":2,") + flags;
    // Written aside and moved in, so that a server watching the folder never sees half of it.
    const QString temporary = maildir(user) + QLatin1String("/tmp/") + name;
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly) || out.write(message) != message.size())
        qWarning("cannot deliver %s", qPrintable(file));
    out.close();
    giveToMailUser(temporary);
    if (!QFile::rename(temporary, file))
        qWarning("cannot move %s into place", qPrintable(file));
}

int DovecotServer::flaggedOf(const QString &user, QChar flag) const
{
    const QStringList names = QDir(maildir(user) + QLatin1String("/cur")).entryList(QDir::Files);
    return int(std::count_if(names.begin(), names.end(), [flag](const QString &name) {
        return name.section(QLatin1String(":2,"), 1).contains(flag);
    }));
}

QStringList DovecotServer::subjectsOf(const QString &user) const
{
    QStringList subjects;
    for (const char *sub : {"/new", "/cur"}) {
        const QDir dir(maildir(user) + QLatin1String(sub));
        for (const QString &name : dir.entryList(QDir::Files)) {
            QFile file(dir.filePath(name));
            file.open(QIODevice::ReadOnly);
            while (!file.atEnd()) {
                const QByteArray line = file.readLine().trimmed();
                if (line.startsWith("Subject: ")) {
                    subjects << QString::fromUtf8(line.mid(9));
                    break;
                }
            }
        }
    }
    subjects.sort();
    return subjects;
}

int DovecotServer::messagesOf(const QString &user) const
{
    return int(QDir(maildir(user) + QLatin1String("/new")).entryList(QDir::Files).size()
        + QDir(maildir(user) + QLatin1String("/cur")).entryList(QDir::Files).size());
}

QList<QSslCertificate> DovecotServer::certificate() const
{
    return QSslCertificate::fromPath(certificatePath());
}

QString DovecotServer::log() const
{
    QFile file(path(QStringLiteral("dovecot.log")));
    file.open(QIODevice::ReadOnly);
    return QString::fromLocal8Bit(file.readAll());
}

bool DovecotServer::makeCertificate(QString *why)
{
    return run(QStringLiteral("openssl"),
        {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
            QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
            QStringLiteral("-keyout"), path(QStringLiteral("key.pem")), QStringLiteral("-out"),
            certificatePath(), QStringLiteral("-days"), QStringLiteral("2"),
            QStringLiteral("-subj"), QStringLiteral("/CN=localhost"), QStringLiteral("-addext"),
            QStringLiteral("subjectAltName=DNS:localhost,IP:127.0.0.1")},
        why);
}

void DovecotServer::writeConfig()
{
    const bool root = geteuid() == 0;
    const QString me = userName(getuid());
    QString config
        = QStringLiteral("protocols = pop3%10\n"
                         "listen = 127.0.0.1\n"
                         "base_dir = %1/run\n"
                         "state_dir = %1/state\n"
                         "log_path = %1/dovecot.log\n"
                         "ssl = %2\n"
                         "ssl_cert = <%1/cert.pem\n"
                         "ssl_key = <%1/key.pem\n"
                         "disable_plaintext_auth = no\n"
                         "auth_mechanisms = plain%3\n"
                         "auth_failure_delay = 0\n"
                         "default_login_user = %4\n"
                         "default_internal_user = %5\n"
                         "default_internal_group = %8\n"
                         "first_valid_uid = 1\n"
                         "mail_location = maildir:~/Maildir\n"
                         "service pop3-login {\n%9"
                         "  inet_listener pop3 {\n    port = %6\n  }\n"
                         "  inet_listener pop3s {\n    port = %7\n    ssl = yes\n  }\n"
                         "}\n"
                         "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN %1/passwd\n}\n"
                         "userdb {\n  driver = passwd-file\n  args = %1/passwd\n}\n");
    config = config
                 .arg(m_dir.path(), m_options.tls ? QStringLiteral("yes") : QStringLiteral("no"),
                     m_options.apop ? QStringLiteral(" apop") : QString(),
                     root ? QStringLiteral("dovenull") : me, root ? QStringLiteral("dovecot") : me)
                 .arg(m_pop3Port)
                 .arg(m_options.tls ? m_pop3sPort : freePort())
                 .arg(root ? QStringLiteral("dovecot") : groupName(getgid()))
                 // Without root there is no chroot; these two services use one by default.
                 .arg(root ? QString() : QStringLiteral("  chroot =\n"))
                 .arg(m_options.imap ? QStringLiteral(" imap") : QString());
    if (!root)
        config += QStringLiteral("service anvil {\n  chroot =\n}\n");
    if (m_options.imap) {
        config += QStringLiteral("service imap-login {\n%1"
                                 "  inet_listener imap {\n    port = %2\n  }\n"
                                 "  inet_listener imaps {\n    port = %3\n    ssl = yes\n  }\n"
                                 "}\n")
                      .arg(root ? QString() : QStringLiteral("  chroot =\n"))
                      .arg(m_imapPort)
                      .arg(m_options.tls ? m_imapsPort : freePort());
        if (!m_options.imapCapability.isEmpty())
            config += QStringLiteral("imap_capability = %1\n").arg(m_options.imapCapability);
    }
    QFile file(path(QStringLiteral("dovecot.conf")));
    file.open(QIODevice::WriteOnly);
    file.write(config.toUtf8());
    QFile passwd(path(QStringLiteral("passwd")));
    passwd.open(QIODevice::WriteOnly);
    passwd.write(m_passwd.toUtf8());
}

bool DovecotServer::start(QString *why)
{
    if (program().isEmpty()) {
        *why = QStringLiteral("dovecot is not installed");
        return false;
    }
    if (!m_dir.isValid() || !makeCertificate(why))
        return false;
    m_pop3Port = freePort();
    m_pop3sPort = freePort();
    if (m_options.imap) {
        m_imapPort = freePort();
        m_imapsPort = freePort();
    }
    writeConfig();
    m_process.start(program(),
        {QStringLiteral("-F"), QStringLiteral("-c"), path(QStringLiteral("dovecot.conf"))});
    if (!m_process.waitForStarted(10000)) {
        *why = QStringLiteral("dovecot did not start: ") + m_process.errorString();
        return false;
    }
    return waitUntilListening(m_pop3Port, "+OK", why)
        && (!m_options.imap || waitUntilListening(m_imapPort, "* OK", why));
}

bool DovecotServer::waitUntilListening(quint16 port, const QByteArray &greeting, QString *why)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        if (m_process.state() == QProcess::NotRunning) {
            *why = QStringLiteral("dovecot ended: ") + QString::fromLocal8Bit(m_process.readAll())
                + log();
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(500) && probe.waitForReadyRead(2000)
            && probe.readLine().startsWith(greeting))
            return true;
        m_process.waitForFinished(100); // returns early only when dovecot ends
    }
    *why = QStringLiteral("dovecot does not answer on port %1: ").arg(port) + log();
    return false;
}
