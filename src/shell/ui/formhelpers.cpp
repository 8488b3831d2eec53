#include "shell/ui/formhelpers.h"

#include "shell/dialogservice.h"
#include "shell/settings/conversions.h"
#include "shell/settings/settingsstore.h"

namespace Form {

void loadCheck(QCheckBox *box, const SettingsStore &store, const SettingKey &key)
{
    setCheckValue(box, readCheckState(store, key, checkValue(box)));
}

void information(DialogService &dialogs, const QString &title, const QString &text)
{
    dialogs.message(DialogService::Icon::Information, title, text);
}

} // namespace Form
