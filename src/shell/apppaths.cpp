#include "shell/apppaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

// Installed folders relative to the binaries' folder, set by the build from the install
// layout (GNUInstallDirs): "../share" and "../libexec" for a prefix like /usr.
#ifndef BVANE_DATADIR_FROM_BINDIR
#define BVANE_DATADIR_FROM_BINDIR "../share"
#endif
#ifndef BVANE_LIBEXECDIR_FROM_BINDIR
#define BVANE_LIBEXECDIR_FROM_BINDIR "../libexec"
#endif

AppPaths AppPaths::forApplication()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    AppPaths paths
        = forBinaryDir(QCoreApplication::applicationDirPath(), data + QStringLiteral("/Brisvane"));
    // Qt 6.4 knows no state location; the XDG rule: an absolute $XDG_STATE_HOME, else
    // ~/.local/state.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    paths.m_stateDir = state + QStringLiteral("/Brisvane");
    return paths;
}

AppPaths AppPaths::forBinaryDir(const QString &binDir, const QString &userDataDir)
{
    const QDir bin(binDir);
    const QString share = bin.absoluteFilePath(QStringLiteral(BVANE_DATADIR_FROM_BINDIR));
    const QString installed = QDir::cleanPath(share + QStringLiteral("/brisvane"));
    AppPaths paths(binDir, userDataDir);
    if (QDir(installed).exists()) {
        paths.m_programDir = installed;
        paths.m_helperDir = QDir::cleanPath(
            bin.absoluteFilePath(QStringLiteral(BVANE_LIBEXECDIR_FROM_BINDIR "/brisvane")));
        paths.m_iconThemeDir = QDir::cleanPath(share + QStringLiteral("/icons/hicolor"));
    }
    return paths;
}

AppPaths::AppPaths(QString programDir, QString userDataDir, QString stateDir)
    : m_programDir(std::move(programDir))
    , m_userDataDir(std::move(userDataDir))
    , m_stateDir(stateDir.isEmpty() ? m_userDataDir : std::move(stateDir))
    , m_helperDir(m_programDir)
    , m_iconThemeDir(QDir(m_programDir).filePath(QStringLiteral("icons/hicolor")))
{ }

QString AppPaths::resource(const QString &fileName) const
{
    return QDir(m_programDir).filePath(fileName);
}

QString AppPaths::userFile(const QString &fileName) const
{
    return QDir(m_userDataDir).filePath(fileName);
}

QString AppPaths::noticeProgram() const
{
    return QDir(m_helperDir).filePath(QStringLiteral("runtime"));
}
