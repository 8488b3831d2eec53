#pragma once

#include <QString>
#include <QStringList>

#include <functional>

// Starts the user's programs from a command line.
class ProgramLauncher
{
public:
    enum class Result { Started, NotFound, Failed };

    virtual ~ProgramLauncher();

    // Starts the program and does not wait for it. The text is the whole command line, as the
    // user gave it.
    virtual Result start(const QString &commandLine) = 0;
    // Starts the program and calls `exited` from the event loop once it has ended; a program
    // that cannot be started counts as ended at once.
    virtual void startAndWatch(const QString &commandLine, std::function<void()> exited) = 0;

    // What the user is told when the program is not there.
    static QString notFoundText(const QString &commandLine);
    // What the user is told when the program is there but would not start.
    static QString failedText(const QString &commandLine);
};

// Starts programs as processes of their own. A command line that names an existing file as a
// whole is that program (a path with blanks is handed over unchanged); otherwise it is split
// as a shell would split it, without a shell.
class ProcessProgramLauncher : public ProgramLauncher
{
public:
    Result start(const QString &commandLine) override;
    void startAndWatch(const QString &commandLine, std::function<void()> exited) override;

private:
    struct Command {
        Result result = Result::Failed;
        QString program;
        QStringList arguments;
    };
    static Command parse(const QString &commandLine);
};
