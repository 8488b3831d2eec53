#include "alerts/noticeswitch.h"

#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"

NoticeSwitch NoticeSwitch::reminder()
{
    return {Keys::CustomizeBrisvaneReminder, MenuNames::mnuShowCustomizeBrisvaneReminder,
        Keys::BrisvaneDialogReminder};
}

NoticeSwitch NoticeSwitch::closeMailProgram()
{
    return {Keys::CloseMailProgramMessage, MenuNames::mnuShowCloseMailProgramMessageDialog,
        Keys::CloseMailProgramMessageDialog};
}

NoticeSwitch NoticeSwitch::deleteConfirmation()
{
    return {Keys::DeleteMessageConfirmation, MenuNames::mnuShowDeleteMessageConfirmationDialog,
        Keys::DeleteMessageConfirmationDialog};
}

NoticeSwitch NoticeSwitch::noTray()
{
    return {Keys::NoTrayNotice, {}, {}};
}

void NoticeSwitch::store(AppContext &context, MenuTools &menu, bool on) const
{
    SettingsStore &settings = context.settings();
    settings.save(feature, on ? SettingValues::TrueText : SettingValues::FalseText);
    if (!tool.isEmpty())
        menu.setToolChecked(tool, on);
    if (!boxState.section.isEmpty())
        settings.save(boxState, on ? SettingValues::Checked : SettingValues::Unchecked);
}
