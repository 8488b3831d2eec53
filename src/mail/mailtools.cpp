#include "mail/mailtools.h"

#include "settings/settingsmodel.h"
#include "shell/menutools.h"

namespace MailTools {

void applyMailSwitch(MenuTools &menu, bool disabled)
{
    menu.setToolChecked(MenuNames::mnuDisableMailChecking, disabled);
    for (int slot = 1; slot <= kSlots; ++slot)
        menu.setToolEnabled(MenuNames::mnuMailSlot(slot), !disabled);
    menu.setToolEnabled(MenuNames::mnuAllAccounts, !disabled);
}

void applySlotTools(MenuTools &menu, int count, bool live)
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        menu.setToolVisible(MenuNames::mnuMailSlot(slot), slot <= count);
        if (count > 0)
            menu.setToolEnabled(MenuNames::mnuMailSlot(slot), live && slot <= count);
    }
    menu.setToolVisible(MenuNames::mnuAllAccounts, count >= 2);
    if (count > 0)
        menu.setToolEnabled(MenuNames::mnuAllAccounts, live && count >= 2);
}

void apply(MenuTools &menu, const SettingsModel &settings, bool lineUp)
{
    const bool disabled = settings.isOn(Keys::DisableMailChecking);
    applyMailSwitch(menu, disabled);
    applySlotTools(menu, settings.count(Keys::MailSlotCount), lineUp && !disabled);
}

void applyCaptions(MenuTools &menu, const SettingsModel &settings)
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        const QString name = settings.text(Keys::AccountName(slot));
        if (!name.isEmpty())
            menu.setToolCaption(MenuNames::PopupBandMailSlots, MenuNames::mnuMailSlot(slot), name);
    }
}

} // namespace MailTools
