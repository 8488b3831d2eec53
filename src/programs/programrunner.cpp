#include "programs/programrunner.h"

#include "programs/programlauncher.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"

ProgramRunner::ProgramRunner(AppContext &context)
    : m_context(context)
{ }

// The box is awaited: a program that fails after the hang-up's pause is told without an event
// loop running inside that step.
QCoro::Task<bool> ProgramRunner::start(int slot)
{
    const QString commandLine = m_context.model().text(Keys::Program(slot));
    QString problem;
    switch (m_context.programs().start(commandLine)) {
    case ProgramLauncher::Result::Started: co_return true;
    case ProgramLauncher::Result::NotFound:
        problem = ProgramLauncher::notFoundText(commandLine);
        break;
    case ProgramLauncher::Result::Failed: problem = ProgramLauncher::failedText(commandLine); break;
    }
    co_await m_context.dialogs().ask(
        DialogService::Icon::Warning, QStringLiteral("Brisvane"), problem);
    co_return false;
}

// Starts the program of every used slot whose flag under `flag` is set. An empty slot is
// skipped; a program that cannot start is reported and the others still run.
QCoro::Task<> ProgramRunner::startFlagged(SettingKey (*flag)(int))
{
    const SettingsModel &settings = m_context.model();
    if (settings.isOn(Keys::DisableProgramsApplications))
        co_return;
    for (int k = 1; k <= kSlots; ++k) {
        if (settings.isOn(flag(k)) && !settings.text(Keys::Program(k)).isEmpty())
            co_await start(k);
    }
}

QCoro::Task<> ProgramRunner::startEach(QList<int> numbers)
{
    for (int slot : numbers) {
        const bool started = co_await start(slot);
        if (!started)
            co_return;
    }
}

QCoro::Task<> ProgramRunner::runConnecting()
{
    return startFlagged(&Keys::RunConnected);
}

QCoro::Task<> ProgramRunner::runDisconnecting()
{
    return startFlagged(&Keys::RunDisconnected);
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
