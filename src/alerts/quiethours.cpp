#include "alerts/quiethours.h"

#include "clock/clock.h"
#include "settings/settingsmodel.h"

namespace {
constexpr qint64 kDayMs = 24 * 3600 * 1000;

std::optional<QTime> timeOf(const SettingsModel &settings, const SettingKey &key)
{
    const QTime time = QTime::fromString(settings.text(key), QStringLiteral("HH:mm"));
    return time.isValid() ? std::optional(time) : std::nullopt;
}
} // namespace

namespace QuietHours {

qint64 msLeft(const SettingsModel &settings, QTime now)
{
    const auto from = timeOf(settings, Keys::QuietFrom);
    const auto until = timeOf(settings, Keys::QuietUntil);
    if (!settings.isOn(Keys::QuietHours) || !from || !until || *from == *until)
        return 0;
    const qint64 at = now.msecsSinceStartOfDay();
    const qint64 start = from->msecsSinceStartOfDay();
    const qint64 end = until->msecsSinceStartOfDay();
    // The time since the quiet began and its length, both within one day.
    const qint64 since = (at - start + kDayMs) % kDayMs;
    const qint64 length = (end - start + kDayMs) % kDayMs;
    return since < length ? length - since : 0;
}

bool isQuiet(const SettingsModel &settings, QTime now)
{
    return msLeft(settings, now) > 0;
}

} // namespace QuietHours

QuietNotifier::QuietNotifier(
    Clock &clock, const SettingsModel &settings, std::unique_ptr<Notifier> inner, QObject *parent)
    : Notifier(parent)
    , m_clock(clock)
    , m_settings(settings)
    , m_inner(std::move(inner))
    , m_end(clock, 0, false)
{
    connect(m_inner.get(), &Notifier::actionInvoked, this, &Notifier::actionInvoked);
    connect(&m_end, &Timer::tick, this, &QuietNotifier::quietEnded);
}

QuietNotifier::~QuietNotifier() = default;

void QuietNotifier::notify(const Notification &notification)
{
    const qint64 left = QuietHours::msLeft(m_settings, m_clock.timeOfDay());
    if (left == 0) {
        m_inner->notify(notification);
        return;
    }
    m_held.removeIf([&](const Notification &n) { return n.tag == notification.tag; });
    m_held.append(notification);
    // The interval only marks the timer as running: its moment is the end of the quiet.
    m_end.setInterval(int(qMin<qint64>(left, 1 << 30)));
    m_end.setEnabled(true);
    m_end.setNextDueAt(m_clock.tickCount() + left);
}

void QuietNotifier::withdraw(const QString &tag)
{
    m_held.removeIf([&tag](const Notification &n) { return n.tag == tag; });
    if (m_held.isEmpty())
        m_end.setEnabled(false);
    m_inner->withdraw(tag);
}

// The settings may have moved the end meanwhile: still quiet, the timer waits on.
void QuietNotifier::quietEnded()
{
    const qint64 left = QuietHours::msLeft(m_settings, m_clock.timeOfDay());
    if (left > 0) {
        m_end.setNextDueAt(m_clock.tickCount() + left);
        return;
    }
    m_end.setEnabled(false);
    for (const Notification &n : std::exchange(m_held, {}))
        m_inner->notify(n);
}

QuietSoundPlayer::QuietSoundPlayer(Clock &clock, const SettingsModel &settings,
    const Notifier &notifier, std::unique_ptr<SoundPlayer> inner)
    : m_clock(clock)
    , m_settings(settings)
    , m_notifier(notifier)
    , m_inner(std::move(inner))
{ }

QuietSoundPlayer::~QuietSoundPlayer() = default;

bool QuietSoundPlayer::quiet() const
{
    return m_notifier.doNotDisturb() || QuietHours::isQuiet(m_settings, m_clock.timeOfDay());
}

bool QuietSoundPlayer::startFile(const QString &path)
{
    if (!quiet())
        m_inner->play(path);
    return true;
}

void QuietSoundPlayer::startDefault()
{
    if (!quiet())
        m_inner->playDefault();
}
