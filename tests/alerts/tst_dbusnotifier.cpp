#include "alerts/dbusnotifier.h"
#include "support/privatebus.h"

#include <QDBusConnectionInterface>
#include <QSignalSpy>
#include <QTest>

namespace {

// A notification server on the test's own connection: answers with the capabilities it is
// given, records each Notify and numbers the notifications as servers do.
class FakeNotificationServer : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
    Q_PROPERTY(bool Inhibited MEMBER inhibited)

public:
    struct Call {
        QString app;
        uint replaces;
        QString icon, summary, body;
        QStringList actions;
        QVariantMap hints;
        int timeout;
    };
    QStringList capabilities;
    QList<Call> calls;
    QList<uint> closed;
    bool inhibited = false; // the desktop's do-not-disturb
    uint lastId = 0;

public Q_SLOTS:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString &app, uint replaces, const QString &icon, const QString &summary,
        const QString &body, const QStringList &actions, const QVariantMap &hints, int timeout)
    {
        calls.append({app, replaces, icon, summary, body, actions, hints, timeout});
        return replaces != 0 ? replaces : ++lastId;
    }
    void CloseNotification(uint id) { closed.append(id); }

Q_SIGNALS:
    void ActionInvoked(uint id, const QString &actionKey);
    void NotificationClosed(uint id, uint reason);
};

Notifier::Notification mail(const QString &body)
{
    return {QStringLiteral("new-mail/Home"), QStringLiteral("You have new mail"), body,
        QStringLiteral("/usr/share/brisvane/mail.ico"), QStringLiteral("email.arrived"),
        Notifier::Urgency::Normal,
        {{QStringLiteral("show-messages"), QStringLiteral("Show messages")}}};
}

} // namespace

class tst_DBusNotifier : public QObject
{
    Q_OBJECT

private:
    PrivateBus bus;
    QDBusConnection serverBus{QString()};
    FakeNotificationServer server;

    void serve(const QStringList &capabilities)
    {
        server.capabilities = capabilities;
        QVERIFY(serverBus.registerObject(NotificationsProxy::Path, &server,
            QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                | QDBusConnection::ExportAllProperties));
        QVERIFY(serverBus.registerService(NotificationsProxy::Service));
    }
    void leave()
    {
        serverBus.unregisterService(NotificationsProxy::Service);
        serverBus.unregisterObject(NotificationsProxy::Path);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (const QString why = PrivateBus::missing(); !why.isEmpty())
            QSKIP(qPrintable(why));
        QString error;
        QVERIFY2(bus.start(&error), qPrintable(error));
        serverBus = bus.connect(QStringLiteral("server"));
    }
    void init()
    {
        server.calls.clear();
        server.closed.clear();
        server.inhibited = false;
        server.lastId = 0;
    }
    void cleanup() { leave(); }

    void withoutAServerNothingIsSentAndNothingWaits()
    {
        DBusNotifier notifier(bus.bus());
        QTRY_COMPARE(notifier.server(), DBusNotifier::Server::Absent);
        notifier.notify(mail(QStringLiteral("Home: 1 message waiting")));
        // A server that comes later is asked again, and sees nothing of before.
        serve({QStringLiteral("body")});
        QTRY_COMPARE(notifier.server(), DBusNotifier::Server::Present);
        QCOMPARE(server.calls.size(), 0);
        notifier.notify(mail(QStringLiteral("Home: 2 messages waiting")));
        QTRY_COMPARE(server.calls.size(), 1);
        leave();
        QTRY_COMPARE(notifier.server(), DBusNotifier::Server::Absent);
    }

    void notificationsWaitForTheFirstAnswer()
    {
        serve({QStringLiteral("body")});
        DBusNotifier notifier(bus.bus());
        QCOMPARE(notifier.server(), DBusNotifier::Server::Asking);
        notifier.notify(mail(QStringLiteral("Home: 1 message waiting")));
        QTRY_COMPARE(server.calls.size(), 1);
        const FakeNotificationServer::Call &call = server.calls.first();
        QCOMPARE(call.app, QStringLiteral("Brisvane"));
        QCOMPARE(call.summary, QStringLiteral("You have new mail"));
        QCOMPARE(call.icon, QStringLiteral("/usr/share/brisvane/mail.ico"));
        QCOMPARE(call.timeout, -1);
        QCOMPARE(call.hints.value(QStringLiteral("urgency")).toInt(), 1);
        QCOMPARE(call.hints.value(QStringLiteral("category")).toString(),
            QStringLiteral("email.arrived"));
        // This server shows no actions.
        QVERIFY(call.actions.isEmpty());
    }

    void aRepeatReplacesItsEventOnly()
    {
        serve({QStringLiteral("body"), QStringLiteral("body-markup")});
        DBusNotifier notifier(bus.bus());
        notifier.notify(mail(QStringLiteral("Ann <ann@example.org> & co")));
        QTRY_COMPARE(server.calls.size(), 1);
        // The id comes back asynchronously.
        QTRY_COMPARE(notifier.idOf(QStringLiteral("new-mail/Home")), 1u);
        auto line = mail(QString());
        line.tag = QStringLiteral("line");
        notifier.notify(line);
        QTRY_COMPARE(server.calls.size(), 2);
        notifier.notify(mail(QStringLiteral("again")));
        QTRY_COMPARE(server.calls.size(), 3);
        QCOMPARE(server.calls.at(0).replaces, 0u);
        QCOMPARE(server.calls.at(0).body, QStringLiteral("Ann &lt;ann@example.org&gt; &amp; co"));
        QCOMPARE(server.calls.at(1).replaces, 0u);
        QCOMPARE(server.calls.at(2).replaces, 1u);
        // Once the user closed it, the next one is new.
        Q_EMIT server.NotificationClosed(1, 2);
        QTRY_COMPARE(notifier.idOf(QStringLiteral("new-mail/Home")), 0u);
        notifier.notify(mail(QStringLiteral("third")));
        QTRY_COMPARE(server.calls.size(), 4);
        QCOMPARE(server.calls.at(3).replaces, 0u);
        // Withdrawn, it goes off the screen, and the next one is new too.
        QTRY_COMPARE(notifier.idOf(QStringLiteral("new-mail/Home")), 3u);
        notifier.withdraw(QStringLiteral("new-mail/Home"));
        QTRY_COMPARE(server.closed, QList<uint>{3});
        notifier.notify(mail(QStringLiteral("fourth")));
        QTRY_COMPARE(server.calls.size(), 5);
        QCOMPARE(server.calls.at(4).replaces, 0u);
    }

    // Read at the first answer, then followed as the server tells of its changes.
    void theServersDoNotDisturbIsFollowed()
    {
        server.inhibited = true;
        serve({QStringLiteral("body")});
        DBusNotifier notifier(bus.bus());
        QTRY_VERIFY(notifier.doNotDisturb());
        QDBusMessage changed = QDBusMessage::createSignal(NotificationsProxy::Path,
            QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
        changed << NotificationsProxy::Interface
                << QVariantMap{{QStringLiteral("Inhibited"), false}} << QStringList();
        QVERIFY(serverBus.send(changed));
        QTRY_VERIFY(!notifier.doNotDisturb());
    }

    void actionsAreOfferedAndComeBackWithTheirEvent()
    {
        serve({QStringLiteral("actions"), QStringLiteral("body")});
        DBusNotifier notifier(bus.bus());
        QSignalSpy invoked(&notifier, &Notifier::actionInvoked);
        notifier.notify(mail(QStringLiteral("Ann <ann@example.org>")));
        QTRY_COMPARE(server.calls.size(), 1);
        QCOMPARE(server.calls.first().actions,
            QStringList({QStringLiteral("show-messages"), QStringLiteral("Show messages")}));
        // Without body-markup the text goes as it is.
        QCOMPARE(server.calls.first().body, QStringLiteral("Ann <ann@example.org>"));
        Q_EMIT server.ActionInvoked(99, QStringLiteral("show-messages")); // someone else's
        Q_EMIT server.ActionInvoked(server.lastId, QStringLiteral("show-messages"));
        QTRY_COMPARE(invoked.size(), 1);
        QCOMPARE(invoked.first(),
            QVariantList({QStringLiteral("new-mail/Home"), QStringLiteral("show-messages")}));
    }
};

QTEST_MAIN(tst_DBusNotifier)
#include "tst_dbusnotifier.moc"
