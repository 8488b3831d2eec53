#include "dovecotserver.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHostAddress>
#include <QStandardPaths>
#include <QTcpSocket>

#include <algorithm>
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

bool DovecotServer::hasImap()
{
    return QFile::exists(QStringLiteral("/usr/lib/dovecot/imap"))
        || QFile::exists(QStringLiteral("/usr/libexec/dovecot/imap"));
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
    QString config = QStringLiteral("protocols = pop3%10\n"
                                    "listen = 127.0.0.1%11\n"
                                    "base_dir = %1/run\n"
                                    "state_dir = %1/state\n"
                                    "log_path = %1/dovecot.log\n"
                                    "ssl = %2\n"
                                    "ssl_cert = <%1/cert.pem\n"
                                    "ssl_key = <%1/key.pem\n"
                                    "disable_plaintext_auth = no\n"
                                    "auth_mechanisms = %3\n"
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
                                    "%12"
                                    "userdb {\n  driver = passwd-file\n  args = %1/passwd\n}\n");
    config = config
                 .arg(m_dir.path(), m_options.tls ? QStringLiteral("yes") : QStringLiteral("no"),
                     !m_oauth2Issuer.isEmpty() ? m_oauth2Mechanisms
                                               : QStringLiteral("plain")
                             + (m_options.apop ? QStringLiteral(" apop") : QString()),
                     root ? QStringLiteral("dovenull") : me, root ? QStringLiteral("dovecot") : me)
                 .arg(m_pop3Port)
                 .arg(m_options.tls ? m_pop3sPort : freePort())
                 .arg(root ? QStringLiteral("dovecot") : groupName(getgid()))
                 // Without root there is no chroot; these two services use one by default.
                 .arg(root ? QString() : QStringLiteral("  chroot =\n"))
                 .arg(m_options.imap ? QStringLiteral(" imap") : QString())
                 .arg(m_alsoListen.isEmpty() ? QString() : QStringLiteral(", ") + m_alsoListen)
                 .arg(passdb());
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
    writeFile(QStringLiteral("dovecot.conf"), config.toUtf8());
    writeFile(QStringLiteral("passwd"), m_passwd.toUtf8());
}

// Dovecot 2.3.19's auth process crashed at a second log-on whose only check was an
// introspection endpoint answering HTTP/1.0: the provider speaks HTTP/1.1 and answers
// tokeninfo too.
QString DovecotServer::passdb() const
{
    if (m_oauth2Issuer.isEmpty())
        return QStringLiteral(
            "passdb {\n  driver = passwd-file\n  args = scheme=PLAIN %1/passwd\n}\n")
            .arg(m_dir.path());
    const QString issuer = m_oauth2Issuer;
    writeFile(QStringLiteral("oauth2.conf"),
        QStringLiteral("tokeninfo_url = %1/tokeninfo?access_token=\n"
                       "introspection_url = %2/token/introspection\n"
                       "introspection_mode = post\n"
                       "username_attribute = sub\n"
                       "active_attribute = active\n"
                       "active_value = true\n")
            .arg(issuer,
                QString(issuer).replace(
                    QLatin1String("://"), QLatin1String("://dovecot:dovecot-secret@")))
            .toUtf8());
    return QStringLiteral(
        "passdb {\n  driver = oauth2\n  mechanisms = %1\n  args = %2/oauth2.conf\n}\n")
        .arg(m_oauth2Mechanisms, m_dir.path());
}

bool DovecotServer::start(QString *why)
{
    if (!prepare(program(), why))
        return false;
    if (m_options.imap) {
        m_imapPort = freePort();
        m_imapsPort = freePort();
    }
    writeConfig();
    return startServer(program(),
               {QStringLiteral("-F"), QStringLiteral("-c"), path(QStringLiteral("dovecot.conf"))},
               why)
        && (!m_options.imap || waitForImap(why));
}

bool DovecotServer::waitForImap(QString *why)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_imapPort);
        if (probe.waitForConnected(500) && probe.waitForReadyRead(2000)
            && probe.readLine().startsWith("* OK"))
            return true;
        if (m_process.waitForFinished(100)) // returns early only when dovecot ends
            break;
    }
    *why = QStringLiteral("dovecot does not answer on IMAP port %1: ").arg(m_imapPort) + log();
    return false;
}

void DovecotServer::deliver(const QString &user, const QByteArray &message, const QString &flags)
{
    if (flags.isEmpty()) {
        PopServerFixture::deliver(user, message);
        return;
    }
    ++m_flaggedDelivered;
    const QString name = QStringLiteral("%1.M%2P2.bvanetest")
                             .arg(1700000000 + m_flaggedDelivered)
                             .arg(m_flaggedDelivered);
    // Written aside and moved in, so that a server watching the folder never sees half of it.
    const QString temporary = maildir(user) + QLatin1String("/tmp/") + name;
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly) || out.write(message) != message.size())
        qWarning("cannot deliver %s", qPrintable(temporary));
    out.close();
    giveToMailUser(temporary);
    if (!QFile::rename(temporary,
            maildir(user) + QLatin1String("/cur/") + name + QLatin1String(":2,") + flags))
        qWarning("cannot move %s into place", qPrintable(temporary));
}

bool DovecotServer::imapSession(const QString &user, const QString &password,
    const QList<QByteArray> &commands, QString *why) const
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, m_imapPort);
    QByteArray seen;
    const auto answered = [&](const QByteArray &tag) {
        while (!seen.contains("\r\n" + tag + ' ') && !seen.startsWith(tag + ' ')) {
            if (!socket.waitForReadyRead(10000))
                return false;
            seen += socket.readAll();
        }
        const qsizetype at = seen.lastIndexOf(tag + ' ');
        const bool ok = seen.mid(at + tag.size() + 1).startsWith("OK");
        seen.clear();
        return ok;
    };
    QList<QByteArray> lines{
        "LOGIN \"" + user.toUtf8() + "\" \"" + password.toUtf8() + '"', "SELECT INBOX"};
    lines += commands;
    lines << "LOGOUT";
    if (!socket.waitForConnected(5000) || !socket.waitForReadyRead(5000)) {
        *why = socket.errorString();
        return false;
    }
    socket.readAll();
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QByteArray tag = 't' + QByteArray::number(i);
        socket.write(tag + ' ' + lines.at(i) + "\r\n");
        if (!answered(tag)) {
            *why = QStringLiteral("%1 was refused").arg(QString::fromUtf8(lines.at(i)));
            return false;
        }
    }
    return true;
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
