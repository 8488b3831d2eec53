#include "popserverfixture.h"

#include "support/endprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>

#include <pwd.h>
#include <unistd.h>

PopServerFixture::PopServerFixture(QString name, QString maildirPattern, QString logName)
    : m_name(std::move(name))
    , m_maildirPattern(std::move(maildirPattern))
    , m_logName(std::move(logName))
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

PopServerFixture::~PopServerFixture()
{
    // The master takes its session processes down with it.
    endProcess(m_process, 10000);
}

// The kernel may offer again a port it has just been given back: two listeners of one server
// (POP3 and POP3S, IMAP and IMAPS) would then collide. No port is handed out twice.
quint16 PopServerFixture::freePort()
{
    static QSet<quint16> handedOut;
    for (;;) {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost, 0);
        const quint16 port = probe.serverPort();
        if (port != 0 && !handedOut.contains(port)) {
            handedOut.insert(port);
            return port;
        }
    }
}

bool PopServerFixture::run(const QString &program, const QStringList &args, QString *why)
{
    QProcess process;
    process.start(program, args);
    if (process.waitForFinished(30000) && process.exitCode() == 0)
        return true;
    *why = program + QLatin1String(": ") + QString::fromLocal8Bit(process.readAllStandardError());
    return false;
}

QByteArray PopServerFixture::cryptedPassword(const QString &password)
{
    QProcess crypt;
    crypt.start(QStringLiteral("openssl"),
        {QStringLiteral("passwd"), QStringLiteral("-6"), QStringLiteral("-stdin")});
    crypt.write(password.toUtf8() + '\n');
    crypt.closeWriteChannel();
    crypt.waitForFinished(10000);
    return crypt.readAllStandardOutput().trimmed();
}

QString PopServerFixture::maildir(const QString &user) const
{
    return path(m_maildirPattern.arg(user));
}

void PopServerFixture::giveToMailUser(const QString &file) const
{
    if (geteuid() == 0 && chown(QFile::encodeName(file).constData(), m_mailUid, m_mailGid) != 0)
        qWarning("cannot hand %s to the mail user", qPrintable(file));
}

void PopServerFixture::makeMaildir(const QString &user)
{
    for (const char *sub : {"/new", "/cur", "/tmp"})
        QDir().mkpath(maildir(user) + QLatin1String(sub));
    // Every folder from the first below the temporary one down to new/, cur/ and tmp/.
    const QString relative = QDir(m_dir.path()).relativeFilePath(maildir(user));
    QString folder = m_dir.path();
    for (const QString &part : relative.split(u'/')) {
        folder += u'/' + part;
        giveToMailUser(folder);
    }
    for (const char *sub : {"/new", "/cur", "/tmp"})
        giveToMailUser(maildir(user) + QLatin1String(sub));
}

void PopServerFixture::deliver(const QString &user, const QByteArray &message)
{
    ++m_delivered;
    const QString name
        = QStringLiteral("%1.M%2P1.bvanetest").arg(1700000000 + m_delivered).arg(m_delivered);
    // Written aside and moved in, so that a server watching the folder never sees half of it.
    const QString temporary = maildir(user) + QLatin1String("/tmp/") + name;
    QFile out(temporary);
    if (!out.open(QIODevice::WriteOnly) || out.write(message) != message.size())
        qWarning("cannot deliver %s", qPrintable(temporary));
    out.close();
    giveToMailUser(temporary);
    if (!QFile::rename(temporary, maildir(user) + QLatin1String("/new/") + name))
        qWarning("cannot move %s into place", qPrintable(temporary));
}

int PopServerFixture::messagesOf(const QString &user) const
{
    return int(QDir(maildir(user) + QLatin1String("/new")).entryList(QDir::Files).size()
        + QDir(maildir(user) + QLatin1String("/cur")).entryList(QDir::Files).size());
}

QString PopServerFixture::log() const
{
    QFile file(path(m_logName));
    file.open(QIODevice::ReadOnly);
    return QString::fromLocal8Bit(file.readAll());
}

void PopServerFixture::writeFile(const QString &name, const QByteArray &text) const
{
    QFile file(path(name));
    file.open(QIODevice::WriteOnly);
    file.write(text);
}

bool PopServerFixture::prepare(const QString &program, QString *why)
{
    if (program.isEmpty()) {
        *why = m_name + QStringLiteral(" is not installed");
        return false;
    }
    if (!m_dir.isValid())
        return false;
    m_pop3Port = freePort();
    m_pop3sPort = freePort();
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

bool PopServerFixture::startServer(const QString &program, const QStringList &args, QString *why)
{
    m_process.start(program, args);
    if (!m_process.waitForStarted(10000)) {
        *why = m_name + QStringLiteral(" did not start: ") + m_process.errorString();
        return false;
    }
    return waitUntilListening(why);
}

bool PopServerFixture::waitUntilListening(QString *why)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        if (m_process.state() == QProcess::NotRunning) {
            *why = m_name + QStringLiteral(" ended: ") + QString::fromLocal8Bit(m_process.readAll())
                + log();
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, m_pop3Port);
        if (probe.waitForConnected(500) && probe.waitForReadyRead(2000)
            && probe.readLine().startsWith("+OK"))
            return true;
        m_process.waitForFinished(100); // returns early only when the server ends
    }
    *why = m_name + QStringLiteral(" does not answer on port %1: ").arg(m_pop3Port) + log();
    return false;
}
