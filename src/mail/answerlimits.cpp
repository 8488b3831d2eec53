#include "mail/answerlimits.h"

#include "clock/timer.h"

namespace {
void restart(Timer *timer, int ms, bool on)
{
    if (on)
        timer->setInterval(ms); // restarts the count
    timer->setEnabled(on);
}
} // namespace

AnswerLimits::AnswerLimits(
    Clock &clock, Options options, std::function<QString()> where, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_where(std::move(where))
    , m_timeout(new Timer(clock, this))
    , m_deadline(new Timer(clock, this))
    , m_progress(new Timer(clock, this))
{
    connect(m_timeout, &Timer::tick, this, [this] {
        expire(tr("No answer from %1 within %2 seconds")
                   .arg(m_where())
                   .arg(m_options.timeoutMs / 1000.0));
    });
    connect(m_deadline, &Timer::tick, this, [this] {
        expire(tr("%1 kept a %2 going for more than %3 seconds")
                   .arg(m_where(), m_options.answer)
                   .arg(m_options.deadlineMs / 1000.0));
    });
    connect(m_progress, &Timer::tick, this, [this] {
        m_progress->setEnabled(false);
        Q_EMIT stalled(tr("%1 did not complete the command within %2 seconds; it kept sending "
                          "other responses")
                           .arg(m_where())
                           .arg(m_options.timeoutMs / 1000.0));
    });
}

void AnswerLimits::dataMoved(bool awaiting)
{
    restart(m_timeout, m_options.timeoutMs, awaiting);
}

void AnswerLimits::answerBegins(bool awaiting)
{
    restart(m_deadline, m_options.deadlineMs, awaiting);
}

void AnswerLimits::progressMade(bool awaiting)
{
    restart(m_progress, m_options.timeoutMs, awaiting);
}

void AnswerLimits::stop()
{
    m_progress->setEnabled(false);
    m_timeout->setEnabled(false);
    m_deadline->setEnabled(false);
}

void AnswerLimits::expire(const QString &text)
{
    stop();
    Q_EMIT expired(text);
}
