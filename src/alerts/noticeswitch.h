#pragma once

#include "settings/settingkeys.h"

#include <QString>

class AppContext;
class MenuTools;

// A notice the user can switch off from the notice itself (its "Show this message in the
// future" box), from Preferences or from the tray menu: the feature key the notice reads
// ("True"/"False"), the check mark of its menu tool and the box-state key Preferences shows.
// A notice switched from its own box alone has no tool and no box-state key.
struct NoticeSwitch {
    SettingKey feature;
    QString tool;
    SettingKey boxState;

    static NoticeSwitch reminder();
    static NoticeSwitch closeMailProgram();
    static NoticeSwitch deleteConfirmation();
    static NoticeSwitch noTray();

    // Stores the switch in all its places.
    void store(AppContext &context, MenuTools &menu, bool on) const;
};
