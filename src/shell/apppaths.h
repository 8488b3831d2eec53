#pragma once

#include <QString>

// Where the program finds its files.
//
// Read-only resources (icons, sounds, the help file) live in the program folder: next to the
// binary in the build tree, under share/brisvane when installed. Files the program writes
// for the user (the menu layout) live in the per-user data folder.
class AppPaths
{
public:
    // Paths of the running program (uses QCoreApplication and XDG locations).
    static AppPaths forApplication();
    AppPaths(QString programDir, QString userDataDir);

    QString programDir() const { return m_programDir; }
    QString userDataDir() const { return m_userDataDir; }
    QString resource(const QString &fileName) const;
    QString userFile(const QString &fileName) const;

private:
    QString m_programDir;
    QString m_userDataDir;
};
