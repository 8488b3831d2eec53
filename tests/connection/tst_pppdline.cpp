#include "clock/virtualclock.h"
#include "connection/dialupservice.h"
#include "connection/mras.h"
#include "connection/pppdline.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The pppd line through mRAS, with a stand-in pppd first on the path that behaves like pppd
// for each peer: "good" connects and waits, "busy" and "nocarrier" fail in the connect script,
// "drop" connects and hangs up when told, "stubborn" ignores SIGTERM; without a peer it
// connects the dial with user settings.
class tst_PppdLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void entriesAreThePeerFiles();
    void dialRunsPppdCallAndConnects();
    void busyConnectScriptEndsWithTheBusyText();
    void failedConnectScriptEndsWithDisconnected();
    void peerWrittenAfterStartCanBeDialled();
    void droppedLineIsNoLongerConnectedAndRaisesNoEvent();
    void hangUpEndsPppd();
    void pppdThatIgnoresHangUpIsKilled();
    void userSettingsDialKeepsThePasswordOffEveryCommandLine();
    void lineOutlivesTheProgramAndIsFoundAndHungUpByTheNextStart();
    void busyInChatsReportFileEndsWithTheBusyText();
    void peerThatCannotTellBusySaysWhatItNeeds();

private:
    static QList<int> codes(const QSignalSpy &spy);
    // The dial has ended without a line.
    static bool ended(const QSignalSpy &steps);
    QStringList recordedArguments(const QString &peer) const;
    QString file(const QString &name) const { return m_dir.filePath(name); }
    std::unique_ptr<PppdLine> makeLine();
    static bool anyCommandLineContains(const QByteArray &text);

    QTemporaryDir m_dir;
    QByteArray m_oldPath;
    VirtualClock m_clock;
};

namespace {
// pppd's own messages, and chat's as pppd passes them on.
const char *const kStandIn = R"SH(#!/bin/sh
dir="$(dirname "$0")/.."
peer=logon
detach=no
link=
for a in "$@"; do printf '%s\n' "$a"; done > "$dir/argv-tmp"
while [ $# -gt 0 ]; do
  case "$1" in
    call) shift; peer="$1";;
    updetach) detach=yes;;
    linkname) shift; link="$1";;
  esac
  shift
done
mv "$dir/argv-tmp" "$dir/argv-$peer"
pidfile=
[ -z "$link" ] || pidfile="$dir/run/ppp-$link.pid"
echo $$ > "$dir/pid-$peer"
[ -z "$pidfile" ] || echo $$ > "$pidfile"
trap 'echo "Terminating on signal 15"; rm -f "$pidfile"; exit 5' TERM
echo "send (ATDT5550100^M)"
case "$peer" in
  busy) echo "expect (CONNECT)"; echo "BUSY"; echo " -- failed"; echo "Failed (BUSY)"
        echo "Connect script failed"; rm -f "$pidfile"; exit 8;;
  busyreport) echo "chat:  Dec 08 07:00:01 BUSY" >> "$dir/report"
        echo "Connect script failed"; rm -f "$pidfile"; exit 8;;
  busysilent|nocarrier) echo "Connect script failed"; rm -f "$pidfile"; exit 8;;
esac
echo "Serial connection established."
echo "Using interface ppp0"
echo "Connect: ppp0 <--> /dev/ttyS0"
echo "PAP authentication succeeded"
addresses() { echo "local  IP address 10.0.0.2"; echo "remote IP address 10.0.0.1"; }
# The link is up: with updetach pppd goes on in the background and its parent ends (here the
# pid files are written before the addresses show, so a test that saw them finds the pids).
serve() {
  if [ "$peer" = stubborn ]; then trap 'touch "$dir/ignored-$peer"' TERM
  else trap 'echo "Terminating on signal 15"; touch "$dir/terminated-$peer"; rm -f "$pidfile"; exit 5' TERM; fi
  while [ ! -e "$dir/hangup-$peer" ]; do sleep 0.05; done
  echo "Modem hangup"
  echo "Connection terminated."
  rm -f "$pidfile"
  exit 16
}
if [ "$detach" = yes ]; then
  serve </dev/null >/dev/null 2>&1 &
  echo $! > "$dir/pid-$peer"
  [ -z "$pidfile" ] || printf '%s\nppp0\n' $! > "$pidfile"
  while [ -e "$dir/hold-$peer" ]; do sleep 0.05; done
  addresses
  exit 0
fi
addresses
serve
)SH";
} // namespace

bool tst_PppdLine::ended(const QSignalSpy &steps)
{
    return !steps.isEmpty() && codes(steps).last() == DialState::Disconnected;
}

QList<int> tst_PppdLine::codes(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toInt();
    return out;
}

void tst_PppdLine::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).mkpath(QStringLiteral("bin"));
    QDir(m_dir.path()).mkpath(QStringLiteral("peers"));
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QFile standIn(file(QStringLiteral("bin/pppd")));
    QVERIFY(standIn.open(QIODevice::WriteOnly));
    standIn.write(kStandIn);
    standIn.close();
    standIn.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char *peer : {"good", "busy", "nocarrier", "drop", "stubborn", "old~", ".hidden"}) {
        QFile peerFile(file(QStringLiteral("peers/") + QLatin1String(peer)));
        QVERIFY(peerFile.open(QIODevice::WriteOnly));
        peerFile.write(
            "/dev/ttyS0\n115200\nconnect \"/usr/sbin/chat -s -v -f /etc/chatscripts/isp\"\n");
    }
    // Peers whose connect lines keep chat's messages out of pppd's output.
    const std::pair<const char *, QByteArray> quiet[] = {
        {"busyreport",
            "connect '/usr/sbin/chat -v -r " + QFile::encodeName(file("report")) + " -f x'\n"},
        {"busysilent", "connect \"/usr/sbin/chat -v -f /etc/chatscripts/isp\"\n"},
    };
    for (const auto &[peer, connectLine] : quiet) {
        QFile peerFile(file(QStringLiteral("peers/") + QLatin1String(peer)));
        QVERIFY(peerFile.open(QIODevice::WriteOnly));
        peerFile.write("/dev/ttyS0\n" + connectLine);
    }
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(file(QStringLiteral("bin"))) + ':' + m_oldPath);
}

void tst_PppdLine::cleanupTestCase()
{
    // No stand-in stays up in the background.
    for (const char *peer : {"good", "drop", "stubborn", "logon"})
        QFile(file(QStringLiteral("hangup-") + QLatin1String(peer))).open(QIODevice::WriteOnly);
    qputenv("PATH", m_oldPath);
}

std::unique_ptr<PppdLine> tst_PppdLine::makeLine()
{
    return std::make_unique<PppdLine>(m_clock,
        PppdOptions{file(QStringLiteral("peers")), QStringLiteral("/dev/ttyFAKE0"),
            file(QStringLiteral("run"))});
}

QStringList tst_PppdLine::recordedArguments(const QString &peer) const
{
    QFile recorded(file(QStringLiteral("argv-") + peer));
    if (!recorded.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(recorded.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

bool tst_PppdLine::anyCommandLineContains(const QByteArray &text)
{
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
        if (!cmdline.open(QIODevice::ReadOnly))
            continue;
        if (cmdline.readAll().replace('\0', ' ').contains(text))
            return true;
    }
    return false;
}

void tst_PppdLine::entriesAreThePeerFiles()
{
    auto line = makeLine();
    mRAS ras(*line);
    QStringList names;
    for (int i = 0; i < ras.EntryCount(); ++i)
        names << ras.EntryAt(i);
    QCOMPARE(names,
        QStringList({"busy", "busyreport", "busysilent", "drop", "good", "nocarrier", "stubborn"}));
    QVERIFY(PppdLine::hasPeers(file(QStringLiteral("peers"))));
    QVERIFY(!PppdLine::hasPeers(file(QStringLiteral("bin/none"))));
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QVERIFY(!ras.IsConnected());
}

void tst_PppdLine::dialRunsPppdCallAndConnects()
{
    auto line = makeLine();
    mRAS ras(*line);
    mRAS monitor(*line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("good"));
    monitor.setEntry(QStringLiteral("good"));
    ras.PrepareEntry();
    ras.Dial();
    QVERIFY(!ras.IsConnected());
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QTRY_COMPARE(codes(steps), QList<int>({0, 1, 2, 3, 4, 14, 18, 8192}));
    QCOMPARE(ras.StateText(), QStringLiteral("Connected"));
    QVERIFY(monitor.IsConnected());
    QCOMPARE(recordedArguments("good"),
        QStringList({"call", "good", "updetach", "linkname", "brisvane-good"}));
    ras.HangUp();
}

void tst_PppdLine::busyConnectScriptEndsWithTheBusyText()
{
    auto line = makeLine();
    mRAS ras(*line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("busy"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ended(steps), 20000);
    QCOMPARE(codes(steps), QList<int>({0, 1, 2, 8193}));
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected - Line Busy"));
    ras.HangUp();
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected - Line Busy"));
}

void tst_PppdLine::failedConnectScriptEndsWithDisconnected()
{
    auto line = makeLine();
    mRAS ras(*line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("nocarrier"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ended(steps), 20000);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    QVERIFY(!ras.IsConnected());
    // A peer that is not there never reaches pppd.
    steps.clear();
    ras.setEntry(QStringLiteral("nowhere"));
    ras.Dial();
    QTRY_COMPARE(codes(steps), QList<int>({0, 8193}));
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    QVERIFY(recordedArguments("nowhere").isEmpty());
    // The state list says why.
    QVERIFY2(ras.StateReason().startsWith(QStringLiteral("no pppd peer \"nowhere\" in ")),
        qPrintable(ras.StateReason()));
    if (QFile::exists(QStringLiteral("/usr/sbin/pppd"))
        || QFile::exists(QStringLiteral("/sbin/pppd")))
        return;
    // Without pppd anywhere: the dial says so.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(file(QStringLiteral("peers"))));
    steps.clear();
    ras.setEntry(QStringLiteral("nocarrier"));
    ras.Dial();
    QTRY_COMPARE(codes(steps), QList<int>({0, 8193}));
    qputenv("PATH", path);
    QCOMPARE(ras.StateReason(), QStringLiteral("pppd is not installed (Debian package ppp)"));
}

void tst_PppdLine::peerWrittenAfterStartCanBeDialled()
{
    auto line = makeLine();
    mRAS ras(*line);
    QFile peer(file(QStringLiteral("peers/late")));
    QVERIFY(peer.open(QIODevice::WriteOnly));
    peer.close();
    ras.setEntry(QStringLiteral("late"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QCOMPARE(ras.EntryCount(), 8);
    QCOMPARE(ras.EntryAt(5), QStringLiteral("late"));
    ras.HangUp();
    QVERIFY(peer.remove());
}

void tst_PppdLine::droppedLineIsNoLongerConnectedAndRaisesNoEvent()
{
    auto line = makeLine();
    mRAS ras(*line);
    ras.setEntry(QStringLiteral("drop"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QCoreApplication::processEvents();
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    QFile(file(QStringLiteral("hangup-drop"))).open(QIODevice::WriteOnly);
    QTRY_VERIFY_WITH_TIMEOUT(!ras.IsConnected(), 20000);
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QCOMPARE(ras.StateText(), QStringLiteral("Connection lost (pppd has ended)"));
    QVERIFY(steps.isEmpty());
}

void tst_PppdLine::hangUpEndsPppd()
{
    auto line = makeLine();
    mRAS ras(*line);
    ras.setEntry(QStringLiteral("good"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QFile::remove(file(QStringLiteral("terminated-good")));
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.HangUp();
    QVERIFY(!ras.IsConnected());
    QCOMPARE(ras.StateText(), DialState::HungUpText);
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file(QStringLiteral("terminated-good"))), 20000);
    QCoreApplication::processEvents();
    QVERIFY(steps.isEmpty());
    QCOMPARE(ras.StateText(), DialState::HungUpText);
}

void tst_PppdLine::pppdThatIgnoresHangUpIsKilled()
{
    auto line = makeLine();
    mRAS ras(*line);
    ras.setEntry(QStringLiteral("stubborn"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QFile pidFile(file(QStringLiteral("pid-stubborn")));
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const QString proc = QStringLiteral("/proc/") + QString::fromUtf8(pidFile.readAll().trimmed());
    ras.HangUp();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file(QStringLiteral("ignored-stubborn"))), 20000);
    QVERIFY(QFile::exists(proc));
    m_clock.advance(PppdLine::kKillAfterMs);
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(proc), 20000);
}

void tst_PppdLine::userSettingsDialKeepsThePasswordOffEveryCommandLine()
{
    const QString password = QStringLiteral("s3cr\"et pw");
    auto line = makeLine();
    mRAS ras(*line);
    ras.setLogonName(QStringLiteral("dial user"));
    ras.setLogonPassword(password);
    ras.setPhoneNumber(QStringLiteral("555 0100"));
    // The stand-in holds before the link is up, while pppd still has its files to read.
    QFile hold(file(QStringLiteral("hold-logon")));
    QVERIFY(hold.open(QIODevice::WriteOnly));
    hold.close();
    QFile::remove(file(QStringLiteral("argv-logon")));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file(QStringLiteral("argv-logon"))), 20000);

    const QStringList arguments = recordedArguments(QStringLiteral("logon"));
    QVERIFY(arguments.contains(QStringLiteral("/dev/ttyFAKE0")));
    QVERIFY(arguments.contains(QStringLiteral("updetach")));
    for (const QString &argument : arguments) {
        QVERIFY2(!argument.contains(QStringLiteral("s3cr")), qPrintable(argument));
        QVERIFY(!argument.contains(QStringLiteral("dial user")));
    }
    // The stand-in is up: its command line is readable, and no command line holds the password.
    QVERIFY(anyCommandLineContains(QFile::encodeName(file(QStringLiteral("bin/pppd")))));
    QVERIFY(!anyCommandLineContains(password.toUtf8()));
    QVERIFY(!anyCommandLineContains(QByteArrayLiteral("s3cr")));

    const qsizetype at = arguments.indexOf(QStringLiteral("file"));
    QVERIFY(at >= 0 && at + 1 < arguments.size());
    QFile options(arguments.at(at + 1));
    QCOMPARE(options.permissions()
            & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
        QFile::Permissions());
    QVERIFY(options.open(QIODevice::ReadOnly));
    const QByteArray secrets = options.readAll();
    QVERIFY(secrets.contains("password \"s3cr\\\"et pw\""));
    QVERIFY(secrets.contains("user \"dial user\""));
    const QString connect = arguments.value(arguments.indexOf(QStringLiteral("connect")) + 1);
    QVERIFY(connect.contains(QStringLiteral(" -f ")));
    QFile chat(connect.section(QLatin1Char('\''), -2, -2));
    QVERIFY2(chat.open(QIODevice::ReadOnly), qPrintable(connect));
    const QByteArray script = chat.readAll();
    QVERIFY(script.contains("ABORT BUSY"));
    QVERIFY(script.contains("\"ATDT555 0100\""));

    QVERIFY(hold.remove());
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    // The private files go once pppd has read them and detached.
    QTRY_VERIFY_WITH_TIMEOUT(!options.exists(), 20000);
    ras.HangUp();
}

// Exit leaves the line up: pppd has detached, so the end of the program is not its end.
void tst_PppdLine::lineOutlivesTheProgramAndIsFoundAndHungUpByTheNextStart()
{
    QFile::remove(file(QStringLiteral("terminated-good")));
    auto line = makeLine();
    {
        mRAS ras(*line);
        ras.setEntry(QStringLiteral("good"));
        ras.Dial();
        QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    }
    QTRY_VERIFY_WITH_TIMEOUT(
        QFile::exists(file(QStringLiteral("run/ppp-brisvane-good.pid"))), 20000);
    line.reset();
    QCoreApplication::processEvents();
    QVERIFY(!QFile::exists(file(QStringLiteral("terminated-good"))));
    QVERIFY(QFile::exists(file(QStringLiteral("run/ppp-brisvane-good.pid"))));

    auto nextStart = makeLine();
    mRAS ras(*nextStart);
    ras.setEntry(QStringLiteral("good"));
    QVERIFY(ras.IsConnected());
    QCOMPARE(ras.StateCode(), DialState::Connected);
    ras.HangUp();
    QVERIFY(!ras.IsConnected());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file(QStringLiteral("terminated-good"))), 20000);
    QTRY_VERIFY_WITH_TIMEOUT(
        !QFile::exists(file(QStringLiteral("run/ppp-brisvane-good.pid"))), 20000);
    // Nothing of ours is left up for a later start to find.
    auto third = makeLine();
    QVERIFY(!mRAS(*third).IsConnected());
}

// Without chat's messages in pppd's output, BUSY in chat's report file tells the busy line.
void tst_PppdLine::busyInChatsReportFileEndsWithTheBusyText()
{
    QFile report(file(QStringLiteral("report")));
    QVERIFY(report.open(QIODevice::WriteOnly));
    report.write("chat:  Dec 07 21:00:00 BUSY\n");
    report.close();
    auto line = makeLine();
    mRAS ras(*line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("busyreport"));
    ras.Dial();
    QCOMPARE(ras.StateText(), QStringLiteral("Starting pppd"));
    QTRY_VERIFY_WITH_TIMEOUT(ended(steps), 20000);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected - Line Busy"));
}

void tst_PppdLine::peerThatCannotTellBusySaysWhatItNeeds()
{
    auto line = makeLine();
    mRAS ras(*line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("busysilent"));
    ras.Dial();
    QVERIFY2(
        ras.StateText().contains(QStringLiteral("run chat with -s")), qPrintable(ras.StateText()));
    QTRY_VERIFY_WITH_TIMEOUT(ended(steps), 20000);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
}

QTEST_GUILESS_MAIN(tst_PppdLine)
#include "tst_pppdline.moc"
