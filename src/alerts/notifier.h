#pragma once

#include <QList>
#include <QObject>
#include <QString>

// Desktop notifications (the freedesktop notification service in the program, a recording
// fake in the tests).
//
// Sending never blocks and never fails for the caller: where no notification server answers,
// a notification is simply dropped. A notification carries a tag that names its event; a
// notification with the tag of one still on screen replaces it instead of stacking.
class Notifier : public QObject
{
    Q_OBJECT

public:
    enum class Urgency { Low = 0, Normal = 1, Critical = 2 };

    struct Action {
        QString key; // what actionInvoked reports
        QString label; // what the user sees
        bool operator==(const Action &) const = default;
    };

    struct Notification {
        QString tag; // the event: a repeat with the same tag replaces the earlier one
        QString summary;
        QString body; // plain text; a backend escapes it for servers that read markup
        QString icon; // an icon file's URI, a theme icon's name, or empty
        QString category; // the freedesktop category ("email.arrived"), or empty
        Urgency urgency = Urgency::Normal;
        QList<Action> actions; // offered only where the server shows actions
        bool operator==(const Notification &) const = default;
    };

    using QObject::QObject;
    ~Notifier() override;

    // Returns at once.
    virtual void notify(const Notification &notification) = 0;
    // Takes the notification of `tag` off the screen, its news being over; returns at once.
    virtual void withdraw(const QString &tag) = 0;
    // The desktop's do-not-disturb is on: the server shows no notification now (it may keep
    // them for later), so no sound should call for one either.
    virtual bool doNotDisturb() const { return false; }

Q_SIGNALS:
    // The user chose `actionKey` on the notification last sent with `tag`.
    void actionInvoked(const QString &tag, const QString &actionKey);
};
