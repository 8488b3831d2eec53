// Starting the user's programs when the line comes up or goes down.

#include "connection/mras.h"
#include "mail/ui/mailtab.h"
#include "programs/ui/programstab.h"
#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "trayctl/lumenpin.h"

// Starts the program of every used slot whose flag under `flags` is set. An empty slot is
// skipped; a program that cannot start is reported (by startRow) and the others still run.
void frmBrisvane::startFlaggedPrograms(SettingKey (*flag)(int))
{
    const SettingsStore &store = m_links.context.settings();
    for (int k = 1; k <= ProgramsTab::kSlots; ++k) {
        if (store.get(flag(k)) == SettingValues::Checked && !store.get(Keys::Program(k)).isEmpty())
            programsTab().startRow(k - 1);
    }
}

void frmBrisvane::RunProgramswhenConnecting()
{
    if (!lineConnected())
        return;
    if (Form::checkValue(programsTab().chkDisableProgramsApplications) == 0)
        startFlaggedPrograms(&Keys::RunConnected);
    m_links.monitorTray.StopAnimation();
    setTrayIcon(QStringLiteral("net10a.ico"));
    mailTab().CheckMailSlots();
}

void frmBrisvane::RunProgramswhenDisconnecting()
{
    if (Form::checkValue(programsTab().chkDisableProgramsApplications) == 0
        && mRAS1->StateCode() == DialState::Disconnected)
        startFlaggedPrograms(&Keys::RunDisconnected);
}
