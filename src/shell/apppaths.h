#pragma once

#include <QString>

// Where the program finds its files.
//
// Read-only resources (icons, sounds, the help file) live in the program folder: next to the
// binary in the build tree, under share/brisvane when installed. The notice program `runtime`
// sits next to the binary in the build tree and in the package's private folder
// libexec/brisvane when installed; the program's own icon is in an hicolor icon theme folder
// (bin/icons/hicolor in the build tree, share/icons/hicolor when installed). Files the program
// writes for the user (the menu layout) live in the per-user data folder.
class AppPaths
{
public:
    // Paths of the running program (uses QCoreApplication and XDG locations).
    static AppPaths forApplication();
    // Paths of a program whose binary lives in binDir: an installed layout when
    // binDir/../share/brisvane exists, else the build tree.
    static AppPaths forBinaryDir(const QString &binDir, const QString &userDataDir);
    AppPaths(QString programDir, QString userDataDir);

    QString programDir() const { return m_programDir; }
    QString userDataDir() const { return m_userDataDir; }
    QString resource(const QString &fileName) const;
    QString userFile(const QString &fileName) const;
    // The notice program.
    QString noticeProgram() const;
    // The hicolor theme folder that holds the program's icon (NxN/apps/bvane.png).
    QString iconThemeDir() const { return m_iconThemeDir; }

private:
    QString m_programDir;
    QString m_userDataDir;
    QString m_helperDir;
    QString m_iconThemeDir;
};
