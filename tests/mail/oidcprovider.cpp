#include "oidcprovider.h"

#include "popserverfixture.h"
#include "support/endprocess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTcpSocket>

namespace {

QString providerDir()
{
    return QStringLiteral(BVANE_OIDC_PROVIDER_DIR);
}

} // namespace

OidcProvider::~OidcProvider()
{
    endProcess(m_process);
}

QString OidcProvider::whyMissing()
{
    if (QStandardPaths::findExecutable(QStringLiteral("node")).isEmpty())
        return QStringLiteral("Node.js is not installed (Debian package nodejs)");
    if (!QFile::exists(providerDir() + QLatin1String("/node_modules/oidc-provider/package.json")))
        return QStringLiteral("oidc-provider is not installed in %1 (scripts/bvane-dev deps)")
            .arg(providerDir());
    return {};
}

QString OidcProvider::browserScript()
{
    return QStringLiteral(BVANE_TESTS_MAIL_DIR "/oidc_browser.py");
}

QString OidcProvider::issuer() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(m_port);
}

bool OidcProvider::start(QString *why)
{
    m_port = PopServerFixture::freePort();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    // The package is found from the script's folder: run a copy beside node_modules.
    const QString script = providerDir() + QLatin1String("/provider.mjs");
    QFile::remove(script);
    QFile::copy(QStringLiteral(BVANE_TESTS_MAIL_DIR "/oidc/provider.mjs"), script);
    m_process.start(QStringLiteral("node"), {script, QString::number(m_port)});
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 20000) {
        if (m_process.waitForReadyRead(200))
            m_log += QString::fromUtf8(m_process.readAll());
        if (m_log.contains(QLatin1String("ready ")))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
    }
    *why = QStringLiteral("the OpenID provider did not start: ") + m_log;
    return false;
}

QJsonObject OidcProvider::signIn(const QString &login, QString *why) const
{
    QProcess browser;
    browser.start(QStringLiteral("/usr/bin/python3"),
        {browserScript(), QStringLiteral("--tokens"), issuer(), login});
    if (!browser.waitForFinished(30000) || browser.exitCode() != 0) {
        *why = QString::fromUtf8(browser.readAllStandardError());
        return {};
    }
    return QJsonDocument::fromJson(browser.readAllStandardOutput()).object();
}

void OidcProvider::post(const QString &path, const QByteArray &form) const
{
    // HTTP/1.1 by hand: one small request to this machine, answered before it closes.
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), m_port);
    socket.waitForConnected(5000);
    socket.write("POST " + path.toUtf8()
        + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n"
          "Content-Type: application/x-www-form-urlencoded\r\nContent-Length: "
        + QByteArray::number(form.size()) + "\r\n\r\n" + form);
    while (socket.state() == QAbstractSocket::ConnectedState && socket.waitForReadyRead(5000))
        m_log += QString::fromUtf8(socket.readAll());
}

void OidcProvider::expire(const QString &accessToken) const
{
    post(QStringLiteral("/expire"), "access_token=" + accessToken.toUtf8());
}

void OidcProvider::revokeGrants(const QString &login) const
{
    post(QStringLiteral("/revoke-grants"), "account=" + login.toUtf8());
}
