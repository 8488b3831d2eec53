#pragma once

#include "settings/settingkeys.h"

#include <array>

class AppContext;

// The four occasions that can play a sound.
enum class AlertKind { Connected, Disconnected, MailArrive, MailNoArrive };

struct AlertKeys {
    SettingKey enabled; // "1" when the alert is on
    SettingKey sound; // full path of the wave file; absent means ""
    SettingKey selected; // "Yes" while the Sound Alerts window chooses a file for this kind
};

namespace SoundAlerts {
// In the order of the Customize dialog (and of the Sound Alerts window's updates).
inline constexpr std::array<AlertKind, 4> allKinds{
    AlertKind::Connected, AlertKind::Disconnected, AlertKind::MailArrive, AlertKind::MailNoArrive};
const AlertKeys &keys(AlertKind kind);

inline const QString SelectedYes = QStringLiteral("Yes");
inline const QString SelectedNo = QStringLiteral("No");
} // namespace SoundAlerts

// Plays the kind's sound when its alert is on; returns at once. Callers add their own
// conditions (the line state, the message count) before calling.
void PlaySoundAlert(AppContext &context, AlertKind kind);
