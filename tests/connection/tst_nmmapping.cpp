#include "connection/dialupservice.h"
#include "connection/nmmapping.h"

#include <QTest>

using namespace NmMapping;

// The translation of NetworkManager's numbers, including the failure reasons the mock cannot
// produce on its own.
class tst_NmMapping : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void modemReasonsEndBusyOrDisconnected_data();
    void modemReasonsEndBusyOrDisconnected();
    void deviceStatesAreStepsThatOnlyGoForward();
    void dialUpTypesRankFirstInTheirOrder();
};

void tst_NmMapping::modemReasonsEndBusyOrDisconnected_data()
{
    QTest::addColumn<uint>("reason");
    QTest::addColumn<QString>("text");
    QTest::newRow("busy") << Reason::ModemBusy << QStringLiteral("Disconnected - Line Busy");
    QTest::newRow("no dial tone") << Reason::ModemNoDialTone << QStringLiteral("Disconnected");
    QTest::newRow("no carrier") << Reason::ModemNoCarrier << QStringLiteral("Disconnected");
    QTest::newRow("dial timeout") << Reason::ModemDialTimeout << QStringLiteral("Disconnected");
    QTest::newRow("no secrets") << 7u << QStringLiteral("Disconnected");
    QTest::newRow("unknown") << 1u << QStringLiteral("Disconnected");
}

void tst_NmMapping::modemReasonsEndBusyOrDisconnected()
{
    QFETCH(uint, reason);
    QFETCH(QString, text);
    QCOMPARE(endTextForReason(reason), text);
}

void tst_NmMapping::deviceStatesAreStepsThatOnlyGoForward()
{
    int previous = DialState::OpenPort;
    for (uint state = DeviceState::Prepare; state <= DeviceState::Activated; state += 10) {
        const std::optional<Step> step = stepForDeviceState(state);
        QVERIFY2(step, qPrintable(QString::number(state)));
        QVERIFY(step->code > previous);
        QVERIFY(!step->text.isEmpty());
        QVERIFY(step->text != DialState::FailedText);
        previous = step->code;
    }
    QCOMPARE(previous, DialState::Connected);
    for (uint state : {DeviceState::Unknown, DeviceState::Unmanaged, DeviceState::Unavailable,
             DeviceState::Disconnected, DeviceState::Deactivating, DeviceState::Failed})
        QVERIFY(!stepForDeviceState(state));
}

void tst_NmMapping::dialUpTypesRankFirstInTheirOrder()
{
    const QStringList order{"gsm", "cdma", "pppoe", "bluetooth", "adsl"};
    for (qsizetype i = 1; i < order.size(); ++i)
        QVERIFY(typeRank(order.at(i - 1)) < typeRank(order.at(i)));
    QVERIFY(typeRank("adsl") < typeRank("vpn"));
    QCOMPARE(typeRank("vpn"), typeRank("802-3-ethernet"));
}

QTEST_GUILESS_MAIN(tst_NmMapping)
#include "tst_nmmapping.moc"
