#include "programs/programlauncher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

ProgramLauncher::~ProgramLauncher() = default;

QString ProgramLauncher::notFoundText(const QString &commandLine)
{
    return QStringLiteral("File not found: %1").arg(commandLine);
}

ProgramLauncher::Result ProcessProgramLauncher::start(const QString &commandLine)
{
    QString program = commandLine.trimmed();
    QStringList arguments;
    if (program.isEmpty())
        return Result::Failed;
    if (!QFileInfo(program).isFile()) {
        arguments = QProcess::splitCommand(program);
        if (arguments.isEmpty())
            return Result::Failed;
        program = arguments.takeFirst();
    }
    const QFileInfo file(program);
    if (file.isAbsolute() || program.contains(u'/')) {
        if (!file.exists())
            return Result::NotFound;
    } else if (QStandardPaths::findExecutable(program).isEmpty()) {
        return Result::NotFound;
    }
    return QProcess::startDetached(program, arguments) ? Result::Started : Result::Failed;
}
