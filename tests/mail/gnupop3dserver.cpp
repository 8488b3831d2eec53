#include "gnupop3dserver.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

QString GnuPop3dServer::program()
{
    // Debian installs GNU's as pop3d; make sure it is not another server's program.
    const QString found = QStandardPaths::findExecutable(
        QStringLiteral("pop3d"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    if (found.isEmpty())
        return {};
    QProcess version;
    version.start(found, {QStringLiteral("--version")});
    version.waitForFinished(10000);
    return version.readAllStandardOutput().contains("Mailutils") ? found : QString();
}

GnuPop3dServer::GnuPop3dServer()
    : PopServerFixture(
        QStringLiteral("GNU pop3d"), QStringLiteral("mail/%1/INBOX"), QStringLiteral("pop3d.log"))
{ }

QString GnuPop3dServer::logOnName(const QString &name)
{
    return name + u'@' + QLatin1String(kDomain);
}

void GnuPop3dServer::addUser(
    const QString &name, const QString &password, const QString &apopSecret)
{
    makeMaildir(name);
    QProcess crypt;
    crypt.start(QStringLiteral("openssl"),
        {QStringLiteral("passwd"), QStringLiteral("-6"), QStringLiteral("-stdin")});
    crypt.write(password.toUtf8() + '\n');
    crypt.closeWriteChannel();
    crypt.waitForFinished(10000);
    // The virtual domain's passwd file; the mailbox is the home folder's INBOX.
    m_passwd += name.toUtf8() + ':' + crypt.readAllStandardOutput().trimmed() + ':'
        + QByteArray::number(m_mailUid) + ':' + QByteArray::number(m_mailGid)
        + "::" + QFile::encodeName(path(QStringLiteral("mail/") + name)) + ":/bin/false\n";
    if (!apopSecret.isEmpty())
        m_apop += logOnName(name).toUtf8() + ": " + apopSecret.toUtf8() + '\n';
}

bool GnuPop3dServer::writeConfig(QString *why)
{
    QDir().mkpath(path(QStringLiteral("domains")));
    writeFile(QStringLiteral("domains/") + QLatin1String(kDomain), m_passwd);
    writeFile(QStringLiteral("apop.txt"), m_apop);
    // popauth's compatibility form is the one pop3d reads its keys back from.
    if (!run(QStringLiteral("popauth"),
            {QStringLiteral("--compatibility"), QStringLiteral("-c"), QStringLiteral("-f"),
                path(QStringLiteral("apop.txt")), QStringLiteral("-o"),
                path(QStringLiteral("apop.db"))},
            why))
        return false;
    const QString config
        = QStringLiteral("auth { authentication generic; authorization virtdomain; };\n"
                         "virtdomain { passwd-dir \"%1/domains\"; };\n"
                         "logging { syslog false; };\n"
                         "locking { type null; };\n"
                         "mandatory-locking { enable no; };\n"
                         "pidfile \"%1/pop3d.pid\";\n"
                         "apop-database-file \"%1/apop.db\";\n"
                         "apop-database-safety none;\n"
                         "tls-file-checks { key-file none; cert-file none; };\n"
                         "tls { ssl-certificate-file \"%1/cert.pem\"; "
                         "ssl-key-file \"%1/key.pem\"; };\n"
                         "server 127.0.0.1:%2 { tls-mode ondemand; };\n"
                         "server 127.0.0.1:%3 { tls-mode connection; };\n"
                         "server 127.0.0.1:%4 { tls-mode false; };\n")
              .arg(m_dir.path())
              .arg(m_pop3Port)
              .arg(m_pop3sPort)
              .arg(m_plainPort);
    writeFile(QStringLiteral("pop3d.conf"), config.toUtf8());
    return true;
}

bool GnuPop3dServer::start(QString *why)
{
    if (!prepare(program(), why))
        return false;
    m_plainPort = freePort();
    if (!writeConfig(why))
        return false;
    m_process.setStandardOutputFile(path(QStringLiteral("pop3d.log")));
    return startServer(program(),
        {QStringLiteral("--config-file=") + path(QStringLiteral("pop3d.conf")),
            QStringLiteral("--foreground"), QStringLiteral("--daemon")},
        why);
}
