#include "connection/simulatedline.h"

#include "clock/clock.h"
#include "clock/timer.h"

QList<SimulatedLine::Entry> SimulatedLine::standardEntries()
{
    return {
        // Without a default entry the last one is chosen: the line that works.
        {QStringLiteral("Simulated line (always busy)"), Script::AlwaysBusy},
        {QStringLiteral("Simulated line (busy twice)"), Script::BusyTwice},
        {QStringLiteral("Simulated line (drops after a minute)"), Script::Drops},
        {QStringLiteral("Simulated line (no carrier)"), Script::NoCarrier},
        {QStringLiteral("Simulated line"), Script::Connects},
    };
}

SimulatedLine::SimulatedLine(Clock &clock, QList<Entry> entries, QObject *parent)
    : DialUpService(parent)
    , m_clock(clock)
    , m_entries(std::move(entries))
    , m_stepTimer(std::make_unique<Timer>(clock))
    , m_dropTimer(std::make_unique<Timer>(clock))
{
    connect(m_stepTimer.get(), &Timer::tick, this, &SimulatedLine::runNextStep);
    connect(m_dropTimer.get(), &Timer::tick, this, &SimulatedLine::dropLine);
}

SimulatedLine::~SimulatedLine() = default;

QStringList SimulatedLine::entries() const
{
    QStringList names;
    for (const Entry &entry : m_entries)
        names << entry.name;
    return names;
}

QList<SimulatedLine::Step> SimulatedLine::stepsFor(Script script, const DialRequest &request)
{
    using namespace DialState;
    QList<Step> steps{
        {0, OpenPort, QStringLiteral("Opening port")},
        {300, PortOpened, QStringLiteral("Port opened")},
        {200, ConnectDevice,
            QStringLiteral("Dialling %1")
                .arg(request.useLogon ? request.phoneNumber : request.entry)},
    };
    const bool busy
        = script == Script::AlwaysBusy || (script == Script::BusyTwice && ++m_busyTwiceDials <= 2);
    if (busy)
        return steps << Step{2500, Disconnected, LineBusyText};
    if (script == Script::NoCarrier)
        return steps << Step{4000, Disconnected, FailedText};
    return steps << Step{2500, DeviceConnected, QStringLiteral("Modem connected")}
                 << Step{100, AllDevicesConnected, QStringLiteral("All devices connected")}
                 << Step{200, Authenticate, QStringLiteral("Verifying user name and password")}
                 << Step{1200, Authenticated, QStringLiteral("Logged on to network")}
                 << Step{100, Connected, QStringLiteral("Connected")};
}

void SimulatedLine::dial(const DialRequest &request)
{
    hangUp();
    ++m_dials;
    m_lastRequest = request;
    Script script = Script::NoCarrier;
    if (!m_carrier) {
        script = Script::NoCarrier;
    } else if (request.useLogon) {
        // A dial with user settings needs at least a number to call.
        script = request.phoneNumber.trimmed().isEmpty() ? Script::NoCarrier : Script::Connects;
    } else {
        for (const Entry &entry : m_entries) {
            if (entry.name == request.entry)
                script = entry.script;
        }
    }
    m_status.entry = request.useLogon ? QString() : request.entry;
    m_status.viaLogon = request.useLogon;
    m_pending = stepsFor(script, request);
    if (!m_carrier)
        m_pending = {{0, DialState::OpenPort, QStringLiteral("Opening port")},
            {100, DialState::Disconnected, DialState::FailedText}};
    if (script == Script::Drops)
        m_dropTimer->setInterval(kDropAfterMs);
    runNextStep();
}

void SimulatedLine::runNextStep()
{
    m_stepTimer->setEnabled(false);
    if (m_pending.isEmpty())
        return;
    const Step step = m_pending.takeFirst();
    setStatus(step.code, step.text);
    m_status.connected = step.code == DialState::Connected;
    if (m_status.connected)
        m_connectedAt = m_clock.tickCount();
    if (m_status.connected && m_dropTimer->interval() > 0)
        m_dropTimer->setEnabled(true);
    Q_EMIT stepped(step.code);
    if (!m_pending.isEmpty()) {
        m_stepTimer->setInterval(m_pending.first().delayMs);
        m_stepTimer->setEnabled(true);
    }
}

void SimulatedLine::hangUp()
{
    m_stepTimer->setEnabled(false);
    m_dropTimer->setEnabled(false);
    m_dropTimer->setInterval(0);
    const bool active
        = !m_pending.isEmpty() || m_status.connected || (m_status.code != DialState::Disconnected);
    m_pending.clear();
    m_status.connected = false;
    m_lostCounts.reset();
    if (active)
        setStatus(DialState::Disconnected, DialState::HungUpText);
}

void SimulatedLine::dropLine()
{
    m_dropTimer->setEnabled(false);
    m_dropTimer->setInterval(0);
    if (!m_status.connected)
        return;
    m_lostCounts = counters();
    m_status.connected = false;
    setStatus(DialState::Disconnected, DialState::LostText);
    Q_EMIT linesChanged(); // no step: the line watch, woken, notices it
}

void SimulatedLine::setCarrier(bool present)
{
    m_carrier = present;
    if (!present)
        dropLine();
}

void SimulatedLine::setStatus(int code, const QString &text)
{
    m_status.code = code;
    m_status.text = text;
}

QString SimulatedLine::interfaceName() const
{
    return m_status.connected ? QStringLiteral("sim0") : QString();
}

std::optional<LineCounters> SimulatedLine::counters() const
{
    if (!m_status.connected)
        return m_lostCounts;
    const qint64 elapsedMs = m_clock.tickCount() - m_connectedAt;
    return LineCounters{
        elapsedMs * kBytesInPerSecond / 1000, elapsedMs * kBytesOutPerSecond / 1000};
}
