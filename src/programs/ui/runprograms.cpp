// Starting the user's programs when the line comes up or goes down.

#include "connection/mras.h"
#include "mail/ui/mailtab.h"
#include "programs/ui/programstab.h"
#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "trayctl/lumenpin.h"

// Starts slot k's program when its flag under `flags` is set; false when a start failed, which
// ends the whole run.
bool frmBrisvane::startFlaggedPrograms(SettingKey (*flag)(int))
{
    const SettingsStore &store = m_links.context.settings();
    for (int k = 1; k <= ProgramsTab::kSlots; ++k) {
        if (store.get(flag(k)) != SettingValues::Checked)
            continue;
        if (!m_programs->startRow(k - 1))
            return false;
    }
    return true;
}

void frmBrisvane::RunProgramswhenConnecting()
{
    const bool enabled = Form::checkValue(m_programs->chkDisableProgramsApplications) == 0;
    if (enabled && lineConnected() && !startFlaggedPrograms(&Keys::RunConnected))
        return;
    if (!lineConnected())
        return;
    m_links.monitorTray.StopAnimation();
    setTrayIcon(QStringLiteral("net10a.ico"));
    m_mail->CheckMailSlots();
}

void frmBrisvane::RunProgramswhenDisconnecting()
{
    if (Form::checkValue(m_programs->chkDisableProgramsApplications) == 0
        && mRAS1->StateCode() == DialState::Disconnected)
        startFlaggedPrograms(&Keys::RunDisconnected);
}
