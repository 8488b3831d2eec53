#include "clock/virtualclock.h"
#include "connection/dialupfactory.h"
#include "connection/dialupservice.h"
#include "nmmockbus.h"
#include "settings/settingkeys.h"
#include "support/testcontext.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The choice of the dial-up service from the "DialUp"/"Service" setting.
class tst_DialUpFactory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namedServicesAreTakenAsNamed();
    void autoFallsBackToPppdThenToTheSimulatedLine();
    void autoTakesNetworkManagerWhenItAnswers();
    void settingIsReadLeniently();

private:
    static QString kindOf(const QString &setting, const DialUpFactory::Platform &platform);
    static QDBusConnection deadBus();
};

QString tst_DialUpFactory::kindOf(const QString &setting, const DialUpFactory::Platform &platform)
{
    VirtualClock clock;
    return DialUpFactory::create(setting, clock, platform)->kind();
}

QDBusConnection tst_DialUpFactory::deadBus()
{
    return QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/bvane-bus"), QStringLiteral("dead"));
}

void tst_DialUpFactory::namedServicesAreTakenAsNamed()
{
    QTemporaryDir noPeers;
    const DialUpFactory::Platform platform{deadBus(), noPeers.path(), QString()};
    QCOMPARE(kindOf("simulated", platform), QStringLiteral("simulated"));
    QCOMPARE(kindOf("pppd", platform), QStringLiteral("pppd"));
    QCOMPARE(kindOf("networkmanager", platform), QStringLiteral("networkmanager"));
}

void tst_DialUpFactory::autoFallsBackToPppdThenToTheSimulatedLine()
{
    QTemporaryDir peers;
    const DialUpFactory::Platform platform{deadBus(), peers.path(), QString()};
    QCOMPARE(kindOf("auto", platform), QStringLiteral("simulated"));
    QFile peer(QDir(peers.path()).filePath(QStringLiteral("provider")));
    QVERIFY(peer.open(QIODevice::WriteOnly));
    peer.close();
    QCOMPARE(kindOf("auto", platform), QStringLiteral("pppd"));
    QCOMPARE(kindOf("something else", platform), QStringLiteral("pppd"));
}

void tst_DialUpFactory::autoTakesNetworkManagerWhenItAnswers()
{
    const QString missing = NmMockBus::missing();
    if (!missing.isEmpty())
        QSKIP(qPrintable(missing));
    NmMockBus nm;
    QString error;
    QVERIFY2(nm.start(&error), qPrintable(error));
    QTemporaryDir peers;
    QFile peer(QDir(peers.path()).filePath(QStringLiteral("provider")));
    QVERIFY(peer.open(QIODevice::WriteOnly));
    peer.close();
    QCOMPARE(kindOf("auto", {nm.bus(), peers.path(), QString()}), QStringLiteral("networkmanager"));
}

void tst_DialUpFactory::settingIsReadLeniently()
{
    TestContext t;
    t.settings().save(Keys::DialUpService, QStringLiteral(" Simulated "));
    QCOMPARE(DialUpFactory::create(t.settings(), t.clock())->kind(), QStringLiteral("simulated"));
}

QTEST_GUILESS_MAIN(tst_DialUpFactory)
#include "tst_dialupfactory.moc"
