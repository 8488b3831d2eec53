#include "connection/dialupservice.h"
#include "connection/mras.h"
#include "connection/networkmanagerline.h"
#include "connection/nmmapping.h"
#include "connection/nmproxies.h"
#include "nmmockbus.h"

#include <QDBusReply>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace NmMapping;

// The NetworkManager line through mRAS, against python-dbusmock's NetworkManager on a private
// bus: every test gets a fresh bus and mock.
class tst_NetworkManagerLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void entriesAreTheProfilesDialUpTypesFirst();
    void dialActivatesAndHangUpDeactivates();
    void connectionUpAtStartIsReportedConnected();
    void droppedConnectionIsNoLongerConnectedAndRaisesNoEvent();
    void deviceStepsLeadToConnected();
    void deviceTakenFromAnotherConnectionGoesOnToConnect();
    void failedDeviceEndsTheDial_data();
    void failedDeviceEndsTheDial();
    void connectionEndingBeforeTheDeviceSignalStillTellsBusy();
    void dialsThatNetworkManagerCannotMakeFail();
    void userSettingsDialActivatesATemporaryProfileOnAModem();

private:
    static QList<int> codes(const QSignalSpy &spy);
    // The line with a wired device that can carry every profile of `profiles`.
    void setUpMachine();

    std::unique_ptr<NmMockBus> m_nm;
    QString m_device;
    QHash<QString, QString> m_profiles;
};

QList<int> tst_NetworkManagerLine::codes(const QSignalSpy &spy)
{
    QList<int> out;
    for (const QList<QVariant> &args : spy)
        out << args.at(0).toInt();
    return out;
}

void tst_NetworkManagerLine::init()
{
    const QString missing = NmMockBus::missing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    m_nm = std::make_unique<NmMockBus>();
    QString error;
    QVERIFY2(m_nm->start(&error), qPrintable(error));
    setUpMachine();
}

void tst_NetworkManagerLine::cleanup()
{
    m_nm.reset();
    m_profiles.clear();
}

void tst_NetworkManagerLine::setUpMachine()
{
    m_device = m_nm->addEthernetDevice(QStringLiteral("eth0"));
    QVERIFY(!m_device.isEmpty());
    const QList<std::pair<QString, QString>> profiles{
        {QStringLiteral("Office wired"), QStringLiteral("802-3-ethernet")},
        {QStringLiteral("Mobile"), QStringLiteral("gsm")},
        {QStringLiteral("Work VPN"), QStringLiteral("vpn")},
        {QStringLiteral("DSL"), QStringLiteral("pppoe")},
        {QStringLiteral("Phone over Bluetooth"), QStringLiteral("bluetooth")},
    };
    for (const auto &[id, type] : profiles) {
        m_profiles.insert(id, m_nm->addProfile(id, type));
        QVERIFY(!m_profiles.value(id).isEmpty());
    }
    m_nm->makeAvailable(m_device, m_profiles.values());
}

void tst_NetworkManagerLine::entriesAreTheProfilesDialUpTypesFirst()
{
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    QStringList names;
    for (int i = 0; i < ras.EntryCount(); ++i)
        names << ras.EntryAt(i);
    QCOMPARE(
        names, QStringList({"Mobile", "DSL", "Phone over Bluetooth", "Office wired", "Work VPN"}));
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QVERIFY(!ras.IsConnected());
    // A profile added later shows after a refresh, in its place.
    m_nm->addProfile(QStringLiteral("CDMA stick"), QStringLiteral("cdma"));
    ras.Refresh();
    QCOMPARE(ras.EntryCount(), 6);
    QCOMPARE(ras.EntryAt(1), QStringLiteral("CDMA stick"));
}

void tst_NetworkManagerLine::dialActivatesAndHangUpDeactivates()
{
    NetworkManagerLine line(m_nm->bus());
    mRAS dialog(line);
    mRAS monitor(line);
    QSignalSpy steps(&dialog, &mRAS::StateChanged);
    dialog.setEntry(QStringLiteral("Office wired"));
    monitor.setEntry(QStringLiteral("Office wired"));
    dialog.PrepareEntry();
    dialog.Dial();
    QVERIFY(!dialog.IsConnected());
    QTRY_COMPARE_WITH_TIMEOUT(dialog.StateCode(), DialState::Connected, 20000);
    QTRY_VERIFY(!steps.isEmpty() && codes(steps).last() == DialState::Connected);
    const QList<int> seen = codes(steps);
    QCOMPARE(seen.first(), DialState::OpenPort);
    QVERIFY2(std::is_sorted(seen.begin(), seen.end()), "steps go forward only");
    QCOMPARE(dialog.StateText(), QStringLiteral("Connected"));
    QVERIFY(dialog.IsConnected());
    QVERIFY(monitor.IsConnected());
    monitor.setEntry(QStringLiteral("Mobile"));
    QVERIFY(!monitor.IsConnected());
    // NetworkManager activated the profile on the device that carries it.
    const QStringList active = m_nm->activeConnections();
    QCOMPARE(active.size(), 1);
    const QVariant profile = Nm::property(
        m_nm->bus(), active.first(), Nm::ActiveInterface, QStringLiteral("Connection"));
    QCOMPARE(profile.value<QDBusObjectPath>().path(), m_profiles.value("Office wired"));
    QCOMPARE(Nm::paths(Nm::property(
                 m_nm->bus(), active.first(), Nm::ActiveInterface, QStringLiteral("Devices"))),
        QStringList{m_device});

    steps.clear();
    dialog.HangUp();
    QVERIFY(!dialog.IsConnected());
    QCOMPARE(dialog.StateCode(), DialState::Disconnected);
    QCOMPARE(dialog.StateText(), DialState::HungUpText);
    QTRY_VERIFY_WITH_TIMEOUT(m_nm->activeConnections().isEmpty(), 20000);
    QCoreApplication::processEvents();
    QVERIFY(steps.isEmpty());
    QCOMPARE(dialog.StateText(), DialState::HungUpText);
}

void tst_NetworkManagerLine::connectionUpAtStartIsReportedConnected()
{
    QVERIFY(!m_nm->activate(m_profiles.value("DSL"), m_device).isEmpty());
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    ras.setEntry(QStringLiteral("DSL"));
    QVERIFY(ras.IsConnected());
    QCOMPARE(ras.StateCode(), DialState::Connected);
    ras.setEntry(QStringLiteral("Mobile"));
    QVERIFY(!ras.IsConnected());
}

void tst_NetworkManagerLine::droppedConnectionIsNoLongerConnectedAndRaisesNoEvent()
{
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    ras.setEntry(QStringLiteral("Mobile"));
    ras.Dial();
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QTRY_COMPARE(m_nm->activeConnections().size(), 1);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    QCoreApplication::processEvents();
    steps.clear();
    // The line goes away without our asking.
    m_nm->mock(QStringLiteral("/org/freedesktop"), QStringLiteral("RemoveActiveConnection"),
        {m_device, m_nm->activeConnections().first()});
    QTRY_VERIFY_WITH_TIMEOUT(!ras.IsConnected(), 20000);
    QCOMPARE(ras.StateCode(), DialState::Disconnected);
    QVERIFY(ras.StateText() != DialState::FailedText);
    QVERIFY(ras.StateText() != DialState::LineBusyText);
    QVERIFY(steps.isEmpty());
}

void tst_NetworkManagerLine::deviceStepsLeadToConnected()
{
    m_nm->holdActivations();
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("Mobile"));
    ras.Dial();
    QTRY_COMPARE_WITH_TIMEOUT(m_nm->activeConnections().size(), 1, 20000);
    QTRY_COMPARE(ras.StateCode(), DialState::PortOpened);
    QVERIFY(!ras.IsConnected());
    uint previous = DeviceState::Disconnected;
    for (uint state :
        {DeviceState::Prepare, DeviceState::Config, DeviceState::NeedAuth, DeviceState::IpConfig,
            DeviceState::IpCheck, DeviceState::Secondaries, DeviceState::Activated}) {
        m_nm->emitDeviceState(m_device, state, previous, 0);
        previous = state;
    }
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QTRY_COMPARE(codes(steps), QList<int>({0, 1, 2, 5, 10, 14, 18, 8192}));
    QCOMPARE(ras.StateText(), QStringLiteral("Connected"));
}

void tst_NetworkManagerLine::deviceTakenFromAnotherConnectionGoesOnToConnect()
{
    QVERIFY(!m_nm->activate(m_profiles.value("Office wired"), m_device).isEmpty());
    m_nm->holdActivations();
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    ras.setEntry(QStringLiteral("Mobile"));
    ras.Dial();
    QTRY_COMPARE_WITH_TIMEOUT(ras.StateCode(), DialState::PortOpened, 20000);
    // The device first ends the wired connection it carries, then starts on ours.
    const uint newActivation = 60;
    m_nm->emitDeviceState(
        m_device, DeviceState::Deactivating, DeviceState::Activated, newActivation);
    m_nm->emitDeviceState(
        m_device, DeviceState::Disconnected, DeviceState::Deactivating, newActivation);
    m_nm->emitDeviceState(m_device, DeviceState::Prepare, DeviceState::Disconnected, 0);
    m_nm->emitDeviceState(m_device, DeviceState::Config, DeviceState::Prepare, 0);
    m_nm->emitDeviceState(m_device, DeviceState::Activated, DeviceState::Config, 0);
    QTRY_VERIFY_WITH_TIMEOUT(ras.IsConnected(), 20000);
    QCOMPARE(ras.StateText(), QStringLiteral("Connected"));
}

void tst_NetworkManagerLine::failedDeviceEndsTheDial_data()
{
    QTest::addColumn<uint>("reason");
    QTest::addColumn<QString>("text");
    QTest::newRow("modem busy") << Reason::ModemBusy << QStringLiteral("Disconnected - Line Busy");
    QTest::newRow("no carrier") << Reason::ModemNoCarrier << QStringLiteral("Disconnected");
}

void tst_NetworkManagerLine::failedDeviceEndsTheDial()
{
    QFETCH(uint, reason);
    QFETCH(QString, text);
    m_nm->holdActivations();
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("Mobile"));
    ras.Dial();
    QTRY_COMPARE_WITH_TIMEOUT(ras.StateCode(), DialState::PortOpened, 20000);
    m_nm->emitDeviceState(m_device, DeviceState::Prepare, DeviceState::Disconnected, 0);
    m_nm->emitDeviceState(m_device, DeviceState::Config, DeviceState::Prepare, 0);
    m_nm->emitDeviceState(m_device, DeviceState::Failed, DeviceState::Config, reason);
    m_nm->emitDeviceState(m_device, DeviceState::Disconnected, DeviceState::Failed, reason);
    QTRY_COMPARE_WITH_TIMEOUT(ras.StateCode(), DialState::Disconnected, 20000);
    QTRY_COMPARE(codes(steps), QList<int>({0, 1, 2, 8193}));
    QCOMPARE(ras.StateText(), text);
    QVERIFY(!ras.IsConnected());
    // The result stays readable after the hang-up that follows it.
    ras.HangUp();
    QCOMPARE(ras.StateText(), text);
}

void tst_NetworkManagerLine::connectionEndingBeforeTheDeviceSignalStillTellsBusy()
{
    m_nm->holdActivations();
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    ras.setEntry(QStringLiteral("Mobile"));
    ras.Dial();
    QTRY_COMPARE_WITH_TIMEOUT(m_nm->activeConnections().size(), 1, 20000);
    QTRY_COMPARE(ras.StateCode(), DialState::PortOpened);
    m_nm->setDeviceStateReason(m_device, DeviceState::Failed, Reason::ModemBusy);
    m_nm->mock(m_nm->activeConnections().first(), QStringLiteral("EmitSignal"),
        {Nm::ActiveInterface, QStringLiteral("StateChanged"), QStringLiteral("uu"),
            QVariantList{QVariant::fromValue(QDBusVariant(ActiveState::Deactivated)),
                QVariant::fromValue(QDBusVariant(3u))}});
    QTRY_COMPARE_WITH_TIMEOUT(ras.StateCode(), DialState::Disconnected, 20000);
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected - Line Busy"));
}

void tst_NetworkManagerLine::dialsThatNetworkManagerCannotMakeFail()
{
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    QSignalSpy steps(&ras, &mRAS::StateChanged);
    ras.setEntry(QStringLiteral("No such profile"));
    ras.Dial();
    QTRY_COMPARE(codes(steps), QList<int>({0, 8193}));
    QCOMPARE(ras.StateText(), QStringLiteral("Disconnected"));
    // A number of our own needs a modem that can dial; the state list says there is none.
    QStringList texts;
    connect(&ras, &mRAS::StateChanged, this, [&] { texts << ras.StateText(); });
    ras.setPhoneNumber(QStringLiteral("555 0100"));
    ras.Dial();
    QTRY_COMPARE(texts.size(), 2);
    QCOMPARE(texts, QStringList({noModemText(), QStringLiteral("Disconnected")}));
    QVERIFY(m_nm->activeConnections().isEmpty());
}

void tst_NetworkManagerLine::userSettingsDialActivatesATemporaryProfileOnAModem()
{
    const QString modem = m_nm->addModemDevice(QStringLiteral("ttyUSB0"), ModemCapability::Gsm);
    m_nm->acceptAddAndActivate2();
    const auto listed = [this] {
        return Nm::paths(Nm::property(
            m_nm->bus(), Nm::SettingsPath, Nm::SettingsInterface, QStringLiteral("Connections")));
    };
    const QStringList before = listed();
    NetworkManagerLine line(m_nm->bus());
    mRAS ras(line);
    ras.setPhoneNumber(QStringLiteral("*99#"));
    ras.setLogonName(QStringLiteral("web"));
    ras.setLogonPassword(QStringLiteral("s3cret"));
    ras.Dial();
    QTRY_COMPARE_WITH_TIMEOUT(ras.StateCode(), DialState::Connected, 20000);
    QVERIFY(ras.IsConnected());
    const QStringList active = m_nm->activeConnections();
    QCOMPARE(active.size(), 1);
    QCOMPARE(Nm::paths(Nm::property(
                 m_nm->bus(), active.first(), Nm::ActiveInterface, QStringLiteral("Devices"))),
        QStringList{modem});
    const QString profile = Nm::property(
        m_nm->bus(), active.first(), Nm::ActiveInterface, QStringLiteral("Connection"))
                                .value<QDBusObjectPath>()
                                .path();
    QVERIFY(!before.contains(profile));
    const QDBusReply<Nm::SettingsMap> settings
        = m_nm->call(profile, Nm::ConnectionInterface, QStringLiteral("GetSettings"));
    QCOMPARE(settings.value().value("connection").value("type").toString(), QStringLiteral("gsm"));
    QCOMPARE(settings.value().value("connection").value("autoconnect").toBool(), false);
    const QVariantMap gsm = settings.value().value("gsm");
    QCOMPARE(gsm.value("number").toString(), QStringLiteral("*99#"));
    QCOMPARE(gsm.value("username").toString(), QStringLiteral("web"));
    QCOMPARE(gsm.value("password").toString(), QStringLiteral("s3cret"));
    // Hanging up takes the line down and the profile away.
    ras.HangUp();
    QTRY_VERIFY_WITH_TIMEOUT(m_nm->activeConnections().isEmpty(), 20000);
    QTRY_COMPARE_WITH_TIMEOUT(listed(), before, 20000);
}

QTEST_GUILESS_MAIN(tst_NetworkManagerLine)
#include "tst_networkmanagerline.moc"
