#pragma once

#include "settings/settingkeys.h"

#include <QString>

#include <optional>

class SettingsStore;

// The conversions readers apply to stored text. A value that does not convert never stops the
// reader: the typed reads below give the caller's fallback instead and log what they met.
namespace SettingConversions {

// Integer conversion: optional blanks around an optionally signed decimal number.
std::optional<int> toInteger(const QString &text);
// Truth conversion: "True"/"False" in any case, or a number (non-zero is true).
std::optional<bool> toTruth(const QString &text);
QString fromTruth(bool value);

} // namespace SettingConversions

// A check box's state ("1" checked, "0" unchecked; "2" is the grey third state).
int readCheckState(const SettingsStore &store, const SettingKey &key, int fallback);
bool readTruth(const SettingsStore &store, const SettingKey &key, bool fallback);
// A count in [minimum, maximum]; out of range or not a number gives the fallback.
int readCount(
    const SettingsStore &store, const SettingKey &key, int fallback, int minimum, int maximum);
