#pragma once

#include "clock/timer.h"

#include <QProcess>
#include <QTemporaryDir>

#include <memory>

// One run of pppd, with the private folder of a dial with user settings. It outlives a
// hang-up until its pppd has ended, and kills a pppd that does not end when asked.
class PppdSession : public QObject
{
    Q_OBJECT

public:
    // How long a pppd has to end the link after SIGTERM before it is killed.
    static constexpr int kKillAfterMs = 5000;

    PppdSession(Clock &clock, QObject *parent);
    ~PppdSession() override;

    // Asks pppd to end (SIGTERM, then SIGKILL after kKillAfterMs on the clock); the session
    // deletes itself once pppd has ended.
    void end();

    QProcess process;
    std::unique_ptr<QTemporaryDir> secrets;
    // Output not yet ended by a newline.
    QByteArray pending;
    // The modem or chat answered BUSY during this run.
    bool busy = false;
    // pppd's link name: its pid file names it once pppd has detached.
    QString linkName;

private:
    Timer m_killTimer;
};
