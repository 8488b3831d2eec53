#include "app/brisvaneapp.h"
#include "connection/dialupfactory.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/connectiontab.h"
#include "monitor/frmbrisvanemonitor.h"
#include "realnetworkmanager.h"
#include "shell/ui/frmbrisvane.h"
#include "support/testcontext.h"
#include "support/widgetbyname.h"
#include "trayctl/lumenpin.h"
#include "trayctl/recordingtrayservice.h"
#include "trayctl/trayservice.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

namespace {
// The line is back this long after the carrier, at most: the watch's tick, the hang-up's
// pause and NetworkManager's own activation (about two seconds here).
constexpr int kRedialSeconds = 10;
} // namespace

// The program against Debian's NetworkManager for real (see realnetworkmanager.h): dialling on
// start-up activates the entry's profile, a far end that goes away drops the line, the line
// watch notices and redials until the carrier is back, and a hang-up deactivates the profile.
// NetworkManager's own defaults first: it waits some seconds for a carrier that went before it
// takes the line down, and refuses to activate a device without one.
class tst_RealNetworkManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dialDropRedialAndHangUp_data();
    void dialDropRedialAndHangUp();

private:
    // Lets real time pass for NetworkManager while the program's clock moves on with it, until
    // `done` holds; false after `seconds` of real time.
    bool runUntil(const std::function<bool()> &done, int seconds = 60);
    QStringList stateList() const;

    std::unique_ptr<RealNetworkManager> m_nm;
    std::unique_ptr<TestContext> m_t;
    std::unique_ptr<RecordingTrayService> m_tray;
    std::unique_ptr<frmBrisvaneMonitor> m_monitor;
};

void tst_RealNetworkManager::initTestCase()
{
    const QString missing = RealNetworkManager::missing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("the real NetworkManager test does not run: ") + missing));
}

bool tst_RealNetworkManager::runUntil(const std::function<bool()> &done, int seconds)
{
    // The program's clock keeps NetworkManager's pace: its pauses and watch ticks take as long
    // as they do in real life.
    QElapsedTimer real;
    real.start();
    qint64 advanced = 0;
    return QTest::qWaitFor(
        [&] {
            const qint64 now = real.elapsed();
            m_t->clock().advance(now - advanced);
            advanced = now;
            return done();
        },
        seconds * 1000);
}

QStringList tst_RealNetworkManager::stateList() const
{
    QStringList lines;
    const QListWidget *list
        = widget<QListWidget>(m_monitor->customizeDialog().connectionTab(), "lstConnectState");
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

void tst_RealNetworkManager::dialDropRedialAndHangUp_data()
{
    QTest::addColumn<bool>("waitsForCarrier");
    QTest::addColumn<int>("carrierAwaySeconds");
    QTest::addColumn<bool>("lineDrops");
    QTest::newRow("defaults, carrier back within the wait") << true << 3 << false;
    QTest::newRow("defaults, carrier away past the wait") << true << 12 << true;
    QTest::newRow("no carrier wait") << false << 3 << true;
}

void tst_RealNetworkManager::dialDropRedialAndHangUp()
{
    QFETCH(bool, waitsForCarrier);
    QFETCH(int, carrierAwaySeconds);
    QFETCH(bool, lineDrops);
    // A row per process (CTest runs them so), each in namespaces of its own: a NetworkManager
    // started again in the same ones takes the first one's leftovers for its own.
    QVERIFY(!m_nm);
    m_nm = std::make_unique<RealNetworkManager>(waitsForCarrier);
    QString error;
    QVERIFY2(m_nm->start(&error), qPrintable(error));
    const QString entry = QLatin1String(RealNetworkManager::Profile);
    m_t = std::make_unique<TestContext>();
    SettingsStore &settings = m_t->settings();
    settings.save(Keys::FirstTime, SettingValues::FirstTime);
    settings.save(Keys::DialUpService, QStringLiteral("networkmanager"));
    settings.save(Keys::DefaultConnection, entry);
    settings.save(Keys::ConnectiononStartup, SettingValues::Checked);
    settings.save(Keys::ReconnectwhenDisconnected, SettingValues::Checked);
    settings.save(Keys::AlertDisconnected, SettingValues::Checked);
    m_t->context().setDialUpService(DialUpFactory::create(
        QStringLiteral("networkmanager"), m_t->clock(), DialUpFactory::Platform{m_nm->bus()}));
    m_tray = std::make_unique<RecordingTrayService>();
    m_monitor = std::make_unique<frmBrisvaneMonitor>(m_t->context(), *m_tray);
    frmBrisvane &dialog = m_monitor->customizeDialog();
    ConnectionTab &tab = dialog.connectionTab();
    mRAS &line = m_monitor->app().line().dialUp();

    // Start-up dials the entry: the tray animates, NetworkManager activates the profile.
    m_monitor->runStartup();
    QCOMPARE(widget<QComboBox>(tab, "Combo1")->currentText(), entry);
    QVERIFY(m_monitor->tray().IsAnimating());
    QVERIFY2(runUntil([&] { return line.IsConnected(); }), qPrintable(m_nm->log()));
    QVERIFY2(runUntil([&] { return stateList().contains(QStringLiteral("8192 Connected")); }),
        qPrintable(stateList().join(u'\n')));
    QCOMPARE(m_nm->activeIds(), QStringList{entry});
    QVERIFY(!m_monitor->tray().IsAnimating());
    QVERIFY(widget<QPushButton>(tab, "cmdDisconnect")->isEnabled());
    const int dialsBefore = m_t->sounds().names().size();

    // The far end goes for a while. A drop is noticed: the alert, the hang-up, and redials
    // (refused while the device has no carrier) until the line is back, a few seconds after
    // the carrier.
    QVERIFY(m_nm->setFarEndUp(false));
    bool dropped = false;
    QElapsedTimer away;
    away.start();
    runUntil([&] {
        dropped = dropped || m_monitor->app().line().state().LineState != 0;
        return away.elapsed() >= carrierAwaySeconds * 1000;
    });
    QCOMPARE(dropped, lineDrops);
    QVERIFY(m_nm->setFarEndUp(true));
    QElapsedTimer back;
    back.start();
    QVERIFY2(
        runUntil(
            [&] { return line.IsConnected() && m_monitor->app().line().state().LineState == 0; },
            kRedialSeconds),
        qPrintable(stateList().join(u'\n') + u'\n' + m_nm->log()));
    qInfo("The line was up again %.1f s after the carrier", back.elapsed() / 1000.0);
    QCOMPARE(m_nm->activeIds(), QStringList{entry});
    QCOMPARE(m_t->sounds().names().size() > dialsBefore, lineDrops);

    // The user hangs up: NetworkManager deactivates the profile.
    widget<QPushButton>(tab, "cmdDisconnect")->click();
    QVERIFY(runUntil([&] { return m_nm->activeIds().isEmpty(); }));
    QVERIFY(!line.IsConnected());
    QVERIFY(widget<QPushButton>(tab, "cmdConnect")->isEnabled());
}

QTEST_MAIN(tst_RealNetworkManager)
#include "tst_realnetworkmanager.moc"
