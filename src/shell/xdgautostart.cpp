#include "shell/xdgautostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <algorithm>

QString XdgAutostart::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/autostart");
}

XdgAutostart::XdgAutostart(QString folder, QString program)
    : m_folder(std::move(folder))
    , m_program(std::move(program))
{ }

QString XdgAutostart::entryPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("bvane.desktop"));
}

bool XdgAutostart::isEnabled() const
{
    return QFileInfo::exists(entryPath());
}

bool XdgAutostart::setEnabled(bool on, QString &error)
{
    return on ? write(error) : remove(error);
}

QByteArray XdgAutostart::entry() const
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Brisvane\n"
                          "Comment=Dial-up line and POP3 mail companion for the system tray\n"
                          "Exec=%1\n"
                          "Icon=bvane\n"
                          "Terminal=false\n")
        .arg(execArgument(m_program))
        .toUtf8();
}

// The Exec key quotes an argument with reserved characters in double quotes, escaping ", `, $
// and \ inside with a backslash; as a string value it then escapes each backslash once more.
// A literal % is written %%.
QString XdgAutostart::execArgument(const QString &program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    QString argument = program;
    argument.replace(u'%', QStringLiteral("%%"));
    if (std::any_of(
            argument.cbegin(), argument.cend(), [](QChar c) { return reserved.contains(c); })) {
        QString quoted;
        for (QChar c : std::as_const(argument)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        argument = u'"' + quoted + u'"';
    }
    return argument.replace(u'\\', QStringLiteral("\\\\"));
}

bool XdgAutostart::write(QString &error)
{
    if (!QDir().mkpath(m_folder)) {
        error = QStringLiteral("The folder %1 could not be created.").arg(m_folder);
        return false;
    }
    QSaveFile file(entryPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(entry()) < 0 || !file.commit()) {
        error = QStringLiteral("%1 could not be written: %2.").arg(entryPath(), file.errorString());
        return false;
    }
    return true;
}

bool XdgAutostart::remove(QString &error)
{
    QFile file(entryPath());
    if (file.exists() && !file.remove()) {
        error = QStringLiteral("%1 could not be removed: %2.").arg(entryPath(), file.errorString());
        return false;
    }
    return true;
}
