#pragma once

#include <QProcess>

// Ends a peer the test started: asks it to terminate, waits up to `graceMs`, then kills it.
inline void endProcess(QProcess &process, int graceMs = 5000)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(graceMs)) {
        process.kill();
        process.waitForFinished(5000);
    }
}
