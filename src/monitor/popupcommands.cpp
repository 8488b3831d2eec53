#include "monitor/popupcommands.h"

#include "alerts/frmabout.h"
#include "alerts/frmcustomizebrisvanereminder.h"
#include "alerts/noticeswitch.h"
#include "connection/ui/connectionmanager.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailtab.h"
#include "monitor/frmbrisvanemonitor.h"
#include "programs/ui/programstab.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QCoreApplication>
#include <QTabWidget>

namespace {
QString truth(bool on)
{
    return on ? SettingValues::TrueText : SettingValues::FalseText;
}
QString check(bool on)
{
    return on ? SettingValues::Checked : SettingValues::Unchecked;
}
// The number of a numbered tool ("mnuProgram4" is 4), or 0 when `tool` is none of them.
int toolNumber(const QString &tool, QString (*name)(int), int count)
{
    for (int k = 1; k <= count; ++k) {
        if (tool == name(k))
            return k;
    }
    return 0;
}
} // namespace

PopupCommands::PopupCommands(AppContext &context, frmBrisvaneMonitor &monitor, QObject *parent)
    : QObject(parent)
    , exitProgram([] { QCoreApplication::exit(0); })
    , m_context(context)
    , m_monitor(monitor)
{ }

void PopupCommands::BandMenu1_ToolClick(const QString &tool)
{
    using namespace MenuNames;
    frmBrisvane &dialog = m_monitor.customizeDialog();
    const QStringList tabs{QStringLiteral("mnuConnectionProperties"),
        QStringLiteral("mnuMailProperties"), QStringLiteral("mnuProgramProperties"),
        QStringLiteral("mnuSettings")};
    if (tool == mnuLoadCustomizeBrisvaneDialogonStartup) {
        const bool on = toggle(tool);
        m_context.settings().save(Keys::LoadCustomizeBrisvaneDialogonStartup, truth(on));
        m_context.settings().save(Keys::CustomizeBrisvaneDialogonStartup, check(on));
        dialog.settingsTab().chkMinimizeTaskbar->setEnabled(on);
        dialog.settingsTab().chkMinimizeSystemTray->setEnabled(on);
    } else if (tool == mnuShowCustomizeBrisvaneReminder) {
        storeNotice(toggle(tool), Keys::ShowCustomizeBrisvaneReminder, NoticeSwitch::reminder());
    } else if (tool == mnuShowCloseMailProgramMessageDialog) {
        storeNotice(
            toggle(tool), Keys::ShowCloseMailProgramMessage, NoticeSwitch::closeMailProgram());
    } else if (tool == mnuShowDeleteMessageConfirmationDialog) {
        storeNotice(
            toggle(tool), Keys::ShowDeleteMessageConfirmation, NoticeSwitch::deleteConfirmation());
    } else if (tabs.contains(tool)) {
        showCustomizeOnTab(int(tabs.indexOf(tool)));
    } else if (const int k = toolNumber(tool, &mnuProgram, ProgramsTab::kSlots); k > 0) {
        runProgram(k);
    } else if (tool == mnuDisableProgramsApplications) {
        disablePrograms(toggle(tool));
    } else if (tool == mnuDisableMailChecking) {
        disableMailChecking(toggle(tool));
    } else if (const int slot = toolNumber(tool, &mnuMailSlot, MailTab::kSlots); slot > 0) {
        dialog.mailCheck().mnuMailSlot_Click(slot);
    } else if (tool == mnuAllAccounts) {
        dialog.mailCheck().mnuAllAccounts_Click();
    } else if (tool == mnuConnect) {
        dialog.connectionManager().ShowConnect();
        dialog.connectionManager().cmdConnect_Click();
    } else if (tool == mnuDisconnect) {
        dialog.connectionManager().cmdDisconnect_Click();
    } else if (tool == QLatin1String("mnuAbout")) {
        frmAbout::open();
    } else if (tool == QLatin1String("mnuExit")) {
        exitProgram();
    }
}

bool PopupCommands::toggle(const QString &tool)
{
    MenuTools &menu = m_monitor.menu();
    menu.setToolChecked(tool, !menu.toolChecked(tool));
    return menu.toolChecked(tool);
}

void PopupCommands::storeNotice(bool on, const SettingKey &showKey, const NoticeSwitch &notice)
{
    m_context.settings().save(showKey, truth(on));
    notice.store(m_context, m_monitor.menu(), on);
}

void PopupCommands::showCustomizeOnTab(int tab)
{
    frmBrisvane &dialog = m_monitor.customizeDialog();
    if (dialog.isMinimized()) {
        dialog.showNormal();
    } else {
        m_monitor.bringCustomizeDialogBack();
    }
    dialog.tabs().setCurrentIndex(tab);
    frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(m_context, m_monitor.menu(), &dialog);
}

void PopupCommands::runProgram(int k)
{
    m_monitor.customizeDialog().programsTab().startRow(k - 1);
}

void PopupCommands::disablePrograms(bool disabled)
{
    ProgramsTab &programs = m_monitor.customizeDialog().programsTab();
    // The box's own handler stores the switch, hides the controls and greys the tools.
    Form::setCheckValue(programs.chkDisableProgramsApplications, disabled ? 1 : 0);
}

void PopupCommands::disableMailChecking(bool disabled)
{
    // The box's own handler stores the switch, sets the tool's mark, greys or frees the slot
    // tools and re-applies the slot count; a box already in that state is applied again.
    QCheckBox *box = m_monitor.customizeDialog().mailTab().chkDisableMailChecking;
    if (box->isChecked() == disabled)
        m_monitor.customizeDialog().mailTab().chkDisableMailChecking_Click();
    else
        Form::setCheckValue(box, disabled ? 1 : 0);
    m_context.settings().save(
        Keys::MailCheck, disabled ? SettingValues::Checked : SettingValues::Unchecked);
}
