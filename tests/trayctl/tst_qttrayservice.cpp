#include "support/privatebus.h"
#include "trayctl/trayservice.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QTest>

namespace {
// The StatusNotifier watcher a panel runs, on a connection of its own: hosts come and go.
class FakeWatcher : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)

public:
    bool hostRegistered() const { return m_host; }
    void setHost(bool host)
    {
        m_host = host;
        if (host)
            Q_EMIT StatusNotifierHostRegistered();
        else
            Q_EMIT StatusNotifierHostUnregistered();
    }

Q_SIGNALS:
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();

private:
    bool m_host = false;
};

const QString WatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
} // namespace

// The Qt tray service on a session bus of the test's own and the offscreen platform (which
// has no tray): whether a tray is there follows the StatusNotifier watcher's hosts.
class tst_QtTrayService : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void noWatcherMeansNoTray();
    void hostComingAndGoingIsFollowed();
    void hostAlreadyThereIsFound();
    void watcherLeavingTakesTheTrayAway();

private:
    void publishWatcher();

    PrivateBus m_bus;
    QDBusConnection m_panel{QString()};
    FakeWatcher m_watcher;
};

void tst_QtTrayService::initTestCase()
{
    if (const QString missing = PrivateBus::missing(); !missing.isEmpty())
        QSKIP(qPrintable(missing));
    QString error;
    QVERIFY2(m_bus.start(&error), qPrintable(error));
    // The service's session bus is this one: nothing has opened the session bus yet.
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_bus.address().toUtf8());
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    m_panel = QDBusConnection::connectToBus(m_bus.address(), QStringLiteral("panel"));
    QVERIFY(m_panel.registerObject(QStringLiteral("/StatusNotifierWatcher"), &m_watcher,
        QDBusConnection::ExportAllProperties | QDBusConnection::ExportAllSignals));
}

void tst_QtTrayService::publishWatcher()
{
    QVERIFY(m_panel.registerService(WatcherService));
}

void tst_QtTrayService::cleanup()
{
    m_watcher.setHost(false);
    m_panel.unregisterService(WatcherService);
}

// Until the bus answers the tray counts as there; no watcher means none.
void tst_QtTrayService::noWatcherMeansNoTray()
{
    QtTrayService tray;
    QSignalSpy changed(&tray, &TrayService::trayAvailableChanged);
    QVERIFY(tray.trayAvailable());
    QVERIFY(changed.wait(5000));
    QVERIFY(!tray.trayAvailable());
    QCOMPARE(tray.backend(), QtTrayService::Backend::None);
}

void tst_QtTrayService::hostComingAndGoingIsFollowed()
{
    publishWatcher();
    QtTrayService tray;
    QTRY_VERIFY_WITH_TIMEOUT(!tray.trayAvailable(), 5000); // the watcher has no host yet
    QSignalSpy changed(&tray, &TrayService::trayAvailableChanged);
    m_watcher.setHost(true);
    QVERIFY(changed.wait(5000));
    QVERIFY(tray.trayAvailable());
    m_watcher.setHost(false);
    QVERIFY(changed.wait(5000));
    QVERIFY(!tray.trayAvailable());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(changed.at(0).at(0).toBool(), true);
    QCOMPARE(changed.at(1).at(0).toBool(), false);
    QCOMPARE(tray.backend(), QtTrayService::Backend::StatusNotifier);
}

void tst_QtTrayService::hostAlreadyThereIsFound()
{
    publishWatcher();
    m_watcher.setHost(true);
    QtTrayService tray;
    QTRY_VERIFY_WITH_TIMEOUT(tray.trayAvailable(), 5000);
}

void tst_QtTrayService::watcherLeavingTakesTheTrayAway()
{
    publishWatcher();
    m_watcher.setHost(true);
    QtTrayService tray;
    QTRY_VERIFY_WITH_TIMEOUT(tray.trayAvailable(), 5000);
    QSignalSpy changed(&tray, &TrayService::trayAvailableChanged);
    // The panel ends without a word about its host.
    QVERIFY(m_panel.unregisterService(WatcherService));
    QVERIFY(changed.wait(5000));
    QVERIFY(!tray.trayAvailable());
}

QTEST_MAIN(tst_QtTrayService)
#include "tst_qttrayservice.moc"
