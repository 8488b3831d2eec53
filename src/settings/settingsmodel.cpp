#include "settings/settingsmodel.h"

#include "settings/conversions.h"
#include "settings/settingsstore.h"

SettingsModel::SettingsModel(SettingsStore &store, QObject *parent)
    : QObject(parent)
    , m_store(store)
{
    connect(&m_store, &SettingsStore::valueChanged, this,
        [this](const QString &section, const QString &key) {
            Q_EMIT changed(SettingKey{section, key});
        });
}

QString SettingsModel::text(const SettingKey &key) const
{
    return m_store.get(key, key.defaultValue);
}

int SettingsModel::checkState(const SettingKey &key) const
{
    const int fallback = SettingConversions::toInteger(key.defaultValue).value_or(0);
    return readCheckState(m_store, key, fallback);
}

bool SettingsModel::isOn(const SettingKey &key) const
{
    switch (key.type) {
    case SettingType::CheckState: return checkState(key) == 1;
    case SettingType::Truth:
        return readTruth(
            m_store, key, SettingConversions::toTruth(key.defaultValue).value_or(false));
    case SettingType::Count: return count(key) != 0;
    case SettingType::Text: break;
    }
    return !text(key).isEmpty();
}

int SettingsModel::count(const SettingKey &key) const
{
    const int fallback = SettingConversions::toInteger(key.defaultValue).value_or(key.minimum);
    return readCount(m_store, key, fallback, key.minimum, key.maximum);
}

void SettingsModel::setText(const SettingKey &key, const QString &value)
{
    m_store.save(key, value);
}

void SettingsModel::setOn(const SettingKey &key, bool on)
{
    if (key.type == SettingType::Truth)
        m_store.save(key, SettingConversions::fromTruth(on));
    else
        m_store.save(key, on ? SettingValues::Checked : SettingValues::Unchecked);
}

void SettingsModel::setCheckState(const SettingKey &key, int state)
{
    if (state >= 0 && state <= 2)
        m_store.save(key, QString::number(state));
}

void SettingsModel::setCount(const SettingKey &key, int value)
{
    if (value >= key.minimum && value <= key.maximum)
        m_store.save(key, QString::number(value));
}
