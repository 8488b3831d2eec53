#include "connection/pppdline.h"

#include "connection/pppdmapping.h"

#include <QFile>
#include <QTemporaryDir>

using namespace PppdMapping;

PppdLine::PppdLine(Clock &clock, PppdOptions options, QObject *parent)
    : DialUpService(parent)
    , m_clock(clock)
    , m_options(std::move(options))
{
    reload();
}

PppdLine::~PppdLine()
{
    m_live = false;
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
    m_status = LineStatus{
        DialState::OpenPort, QStringLiteral("Starting pppd"), entry, false, request.useLogon};
    m_live = true;
    m_session = new Session(m_clock, this);
    Session *session = m_session;
    Q_EMIT stepped(DialState::OpenPort);
    QStringList arguments{QStringLiteral("call"), entry, QStringLiteral("nodetach")};
    if (request.useLogon) {
        if (!prepareLogon(*session, request))
            return endDial(DialState::FailedText);
        const QString chat = findProgram(QStringLiteral("chat"));
        arguments
            = logonArguments(m_options.modem, session->secrets->filePath(QStringLiteral("options")),
                chat.isEmpty() ? QStringLiteral("/usr/sbin/chat") : chat,
                session->secrets->filePath(QStringLiteral("chat")));
    } else if (!m_entries.contains(entry)) {
        reload(); // a peer written since the list was read
        if (!m_entries.contains(entry))
            return endDial(DialState::FailedText);
    }
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

bool PppdLine::prepareLogon(Session &session, const DialRequest &request)
{
    session.secrets = std::make_unique<QTemporaryDir>();
    if (!session.secrets->isValid())
        return false;
    const auto write = [&session](const QString &name, const QString &text) {
        QFile file(session.secrets->filePath(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return file.write(text.toUtf8()) >= 0 && file.flush();
    };
    return write(QStringLiteral("options"), secretOptions(request))
        && write(QStringLiteral("chat"), chatScript(request.phoneNumber));
}

void PppdLine::onOutput(Session *session)
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

void PppdLine::onFinished(Session *session, int exitCode, QProcess::ExitStatus exitStatus)
{
    onOutput(session);
    if (!isCurrent(session))
        return;
    m_live = false;
    session->deleteLater();
    if (!m_status.connected)
        return endDial(session->busy ? DialState::LineBusyText : DialState::FailedText);
    // A line that was up and went down raises no step: the line watch notices it.
    m_status.code = DialState::Disconnected;
    m_status.connected = false;
    const int code = exitStatus == QProcess::NormalExit ? exitCode : 5;
    m_status.text = QStringLiteral("%1 (%2)").arg(DialState::LostText, exitMeaning(code));
}

void PppdLine::onStartFailed(Session *session)
{
    if (!isCurrent(session))
        return;
    session->deleteLater();
    endDial(DialState::FailedText);
}

void PppdLine::hangUp()
{
    if (!m_live)
        return;
    m_live = false;
    m_status.code = DialState::Disconnected;
    m_status.text = DialState::HungUpText;
    m_status.connected = false;
    if (m_session)
        m_session->end();
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

void PppdLine::endDial(const QString &text)
{
    m_live = false;
    if (m_session && m_session->process.state() == QProcess::NotRunning)
        m_session->deleteLater();
    m_status.code = DialState::Disconnected;
    m_status.text = text;
    m_status.connected = false;
    Q_EMIT stepped(DialState::Disconnected);
}
