#pragma once

#include <QString>

// Makes a folder read-only for this process while it lives. A normal user gets the folder's
// write bits cleared; root, whom permissions do not stop, gets a read-only bind mount of the
// folder in a private mount namespace, which prepareProcess() must have set up first.
class ReadOnlyFolder
{
public:
    // As root: moves the process into a mount namespace of its own. Call at the top of main,
    // while the process has one thread.
    static void prepareProcess();

    explicit ReadOnlyFolder(QString path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    // False when the folder could not be made read-only (the reason in why()).
    bool isReadOnly() const { return m_readOnly; }
    QString why() const { return m_why; }

private:
    QString m_path;
    bool m_readOnly = false;
    bool m_mounted = false;
    QString m_why;
};
