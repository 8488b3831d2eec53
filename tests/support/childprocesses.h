#pragma once

#include <QProcess>

#include <initializer_list>

// Ends the daemons a fixture started, in the order given: SIGTERM, then SIGKILL for one that
// has not ended within `graceMs`.
inline void endChildProcesses(std::initializer_list<QProcess *> processes, int graceMs = 5000)
{
    for (QProcess *process : processes) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(graceMs)) {
            process->kill();
            process->waitForFinished(5000);
        }
    }
}
