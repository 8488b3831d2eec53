#include "connection/pppdmapping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

namespace {
// Words as pppd reads an options line and the shell a connect command: blanks separate them,
// single and double quotes group, a backslash takes the next character as it is.
QStringList words(const QString &line)
{
    QStringList out;
    QString word;
    bool inWord = false;
    QChar quote;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == u'\\' && quote != u'\'' && i + 1 < line.size()) {
            word += line.at(++i);
            inWord = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                word += c;
        } else if (c == u'"' || c == u'\'') {
            quote = c;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord)
                out << std::exchange(word, QString());
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        out << word;
    return out;
}

// The flags of one chat argument such as "-sv"; those that take a value end it, the value
// being the rest of the argument or the next one.
void readChatFlags(const QStringList &words, qsizetype &at, BusyReporting &out)
{
    const QString word = words.at(at);
    for (qsizetype i = 1; i < word.size(); ++i) {
        const QChar flag = word.at(i);
        if (flag == u's' || flag == u'e') {
            out.chatOutputShown = true;
        } else if (QStringLiteral("rfTUt").contains(flag)) {
            QString value = word.mid(i + 1);
            if (value.isEmpty() && at + 1 < words.size())
                value = words.at(++at);
            if (flag == u'r')
                out.reportFile = value;
            return;
        }
    }
}
} // namespace

BusyReporting busyReporting(const QString &peerFile)
{
    BusyReporting out;
    QFile file(peerFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return out;
    QString command;
    while (!file.atEnd()) {
        const QStringList option = words(QString::fromLocal8Bit(file.readLine()));
        if (option.size() >= 2 && option.first() == QLatin1String("connect")) {
            out.hasConnectLine = true;
            command = option.at(1);
        }
    }
    const QStringList chat = words(command);
    if (chat.isEmpty() || QFileInfo(chat.first()).fileName() != QLatin1String("chat"))
        return out;
    for (qsizetype at = 1; at < chat.size(); ++at) {
        if (chat.at(at).startsWith(u'-') && chat.at(at).size() > 1)
            readChatFlags(chat, at, out);
    }
    return out;
}

QString busyUnreadableNote()
{
    return QStringLiteral("Starting pppd (this peer's connect line hides chat's messages, so a "
                          "busy line shows as Disconnected: run chat with -s, or REPORT BUSY "
                          "with -r FILE)");
}

QString linkName(const QString &entry)
{
    return entry.isEmpty() ? QStringLiteral("brisvane") : QStringLiteral("brisvane-") + entry;
}

std::optional<QString> entryOfLinkName(const QString &name)
{
    if (name == QLatin1String("brisvane"))
        return QString();
    if (name.startsWith(QLatin1String("brisvane-")))
        return name.mid(9);
    return std::nullopt;
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
    return {modem, QStringLiteral("115200"), QStringLiteral("updetach"), QStringLiteral("linkname"),
        linkName(QString()), QStringLiteral("modem"), QStringLiteral("crtscts"),
        QStringLiteral("lock"), QStringLiteral("noipdefault"), QStringLiteral("defaultroute"),
        QStringLiteral("usepeerdns"), QStringLiteral("file"), optionsFile,
        QStringLiteral("connect"),
        shellWord(chatProgram) + QStringLiteral(" -s -v -f ") + shellWord(chatFile)};
}

} // namespace PppdMapping
