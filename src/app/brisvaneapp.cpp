#include "app/brisvaneapp.h"

#include "alerts/frmsettings.h"
#include "app/lumenpinstatus.h"
#include "clock/detach.h"
#include "clock/timer.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/frmuserlogonsettings.h"
#include "mail/mailidle.h"
#include "mail/mailschedule.h"
#include "mail/mailtools.h"
#include "mail/ui/mailcheck.h"
#include "programs/programrunner.h"
#include "programs/ui/programmenu.h"
#include "settings/firstrun.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/systemevents.h"
#include "shell/traystatus.h"
#include "shell/ui/frmbrisvane.h"
#include "usage/ui/frmusage.h"
#include "usage/usagelimit.h"
#include "usage/usagerecorder.h"
#include "usage/usagestore.h"

#include <QFileInfo>

BrisvaneApp::BrisvaneApp(Links links, QObject *parent)
    : QObject(parent)
    , m_links(std::move(links))
{
    AppContext &context = m_links.context;
    m_tray = std::make_unique<LumenpinStatus>(
        m_links.monitorTray, m_links.dialFrames, context.paths());
    m_line = std::make_unique<LineController>(context, *m_tray, m_links.menu);
    startUsageRecord();
    m_schedule = std::make_unique<MailSchedule>(
        context.clock(), context.model(), [this] { return m_line->lineConnected(); });
    m_idle = std::make_unique<MailIdle>(context, [this] { return m_line->lineConnected(); });
    m_programs = std::make_unique<ProgramRunner>(context);
    m_programMenu = std::make_unique<ProgramMenu>(m_links.menu, context.model());
    m_dialog = std::make_unique<frmBrisvane>(frmBrisvane::Links{
        context, m_links.monitorTray, m_links.menu, m_links.trayService, *m_line, *m_programs});
    m_mailCheck = std::make_unique<MailCheck>(
        MailCheck::Links{context, *m_dialog, m_links.menu, *m_tray, *m_line, *m_schedule});
    m_schedule->setRounds(m_mailCheck.get());
    wire();
    // Starting the program lifts a mail-check interlock left set by a check that never ended.
    SettingsStore &store = context.settings();
    if (store.get(Keys::Check) == SettingValues::Unchecked)
        store.save(Keys::Check, SettingValues::Checked);
}

BrisvaneApp::~BrisvaneApp()
{
    delete m_usageWindow;
}

// The record opens at its first use (a line of ours up, the Usage window); a row a crash left
// open ends then at its last update. A file that cannot be used is reported once, from the
// event loop (never inside a line event), and the program goes on without it.
void BrisvaneApp::startUsageRecord()
{
    AppContext &context = m_links.context;
    m_usageStore
        = std::make_unique<UsageStore>(context.paths().userFile(QStringLiteral("usage.sqlite")));
    connect(
        m_usageStore.get(), &UsageStore::problemFound, this,
        [&context](const QString &message) {
            context.dialogs().message(
                DialogService::Icon::Warning, QStringLiteral("Brisvane"), message);
        },
        Qt::QueuedConnection);
    m_usage = std::make_unique<UsageRecorder>(context, *m_usageStore, *m_line);
    m_usageLimit = std::make_unique<UsageLimit>(context, *m_usageStore);
    connect(m_usage.get(), &UsageRecorder::recorded, m_usageLimit.get(),
        [this] { m_usageLimit->check(m_usage->now()); });
}

frmUsage *BrisvaneApp::showUsage()
{
    m_usageStore->openOnFirstUse();
    if (!m_usageWindow)
        m_usageWindow = frmUsage::open(
            frmUsage::Links{m_links.context, *m_usageStore, *m_usage, *m_usageLimit});
    m_usageWindow->showNormal();
    m_usageWindow->raise();
    m_usageWindow->activateWindow();
    return m_usageWindow;
}

TrayStatus &BrisvaneApp::tray() const
{
    return *m_tray;
}

void BrisvaneApp::wire()
{
    LineController &line = *m_line;
    line.RunProgramswhenConnecting = [this] { runProgramsWhenConnecting(); };
    line.RunProgramswhenDisconnecting = [this] { runProgramsWhenDisconnecting(); };
    line.checkMailAfterConnecting = [this] { return m_mailCheck->checkAfterConnecting(); };
    line.setMailSchedule = [this](bool on) { m_schedule->setEnabled(on); };
    connect(&line, &LineController::lineToolsChanged, this, &BrisvaneApp::applyLineTools);
    connect(m_dialog.get(), &frmBrisvane::usageRequested, this, &BrisvaneApp::showUsage);
    // The schedule and the IDLE watches sleep while there is no line; a line coming up (ours
    // or another program's) wakes them.
    const mRAS &ras = line.dialUp();
    connect(&ras, &mRAS::StateChanged, m_schedule.get(), &MailSchedule::wake);
    connect(&ras, &mRAS::LinesChanged, m_schedule.get(), &MailSchedule::wake);
    connect(&ras, &mRAS::StateChanged, m_idle.get(), &MailIdle::wake);
    connect(&ras, &mRAS::LinesChanged, m_idle.get(), &MailIdle::wake);
    // Sessions held across a sleep or a change of network die without a word: the IDLE
    // watches log out before the sleep and start anew after it and on a new network, and the
    // line and the schedule look again at once (the clock has caught up with the sleep).
    SystemEvents &events = m_links.context.systemEvents();
    connect(&events, &SystemEvents::aboutToSleep, m_idle.get(), &MailIdle::suspend);
    for (const auto signal : {&SystemEvents::resumed, &SystemEvents::networkChanged}) {
        connect(&events, signal, m_idle.get(), &MailIdle::restart);
        connect(&events, signal, m_schedule.get(), &MailSchedule::wake);
    }
    connect(&events, &SystemEvents::resumed, &line.watchTimer(), &Timer::wake);
    // From the event loop: the check does not run inside the watch's socket handler.
    connect(
        m_idle.get(), &MailIdle::newMail, m_schedule.get(),
        [this](int slot) { m_schedule->newMailByIdle(slot); }, Qt::QueuedConnection);
    connect(&m_links.context.model(), &SettingsModel::changed, this, &BrisvaneApp::followSetting);
}

// The popup menu follows the settings, whichever window (or the menu itself) changed them.
void BrisvaneApp::followSetting(const SettingKey &key)
{
    const SettingsModel &settings = m_links.context.model();
    MenuTools &menu = m_links.menu;
    if (key == Keys::DisableMailChecking) {
        applyMailSwitch();
    } else if (key == Keys::MailSlotCount) {
        applyLineTools();
    } else if (key == Keys::DisableProgramsApplications) {
        ProgramRunner::applyProgramsSwitch(menu, settings.isOn(Keys::DisableProgramsApplications));
    } else {
        for (int slot = 1; slot <= MailTools::kSlots; ++slot) {
            if (key == Keys::AccountName(slot)) {
                menu.setToolCaption(MenuNames::PopupBandMailSlots, MenuNames::mnuMailSlot(slot),
                    settings.text(key));
                applyLineTools();
            }
        }
    }
}

void BrisvaneApp::applyMailSwitch()
{
    const bool disabled = m_links.context.model().isOn(Keys::DisableMailChecking);
    MailTools::applyMailSwitch(m_links.menu, disabled);
    m_schedule->setEnabled(!disabled);
    applyLineTools();
}

void BrisvaneApp::applyLineTools()
{
    const SettingsModel &settings = m_links.context.model();
    MailTools::applySlotTools(m_links.menu, settings.count(Keys::MailSlotCount),
        m_line->lineConnected() && !settings.isOn(Keys::DisableMailChecking));
    ProgramRunner::applyProgramTools(m_links.menu, settings);
}

void BrisvaneApp::LoadFormSettings()
{
    AppContext &context = m_links.context;
    const QString layout = context.paths().userFile(QStringLiteral("mulayout.tb"));
    if (QFileInfo::exists(layout) && m_links.loadMenuLayout)
        m_links.loadMenuLayout(layout);
    promptForLogonWhenNoEntries();
    if (FirstRun::isFirstRun(context.settings()))
        frmSettings::Load(context.settings());
    m_line->loadAtStartup();
    loadMenuMarks();
    const SettingsModel &settings = context.model();
    ProgramRunner::applyProgramsSwitch(
        m_links.menu, settings.isOn(Keys::DisableProgramsApplications));
    MailTools::applyCaptions(m_links.menu, settings);
    applyMailSwitch(); // and the line's tools
    m_tray->setTip(TrayStatus::idleTip(settings.isOn(Keys::ConnectSingleClick)));
    m_dialog->loadSettings();
    if (settings.isOn(Keys::ConnectiononStartup))
        m_line->cmdConnect_Click();
}

void BrisvaneApp::CheckConnection()
{
    m_line->CheckConnection();
}

void BrisvaneApp::loadMenuMarks()
{
    const SettingsModel &settings = m_links.context.model();
    MenuTools &menu = m_links.menu;
    const std::pair<QString, SettingKey> marks[] = {
        {MenuNames::mnuDisableMailChecking, Keys::MailCheck},
        {MenuNames::mnuLoadCustomizeBrisvaneDialogonStartup,
            Keys::LoadCustomizeBrisvaneDialogonStartup},
        {MenuNames::mnuShowCloseMailProgramMessageDialog, Keys::ShowCloseMailProgramMessage},
        {MenuNames::mnuShowDeleteMessageConfirmationDialog, Keys::ShowDeleteMessageConfirmation},
        {MenuNames::mnuShowCustomizeBrisvaneReminder, Keys::ShowCustomizeBrisvaneReminder},
    };
    for (const auto &[tool, key] : marks) {
        // A mark with nothing readable stored keeps what the menu layout gave it.
        if (settings.store().contains(key))
            menu.setToolChecked(tool, settings.isOn(key));
    }
}

// No connection entries: ask the dial-up control to look again, then put up the logon dialog
// modally; whatever the user answers, the program dials with user settings from now on.
void BrisvaneApp::promptForLogonWhenNoEntries()
{
    mRAS &ras = m_line->dialUp();
    if (ras.EntryCount() != 0)
        return;
    ras.ReadEntries();
    ras.Refresh();
    frmUserLogonSettings::open(
        m_links.context.settings(), m_links.context.passwords(), true, m_dialog.get());
    m_links.context.model().setOn(Keys::UserLogonSettings, true);
}

void BrisvaneApp::runProgramsWhenConnecting()
{
    if (!m_line->lineConnected())
        return;
    detach(m_programs->runConnecting());
    m_tray->stopAnimation();
    m_tray->showIcon(QStringLiteral("net10a.ico"));
    applyLineTools();
}

void BrisvaneApp::runProgramsWhenDisconnecting()
{
    if (m_line->dialUp().StateCode() == DialState::Disconnected)
        detach(m_programs->runDisconnecting());
}
