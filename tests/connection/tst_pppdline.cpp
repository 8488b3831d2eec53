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

private:
    static QList<int> codes(const QSignalSpy &spy);
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
for a in "$@"; do printf '%s\n' "$a"; done > "$dir/argv-tmp"
while [ $# -gt 0 ]; do
  case "$1" in call) shift; peer="$1";; esac
  shift
done
mv "$dir/argv-tmp" "$dir/argv-$peer"
echo $$ > "$dir/pid-$peer"
if [ "$peer" = stubborn ]; then trap 'touch "$dir/ignored-$peer"' TERM
else trap 'echo "Terminating on signal 15"; touch "$dir/terminated-$peer"; exit 5' TERM; fi
echo "send (ATDT5550100^M)"
case "$peer" in
  busy) echo "expect (CONNECT)"; echo "BUSY"; echo " -- failed"; echo "Failed (BUSY)"
        echo "Connect script failed"; exit 8;;
  nocarrier) echo "expect (CONNECT)"; echo "NO CARRIER"; echo "Connect script failed"; exit 8;;
esac
echo "Serial connection established."
echo "Using interface ppp0"
echo "Connect: ppp0 <--> /dev/ttyS0"
echo "PAP authentication succeeded"
echo "local  IP address 10.0.0.2"
echo "remote IP address 10.0.0.1"
while [ ! -e "$dir/hangup-$peer" ]; do sleep 0.05; done
echo "Modem hangup"
echo "Connection terminated."
exit 16
)SH";
} // namespace

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
    QFile standIn(file(QStringLiteral("bin/pppd")));
    QVERIFY(standIn.open(QIODevice::WriteOnly));
    standIn.write(kStandIn);
    standIn.close();
    standIn.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char *peer : {"good", "busy", "nocarrier", "drop", "stubborn", "old~", ".hidden"}) {
        QFile peerFile(file(QStringLiteral("peers/") + QLatin1String(peer)));
        QVERIFY(peerFile.open(QIODevice::WriteOnly));
        peerFile.write("/dev/ttyS0\n115200\n");
    }
    m_oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(file(QStringLiteral("bin"))) + ':' + m_oldPath);
}

void tst_PppdLine::cleanupTestCase()
{
    qputenv("PATH", m_oldPath);
}

std::unique_ptr<PppdLine> tst_PppdLine::makeLine()
{
    return std::make_unique<PppdLine>(
        m_clock, PppdOptions{file(QStringLiteral("peers")), QStringLiteral("/dev/ttyFAKE0")});
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
    QCOMPARE(names, QStringList({"busy", "drop", "good", "nocarrier", "stubborn"}));
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
    QCOMPARE(recordedArguments("good"), QStringList({"call", "good", "nodetach"}));
    ras.HangUp();
}

void tst_PppdLine::busyConnectScriptEndsWithTheBusyText()
{
    auto line = makeLine();
    mRAS ras(*line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("busy"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && codes(steps).last() == 8193, 20000);
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
    QTRY_VERIFY_WITH_TIMEOUT(!steps.isEmpty() && codes(steps).last() == 8193, 20000);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    QVERIFY(!ras.IsConnected());
    // A peer that is not there never reaches pppd.
    steps.clear();
    ras.setEntry(QStringLiteral("nowhere"));
    ras.Dial();
    QTRY_COMPARE(codes(steps), QList<int>({0, 8193}));
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    QVERIFY(recordedArguments("nowhere").isEmpty());
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
    QCOMPARE(ras.EntryCount(), 6);
    QCOMPARE(ras.EntryAt(3), QStringLiteral("late"));
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
    QCOMPARE(ras.StateText(), QStringLiteral("Connection lost (the modem hung up)"));
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
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);

    const QStringList arguments = recordedArguments(QStringLiteral("logon"));
    QVERIFY(arguments.contains(QStringLiteral("/dev/ttyFAKE0")));
    QVERIFY(arguments.contains(QStringLiteral("nodetach")));
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

    // The private files go with the pppd that read them.
    ras.HangUp();
    QTRY_VERIFY_WITH_TIMEOUT(!options.exists(), 20000);
}

QTEST_GUILESS_MAIN(tst_PppdLine)
#include "tst_pppdline.moc"
