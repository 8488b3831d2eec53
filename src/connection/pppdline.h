#pragma once

#include "clock/timer.h"
#include "connection/dialupservice.h"
#include "connection/pppdsession.h"

#include <QPointer>
#include <QProcess>

#include <optional>

struct PppdOptions {
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    // The modem a dial with user settings uses.
    QString modem = QStringLiteral("/dev/ttyS0");
    // Where pppd keeps the pid file of a named link.
    QString runDir = QStringLiteral("/run");
};

// The line through pppd: the entries are the peer files, a dial runs
// `pppd call NAME updetach linkname brisvane-NAME` and reads its output for the steps until
// pppd detaches with the link up. From then on the line is pppd's own: it outlives the program
// (Exit leaves it up), its pid comes from pppd's pid file, a later start finds it there, and a
// hang-up signals that pid. A dial with user settings runs pppd on the modem with a chat script
// and an options file of our own, written 0600 in a private folder, so the password is never
// on a command line.
class PppdLine : public DialUpService
{
    Q_OBJECT

public:
    // How long a hung-up pppd has to end the link before it is killed.
    static constexpr int kKillAfterMs = PppdSession::kKillAfterMs;

    explicit PppdLine(Clock &clock, PppdOptions options = PppdOptions(), QObject *parent = nullptr);
    ~PppdLine() override;

    // Whether `peersDir` holds any peer for pppd to call.
    static bool hasPeers(const QString &peersDir);

    QString kind() const override { return QStringLiteral("pppd"); }
    QStringList entries() const override { return m_entries; }
    void reload() override;
    void dial(const DialRequest &request) override;
    void hangUp() override;
    LineStatus status() const override;
    // pppd writes the interface of a link that is up on its pid file's second line.
    QString interfaceName() const override;

private:
    // The pid in pppd's pid file of the link named `link`, 0 when there is none.
    qint64 linkPid(const QString &link) const;
    static bool isPppd(qint64 pid);
    // A pppd of ours left up by an earlier run of the program.
    void findRunningLine();
    void endDetached(qint64 pid);
    bool reportShowsBusy() const;
    std::optional<QStringList> argumentsFor(
        PppdSession &session, const DialRequest &request, QString &why);
    bool prepareLogon(PppdSession &session, const DialRequest &request);
    void start(PppdSession *session, const QStringList &arguments);
    void onOutput(PppdSession *session);
    void onFinished(PppdSession *session, int exitCode, QProcess::ExitStatus exitStatus);
    void onStartFailed(PppdSession *session);
    bool isCurrent(const PppdSession *session) const { return m_live && session == m_session; }
    void step(int code, const QString &text);
    void endDial(const QString &text, const QString &reason = {});

    Clock &m_clock;
    PppdOptions m_options;
    QStringList m_entries;
    QPointer<PppdSession> m_session;
    // The line is ours: dialling, or up (status() notices a detached pppd that has ended).
    mutable bool m_live = false;
    mutable LineStatus m_status;
    // The pppd that detached with the link up, 0 while there is none.
    mutable qint64 m_detachedPid = 0;
    // A detached pppd asked to end, killed if it is still there when the timer fires.
    Timer m_killTimer;
    qint64 m_killPid = 0;
    // chat's report file for this dial, and its size when the dial started.
    QString m_reportFile;
    qint64 m_reportStart = 0;
};
