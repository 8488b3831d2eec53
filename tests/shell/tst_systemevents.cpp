// The system's events against python-dbusmock's logind and NetworkManager on a private
// system bus: the sleep lock held, given back before the sleep and taken again after the wake,
// and a change of the primary connection told.

#include "shell/systemevents.h"
#include "support/endprocess.h"
#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString kLogind = QStringLiteral("org.freedesktop.login1");
const QString kManager = QStringLiteral("org.freedesktop.login1.Manager");
const QString kNm = QStringLiteral("org.freedesktop.NetworkManager");
} // namespace

class tst_SystemEvents : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void sleepLockIsGivenBackBeforeTheSleepAndTakenAfter();
    void newPrimaryConnectionIsTold();

private:
    QStringList inhibitors();
    void emitSignal(const QString &service, const QString &path, const QString &interface,
        const QString &name, const QString &signature, const QVariantList &args);

    PrivateBus m_bus;
    QProcess m_logind;
    QProcess m_nm;
};

void tst_SystemEvents::initTestCase()
{
    if (const QString why = PrivateBus::missing(); !why.isEmpty())
        QSKIP(qPrintable(why));
    if (PrivateBus::dbusmockPython().isEmpty())
        QSKIP("no python3 with the dbusmock module (Debian package python3-dbusmock)");
    QString error;
    QVERIFY2(m_bus.start(&error), qPrintable(error));
    for (auto [process, name] : {std::pair{&m_logind, "logind"}, {&m_nm, "networkmanager"}}) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SYSTEM_BUS_ADDRESS"), m_bus.address());
        process->setProcessEnvironment(env);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(PrivateBus::dbusmockPython(),
            {QStringLiteral("-m"), QStringLiteral("dbusmock"), QStringLiteral("--system"),
                QStringLiteral("-t"), QLatin1String(name)});
    }
    QTRY_VERIFY_WITH_TIMEOUT(m_bus.bus().interface()->isServiceRegistered(kLogind).value()
            && m_bus.bus().interface()->isServiceRegistered(kNm).value(),
        30000);
}

void tst_SystemEvents::cleanupTestCase()
{
    endProcess(m_logind);
    endProcess(m_nm);
}

QStringList tst_SystemEvents::inhibitors()
{
    const QDBusMessage reply = m_bus.bus().call(QDBusMessage::createMethodCall(kLogind,
        QStringLiteral("/org/freedesktop/login1"), kManager, QStringLiteral("ListInhibitors")));
    QStringList found;
    const QDBusArgument list = reply.arguments().value(0).value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        QString what, who, why, mode;
        uint uid = 0, pid = 0;
        list.beginStructure();
        list >> what >> who >> why >> mode >> uid >> pid;
        list.endStructure();
        found << what + u' ' + who + u' ' + mode;
    }
    list.endArray();
    return found;
}

void tst_SystemEvents::emitSignal(const QString &service, const QString &path,
    const QString &interface, const QString &name, const QString &signature,
    const QVariantList &args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Mock"), QStringLiteral("EmitSignal"));
    call << interface << name << signature << QVariant::fromValue(args);
    const QDBusMessage reply = m_bus.bus().call(call);
    QVERIFY2(reply.type() == QDBusMessage::ReplyMessage, qPrintable(reply.errorMessage()));
}

void tst_SystemEvents::sleepLockIsGivenBackBeforeTheSleepAndTakenAfter()
{
    SystemEvents events(m_bus.bus());
    QSignalSpy sleeping(&events, &SystemEvents::aboutToSleep);
    QSignalSpy woken(&events, &SystemEvents::resumed);
    const QStringList held{QStringLiteral("sleep Brisvane delay")};
    QTRY_COMPARE(inhibitors(), held);
    // logind lists the lock before its answer (the descriptor) has reached us.
    QTRY_VERIFY(events.holdsSleepLock());
    // The receivers of aboutToSleep run with the lock still held.
    bool heldWhileTold = false;
    connect(&events, &SystemEvents::aboutToSleep, this,
        [&] { heldWhileTold = events.holdsSleepLock(); });
    emitSignal(kLogind, QStringLiteral("/org/freedesktop/login1"), kManager,
        QStringLiteral("PrepareForSleep"), QStringLiteral("b"), {true});
    QTRY_COMPARE(sleeping.size(), 1);
    QVERIFY(heldWhileTold);
    QTRY_COMPARE(inhibitors(), QStringList());
    emitSignal(kLogind, QStringLiteral("/org/freedesktop/login1"), kManager,
        QStringLiteral("PrepareForSleep"), QStringLiteral("b"), {false});
    QTRY_COMPARE(woken.size(), 1);
    QTRY_COMPARE(inhibitors(), held);
}

void tst_SystemEvents::newPrimaryConnectionIsTold()
{
    SystemEvents events(m_bus.bus());
    QSignalSpy changed(&events, &SystemEvents::networkChanged);
    const QString path = QStringLiteral("/org/freedesktop/NetworkManager");
    const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
    const auto emitChange = [&](const char *name) {
        emitSignal(kNm, path, properties, QStringLiteral("PropertiesChanged"),
            QStringLiteral("sa{sv}as"),
            {kNm, QVariantMap{{QLatin1String(name), 1u}}, QStringList()});
    };
    emitChange("ActivatingConnection"); // not a change of network
    emitChange("Connectivity");
    QTRY_COMPARE(changed.size(), 1);
    emitChange("PrimaryConnection");
    QTRY_COMPARE(changed.size(), 2);
}

QTEST_MAIN(tst_SystemEvents)
#include "tst_systemevents.moc"
