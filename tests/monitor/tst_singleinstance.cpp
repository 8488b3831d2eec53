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
    void secondCopyFindsTheFirstAndAsksItToShowItself()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brisvane.socket"));
        SingleInstance first(path);
        QVERIFY(!first.anotherCopyIsRunning());
        QVERIFY(first.isListening());
        QSignalSpy show(&first, &SingleInstance::showRequested);

        SingleInstance second(path);
        QVERIFY(second.anotherCopyIsRunning());
        QVERIFY(!second.isListening());
        QVERIFY(second.askRunningCopyToShow());
        QVERIFY(show.wait(5000));
        QCOMPARE(show.size(), 1);
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
        QVERIFY(!SingleInstance(path).askRunningCopyToShow());
    }

    void otherMessagesAreIgnored()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("Brisvane.socket"));
        SingleInstance first(path);
        QVERIFY(!first.anotherCopyIsRunning());
        QSignalSpy show(&first, &SingleInstance::showRequested);
        QLocalSocket socket;
        socket.connectToServer(path);
        QVERIFY(socket.waitForConnected(2000));
        socket.write("quit\n");
        socket.waitForBytesWritten(2000);
        QVERIFY(!show.wait(300));

        // A peer that talks on without ending its line is cut off; its words are no message.
        QLocalSocket endless;
        endless.connectToServer(path);
        QVERIFY(endless.waitForConnected(2000));
        endless.write(QByteArray(200, 'q'));
        QVERIFY(endless.waitForBytesWritten(2000));
        // Both ends live on this thread's event loop: wait in it.
        QVERIFY(QTest::qWaitFor(
            [&] { return endless.state() == QLocalSocket::UnconnectedState; }, 5000));
        QCOMPARE(show.size(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_SingleInstance)
#include "tst_singleinstance.moc"
