#include "monitor/singleinstance.h"

#include <QFile>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class tst_SingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void secondCopyFindsTheFirstAndAsksItToQuit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brisvane.socket"));
        SingleInstance first(path);
        QVERIFY(!first.anotherCopyIsRunning());
        QVERIFY(first.isListening());
        QSignalSpy quit(&first, &SingleInstance::quitRequested);

        SingleInstance second(path);
        QVERIFY(second.anotherCopyIsRunning());
        QVERIFY(!second.isListening());
        QVERIFY(second.postQuitToRunningCopy());
        QVERIFY(quit.wait(5000));
        QCOMPARE(quit.size(), 1);
    }

    void socketLeftByACrashedCopyIsTakenOver()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brisvane.socket"));
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        SingleInstance copy(path);
        QVERIFY(!copy.anotherCopyIsRunning());
        QVERIFY(copy.isListening());
    }

    void aCopyThatTakesNoConnectionHoldsNobodyUp()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brisvane.socket"));
        SingleInstance first(path);
        QVERIFY(!first.anotherCopyIsRunning());
        // No event loop runs: the first copy accepts nothing, as a stopped or hung one, and
        // its queue fills up. Later copies still see it at once and never wait on it.
        for (int i = 0; i < 20; ++i) {
            SingleInstance later(path);
            QVERIFY(later.anotherCopyIsRunning());
            QVERIFY(!later.isListening());
        }
        QVERIFY(!SingleInstance(path).postQuitToRunningCopy());
    }

    void otherMessagesAreIgnored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brisvane.socket"));
        SingleInstance first(path);
        QVERIFY(!first.anotherCopyIsRunning());
        QSignalSpy quit(&first, &SingleInstance::quitRequested);
        QLocalSocket socket;
        socket.connectToServer(path);
        QVERIFY(socket.waitForConnected(2000));
        socket.write("exit now\n");
        socket.waitForBytesWritten(2000);
        QVERIFY(!quit.wait(300));

        // A peer that talks on without ending its line is cut off; its words are no message.
        QLocalSocket endless;
        endless.connectToServer(path);
        QVERIFY(endless.waitForConnected(2000));
        endless.write(QByteArray(200, 'q'));
        QVERIFY(endless.waitForBytesWritten(2000));
        // Both ends live on this thread's event loop: wait in it.
        QVERIFY(QTest::qWaitFor(
            [&] { return endless.state() == QLocalSocket::UnconnectedState; }, 5000));
        QCOMPARE(quit.size(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
