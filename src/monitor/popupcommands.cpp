#include "monitor/popupcommands.h"

#include "alerts/frmabout.h"
#include "alerts/frmcustomizebrisvanereminder.h"
#include "alerts/noticeswitch.h"
#include "app/brisvaneapp.h"
#include "clock/detach.h"
#include "connection/linecontroller.h"
#include "mail/mailtools.h"
#include "mail/ui/mailcheck.h"
#include "monitor/frmbrisvanemonitor.h"
#include "programs/programrunner.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"

#include <QCoreApplication>

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
    BrisvaneApp &app = m_monitor.app();
    const QStringList tabs{QStringLiteral("mnuConnectionProperties"),
        QStringLiteral("mnuMailProperties"), QStringLiteral("mnuProgramProperties"),
        QStringLiteral("mnuSettings")};
    if (tool == mnuLoadCustomizeBrisvaneDialogonStartup) {
        const bool on = toggle(tool);
        m_context.settings().save(Keys::LoadCustomizeBrisvaneDialogonStartup, truth(on));
        m_context.settings().save(Keys::CustomizeBrisvaneDialogonStartup, check(on));
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
    } else if (const int k = toolNumber(tool, &mnuProgram, ProgramRunner::kSlots); k > 0) {
        detach(app.programs().start(k));
    } else if (tool == mnuDisableProgramsApplications) {
        disablePrograms(toggle(tool));
    } else if (tool == mnuDisableMailChecking) {
        disableMailChecking(toggle(tool));
    } else if (const int slot = toolNumber(tool, &mnuMailSlot, MailTools::kSlots); slot > 0) {
        app.mailCheck().mnuMailSlot_Click(slot);
    } else if (tool == mnuAllAccounts) {
        app.mailCheck().mnuAllAccounts_Click();
    } else if (tool == mnuConnect) {
        app.dialog().ShowConnect();
        app.line().cmdConnect_Click();
    } else if (tool == mnuDisconnect) {
        app.line().cmdDisconnect_Click();
    } else if (tool == mnuUsage) {
        app.showUsage();
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
    dialog.showTab(tab);
    detach(frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(
        m_context, m_monitor.menu(), &dialog));
}

// The switch is stored; the tools and the Programs tab follow it.
void PopupCommands::disablePrograms(bool disabled)
{
    m_context.model().setOn(Keys::DisableProgramsApplications, disabled);
}

// The switch is stored; the tools, the schedule and the Mail tab follow it. A switch already
// in that state is applied to the tools again.
void PopupCommands::disableMailChecking(bool disabled)
{
    SettingsModel &settings = m_context.model();
    if (settings.isOn(Keys::DisableMailChecking) == disabled)
        m_monitor.app().applyMailSwitch();
    else
        settings.setOn(Keys::DisableMailChecking, disabled);
    m_context.settings().save(
        Keys::MailCheck, disabled ? SettingValues::Checked : SettingValues::Unchecked);
}
