#include "connection/pppdsession.h"

PppdSession::PppdSession(Clock &clock, QObject *parent)
    : QObject(parent)
    , process(this)
    , m_killTimer(clock)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    connect(&m_killTimer, &Timer::tick, this, [this] {
        m_killTimer.setEnabled(false);
        process.kill();
    });
}

PppdSession::~PppdSession()
{
    // Nobody hears of a pppd that ends with its session.
    process.disconnect();
    if (process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(1000);
    }
}

void PppdSession::end()
{
    if (process.state() == QProcess::NotRunning) {
        deleteLater();
        return;
    }
    connect(&process, &QProcess::finished, this, &QObject::deleteLater);
    process.terminate();
    m_killTimer.setInterval(kKillAfterMs);
    m_killTimer.setEnabled(true);
}
