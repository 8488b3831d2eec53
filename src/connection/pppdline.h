#pragma once

#include "connection/dialupservice.h"
#include "connection/pppdsession.h"

#include <QPointer>
#include <QProcess>

#include <optional>

class Clock;

struct PppdOptions {
    QString peersDir = QStringLiteral("/etc/ppp/peers");
    // The modem a dial with user settings uses.
    QString modem = QStringLiteral("/dev/ttyS0");
};

// The line through pppd: the entries are the peer files, a dial runs `pppd call NAME nodetach`
// and reads its output for the steps, a hang-up ends that pppd. A dial with user settings runs
// pppd on the modem with a chat script and an options file of our own, written 0600 in a
// private folder, so the password is never on a command line.
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
    LineStatus status() const override { return m_status; }

private:
    std::optional<QStringList> argumentsFor(PppdSession &session, const DialRequest &request);
    bool prepareLogon(PppdSession &session, const DialRequest &request);
    void start(PppdSession *session, const QStringList &arguments);
    void onOutput(PppdSession *session);
    void onFinished(PppdSession *session, int exitCode, QProcess::ExitStatus exitStatus);
    void onStartFailed(PppdSession *session);
    bool isCurrent(const PppdSession *session) const { return m_live && session == m_session; }
    void step(int code, const QString &text);
    void endDial(const QString &text);

    Clock &m_clock;
    PppdOptions m_options;
    QStringList m_entries;
    QPointer<PppdSession> m_session;
    bool m_live = false;
    LineStatus m_status;
};
