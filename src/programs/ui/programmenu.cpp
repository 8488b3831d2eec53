#include "programs/ui/programmenu.h"

#include "programs/programrunner.h"
#include "programs/ui/programstab.h"
#include "settings/settingsmodel.h"
#include "shell/menutools.h"

ProgramMenu::ProgramMenu(MenuTools &menu, const SettingsModel &settings, QObject *parent)
    : QObject(parent)
    , m_menu(menu)
    , m_settings(settings)
{
    connect(&settings, &SettingsModel::changed, this, &ProgramMenu::followSetting);
}

void ProgramMenu::followSetting(const SettingKey &key)
{
    for (int slot = 1; slot <= ProgramRunner::kSlots; ++slot) {
        if (key == Keys::Program(slot))
            followProgram(slot);
    }
}

void ProgramMenu::followProgram(int slot)
{
    const QString path = m_settings.text(Keys::Program(slot));
    const QString tool = MenuNames::mnuProgram(slot);
    if (!path.isEmpty()) {
        m_menu.setToolCaption(MenuNames::PopupBandRunProgram, tool, path);
        m_menu.setToolPicture(MenuNames::PopupBandRunProgram, tool, ProgramsTab::CreateIcon(path));
        m_menu.refreshBands();
    }
    m_menu.setToolVisible(tool, !path.isEmpty());
    m_menu.saveLayout();
}
