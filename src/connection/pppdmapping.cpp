#include "connection/pppdmapping.h"

#include <QDir>
#include <QStandardPaths>

namespace PppdMapping {

QStringList peerNames(const QString &dir)
{
    QStringList names;
    const QStringList files = QDir(dir).entryList(QDir::Files | QDir::Readable, QDir::Name);
    for (const QString &name : files) {
        if (name.endsWith(QLatin1Char('~')) || name.contains(QLatin1String(".dpkg-"))
            || name.endsWith(QLatin1String(".bak")))
            continue;
        names << name;
    }
    return names;
}

QString findProgram(const QString &name)
{
    QString path = QStandardPaths::findExecutable(name);
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(
            name, {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    return path;
}

std::optional<Step> stepForLine(const QString &line)
{
    using namespace DialState;
    if (line.contains(QLatin1String("send (ATD")))
        return Step{ConnectDevice, QStringLiteral("Dialling")};
    if (line.contains(QLatin1String("Serial connection established")))
        return Step{DeviceConnected, QStringLiteral("Modem connected")};
    if (line.startsWith(QLatin1String("Connect: ")))
        return Step{AllDevicesConnected, QStringLiteral("Negotiating the link")};
    if (line.contains(QLatin1String("authentication succeeded")))
        return Step{Authenticated, QStringLiteral("Logged on to network")};
    if (line.startsWith(QLatin1String("local  IP address")))
        return Step{Projected, QStringLiteral("Got an address on the network")};
    if (line.startsWith(QLatin1String("remote IP address")))
        return Step{Connected, QStringLiteral("Connected")};
    return std::nullopt;
}

bool showsBusy(const QString &line)
{
    return line.contains(QLatin1String("BUSY"));
}

QString exitMeaning(int exitCode)
{
    switch (exitCode) {
    case 0: return QStringLiteral("ended by the far end");
    case 5: return QStringLiteral("pppd was stopped");
    case 8: return QStringLiteral("the connect script failed");
    case 10: return QStringLiteral("the link could not be negotiated");
    case 11: return QStringLiteral("the far end failed to authenticate");
    case 12: return QStringLiteral("the link was idle");
    case 13: return QStringLiteral("the connect time limit was reached");
    case 15: return QStringLiteral("the far end stopped answering");
    case 16: return QStringLiteral("the modem hung up");
    case 19: return QStringLiteral("authentication failed");
    default: return QStringLiteral("pppd ended with status %1").arg(exitCode);
    }
}

QString quoted(const QString &word)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : word) {
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            out += QLatin1Char('\\') + c;
        else if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            out += QStringLiteral("\\%1").arg(c.unicode(), 3, 8, QLatin1Char('0'));
        else
            out += c;
    }
    return out + QLatin1Char('"');
}

QString chatScript(const QString &number)
{
    return QStringLiteral("ABORT BUSY\n"
                          "ABORT \"NO CARRIER\"\n"
                          "ABORT \"NO DIALTONE\"\n"
                          "ABORT \"NO DIAL TONE\"\n"
                          "ABORT \"NO ANSWER\"\n"
                          "ABORT ERROR\n"
                          "TIMEOUT 10\n"
                          "\"\" ATZ\n"
                          "OK %1\n"
                          "TIMEOUT 90\n"
                          "CONNECT \"\"\n")
        .arg(quoted(QStringLiteral("ATDT") + number));
}

QString secretOptions(const DialRequest &request)
{
    return QStringLiteral("user %1\npassword %2\n")
        .arg(quoted(request.logonName), quoted(request.logonPassword));
}

QStringList logonArguments(const QString &modem, const QString &optionsFile,
    const QString &chatProgram, const QString &chatFile)
{
    // pppd runs the connect command through the shell: the paths are single-quoted for it.
    const auto shellWord = [](QString word) {
        return QLatin1Char('\'') + word.replace(QLatin1Char('\''), QLatin1String("'\\''"))
            + QLatin1Char('\'');
    };
    return {modem, QStringLiteral("115200"), QStringLiteral("nodetach"), QStringLiteral("modem"),
        QStringLiteral("crtscts"), QStringLiteral("lock"), QStringLiteral("noipdefault"),
        QStringLiteral("defaultroute"), QStringLiteral("usepeerdns"), QStringLiteral("file"),
        optionsFile, QStringLiteral("connect"),
        shellWord(chatProgram) + QStringLiteral(" -s -v -f ") + shellWord(chatFile)};
}

} // namespace PppdMapping
