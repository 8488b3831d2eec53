#include "shell/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

AppPaths AppPaths::forApplication()
{
    const QString binDir = QCoreApplication::applicationDirPath();
    const QString installed = QDir(binDir).absoluteFilePath(QStringLiteral("../share/brisvane"));
    const QString programDir = QDir(installed).exists() ? QDir::cleanPath(installed) : binDir;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return AppPaths(programDir, data + QStringLiteral("/Brisvane"));
}

AppPaths::AppPaths(QString programDir, QString userDataDir)
    : m_programDir(std::move(programDir))
    , m_userDataDir(std::move(userDataDir))
{ }

QString AppPaths::resource(const QString &fileName) const
{
    return QDir(m_programDir).filePath(fileName);
}

QString AppPaths::userFile(const QString &fileName) const
{
    return QDir(m_userDataDir).filePath(fileName);
}
