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
    m_session = new PppdSession(m_clock, this);
    Q_EMIT stepped(DialState::OpenPort);
    const std::optional<QStringList> arguments = argumentsFor(*m_session, request);
    if (arguments)
        start(m_session, *arguments);
    else
        endDial(DialState::FailedText);
}

// pppd's arguments for the dial: the peer's call, or the modem with files of our own for a
// dial with user settings; none when there is nothing to dial.
std::optional<QStringList> PppdLine::argumentsFor(PppdSession &session, const DialRequest &request)
{
    if (request.useLogon) {
        if (!prepareLogon(session, request))
            return std::nullopt;
        QString chat = findProgram(QStringLiteral("chat"));
        if (chat.isEmpty())
            chat = QStringLiteral("/usr/sbin/chat");
        return logonArguments(m_options.modem, session.secrets->filePath(QStringLiteral("options")),
            chat, session.secrets->filePath(QStringLiteral("chat")));
    }
    if (!m_entries.contains(request.entry))
        reload(); // a peer written since the list was read
    if (!m_entries.contains(request.entry))
        return std::nullopt;
    return QStringList{QStringLiteral("call"), request.entry, QStringLiteral("nodetach")};
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

void PppdLine::onStartFailed(PppdSession *session)
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
