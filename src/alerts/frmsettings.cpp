#include "alerts/frmsettings.h"

#include "settings/firstrun.h"

namespace frmSettings {

void Load(SettingsStore &store)
{
    FirstRun::writeDefaults(store);
}

} // namespace frmSettings
