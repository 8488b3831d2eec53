// Filling the Customize dialog's pages from the settings, and what the dialog does for the
// line: brought forward for a dial, put away once it is up.

#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/connectiontab.h"
#include "mail/ui/mailtab.h"
#include "programs/ui/programstab.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QTabWidget>

namespace {
// Where a dial from the tray puts the dialog: 2505 by 1515 twips from the screen's corner.
constexpr QPoint kShowConnectPosition(2505 / 15, 1515 / 15);
} // namespace

void frmBrisvane::loadSettings()
{
    m_settingsLoaded = true;
    if (pagesBuilt())
        loadPages();
    if (m_links.context.model().checkState(Keys::MinimizeTaskbar) == 1)
        showMinimized(); // builds and loads the pages
}

// The pages from the settings: each loads its own boxes, then the dialog shows the Connection
// tab with the line as it stands.
void frmBrisvane::loadPages()
{
    m_connection->load();
    m_mail->load();
    m_programs->load();
    m_settings->load(m_links.menu.toolChecked(MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup));
    SSTab1->setCurrentIndex(ConnectionTabIndex);
    if (m_connectedTime.isEmpty())
        m_connection->showConnectedTime(QStringLiteral("00:00:00"));
    showConnectedTime();
}

void frmBrisvane::ShowConnect()
{
    if (!m_links.context.model().isOn(Keys::ShowConnect))
        return;
    showTab(ConnectionTabIndex);
    if (isMinimized())
        showNormal();
    else
        m_links.monitorTray.ZoomFromTray(this);
    moveOntoScreen(kShowConnectPosition);
}

// The line came up: "Minimize ... after connecting".
void frmBrisvane::applyConnectedOptions()
{
    const SettingsModel &settings = m_links.context.model();
    if (settings.isOn(Keys::MinimizeTaskbarafterConnecting))
        showMinimized();
    if (settings.isOn(Keys::MinimizeSystemTrayafterConnecting))
        zoomToTray(); // hidden in the tray, or minimised when there is none
}
