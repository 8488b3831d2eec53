#include "monitor/frmbrisvanemonitor.h"

#include "alerts/frmcustomizebrisvanereminder.h"
#include "alerts/frmnotraynotice.h"
#include "app/brisvaneapp.h"
#include "app/lumenpinstatus.h"
#include "clock/clock.h"
#include "clock/clockwait.h"
#include "clock/detach.h"
#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "mail/mailschedule.h"
#include "monitor/bandmenu/bandmenu.h"
#include "monitor/bandmenutools.h"
#include "monitor/connectedtimeline.h"
#include "monitor/popupcommands.h"
#include "monitor/singleinstance.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/ui/frmbrisvane.h"
#include "trayctl/lumenpin.h"
#include "trayctl/trayservice.h"

#include <QApplication>

frmBrisvaneMonitor::frmBrisvaneMonitor(
    AppContext &context, TrayService &trayService, QWidget *parent)
    : QWidget(parent)
    , Timer1(context.clock(), 0, false)
    , m_context(context)
    , m_trayService(trayService)
    , Lumenpin1(new Lumenpin(trayService, &context.clock(), this))
{
    setObjectName(QStringLiteral("frmBrisvaneMonitor"));
    // The application's title: a second copy looks for the running one by it.
    setWindowTitle(QStringLiteral("Brisvane"));
    buildTray();
}

void frmBrisvaneMonitor::buildTray()
{
    Lumenpin1->setObjectName(QStringLiteral("Lumenpin1"));
    // The icon is there from the moment the window loads.
    LumenpinStatus::show(*Lumenpin1, m_context.paths(), QStringLiteral("net10b.ico"));
    Lumenpin1->setTrayVisible(true);
    ImageList1
        = std::make_unique<ImageList>(QList<QIcon>{QIcon(iconPath(QStringLiteral("dial1.ico"))),
            QIcon(iconPath(QStringLiteral("dial2.ico")))});
    BandMenu1 = new BandMenu(this);
    BandMenu1->setObjectName(QStringLiteral("BandMenu1"));
    m_menu = std::make_unique<BandMenuTools>(
        *BandMenu1, m_context.paths().userFile(QStringLiteral("mulayout.tb")));
    mRAS1 = std::make_unique<mRAS>(m_context.dialUpService());
    m_app = std::make_unique<BrisvaneApp>(BrisvaneApp::Links{m_context, *Lumenpin1, *m_menu,
        [this](const QString &path) { BandMenu1->loadLayout(path); }, *ImageList1, m_trayService});
    connect(Lumenpin1, &Lumenpin::Click, this, &frmBrisvaneMonitor::Lumenpin1_Click);
    connect(Lumenpin1, &Lumenpin::LeftDblClick, this, &frmBrisvaneMonitor::Lumenpin1_LeftDblClick);
    connect(Lumenpin1, &Lumenpin::RightClick, this, &frmBrisvaneMonitor::Lumenpin1_RightClick);
    connect(&Timer1, &Timer::tick, this, [this] { Timer1_Timer(); });
    m_commands = std::make_unique<PopupCommands>(m_context, *this);
    connect(BandMenu1, &BandMenu::toolClick, m_commands.get(),
        [this](BandTool *tool) { m_commands->BandMenu1_ToolClick(tool->name()); });
    // Hosts that show the icon's menu themselves get the whole band tree as its menu, under
    // the connected time (some show no tooltip).
    m_timeLine = new ConnectedTimeLine(m_app->line(), this);
    const auto giveIconMenu = [this](QMenu *menu) {
        m_timeLine->attach(menu);
        Lumenpin1->setIconMenu(menu);
    };
    giveIconMenu(BandMenu1->iconMenu(MenuNames::PopupBandBvane));
    connect(BandMenu1, &BandMenu::iconMenuRebuilt, this, giveIconMenu);
    // With no tray, the dialog's menu button opens the band the tray icon would.
    connect(&m_app->dialog(), &frmBrisvane::menuRequested, this,
        [this](const QPoint &at) { BandMenu1->popupBand(MenuNames::PopupBandBvane, at); });
}

MenuTools &frmBrisvaneMonitor::menu() const
{
    return *m_menu;
}

frmBrisvane &frmBrisvaneMonitor::customizeDialog() const
{
    return m_app->dialog();
}

void frmBrisvaneMonitor::Lumenpin1_Click()
{
    m_app->mailSchedule().setEnabled(false);
    const LineController &line = m_app->line();
    if (line.dialUp().IsConnected() && line.state().ExistingConnectionCount > 0) {
        m_context.dialogs().message(DialogService::Icon::Warning, QStringLiteral("Brisvane"),
            QStringLiteral("Existing connection exists. Unable to "
                           "establish connection"));
        return;
    }
    Timer1.setEnabled(true);
}

QCoro::Task<> frmBrisvaneMonitor::Timer1_Timer()
{
    // A click during the hang-up's waits does not start another one.
    const Timer::Hold held = Timer1.hold();
    LineController &line = m_app->line();
    mRAS1->setEntry(line.chosenEntry());
    ConnectionState &state = line.state();
    if (!m_context.model().isOn(Keys::ConnectSingleClick)) {
        QPointer<frmBrisvaneMonitor> self(this);
        co_await toggleCustomizeDialog();
        if (!self)
            co_return;
    } else if (state.DialFlag == 0) {
        customizeDialog().ShowConnect();
        state.DialFlag = 1;
        line.cmdConnect_Click();
    } else {
        const bool hungUp = co_await line.trayHangUp();
        if (!hungUp)
            co_return;
    }
    Timer1.setEnabled(false);
}

void frmBrisvaneMonitor::Lumenpin1_RightClick()
{
    // On Wayland a menu without a window under the mouse would open as a window of its own;
    // there the host shows the icon's menu itself.
    if (Lumenpin1->menuShownByHost()
        && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return;
    BandMenu1->popupBand(MenuNames::PopupBandBvane);
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
        instance.askRunningCopyToShow();
        return false;
    }
    Timer1.setEnabled(false);
    Timer1.setInterval(QApplication::doubleClickInterval());
    runStartup();
    // A later start brings the dialog forward. One that comes while start-up still shows a
    // notice is left out: start-up itself ends with the dialog or the program in the tray.
    connect(
        &instance, &SingleInstance::showRequested, this, &frmBrisvaneMonitor::showCustomizeDialog);
    return true;
}

void frmBrisvaneMonitor::showCustomizeDialog()
{
    frmBrisvane &dialog = customizeDialog();
    if (dialog.isHidden()) {
        detach(toggleCustomizeDialog());
        return;
    }
    dialog.setWindowState(dialog.windowState() & ~Qt::WindowMinimized);
    dialog.raise();
    dialog.activateWindow();
}

void frmBrisvaneMonitor::runStartup()
{
    const SettingsModel &settings = m_context.model();
    frmBrisvane &dialog = customizeDialog();
    m_app->LoadFormSettings();
    m_app->CheckConnection();
    const bool intoTray = settings.isOn(Keys::MinimizeSystemTray);
    const bool shown = !intoTray
        && settings.text(Keys::LoadCustomizeBrisvaneDialogonStartup) == SettingValues::TrueText;
    // The dialog goes into the tray, is shown, or stays where it is: in the tray, unless
    // "Minimize to taskbar on startup" already put it on the taskbar. With no tray on the
    // desktop, into the tray means onto the taskbar.
    if (intoTray || (!shown && dialog.isHidden()))
        dialog.hideIntoTray();
    else if (shown)
        dialog.show();
    // The wait runs (a timer armed) only while there is no tray. Whether there is one may be
    // known only after start-up (the session bus answers later): then its first word starts it.
    if (!m_trayService.trayAvailable()) {
        noTrayNoticeAfterGrace();
    } else {
        connect(
            &m_trayService, &TrayService::trayAvailableChanged, this,
            [this](bool available) {
                if (!available)
                    noTrayNoticeAfterGrace();
            },
            Qt::SingleShotConnection);
    }
    if (shown)
        detach(frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(m_context, menu(), &dialog));
}

QCoro::Task<> frmBrisvaneMonitor::noTrayNoticeAfterGrace()
{
    TrayService *tray = &m_trayService;
    // Clock::until with a deadline: the wait ends when a tray comes or after the grace time.
    const bool waited = co_await ClockWait(
        m_context.clock(), kNoTrayGraceSeconds * 1000, [tray] { return tray->trayAvailable(); },
        [tray](QObject *receiver, std::function<void()> check) {
            return connect(tray, &TrayService::trayAvailableChanged, receiver, check);
        },
        this);
    if (!waited || tray->trayAvailable()
        || m_context.settings().get(Keys::NoTrayNotice) == SettingValues::FalseText)
        co_return;
    // The notice comes up over the dialog, both on screen: where there is no taskbar either
    // (GNOME without its extension) a minimised dialog would be nowhere to be seen.
    customizeDialog().showInTraysPlace();
    co_await frmNoTrayNotice::showUntilTray(m_context, menu(), *tray, &customizeDialog());
}

void frmBrisvaneMonitor::Lumenpin1_LeftDblClick()
{
    Timer1.setEnabled(false);
    detach(toggleCustomizeDialog());
}

// Ends when the reminder that may come with the dialog has been answered.
QCoro::Task<> frmBrisvaneMonitor::toggleCustomizeDialog()
{
    frmBrisvane &dialog = customizeDialog();
    if (dialog.isVisible()) {
        dialog.zoomToTray();
        hide();
        co_return;
    }
    bringCustomizeDialogBack();
    co_await frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(m_context, menu(), &dialog);
}

void frmBrisvaneMonitor::bringCustomizeDialogBack()
{
    frmBrisvane &dialog = customizeDialog();
    Lumenpin1->ZoomFromTray(&dialog);
    dialog.setWindowTitle(frmBrisvane::caption());
    dialog.show();
    dialog.activateWindow();
    dialog.raise();
}
