#pragma once

#include <QString>

// Where the program finds its files.
//
// Read-only resources (icons, sounds, the help file) live in the program folder: next to the
// binary in the build tree, under share/brisvane when installed. The notice program `runtime`
// sits next to the binary in the build tree and in the package's private folder
// libexec/brisvane when installed; the program's own icon is in an hicolor icon theme folder
// (bin/icons/hicolor in the build tree, share/icons/hicolor when installed). Files the program
// writes for the user (the menu layout) live in the per-user data folder; what it keeps of its
// own state (the messages already announced) in the per-user state folder.
class AppPaths
{
public:
    // Paths of the running program (uses QCoreApplication and XDG locations).
    static AppPaths forApplication();
    // Paths of a program whose binary lives in binDir: an installed layout when
    // binDir/../share/brisvane exists, else the build tree.
    static AppPaths forBinaryDir(const QString &binDir, const QString &userDataDir);
    // Without a state folder the user data folder stands in for it.
    AppPaths(QString programDir, QString userDataDir, QString stateDir = {});

    QString programDir() const { return m_programDir; }
    QString userDataDir() const { return m_userDataDir; }
    QString resource(const QString &fileName) const;
    QString userFile(const QString &fileName) const;
    // $XDG_STATE_HOME/Brisvane (~/.local/state/Brisvane) for the running program.
    QString stateDir() const { return m_stateDir; }
    // The notice program.
    QString noticeProgram() const;
    // The hicolor theme folder that holds the program's icon (NxN/apps/bvane.png).
    QString iconThemeDir() const { return m_iconThemeDir; }

private:
    QString m_programDir;
    QString m_userDataDir;
    QString m_stateDir;
    QString m_helperDir;
    QString m_iconThemeDir;
};
