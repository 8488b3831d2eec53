#pragma once

#include "programs/programlauncher.h"

#include <QSet>
#include <QStringList>

// Records each command line it is asked to start; lines listed as missing are not found.
class RecordingProgramLauncher : public ProgramLauncher
{
public:
    Result start(const QString &commandLine) override
    {
        if (missing.contains(commandLine))
            return Result::NotFound;
        started << commandLine;
        return Result::Started;
    }

    QStringList started;
    QSet<QString> missing;
};
