#include "connection/pppdline.h"

#include "connection/pppdmapping.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>

using namespace PppdMapping;

PppdLine::PppdLine(Clock &clock, PppdOptions options, QObject *parent)
    : DialUpService(parent)
    , m_clock(clock)
    , m_options(std::move(options))
    , m_killTimer(clock)
{
    connect(&m_killTimer, &Timer::tick, this, [this] {
        m_killTimer.setEnabled(false);
        if (isPppd(m_killPid))
            ::kill(pid_t(m_killPid), SIGKILL);
    });
    reload();
    findRunningLine();
}

// A pppd still dialling ends with its session; one that has detached keeps the line up.
PppdLine::~PppdLine()
{
    m_live = false;
}

bool PppdLine::isPppd(qint64 pid)
{
    if (pid <= 0)
        return false;
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) && comm.readAll().trimmed() == "pppd";
}

qint64 PppdLine::linkPid(const QString &link) const
{
    QFile file(QDir(m_options.runDir).filePath(QStringLiteral("ppp-%1.pid").arg(link)));
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    return file.readLine().trimmed().toLongLong();
}

void PppdLine::findRunningLine()
{
    const QStringList files
        = QDir(m_options.runDir).entryList({QStringLiteral("ppp-brisvane*.pid")}, QDir::Files);
    for (const QString &name : files) {
        const QString link = name.mid(4, name.size() - 8);
        const std::optional<QString> entry = entryOfLinkName(link);
        if (!entry)
            continue;
        const qint64 pid = linkPid(link);
        if (!isPppd(pid))
            continue;
        m_status = LineStatus{
            DialState::Connected, QStringLiteral("Connected"), *entry, true, entry->isEmpty(), {}};
        m_live = true;
        m_detachedPid = pid;
        return;
    }
}

LineStatus PppdLine::status() const
{
    if (m_detachedPid != 0 && !isPppd(m_detachedPid)) {
        // The far end or pppd ended the link; like a lost line of a child pppd, no step.
        m_detachedPid = 0;
        m_live = false;
        m_status.code = DialState::Disconnected;
        m_status.connected = false;
        m_status.text = QStringLiteral("%1 (pppd has ended)").arg(DialState::LostText);
    }
    return m_status;
}

bool PppdLine::hasPeers(const QString &peersDir)
{
    return !peerNames(peersDir).isEmpty();
}

void PppdLine::reload()
{
    m_entries = peerNames(m_options.peersDir);
}

void PppdLine::dial(const DialRequest &request)
{
    hangUp();
    const QString entry = request.useLogon ? QString() : request.entry;
    const BusyReporting reporting = request.useLogon
        ? BusyReporting{}
        : busyReporting(QDir(m_options.peersDir).filePath(entry));
    m_reportFile = reporting.reportFile;
    m_reportStart = m_reportFile.isEmpty() ? 0 : QFileInfo(m_reportFile).size();
    m_status = LineStatus{DialState::OpenPort,
        reporting.canTell() ? QStringLiteral("Starting pppd") : busyUnreadableNote(), entry, false,
        request.useLogon, {}};
    m_live = true;
    m_session = new PppdSession(m_clock, this);
    m_session->linkName = linkName(entry);
    Q_EMIT stepped(DialState::OpenPort);
    QString why;
    const std::optional<QStringList> arguments = argumentsFor(*m_session, request, why);
    if (arguments)
        start(m_session, *arguments);
    else
        endDial(DialState::FailedText, why);
}

// pppd's arguments for the dial: the peer's call, or the modem with files of our own for a
// dial with user settings; none when there is nothing to dial.
std::optional<QStringList> PppdLine::argumentsFor(
    PppdSession &session, const DialRequest &request, QString &why)
{
    if (request.useLogon) {
        if (request.phoneNumber.trimmed().isEmpty()) {
            why = tr("no phone number is set in the user logon settings");
            return std::nullopt;
        }
        if (!prepareLogon(session, request)) {
            why = tr("pppd's options could not be written to a private folder");
            return std::nullopt;
        }
        QString chat = findProgram(QStringLiteral("chat"));
        if (chat.isEmpty())
            chat = QStringLiteral("/usr/sbin/chat");
        return logonArguments(m_options.modem, session.secrets->filePath(QStringLiteral("options")),
            chat, session.secrets->filePath(QStringLiteral("chat")));
    }
    if (!m_entries.contains(request.entry))
        reload(); // a peer written since the list was read
    if (!m_entries.contains(request.entry)) {
        why = tr("no pppd peer \"%1\" in %2").arg(request.entry, m_options.peersDir);
        return std::nullopt;
    }
    return QStringList{QStringLiteral("call"), request.entry, QStringLiteral("updetach"),
        QStringLiteral("linkname"), linkName(request.entry)};
}

void PppdLine::start(PppdSession *session, const QStringList &arguments)
{
    QProcess &process = session->process;
    connect(&process, &QProcess::started, this, [this, session] {
        if (isCurrent(session))
            step(DialState::PortOpened, QStringLiteral("pppd is running"));
    });
    connect(&process, &QProcess::readyRead, this, [this, session] { onOutput(session); });
    connect(&process, &QProcess::finished, this,
        [this, session](int code, QProcess::ExitStatus how) { onFinished(session, code, how); });
    connect(&process, &QProcess::errorOccurred, this, [this, session](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            onStartFailed(session);
    });
    const QString pppd = findProgram(QStringLiteral("pppd"));
    process.start(pppd.isEmpty() ? QStringLiteral("pppd") : pppd, arguments);
}

bool PppdLine::prepareLogon(PppdSession &session, const DialRequest &request)
{
    session.secrets = std::make_unique<QTemporaryDir>();
    if (!session.secrets->isValid())
        return false;
    const auto write = [&session](const QString &name, const QString &text) {
        QFile file(session.secrets->filePath(name));
        if (!file.open(
                QIODevice::WriteOnly | QIODevice::Truncate, QFile::ReadOwner | QFile::WriteOwner))
            return false;
        return file.write(text.toUtf8()) >= 0 && file.flush();
    };
    return write(QStringLiteral("options"), secretOptions(request))
        && write(QStringLiteral("chat"), chatScript(request.phoneNumber));
}

void PppdLine::onOutput(PppdSession *session)
{
    session->pending += session->process.readAll();
    if (isCurrent(session))
        step(DialState::PortOpened, QStringLiteral("pppd is running"));
    qsizetype newline;
    while ((newline = session->pending.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(session->pending.left(newline)).trimmed();
        session->pending.remove(0, newline + 1);
        session->busy = session->busy || showsBusy(line);
        const std::optional<Step> next = stepForLine(line);
        if (next && isCurrent(session))
            step(next->code, next->text);
    }
}

void PppdLine::onFinished(PppdSession *session, int exitCode, QProcess::ExitStatus exitStatus)
{
    session->pending += session->process.readAll();
    if (!session->pending.isEmpty() && !session->pending.endsWith('\n'))
        session->pending += '\n'; // the last words, even without their newline
    onOutput(session);
    // updetach: the link is up and pppd goes on in the background under the pid in its file.
    const bool detached = exitStatus == QProcess::NormalExit && exitCode == 0;
    const qint64 pid = detached ? linkPid(session->linkName) : 0;
    if (!isCurrent(session)) {
        // Hung up while pppd was detaching: the pppd it left behind goes as well.
        const qint64 dialling = m_session ? m_session->process.processId() : 0;
        if (isPppd(pid) && pid != m_detachedPid && pid != dialling)
            endDetached(pid);
        return;
    }
    session->deleteLater();
    if (m_status.connected && isPppd(pid)) {
        m_detachedPid = pid;
        return;
    }
    m_live = false;
    if (!m_status.connected)
        return endDial(
            session->busy || reportShowsBusy() ? DialState::LineBusyText : DialState::FailedText);
    // A line that was up and went down raises no step: the line watch notices it.
    m_status.code = DialState::Disconnected;
    m_status.connected = false;
    const int code = exitStatus == QProcess::NormalExit ? exitCode : 5;
    m_status.text = QStringLiteral("%1 (%2)").arg(DialState::LostText, exitMeaning(code));
    Q_EMIT linesChanged();
}

// What chat wrote to the peer's report file during this dial.
bool PppdLine::reportShowsBusy() const
{
    QFile report(m_reportFile);
    if (m_reportFile.isEmpty() || !report.open(QIODevice::ReadOnly))
        return false;
    report.seek(report.size() < m_reportStart ? 0 : m_reportStart);
    while (!report.atEnd()) {
        if (showsBusy(QString::fromLocal8Bit(report.readLine())))
            return true;
    }
    return false;
}

void PppdLine::onStartFailed(PppdSession *session)
{
    if (!isCurrent(session))
        return;
    session->deleteLater();
    endDial(DialState::FailedText,
        findProgram(QStringLiteral("pppd")).isEmpty()
            ? tr("pppd is not installed (Debian package ppp)")
            : tr("pppd could not be started: %1").arg(session->process.errorString()));
}

void PppdLine::hangUp()
{
    if (!m_live)
        return;
    m_live = false;
    m_status.code = DialState::Disconnected;
    m_status.text = DialState::HungUpText;
    m_status.connected = false;
    if (m_detachedPid != 0)
        endDetached(std::exchange(m_detachedPid, 0));
    if (m_session)
        m_session->end();
}

// SIGTERM to the detached pppd, SIGKILL after kKillAfterMs when it has not ended.
void PppdLine::endDetached(qint64 pid)
{
    if (!isPppd(pid))
        return;
    ::kill(pid_t(pid), SIGTERM);
    m_killPid = pid;
    m_killTimer.setInterval(kKillAfterMs);
    m_killTimer.setEnabled(true);
}

void PppdLine::step(int code, const QString &text)
{
    if (code <= m_status.code)
        return;
    m_status.code = code;
    m_status.text = text;
    m_status.connected = code == DialState::Connected;
    Q_EMIT stepped(code);
}

void PppdLine::endDial(const QString &text, const QString &reason)
{
    m_live = false;
    if (m_session && m_session->process.state() == QProcess::NotRunning)
        m_session->deleteLater();
    m_status.code = DialState::Disconnected;
    m_status.text = text;
    m_status.connected = false;
    m_status.reason = reason;
    Q_EMIT stepped(DialState::Disconnected);
}
