// Filling the Customize dialog from the settings store at start-up, in its fixed order.

#include "alerts/frmsettings.h"
#include "connection/mras.h"
#include "connection/ui/connectionmanager.h"
#include "connection/ui/connectiontab.h"
#include "connection/ui/frmuserlogonsettings.h"
#include "mail/ui/mailtab.h"
#include "programs/ui/programstab.h"
#include "shell/appcontext.h"
#include "shell/menutools.h"
#include "shell/settings/conversions.h"
#include "shell/settings/firstrun.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"

#include <QFileInfo>
#include <QTabWidget>

void frmBrisvane::LoadFormSettings()
{
    SettingsStore &store = m_links.context.settings();
    // The dialog has no Close item: it was built without a close button.
    const QString layout = m_links.context.paths().userFile(QStringLiteral("mulayout.tb"));
    if (QFileInfo::exists(layout) && m_links.loadMenuLayout)
        m_links.loadMenuLayout(layout);
    promptForLogonWhenNoEntries();
    if (FirstRun::isFirstRun(store))
        frmSettings::Load(store);
    Timer3.setEnabled(false);
    loadEntries();
    loadMenuMarks();
    m_state.BusyRetriesLeft = qint16(ConnectionTab::storedBusyRetryCount(store));
    if (m_state.BusyRetriesLeft != 0)
        ++m_state.BusyRetriesLeft;
    Timer1.setInterval(0);
    m_settingsLoaded = true;
    if (pagesBuilt())
        loadPages();
    if (readCheckState(store, Keys::MinimizeTaskbar, 0) == 1)
        showMinimized(); // builds and loads the pages
    if (!pagesBuilt())
        applyStoredState();
    if (store.get(Keys::ConnectiononStartup) == SettingValues::Checked)
        m_manager->cmdConnect_Click();
}

// The pages from the store, in the order start-up has always loaded them: a box's handler
// runs as it is loaded, and the later steps see what the earlier ones set.
void frmBrisvane::loadPages()
{
    loadEntryList();
    loadCheckBoxes();
    loadCounterLabels();
    applyEnablingRules();
    SSTab1->setCurrentIndex(ConnectionTabIndex);
    m_connection->lblTime->setText(QStringLiteral("00:00:00"));
    m_mail->chkDisableMailChecking_Click();
    m_programs->chkDisableProgramsApplications_Click();
    applySlotCountAtLoad();
    m_mail->CheckMailSlots();
    loadTextBoxes();
}

// What loading the pages does beyond them, worked out from the store: the menu's mail and
// program tools, the mail schedule and the tray icon's tip.
void frmBrisvane::applyStoredState()
{
    SettingsStore &store = m_links.context.settings();
    MenuTools &menu = m_links.menu;
    const bool mailOff = readCheckState(store, Keys::DisableMailChecking, 0) == 1;
    MailTab::applyMailSwitch(menu, mailOff);
    Timer2.setEnabled(!mailOff);
    ProgramsTab::applyProgramsSwitch(
        menu, readCheckState(store, Keys::DisableProgramsApplications, 0) == 1);
    MailTab::applySlotTools(
        menu, MailTab::slotCount(store.get(Keys::MailSlotCount)), lineConnected() && !mailOff);
    m_links.monitorTray.setTrayTip(
        SettingsTab::idleTrayTip(readCheckState(store, Keys::ConnectSingleClick, 0) == 1));
}

// No connection entries: ask the dial-up control to look again, then put up the logon dialog
// modally; whatever the user answers, the program dials with user settings from now on.
void frmBrisvane::promptForLogonWhenNoEntries()
{
    if (mRAS1->EntryCount() != 0)
        return;
    mRAS1->ReadEntries();
    mRAS1->Refresh();
    m_logonPromptPending = true;
    frmUserLogonSettings::open(m_links.context.settings(), true, this);
    Form::setCheckValue(connectionTab().chkUserLogonSettings, 1);
    m_logonPromptPending = false;
}

void frmBrisvane::loadEntries()
{
    for (int i = 0; i < mRAS1->EntryCount(); ++i) {
        const QString name = mRAS1->EntryAt(i);
        mRAS1->setEntry(name);
        m_state.EntryName = name;
    }
    // A default that is no longer in the list still becomes the text to dial.
    const QString preferred = m_links.context.settings().get(Keys::DefaultConnection);
    if (!preferred.isEmpty())
        m_state.EntryName = preferred;
}

void frmBrisvane::loadEntryList()
{
    QComboBox *combo = m_connection->Combo1;
    combo->clear();
    for (int i = 0; i < mRAS1->EntryCount(); ++i)
        combo->addItem(mRAS1->EntryAt(i));
    // The list shows the entry the program will test and dial (filling it selected the first).
    const int shown = combo->findText(m_state.EntryName);
    if (shown >= 0)
        combo->setCurrentIndex(shown);
    else if (!m_state.EntryName.isEmpty())
        combo->setEditText(m_state.EntryName);
}

void frmBrisvane::loadCheckBoxes()
{
    const SettingsStore &store = m_links.context.settings();
    const std::pair<QCheckBox *, SettingKey> order[] = {
        {m_connection->chkReconnectLineBusy, Keys::ReconnectLineBusy},
        {m_settings->chkReconnectwhenDisconnected, Keys::ReconnectwhenDisconnected},
        {m_connection->chkAlertConnected, Keys::AlertConnected},
        {m_connection->chkAlertDisconnected, Keys::AlertDisconnected},
        {m_mail->chkDisableMailChecking, Keys::DisableMailChecking},
        {m_programs->chkDisableProgramsApplications, Keys::DisableProgramsApplications},
        {m_mail->chkAlertMailArrive, Keys::AlertMailArrive},
        {m_mail->chkAlertMailNoArrive, Keys::AlertMailNoArrive},
        {m_mail->chkCheckMessages, Keys::CheckMessages},
        {m_mail->chkMailConnected, Keys::MailConnected},
        {m_connection->chkConnectionStartup, Keys::ConnectiononStartup},
        {m_settings->chkMinimizeTaskbar, Keys::MinimizeTaskbar},
        {m_settings->chkMinimizeSystemTray, Keys::MinimizeSystemTray},
        {m_settings->chkMinimizeTaskbarafterConnecting, Keys::MinimizeTaskbarafterConnecting},
        {m_settings->chkMinimizeSystemTrayafterConnecting, Keys::MinimizeSystemTrayafterConnecting},
        {m_settings->chkMessageHeadersOnly, Keys::MessageHeadersOnly},
        {m_settings->chkShowConnect, Keys::ShowConnect},
        {m_settings->chkConnectSingleClick, Keys::ConnectSingleClick},
        {m_settings->chkCheckMailwhenMinimized, Keys::CheckMailwhenMinimized},
        {m_connection->chkUserLogonSettings, Keys::UserLogonSettings},
    };
    for (const auto &[box, key] : order)
        Form::loadCheck(box, store, key);
}

void frmBrisvane::loadMenuMarks()
{
    const SettingsStore &store = m_links.context.settings();
    MenuTools &menu = m_links.menu;
    const std::pair<QString, SettingKey> marks[] = {
        {MenuNames::mnuDisableMailChecking, Keys::MailCheck},
        {MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup,
            Keys::LoadCustomizeBrisvaneDialogonStartup},
        {MenuNames::mnuShowCloseMailProgramMessageDialog, Keys::ShowCloseMailProgramMessage},
        {MenuNames::mnuShowDeleteMessageConfirmationDialog, Keys::ShowDeleteMessageConfirmation},
        {MenuNames::mnuShowCustomizeBrisvaneReminder, Keys::ShowCustomizeBrisvaneReminder},
    };
    for (const auto &[tool, key] : marks)
        menu.setToolChecked(tool, readTruth(store, key, menu.toolChecked(tool)));
}

void frmBrisvane::loadCounterLabels()
{
    const SettingsStore &store = m_links.context.settings();
    const std::pair<QLabel *, SettingKey> labels[] = {
        {m_connection->lblReconnectLineBusy, Keys::ReconnectLineBusyCount},
        {m_mail->lblMailSlots, Keys::MailSlotCount},
        {m_mail->lblCheckMailMinutes, Keys::CheckMailMinutes},
        {m_mail->lblPauseBetweenAccounts, Keys::PauseBetweenAccounts},
    };
    for (const auto &[label, key] : labels)
        label->setText(store.get(key, label->text()));
}

void frmBrisvane::applyEnablingRules()
{
    m_connection->applyUserLogonChoice();
    m_settings->chkCheckMailwhenMinimized->setEnabled(
        Form::checkValue(m_mail->chkCheckMessages) == 1);
    m_settings->applyIdleTrayTip();
    const std::pair<QCheckBox *, QPushButton *> alerts[] = {
        {m_connection->chkAlertConnected, m_connection->cmdAlertConnected},
        {m_connection->chkAlertDisconnected, m_connection->cmdAlertDisconnected},
        {m_mail->chkAlertMailArrive, m_mail->cmdAlertMailArrive},
        {m_mail->chkAlertMailNoArrive, m_mail->cmdAlertMailNoArrive},
    };
    for (auto [box, browse] : alerts)
        browse->setEnabled(Form::checkValue(box) == 1);
    const bool dialogOnStartup
        = m_links.menu.toolChecked(MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup);
    m_settings->chkMinimizeTaskbar->setEnabled(dialogOnStartup);
    m_settings->chkMinimizeSystemTray->setEnabled(dialogOnStartup);
    m_connection->applyReconnectLineBusy();
    const bool scheduled = Form::checkValue(m_mail->chkCheckMessages) == 1;
    m_mail->lblCheckMailMinutes->setEnabled(scheduled);
    m_mail->UpDown1->setEnabled(scheduled);
    m_mail->UpDown3->setEnabled(scheduled);
}

void frmBrisvane::applySlotCountAtLoad()
{
    m_mail->enableOptions(MailTab::kSlots);
    if (m_mail->lblMailSlots->text() != QStringLiteral("0"))
        return;
    m_links.context.settings().save(Keys::MailSlotCount, QStringLiteral("0"));
    m_mail->enableOptions(0);
    for (int slot = 1; slot <= MailTab::kSlots; ++slot)
        m_links.menu.setToolVisible(MenuNames::mnuMailSlot(slot), false);
    m_links.menu.setToolVisible(MenuNames::mnuAllAccounts, false);
}

void frmBrisvane::loadTextBoxes()
{
    const SettingsStore &store = m_links.context.settings();
    m_mail->txtMailProgram->setText(store.get(Keys::MailProgram));
    for (int slot = 1; slot <= MailTab::kSlots; ++slot)
        m_mail->loadSlotBoxes(slot);
}
