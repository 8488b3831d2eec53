#include "monitor/frmbrisvanemonitor.h"

#include "alerts/frmcustomizebrisvanereminder.h"
#include "monitor/singleinstance.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QApplication>

frmBrisvaneMonitor::frmBrisvaneMonitor(AppContext &context, QWidget *parent)
    : QWidget(parent)
    , Timer1(context.clock(), 0, false)
    , m_context(context)
{
    setObjectName(QStringLiteral("frmBrisvaneMonitor"));
    // The application's title: a second copy looks for the running one by it.
    setWindowTitle(QStringLiteral("Brisvane"));
    buildTray();
}

frmBrisvaneMonitor::~frmBrisvaneMonitor() = default;

QString frmBrisvaneMonitor::iconPath(const QString &fileName) const
{
    return m_context.paths().resource(fileName);
}

bool frmBrisvaneMonitor::Form_Load(SingleInstance &instance)
{
    if (instance.anotherCopyIsRunning()) {
        Lumenpin1->setTrayVisible(false);
        instance.postQuitToRunningCopy();
        return false;
    }
    Timer1.setEnabled(false);
    Timer1.setInterval(QApplication::doubleClickInterval());
    runStartup();
    return true;
}

void frmBrisvaneMonitor::runStartup()
{
    const SettingsStore &store = m_context.settings();
    frmBrisvane &dialog = *m_dialog;
    dialog.LoadFormSettings();
    if (dialog.onCheckConnection)
        dialog.onCheckConnection();
    if (Form::checkValue(dialog.settingsTab().chkMinimizeSystemTray) == 1) {
        dialog.hide();
    } else if (store.get(Keys::LoadCustomizeBrisvaneDialogonStartup) == SettingValues::TrueText) {
        dialog.show();
        frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(m_context, menu(), &dialog);
    }
}

void frmBrisvaneMonitor::Lumenpin1_LeftDblClick()
{
    Timer1.setEnabled(false);
    toggleCustomizeDialog();
}

void frmBrisvaneMonitor::toggleCustomizeDialog()
{
    frmBrisvane &dialog = *m_dialog;
    if (dialog.isVisible()) {
        Lumenpin1->ZoomToTray(&dialog);
        dialog.hide();
        hide();
        return;
    }
    Lumenpin1->ZoomFromTray(&dialog);
    dialog.setWindowTitle(frmBrisvane::caption());
    dialog.show();
    dialog.activateWindow();
    dialog.raise();
    frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(m_context, menu(), &dialog);
}
