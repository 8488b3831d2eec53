#pragma once

#include <QCoro/QCoroTask>
#include <QString>

class AppContext;
class MenuTools;
class SettingsModel;
struct SettingKey;

// Starts the user's programs: one slot's on demand, and the flagged ones when the line comes
// up or goes down. The command lines come from the settings; a program that cannot start is
// reported to the user and the others still run.
class ProgramRunner
{
public:
    static constexpr int kSlots = 10;

    explicit ProgramRunner(AppContext &context);

    // Starts slot `slot`'s program (1 to 10); false when it could not be started, once the
    // user has answered the box that says so.
    QCoro::Task<bool> start(int slot);
    // Starts the programs of `numbers` in turn, up to the first that cannot be started.
    QCoro::Task<> startEach(QList<int> numbers);
    // The programs flagged to run when the line comes up, unless programs are switched off.
    QCoro::Task<> runConnecting();
    // The programs flagged to run when the line goes down, unless programs are switched off.
    QCoro::Task<> runDisconnecting();

    // The popup menu's program tools for starting programs switched off or on.
    static void applyProgramsSwitch(MenuTools &menu, bool disabled);
    // The popup menu's program tools: one for each stored program, captioned with it.
    static void applyProgramTools(MenuTools &menu, const SettingsModel &settings);

private:
    QCoro::Task<> startFlagged(SettingKey (*flag)(int));

    AppContext &m_context;
};
