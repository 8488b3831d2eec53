#pragma once

#include <QString>

// Starts the user's programs from a command line and does not wait for them.
class ProgramLauncher
{
public:
    enum class Result { Started, NotFound, Failed };

    virtual ~ProgramLauncher();

    // The text is the whole command line, as the user gave it.
    virtual Result start(const QString &commandLine) = 0;

    // What the user is told when the program is not there.
    static QString notFoundText(const QString &commandLine);
};

// Starts programs as detached processes. A command line that names an existing file as a
// whole is that program (a path with blanks is handed over unchanged); otherwise it is split
// as a shell would split it, without a shell.
class ProcessProgramLauncher : public ProgramLauncher
{
public:
    Result start(const QString &commandLine) override;
};
