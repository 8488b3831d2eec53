#include "alerts/soundalerts.h"

#include "alerts/soundplayer.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"

namespace SoundAlerts {

const AlertKeys &keys(AlertKind kind)
{
    static const std::array<AlertKeys, 4> table{{
        {Keys::AlertConnected, Keys::AlertConnectedSound, Keys::AlertConnectedSelected},
        {Keys::AlertDisconnected, Keys::AlertDisconnectedSound, Keys::AlertDisconnectedSelected},
        {Keys::AlertMailArrive, Keys::AlertMailArriveSound, Keys::AlertMailArriveSelected},
        {Keys::AlertMailNoArrive, Keys::AlertMailNoArriveSound, Keys::AlertMailNoArriveSelected},
    }};
    return table.at(static_cast<std::size_t>(kind));
}

} // namespace SoundAlerts

void PlaySoundAlert(AppContext &context, AlertKind kind)
{
    const AlertKeys &keys = SoundAlerts::keys(kind);
    const SettingsStore &store = context.settings();
    if (store.get(keys.enabled) != SettingValues::Checked)
        return;
    context.sounds().play(store.get(keys.sound, QString()));
}
