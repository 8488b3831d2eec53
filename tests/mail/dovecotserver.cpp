#include "dovecotserver.h"

#include <QStandardPaths>

#include <grp.h>
#include <pwd.h>
#include <unistd.h>

namespace {

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

DovecotServer::DovecotServer()
    : DovecotServer(Options{})
{ }

DovecotServer::DovecotServer(Options options)
    : PopServerFixture(
        QStringLiteral("dovecot"), QStringLiteral("mail/%1/Maildir"), QStringLiteral("dovecot.log"))
    , m_options(options)
{ }

void DovecotServer::addUser(const QString &name, const QString &password)
{
    const QString home = path(QStringLiteral("mail/") + name);
    makeMaildir(name);
    m_passwd += QStringLiteral("%1:{PLAIN}%2:%3:%4::%5::\n")
                    .arg(name, password)
                    .arg(m_mailUid)
                    .arg(m_mailGid)
                    .arg(home);
}

void DovecotServer::writeConfig()
{
    const bool root = geteuid() == 0;
    const QString me = userName(getuid());
    QString config
        = QStringLiteral("protocols = pop3\n"
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
                 .arg(root ? QString() : QStringLiteral("  chroot =\n"));
    if (!root)
        config += QStringLiteral("service anvil {\n  chroot =\n}\n");
    writeFile(QStringLiteral("dovecot.conf"), config.toUtf8());
    writeFile(QStringLiteral("passwd"), m_passwd.toUtf8());
}

bool DovecotServer::start(QString *why)
{
    if (!prepare(program(), why))
        return false;
    writeConfig();
    return startServer(program(),
        {QStringLiteral("-F"), QStringLiteral("-c"), path(QStringLiteral("dovecot.conf"))}, why);
}
