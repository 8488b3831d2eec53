#pragma once

#include "alerts/notifier.h"

// A Notifier for tests: keeps every notification sent, and lets the test press one of the
// actions of the last notification with a tag, as the user would on the desktop.
class RecordingNotifier : public Notifier
{
    Q_OBJECT

public:
    using Notifier::Notifier;

    void notify(const Notification &notification) override { m_sent.append(notification); }
    void withdraw(const QString &tag) override { m_withdrawn.append(tag); }

    const QList<Notification> &sent() const { return m_sent; }
    // The tags withdrawn, in order.
    const QStringList &withdrawn() const { return m_withdrawn; }
    void clear() { m_sent.clear(); }
    // The bodies (or summaries) sent, in order.
    QStringList bodies() const
    {
        QStringList texts;
        for (const Notification &n : m_sent)
            texts << n.body;
        return texts;
    }
    QStringList summaries() const
    {
        QStringList texts;
        for (const Notification &n : m_sent)
            texts << n.summary;
        return texts;
    }
    void invoke(const QString &tag, const QString &actionKey)
    {
        Q_EMIT actionInvoked(tag, actionKey);
    }

private:
    QList<Notification> m_sent;
    QStringList m_withdrawn;
};
