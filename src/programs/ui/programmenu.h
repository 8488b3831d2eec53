#pragma once

#include <QObject>

class MenuTools;
class SettingsModel;
struct SettingKey;

// The popup menu's program tools follow the stored programs: a program added to a slot gets
// its tool captioned with its command line and pictured with the file's icon, a slot freed
// hides its tool, and the menu's layout is saved either way, whichever window changed them.
class ProgramMenu : public QObject
{
    Q_OBJECT

public:
    ProgramMenu(MenuTools &menu, const SettingsModel &settings, QObject *parent = nullptr);

private:
    void followSetting(const SettingKey &key);
    void followProgram(int slot);

    MenuTools &m_menu;
    const SettingsModel &m_settings;
};
