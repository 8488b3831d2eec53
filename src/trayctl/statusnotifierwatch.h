#pragma once

#include <QDBusAbstractInterface>
#include <QDBusConnection>
#include <QObject>

class QDBusPendingCallWatcher;

namespace pinlib6 {

// The StatusNotifier watcher on the session bus, as far as the tray needs it: its signals
// that a host came or went.
class StatusNotifierWatcherProxy : public QDBusAbstractInterface
{
    Q_OBJECT

public:
    static constexpr const char *Service = "org.kde.StatusNotifierWatcher";
    static constexpr const char *Path = "/StatusNotifierWatcher";

    StatusNotifierWatcherProxy(const QDBusConnection &bus, QObject *parent = nullptr);

Q_SIGNALS:
    void StatusNotifierHostRegistered();
    void StatusNotifierHostUnregistered();
};

// Follows whether a StatusNotifier host (the panel that shows StatusNotifierItems) is
// registered: asks the watcher at once, when it appears and whenever a host comes or goes,
// without blocking on the answer, and forgets the host when the watcher leaves the bus.
class StatusNotifierHostWatch : public QObject
{
    Q_OBJECT

public:
    explicit StatusNotifierHostWatch(
        const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    bool hostRegistered() const { return m_registered; }
    // Whether the watcher is GNOME Shell's (its AppIndicator extension): that host opens the
    // item's menu on a click and calls Activate for a double click only.
    bool gnomeShellHost() const { return m_gnomeShell; }
    // Whether the first question has its answer (at once without a session bus).
    bool known() const { return m_answered; }

Q_SIGNALS:
    // The first answer, and every change after it.
    void hostRegisteredChanged(bool registered);

private:
    void ask();
    void answered(QDBusPendingCallWatcher *call);
    void set(bool registered);
    void askWhoseWatcher();

    // The program behind a bus name's owner, from its process (empty when the bus or the
    // system does not tell).
    static QString processNameOf(uint pid);

    QDBusConnection m_bus;
    StatusNotifierWatcherProxy *m_proxy = nullptr;
    bool m_registered = false;
    bool m_answered = false;
    bool m_gnomeShell = false;
};

} // namespace pinlib6
