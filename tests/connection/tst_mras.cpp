#include "connection/dialupservice.h"
#include "connection/mras.h"
#include "connection/simulatedline.h"
#include "support/testcontext.h"

#include <QSignalSpy>
#include <QTest>

// The dial-up control over the simulated line, in virtual time.
class tst_mRAS : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void idleStateIsValidBeforeAnyDial();
    void connectRunsTheUsualStepsThenConnected();
    void busyLineEndsWithTheBusyText();
    void failedDialEndsWithDisconnected();
    void droppedLineIsNoLongerConnectedAndRaisesNoEvent();
    void twoInstancesSeeTheSameLine();
    void hangUpAfterBusyKeepsTheBusyText();
    void hangUpOfAConnectionTakesTheLineDown();
    void userSettingsDialPassesTheValuesOn();
    void busyTwiceThenConnects();
    void stepsAreNeverRaisedInsideTheCall();

private:
    static QList<int> codes(const QSignalSpy &spy);
};

QList<int> tst_mRAS::codes(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toInt();
    return out;
}

void tst_mRAS::idleStateIsValidBeforeAnyDial()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    QCOMPARE(ras.EntryCount(), 5);
    QCOMPARE(ras.EntryAt(ras.EntryCount() - 1), QStringLiteral("Simulated line"));
    QCOMPARE(ras.EntryAt(99), QString());
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QCOMPARE(ras.StateText(), DialState::IdleText);
    QVERIFY(!ras.IsConnected());
    QCOMPARE(ras.PrepareEntry(), 0);
}

void tst_mRAS::connectRunsTheUsualStepsThenConnected()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("Simulated line"));
    ras.PrepareEntry();
    ras.Dial();
    t.clock().advance(1000);
    QVERIFY(!ras.IsConnected());
    QVERIFY(ras.StateCode() != DialState::Connected);
    t.clock().advance(10000);
    QCOMPARE(codes(steps), QList<int>({0, 1, 2, 3, 4, 5, 14, 8192}));
    QCOMPARE(ras.StateCode(), DialState::Connected);
    QCOMPARE(ras.StateText(), QStringLiteral("Connected"));
    QVERIFY(ras.IsConnected());
    // The line belongs to its entry.
    ras.setEntry(QStringLiteral("Simulated line (always busy)"));
    QVERIFY(!ras.IsConnected());
}

void tst_mRAS::busyLineEndsWithTheBusyText()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("Simulated line (always busy)"));
    ras.PrepareEntry();
    ras.Dial();
    t.clock().advance(10000);
    QCOMPARE(codes(steps), QList<int>({0, 1, 2, 8193}));
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected - Line Busy"));
    QVERIFY(!ras.IsConnected());
}

void tst_mRAS::failedDialEndsWithDisconnected()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    ras.setEntry(QStringLiteral("Simulated line (no carrier)"));
    ras.Dial();
    t.clock().advance(10000);
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    // An entry the line does not know fails the same way.
    ras.setEntry(QStringLiteral("Not an entry"));
    ras.Dial();
    t.clock().advance(10000);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
}

void tst_mRAS::droppedLineIsNoLongerConnectedAndRaisesNoEvent()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    ras.setEntry(QStringLiteral("Simulated line (drops after a minute)"));
    ras.Dial();
    t.clock().advance(10000);
    QVERIFY(ras.IsConnected());
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    t.clock().advance(SimulatedLine::kDropAfterMs);
    QVERIFY(!ras.IsConnected());
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QVERIFY(ras.StateText() != DialState::FailedText);
    QVERIFY(steps.isEmpty());
}

void tst_mRAS::twoInstancesSeeTheSameLine()
{
    TestContext t;
    mRAS dialog(t.context().dialUpService());
    mRAS monitor(t.context().dialUpService());
    QSignalSpy monitorSteps(&monitor, &mRAS::StateChanged);
    dialog.setEntry(QStringLiteral("Simulated line"));
    monitor.setEntry(QStringLiteral("Simulated line"));
    dialog.Dial();
    t.clock().advance(10000);
    QVERIFY(monitor.IsConnected());
    QCOMPARE(monitor.StateCode(), DialState::Connected);
    QCOMPARE(monitorSteps.size(), 8);
    monitor.HangUp();
    QVERIFY(!dialog.IsConnected());
    QCOMPARE(dialog.StateText(), monitor.StateText());
}

void tst_mRAS::hangUpAfterBusyKeepsTheBusyText()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    ras.setEntry(QStringLiteral("Simulated line (always busy)"));
    ras.Dial();
    t.clock().advance(10000);
    ras.HangUp();
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected - Line Busy"));
}

void tst_mRAS::hangUpOfAConnectionTakesTheLineDown()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    ras.setEntry(QStringLiteral("Simulated line"));
    ras.Dial();
    t.clock().advance(1500);
    // Hanging up in the middle of a dial stops its steps.
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.HangUp();
    t.clock().advance(10000);
    QVERIFY(steps.isEmpty());
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QCOMPARE(ras.StateText(), DialState::HungUpText);
    QVERIFY(!ras.IsConnected());
}

void tst_mRAS::userSettingsDialPassesTheValuesOn()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    ras.setEntry(QStringLiteral("Simulated line (always busy)"));
    ras.setLogonName(QString());
    ras.setLogonPassword(QString());
    ras.setPhoneNumber(QString());
    ras.Dial();
    QVERIFY(t.line().lastRequest().useLogon);
    QCOMPARE(t.line().lastRequest().phoneNumber, QString());
    t.clock().advance(10000);
    // No number to call: the dial fails rather than ringing the entry.
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    ras.setPhoneNumber(QStringLiteral("555 0100"));
    ras.Dial();
    t.clock().advance(10000);
    QVERIFY(ras.IsConnected());
    // A later dial of the entry uses the entry again.
    ras.PrepareEntry();
    ras.Dial();
    QVERIFY(!t.line().lastRequest().useLogon);
}

void tst_mRAS::busyTwiceThenConnects()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    ras.setEntry(QStringLiteral("Simulated line (busy twice)"));
    QStringList results;
    for (int i = 0; i < 3; ++i) {
        ras.Dial();
        t.clock().advance(10000);
        results << ras.StateText();
    }
    QCOMPARE(results,
        QStringList({"Disconnected - Line Busy", "Disconnected - Line Busy", "Connected"}));
}

void tst_mRAS::stepsAreNeverRaisedInsideTheCall()
{
    TestContext t;
    mRAS ras(t.context().dialUpService());
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("Simulated line"));
    ras.Dial();
    QVERIFY(steps.isEmpty());
    QCoreApplication::processEvents();
    QCOMPARE(steps.size(), 1);
}

QTEST_GUILESS_MAIN(tst_mRAS)
#include "tst_mras.moc"
