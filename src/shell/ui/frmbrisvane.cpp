#include "shell/ui/frmbrisvane.h"

#include "alerts/alertcontrols.h"
#include "alerts/frmabout.h"
#include "alerts/frmpreferences.h"
#include "clock/clock.h"
#include "connection/linecontroller.h"
#include "connection/ui/connectiontab.h"
#include "mail/ui/mailtab.h"
#include "programs/ui/programstab.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/menutools.h"
#include "shell/ui/settingstab.h"
#include "trayctl/lumenpin.h"
#include "trayctl/trayservice.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

frmBrisvane::frmBrisvane(Links links, QWidget *parent)
    : QWidget(parent,
        Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint)
    , m_links(std::move(links))
{
    setObjectName(QStringLiteral("frmBrisvane"));
    setWindowTitle(caption());
    followLine();
    connect(
        &m_links.trayService, &TrayService::trayAvailableChanged, this, &frmBrisvane::followTray);
    setMinimumSize(400, 300);
}

frmBrisvane::~frmBrisvane() = default;

// The connected time and the options that apply when the line comes up; the pages follow the
// rest of the line themselves once they are built.
void frmBrisvane::followLine()
{
    LineController &line = m_links.line;
    connect(&line, &LineController::timeChanged, this, [this](const QString &time) {
        m_connectedTime = time;
        showConnectedTime();
    });
    connect(&line, &LineController::clockReset, this, [this] {
        m_connectedTime.clear();
        setWindowTitle(caption()); // the last time stays in no caption
        if (pagesBuilt())
            m_connection->showConnectedTime(QStringLiteral("00:00:00"));
    });
    connect(&line, &LineController::connected, this, &frmBrisvane::applyConnectedOptions);
}

const frmBrisvane &frmBrisvane::pages() const
{
    if (!pagesBuilt())
        const_cast<frmBrisvane *>(this)->buildPages();
    return *this;
}

void frmBrisvane::setVisible(bool visible)
{
    if (visible)
        pages();
    QWidget::setVisible(visible);
}

void frmBrisvane::buildPages()
{
    AppContext &context = m_links.context;
    LineController &line = m_links.line;
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    m_settings = new SettingsTab(context, line);
    m_connection = new ConnectionTab(context, line);
    connect(m_connection, &ConnectionTab::usageRequested, this, &frmBrisvane::usageRequested);
    m_mail = new MailTab(context);
    m_programs = new ProgramsTab(context, m_links.programs);
    AlertControls::Widgets alertButtons;
    m_connection->addAlertButtons(alertButtons);
    m_mail->addAlertButtons(alertButtons);
    m_alerts = new AlertControls(context, alertButtons, this);
    // Each page scrolls on its own where the screen is smaller than it would like, so a page
    // that needs less (the state list takes the room left) never scrolls for a larger one.
    const auto scrolled = [this](QWidget *page) {
        auto *scroll = new QScrollArea(SSTab1);
        scroll->setObjectName(page->objectName() + QStringLiteral("Scroll"));
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        // Without a frame it shows no focus: Tab goes straight to the page's controls, and
        // the area scrolls to each one as it takes the focus.
        scroll->setFocusPolicy(Qt::NoFocus);
        scroll->viewport()->setAutoFillBackground(false); // the tab's pane shows through
        scroll->setWidget(page);
        return scroll;
    };
    SSTab1->addTab(scrolled(m_connection), tr("Connection(s)"));
    SSTab1->addTab(scrolled(m_mail), tr("Mail"));
    SSTab1->addTab(scrolled(m_programs), tr("Programs"));
    SSTab1->addTab(scrolled(m_settings), tr("Settings"));
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int index) {
        const int previous = std::exchange(m_currentTab, index);
        SSTab1_Click(previous);
    });
    buildButtons();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdMenu);
    buttons->addWidget(cmdPreferences);
    buttons->addWidget(cmdHelp);
    buttons->addWidget(cmdAbout);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1);
    layout->addLayout(buttons);
    if (m_settingsLoaded)
        loadPages();
}

void frmBrisvane::buildButtons()
{
    cmdPreferences = new QPushButton(tr("&Preferences"), this);
    cmdHelp = new QPushButton(tr("&Help"), this);
    cmdAbout = new QPushButton(tr("&About"), this);
    cmdPreferences->setObjectName(QStringLiteral("cmdPreferences"));
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    cmdAbout->setObjectName(QStringLiteral("cmdAbout"));
    connect(cmdHelp, &QPushButton::clicked, this, &frmBrisvane::cmdHelp_Click);
    connect(cmdPreferences, &QPushButton::clicked, this, &frmBrisvane::cmdPreferences_Click);
    connect(cmdAbout, &QPushButton::clicked, this, [this] { frmAbout::open(this); });
    // With no tray on the desktop the tray icon's menu opens from here. It stands right of the
    // stretch, so the bottom left of the dialog stays free for the click that puts it away.
    cmdMenu = new QToolButton(this);
    cmdMenu->setObjectName(QStringLiteral("cmdMenu"));
    cmdMenu->setText(tr("Menu"));
    cmdMenu->setArrowType(Qt::DownArrow);
    cmdMenu->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    cmdMenu->setToolTip(tr("The tray icon's menu"));
    connect(cmdMenu, &QToolButton::clicked, this,
        [this] { Q_EMIT menuRequested(cmdMenu->mapToGlobal(cmdMenu->rect().bottomLeft())); });
    cmdMenu->setVisible(!trayAvailable());
}

namespace {
// What a window manager's frame and title bar add, before the frame is known.
constexpr QSize kFrameAllowance(8, 36);
bool compositorPlacesWindows()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}
} // namespace

// Sized to its largest tab, within kMaximumSize and the screen's free area; centred there.
void frmBrisvane::fitToScreen()
{
    const QRect available = screen()->availableGeometry();
    const QMargins margins = layout()->contentsMargins();
    // The largest page as it would like to be (pages with wrapping captions may ask for less
    // than they need at the least), with the tab bar, the pane's frame and the button row.
    QSize pages;
    const std::initializer_list<const QWidget *> all{m_connection, m_mail, m_programs, m_settings};
    for (const QWidget *page : all)
        pages = pages.expandedTo(page->sizeHint().expandedTo(page->minimumSizeHint()));
    // A page of wrapping captions needs more height at that width than its hint says.
    for (const QWidget *page : all) {
        if (page->hasHeightForWidth())
            pages.setHeight(qMax(pages.height(), page->heightForWidth(pages.width())));
    }
    constexpr int kPaneFrame = 8;
    const QSize natural(pages.width() + margins.left() + margins.right() + kPaneFrame
            + style()->pixelMetric(QStyle::PM_ScrollBarExtent),
        pages.height() + SSTab1->tabBar()->sizeHint().height() + kPaneFrame + layout()->spacing()
            + cmdAbout->sizeHint().height() + margins.top() + margins.bottom());
    resize(natural.boundedTo(kMaximumSize)
               .boundedTo(available.size() - kFrameAllowance)
               .expandedTo(minimumSize()));
    const QSize frame = size() + kFrameAllowance;
    moveOntoScreen(available.topLeft()
        + QPoint(
            (available.width() - frame.width()) / 2, (available.height() - frame.height()) / 2));
}

void frmBrisvane::moveOntoScreen(QPoint topLeft)
{
    if (compositorPlacesWindows())
        return;
    const QRect available = screen()->availableGeometry();
    const QSize frame = isVisible() && frameGeometry().size() != size() ? frameGeometry().size()
                                                                        : size() + kFrameAllowance;
    // Pulled in from the right and bottom edges first; the top-left corner wins when the
    // dialog is larger than the screen.
    const int x = qMin(topLeft.x(), available.right() + 1 - frame.width());
    const int y = qMin(topLeft.y(), available.bottom() + 1 - frame.height());
    move(qMax(available.left(), x), qMax(available.top(), y));
}

void frmBrisvane::showEvent(QShowEvent *event)
{
    if (!std::exchange(m_placed, true))
        fitToScreen();
    // Each opening starts every page at its top.
    for (QScrollArea *scroll : SSTab1->findChildren<QScrollArea *>())
        scroll->verticalScrollBar()->setValue(0);
    // However the dialog comes back (a zoom out of the tray shows it without a resize or a
    // state change), it never keeps a running time the clock wrote while it was away.
    restoreCaptionWhenNormal();
    QWidget::showEvent(event);
    showConnectedTime();
}

void frmBrisvane::SSTab1_Click(int previousTab)
{
    Q_UNUSED(previousTab)
    const int current = SSTab1->currentIndex();
    if (current == MailTabIndex)
        m_mail->showChosenSlot();
    m_mail->refresh();
    if (current == ProgramsTabIndex)
        m_programs->refreshProgramList();
}

void frmBrisvane::showTab(int tab)
{
    tabs().setCurrentIndex(tab);
}

void frmBrisvane::cmdHelp_Click()
{
    DialogService &dialogs = m_links.context.dialogs();
    const QString help = m_links.context.paths().resource(QStringLiteral("bvane.hlp"));
    if (!QFileInfo(help).isFile()) {
        dialogs.message(DialogService::Icon::Warning, tr("Brisvane"),
            tr("The help file %1 could not be found.").arg(help));
        return;
    }
    if (!dialogs.openDocument(help))
        dialogs.message(DialogService::Icon::Warning, tr("Brisvane"),
            tr("No viewer could open the help file %1.").arg(help));
}

void frmBrisvane::cmdPreferences_Click()
{
    frmPreferences::open(
        m_links.context, m_links.menu,
        [this](bool enabled) { m_settings->enableMinimizeChoices(enabled); }, this);
}

bool frmBrisvane::trayAvailable() const
{
    return m_links.trayService.trayAvailable();
}

bool frmBrisvane::minimiseWhenNoTray()
{
    if (trayAvailable())
        return false;
    showMinimized();
    m_minimisedForTray = true;
    return true;
}

void frmBrisvane::zoomToTray()
{
    if (!minimiseWhenNoTray())
        m_links.monitorTray.ZoomToTray(this);
}

void frmBrisvane::hideIntoTray()
{
    if (!minimiseWhenNoTray())
        hide();
}

void frmBrisvane::showInTraysPlace()
{
    const bool inTraysPlace = isHidden() || m_minimisedForTray;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    m_minimisedForTray = inTraysPlace;
}

void frmBrisvane::followTray(bool available)
{
    if (cmdMenu)
        cmdMenu->setVisible(!available);
    // A tray that goes away leaves a dialog hidden in it nowhere: bring it to the taskbar.
    if (!available && isHidden()) {
        showMinimized();
        m_minimisedForTray = true;
    }
    // A tray that comes takes the dialog that went to the taskbar in its place, as if it had
    // been there all along (the taskbar may be the tray's own panel, or none at all).
    if (available && std::exchange(m_minimisedForTray, false) && isVisible()) {
        hide();
        setWindowState(windowState() & ~Qt::WindowMinimized);
    }
}

void frmBrisvane::restoreCaptionWhenNormal()
{
    // While hidden or minimised the connected-time clock writes the time into the caption.
    if (!isMinimized())
        setWindowTitle(caption());
}

void frmBrisvane::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange) {
        if (!isMinimized())
            m_minimisedForTray = false; // the user took it back (showInTraysPlace keeps it)
        restoreCaptionWhenNormal();
        showConnectedTime();
    }
    QWidget::changeEvent(event);
}

void frmBrisvane::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    showConnectedTime();
}

// Where the time shows (caption or lblTime) follows the dialog's state at once.
void frmBrisvane::showConnectedTime()
{
    if (m_connectedTime.isEmpty())
        return;
    if (isHidden() || isMinimized() || isMaximized())
        setWindowTitle(m_connectedTime);
    else if (pagesBuilt())
        m_connection->showConnectedTime(m_connectedTime);
}

void frmBrisvane::resizeEvent(QResizeEvent *event)
{
    restoreCaptionWhenNormal();
    QWidget::resizeEvent(event);
}

void frmBrisvane::mousePressEvent(QMouseEvent *event)
{
    // A click on the dialog's own surface, not on a control, puts it away into the tray.
    if (childAt(event->position().toPoint()) == nullptr)
        zoomToTray();
    QWidget::mousePressEvent(event);
}

// Escape is the keyboard's way into the tray, as a dialog's Escape closes it; the key comes
// here from any control that does not use it itself (an open list keeps its own).
void frmBrisvane::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        zoomToTray();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmBrisvane::closeEvent(QCloseEvent *event)
{
    // The dialog is never closed, only put away into the tray.
    event->ignore();
    zoomToTray();
}
