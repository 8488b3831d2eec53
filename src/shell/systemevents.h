#pragma once

#include <QDBusConnection>
#include <QDBusUnixFileDescriptor>
#include <QObject>

class QDBusMessage;

// What the machine tells a desktop program over the system bus: logind's word before the
// machine sleeps and after it wakes (PrepareForSleep), and NetworkManager's change of the
// primary connection or of the connectivity. Mail sessions held open across a sleep die
// silently, and a network that changed leaves them talking to nobody: the program follows
// these to end them cleanly and open them again at once.
//
// It holds logind's "delay" lock for sleep, so that the machine waits (a few seconds at most)
// while aboutToSleep's receivers end their sessions; the lock goes when they have returned
// and is taken again after the wake. Built without a bus, it hears nothing (the tests' and a
// session without a system bus).
class SystemEvents : public QObject
{
    Q_OBJECT

public:
    explicit SystemEvents(QObject *parent = nullptr);
    SystemEvents(const QDBusConnection &systemBus, QObject *parent = nullptr);
    ~SystemEvents() override;

    // Whether the sleep lock is held now.
    bool holdsSleepLock() const { return m_lock.isValid(); }

Q_SIGNALS:
    // The machine is about to sleep: end what must not be left open. Receivers finish before
    // the lock is given back.
    void aboutToSleep();
    // The machine woke up.
    void resumed();
    // Another primary connection, or the connectivity changed.
    void networkChanged();

private Q_SLOTS:
    void onPrepareForSleep(bool sleeping);
    void onNetworkProperties(
        const QString &interface, const QVariantMap &changed, const QStringList &invalidated);

private:
    void takeSleepLock();

    QDBusConnection m_bus;
    QDBusUnixFileDescriptor m_lock;
    bool m_asking = false; // an Inhibit call is under way
};
