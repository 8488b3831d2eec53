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

    void startAndWatch(const QString &commandLine, std::function<void()> exited) override
    {
        watched << commandLine;
        m_running << std::move(exited);
    }
    // The watched programs end now.
    void exitAll()
    {
        const auto running = std::exchange(m_running, {});
        for (const auto &exited : running)
            exited();
    }
    // The earliest watched program still running ends now.
    void exitFirst()
    {
        if (!m_running.isEmpty())
            m_running.takeFirst()();
    }
    bool watchedRunning() const { return !m_running.isEmpty(); }

    QStringList started;
    QStringList watched;
    QSet<QString> missing;

private:
    QList<std::function<void()>> m_running;
};
