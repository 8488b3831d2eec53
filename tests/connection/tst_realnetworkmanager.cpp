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
#include "trayctl/trayservice.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <functional>

// The program against Debian's NetworkManager for real (see realnetworkmanager.h): dialling on
// start-up activates the entry's profile, a far end that goes away drops the line, the line
// watch notices and redials once the carrier is back, and a hang-up deactivates the profile.
class tst_RealNetworkManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void dialDropRedialAndHangUp();

private:
    // Lets real time pass for NetworkManager while the program's clock moves on with it, until
    // `done` holds; false after `seconds` of real time.
    bool runUntil(const std::function<bool()> &done, int seconds = 60);
    QStringList stateList() const;

    RealNetworkManager m_nm;
    std::unique_ptr<TestContext> m_t;
    std::unique_ptr<RecordingTrayService> m_tray;
    std::unique_ptr<frmBrisvaneMonitor> m_monitor;
};

void tst_RealNetworkManager::initTestCase()
{
    const QString missing = RealNetworkManager::missing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(QStringLiteral("the real NetworkManager test does not run: ") + missing));
    QString error;
    QVERIFY2(m_nm.start(&error), qPrintable(error));
}

bool tst_RealNetworkManager::runUntil(const std::function<bool()> &done, int seconds)
{
    return QTest::qWaitFor(
        [&] {
            m_t->clock().advance(100);
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

void tst_RealNetworkManager::dialDropRedialAndHangUp()
{
    const QString entry = QLatin1String(RealNetworkManager::Profile);
    m_t = std::make_unique<TestContext>();
    SettingsStore &settings = m_t->settings();
    settings.save(Keys::FirstTime, SettingValues::FirstTime);
    settings.save(Keys::DialUpService, QStringLiteral("networkmanager"));
    settings.save(Keys::DefaultConnection, entry);
    settings.save(Keys::ConnectiononStartup, SettingValues::Checked);
    settings.save(Keys::ReconnectwhenDisconnected, SettingValues::Checked);
    settings.save(Keys::AlertDisconnected, SettingValues::Checked);
    m_t->context().setDialUpService(DialUpFactory::create(settings, m_t->clock()));
    m_tray = std::make_unique<RecordingTrayService>();
    m_monitor = std::make_unique<frmBrisvaneMonitor>(m_t->context(), *m_tray);
    frmBrisvane &dialog = m_monitor->customizeDialog();
    ConnectionTab &tab = dialog.connectionTab();
    mRAS &line = m_monitor->app().line().dialUp();

    // Start-up dials the entry: the tray animates, NetworkManager activates the profile.
    m_monitor->runStartup();
    QCOMPARE(widget<QComboBox>(tab, "Combo1")->currentText(), entry);
    QVERIFY(m_monitor->tray().IsAnimating());
    QVERIFY2(runUntil([&] { return line.IsConnected(); }), qPrintable(m_nm.log()));
    QVERIFY2(runUntil([&] { return stateList().contains(QStringLiteral("8192 Connected")); }),
        qPrintable(stateList().join(u'\n')));
    QCOMPARE(m_nm.activeIds(), QStringList{entry});
    QVERIFY(!m_monitor->tray().IsAnimating());
    QVERIFY(widget<QPushButton>(tab, "cmdDisconnect")->isEnabled());
    const int dialsBefore = m_t->sounds().names().size();

    // The far end goes: the line watch notices, plays the alert, hangs up and keeps
    // redialling; the line comes back once the carrier does.
    QVERIFY(m_nm.setFarEndUp(false));
    QVERIFY2(runUntil([&] {
        return !line.IsConnected() && m_monitor->app().line().state().LineState != 0;
    }),
        qPrintable(m_nm.log()));
    QVERIFY(m_t->sounds().names().size() > dialsBefore);
    QVERIFY(m_nm.setFarEndUp(true));
    QVERIFY2(runUntil([&] { return line.IsConnected(); }),
        qPrintable(stateList().join(u'\n') + u'\n' + m_nm.log()));
    QCOMPARE(m_nm.activeIds(), QStringList{entry});
    QVERIFY(stateList().contains(QStringLiteral("8192 Connected")));

    // The user hangs up: NetworkManager deactivates the profile.
    widget<QPushButton>(tab, "cmdDisconnect")->click();
    QVERIFY(runUntil([&] { return m_nm.activeIds().isEmpty(); }));
    QVERIFY(!line.IsConnected());
    QVERIFY(widget<QPushButton>(tab, "cmdConnect")->isEnabled());
}

QTEST_MAIN(tst_RealNetworkManager)
#include "tst_realnetworkmanager.moc"
