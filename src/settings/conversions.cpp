#include "settings/conversions.h"

#include "settings/settingsstore.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcSettings, "brisvane.settings")

namespace SettingConversions {

std::optional<int> toInteger(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<bool> toTruth(const QString &text)
{
    const QString t = text.trimmed();
    if (t.compare(SettingValues::TrueText, Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(SettingValues::FalseText, Qt::CaseInsensitive) == 0)
        return false;
    bool ok = false;
    const double number = t.toDouble(&ok);
    return ok ? std::optional<bool>(number != 0.0) : std::nullopt;
}

QString fromTruth(bool value)
{
    return value ? SettingValues::TrueText : SettingValues::FalseText;
}

} // namespace SettingConversions

namespace {
template <typename T> T fallBack(const SettingKey &key, const QString &stored, T fallback)
{
    qCWarning(lcSettings) << "Ignoring unreadable value" << stored << "of" << key.section << "/"
                          << key.key;
    return fallback;
}
} // namespace

int readCheckState(const SettingsStore &store, const SettingKey &key, int fallback)
{
    if (!store.contains(key))
        return fallback;
    const QString stored = store.get(key);
    const auto state = SettingConversions::toInteger(stored);
    if (!state || *state < 0 || *state > 2)
        return fallBack(key, stored, fallback);
    return *state;
}

bool readTruth(const SettingsStore &store, const SettingKey &key, bool fallback)
{
    if (!store.contains(key))
        return fallback;
    const QString stored = store.get(key);
    const auto truth = SettingConversions::toTruth(stored);
    return truth ? *truth : fallBack(key, stored, fallback);
}

int readCount(
    const SettingsStore &store, const SettingKey &key, int fallback, int minimum, int maximum)
{
    if (!store.contains(key))
        return fallback;
    const QString stored = store.get(key);
    const auto count = SettingConversions::toInteger(stored);
    if (!count || *count < minimum || *count > maximum)
        return fallBack(key, stored, fallback);
    return *count;
}
