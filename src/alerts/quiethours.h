#pragma once

#include "alerts/notifier.h"
#include "alerts/soundplayer.h"
#include "clock/timer.h"

#include <QTime>

#include <memory>

class SettingsModel;

// Quiet hours: while the box in Preferences is on, from its first time of day to its second
// (a range may pass midnight; equal times are no range) no sound is heard and no notification
// pops up. The times are the clock's, so the virtual clock drives them in the tests.
namespace QuietHours {
bool isQuiet(const SettingsModel &settings, QTime now);
// How long the quiet lasts from `now` on, in milliseconds; 0 when it is not quiet.
qint64 msLeft(const SettingsModel &settings, QTime now);
} // namespace QuietHours

// The desktop's notifier with quiet hours: a notification sent in the quiet is kept (a later
// one with the same tag in the place of the earlier) and all of them are sent, each once, as
// the quiet ends. A notification withdrawn meanwhile is not sent at all.
class QuietNotifier : public Notifier
{
    Q_OBJECT

public:
    QuietNotifier(Clock &clock, const SettingsModel &settings, std::unique_ptr<Notifier> inner,
        QObject *parent = nullptr);
    ~QuietNotifier() override;

    void notify(const Notification &notification) override;
    void withdraw(const QString &tag) override;
    int held() const { return int(m_held.size()); }
    bool doNotDisturb() const override { return m_inner->doNotDisturb(); }

private:
    void quietEnded();

    Clock &m_clock;
    const SettingsModel &m_settings;
    std::unique_ptr<Notifier> m_inner;
    Timer m_end; // armed at the end of the quiet while something is kept
    QList<Notification> m_held;
};

// The sound player with quiet hours: in the quiet, and while the desktop's do-not-disturb is
// on (`notifier`'s), nothing is heard (nothing is kept either: a sound told late tells nothing).
class QuietSoundPlayer : public SoundPlayer
{
public:
    QuietSoundPlayer(Clock &clock, const SettingsModel &settings, const Notifier &notifier,
        std::unique_ptr<SoundPlayer> inner);
    ~QuietSoundPlayer() override;

    void stop() override { m_inner->stop(); }
    bool isPlaying() const override { return m_inner->isPlaying(); }

protected:
    bool startFile(const QString &path) override;
    void startDefault() override;

private:
    bool quiet() const;

    Clock &m_clock;
    const SettingsModel &m_settings;
    const Notifier &m_notifier;
    std::unique_ptr<SoundPlayer> m_inner;
};
