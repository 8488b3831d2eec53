#include "programs/programlauncher.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

ProgramLauncher::~ProgramLauncher() = default;

QString ProgramLauncher::notFoundText(const QString &commandLine)
{
    return QStringLiteral("File not found: %1").arg(commandLine);
}

QString ProgramLauncher::failedText(const QString &commandLine)
{
    return QStringLiteral("Unable to start: %1").arg(commandLine);
}

ProcessProgramLauncher::Command ProcessProgramLauncher::parse(const QString &commandLine)
{
    Command command;
    command.program = commandLine.trimmed();
    if (command.program.isEmpty())
        return command;
    if (!QFileInfo(command.program).isFile()) {
        command.arguments = QProcess::splitCommand(command.program);
        if (command.arguments.isEmpty())
            return command;
        command.program = command.arguments.takeFirst();
    }
    const QFileInfo file(command.program);
    const bool found = (file.isAbsolute() || command.program.contains(u'/'))
        ? file.exists()
        : !QStandardPaths::findExecutable(command.program).isEmpty();
    command.result = found ? Result::Started : Result::NotFound;
    return command;
}

ProgramLauncher::Result ProcessProgramLauncher::start(const QString &commandLine)
{
    const Command command = parse(commandLine);
    if (command.result != Result::Started)
        return command.result;
    return QProcess::startDetached(command.program, command.arguments) ? Result::Started
                                                                       : Result::Failed;
}

void ProcessProgramLauncher::startAndWatch(const QString &commandLine, std::function<void()> exited)
{
    const Command command = parse(commandLine);
    auto *process = new QProcess;
    // However the program ends, or fails to start, the watcher hears of it once.
    auto told = std::make_shared<bool>(false);
    auto watcher = std::make_shared<std::function<void()>>(std::move(exited));
    auto ended = [process, told, watcher] {
        if (std::exchange(*told, true))
            return;
        process->deleteLater();
        (*watcher)();
    };
    QObject::connect(process, &QProcess::finished, process, ended);
    QObject::connect(
        process, &QProcess::errorOccurred, process, [ended](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                ended();
        });
    if (command.result != Result::Started) {
        QMetaObject::invokeMethod(process, ended, Qt::QueuedConnection);
        return;
    }
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start(command.program, command.arguments);
}
