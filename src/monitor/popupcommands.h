#pragma once

#include "settings/settingkeys.h"

#include <QObject>

#include <functional>

class AppContext;
class BandTool;
class MenuTools;
struct NoticeSwitch;
class frmBrisvane;
class frmBrisvaneMonitor;

// The popup menu's commands: one handler receives every tool click and dispatches on the
// tool's name. It keeps no state between clicks; everything lives in the settings, the
// controllers and the tools' own properties.
class PopupCommands : public QObject
{
    Q_OBJECT

public:
    PopupCommands(AppContext &context, frmBrisvaneMonitor &monitor, QObject *parent = nullptr);

    void BandMenu1_ToolClick(const QString &tool);

    // Ends the program at once, without hanging up; tests replace it.
    std::function<void()> exitProgram;

private:
    // Inverts the tool's check mark and returns the new state.
    bool toggle(const QString &tool);
    // The tray menu's notice toggles also keep the tool's own "show" key.
    void storeNotice(bool on, const SettingKey &showKey, const NoticeSwitch &notice);
    void showCustomizeOnTab(int tab);
    void disablePrograms(bool disabled);
    void disableMailChecking(bool disabled);

    AppContext &m_context;
    frmBrisvaneMonitor &m_monitor;
};
