#include "usage/usagerecorder.h"

#include "clock/clock.h"
#include "connection/mras.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

UsageRecorder::UsageRecorder(
    AppContext &context, UsageStore &store, LineController &line, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_store(store)
    , m_line(line)
    , m_update(context.clock(), kUpdateMs, false)
{
    connect(&line, &LineController::connected, this, &UsageRecorder::lineUp);
    connect(&line, &LineController::wentDown, this, &UsageRecorder::lineDown);
    connect(&m_update, &Timer::tick, this, &UsageRecorder::Timer_Update);
}

UsageRecorder::~UsageRecorder()
{
    if (recording()) {
        measure();
        m_session.endedBy = UsageEnd::ProgramExit;
        m_store.close(m_session);
    }
}

// The name the row keeps: the entry, or the number a dial with user settings called.
QString UsageRecorder::entryName() const
{
    if (m_context.model().isOn(Keys::UserLogonSettings))
        return QStringLiteral("User settings (%1)").arg(m_line.dialUp().PhoneNumber());
    return m_line.state().EntryName;
}

void UsageRecorder::lineUp()
{
    // A line that comes up again without having gone down (a dial over it) is a new one.
    if (recording())
        end(UsageEnd::User);
    const QDateTime started = now();
    m_store.openOnFirstUse();
    const std::optional<qint64> id = m_store.begin(entryName(), started);
    if (!id)
        return;
    m_session = UsageSession{};
    m_session.id = *id;
    m_session.entry = entryName();
    m_session.startedAt = started;
    m_startTick = m_context.clock().tickCount();
    m_base = m_line.dialUp().Counters().value_or(LineCounters{});
    m_last = m_base;
    m_before = LineCounters{};
    m_update.setEnabled(true);
    Q_EMIT recorded();
}

void UsageRecorder::lineDown(LineController::LineEnd by)
{
    if (recording())
        end(by == LineController::LineEnd::Dropped ? UsageEnd::Dropped : UsageEnd::User);
}

void UsageRecorder::end(const QString &endedBy)
{
    m_update.setEnabled(false);
    measure();
    m_session.endedBy = endedBy;
    m_session.endedAt = m_session.startedAt.addSecs(m_session.seconds);
    m_store.close(m_session);
    m_session = UsageSession{};
    Q_EMIT recorded();
}

void UsageRecorder::Timer_Update()
{
    measure();
    m_store.update(m_session);
    Q_EMIT recorded();
}

void UsageRecorder::measure()
{
    m_session.seconds = (m_context.clock().tickCount() - m_startTick) / 1000;
    // A lost line's interface is gone: its last reading stands.
    if (const std::optional<LineCounters> read = m_line.dialUp().Counters()) {
        if (read->bytesIn < m_last.bytesIn || read->bytesOut < m_last.bytesOut) {
            m_before.bytesIn += m_last.bytesIn - m_base.bytesIn;
            m_before.bytesOut += m_last.bytesOut - m_base.bytesOut;
            m_base = LineCounters{};
        }
        m_last = *read;
    }
    m_session.bytesIn = m_before.bytesIn + m_last.bytesIn - m_base.bytesIn;
    m_session.bytesOut = m_before.bytesOut + m_last.bytesOut - m_base.bytesOut;
}
