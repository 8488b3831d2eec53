#include "settings/firstrun.h"

#include "settings/settingsstore.h"

namespace FirstRun {

bool isFirstRun(const SettingsStore &store)
{
    return store.get(Keys::FirstTime) != SettingValues::FirstTime;
}

void writeDefaults(SettingsStore &store)
{
    using namespace SettingValues;
    store.save(Keys::FirstTime, FirstTime);
    store.save(Keys::LoadCustomizeBrisvaneDialogonStartup, TrueText);
    store.save(Keys::CustomizeBrisvaneDialogonStartup, Checked);
    store.save(Keys::ShowCloseMailProgramMessage, TrueText);
    store.save(Keys::CloseMailProgramMessage, TrueText);
    store.save(Keys::CloseMailProgramMessageDialog, Checked);
    store.save(Keys::ShowDeleteMessageConfirmation, TrueText);
    store.save(Keys::DeleteMessageConfirmation, TrueText);
    store.save(Keys::DeleteMessageConfirmationDialog, Checked);
    store.save(Keys::ShowCustomizeBrisvaneReminder, TrueText);
    store.save(Keys::CustomizeBrisvaneReminder, TrueText);
    store.save(Keys::BrisvaneDialogReminder, Checked);
}

} // namespace FirstRun
