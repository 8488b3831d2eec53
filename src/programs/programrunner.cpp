#include "programs/programrunner.h"

#include "programs/programlauncher.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"

ProgramRunner::ProgramRunner(AppContext &context)
    : m_context(context)
{ }

bool ProgramRunner::start(int slot)
{
    const QString commandLine = m_context.model().text(Keys::Program(slot));
    switch (m_context.programs().start(commandLine)) {
    case ProgramLauncher::Result::Started: return true;
    case ProgramLauncher::Result::NotFound:
        m_context.dialogs().message(DialogService::Icon::Warning, QStringLiteral("Brisvane"),
            ProgramLauncher::notFoundText(commandLine));
        return false;
    case ProgramLauncher::Result::Failed:
        m_context.dialogs().message(DialogService::Icon::Warning, QStringLiteral("Brisvane"),
            ProgramLauncher::failedText(commandLine));
        return false;
    }
    return false;
}

// Starts the program of every used slot whose flag under `flag` is set. An empty slot is
// skipped; a program that cannot start is reported and the others still run.
void ProgramRunner::startFlagged(SettingKey (*flag)(int))
{
    const SettingsModel &settings = m_context.model();
    if (settings.isOn(Keys::DisableProgramsApplications))
        return;
    for (int k = 1; k <= kSlots; ++k) {
        if (settings.isOn(flag(k)) && !settings.text(Keys::Program(k)).isEmpty())
            start(k);
    }
}

void ProgramRunner::runConnecting()
{
    startFlagged(&Keys::RunConnected);
}

void ProgramRunner::runDisconnecting()
{
    startFlagged(&Keys::RunDisconnected);
}

void ProgramRunner::applyProgramsSwitch(MenuTools &menu, bool disabled)
{
    for (int k = 1; k <= kSlots; ++k)
        menu.setToolEnabled(MenuNames::mnuProgram(k), !disabled);
    menu.setToolChecked(MenuNames::mnuDisableProgramsApplications, disabled);
}

void ProgramRunner::applyProgramTools(MenuTools &menu, const SettingsModel &settings)
{
    for (int k = 1; k <= kSlots; ++k) {
        const QString path = settings.text(Keys::Program(k));
        if (!path.isEmpty())
            menu.setToolCaption(MenuNames::PopupBandRunProgram, MenuNames::mnuProgram(k), path);
        menu.setToolVisible(MenuNames::mnuProgram(k), !path.isEmpty());
    }
}
