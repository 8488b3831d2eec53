#include "connection/ui/connectiontab.h"

#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/frmuserlogonsettings.h"
#include "settings/conversions.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"
#include "ui_connectiontab.h"

ConnectionTab::ConnectionTab(AppContext &context, LineController &line, QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::ConnectionTab>())
    , m_context(context)
    , m_line(line)
{
    m_ui->setupUi(this);
    m_ui->UpDown4->setBuddy(m_ui->lblReconnectLineBusy);
    m_ui->UpDown4->setRange(1, 10);
    // The counter stands after this word of the caption, in each language.
    m_ui->chkReconnectLineBusy->setGaps(
        {{tr("retry", "the word of \"If line is busy, retry   times...\" the count follows"),
            {m_ui->lblReconnectLineBusy, m_ui->UpDown4}}});
    connect(m_ui->cmdConnectionDetails, &QPushButton::clicked, this,
        &ConnectionTab::cmdConnectionDetails_Click);
    connect(
        m_ui->cmdUserDetails, &QPushButton::clicked, this, &ConnectionTab::cmdUserDetails_Click);
    connect(m_ui->cmdUsage, &QPushButton::clicked, this, &ConnectionTab::usageRequested);
    connect(m_ui->cmdDefaultConnection, &QPushButton::clicked, this,
        &ConnectionTab::cmdDefaultConnection_Click);
    connect(m_ui->cmdUserLogonSettings, &QPushButton::clicked, this,
        &ConnectionTab::cmdUserLogonSettings_Click);
    connect(m_ui->chkUserLogonSettings, &QCheckBox::toggled, this,
        &ConnectionTab::chkUserLogonSettings_Click);
    connect(m_ui->chkConnectionStartup, &QCheckBox::toggled, this,
        &ConnectionTab::chkConnectionStartup_Click);
    connect(m_ui->chkReconnectLineBusy, &QCheckBox::toggled, this,
        &ConnectionTab::chkReconnectLineBusy_Click);
    connect(m_ui->UpDown4, &UpDown::Change, this, &ConnectionTab::UpDown4_Change);
    followLine();
}

ConnectionTab::~ConnectionTab() = default;

void ConnectionTab::showConnectedTime(const QString &time)
{
    m_ui->lblTime->setText(time);
}

void ConnectionTab::addAlertButtons(AlertControls::Widgets &widgets) const
{
    widgets.chkAlertConnected = m_ui->chkAlertConnected;
    widgets.chkAlertDisconnected = m_ui->chkAlertDisconnected;
    widgets.cmdAlertConnected = m_ui->cmdAlertConnected;
    widgets.cmdAlertDisconnected = m_ui->cmdAlertDisconnected;
}

void ConnectionTab::followLine()
{
    connect(m_ui->cmdConnect, &QPushButton::clicked, &m_line, &LineController::cmdConnect_Click);
    connect(m_ui->cmdDisconnect, &QPushButton::clicked, &m_line,
        [this] { m_line.cmdDisconnect_Click(true); });
    connect(m_ui->Combo1, &QComboBox::currentTextChanged, &m_line, &LineController::chooseEntry);
    connect(&m_line, &LineController::logged, this, &ConnectionTab::log);
    connect(&m_line, &LineController::logCleared, m_ui->lstConnectState, &QListWidget::clear);
    connect(&m_line, &LineController::dialButtonsChanged, this, &ConnectionTab::setDialButtons);
    connect(&m_line, &LineController::diallingChanged, m_ui->cmdUserLogonSettings,
        [this](bool dialling) { m_ui->cmdUserLogonSettings->setEnabled(!dialling); });
}

void ConnectionTab::load()
{
    loadEntryList();
    const SettingsModel &settings = m_context.model();
    const std::pair<QCheckBox *, SettingKey> boxes[] = {
        {m_ui->chkReconnectLineBusy, Keys::ReconnectLineBusy},
        {m_ui->chkAlertConnected, Keys::AlertConnected},
        {m_ui->chkAlertDisconnected, Keys::AlertDisconnected},
        {m_ui->chkConnectionStartup, Keys::ConnectiononStartup},
        {m_ui->chkUserLogonSettings, Keys::UserLogonSettings},
    };
    for (const auto &[box, key] : boxes)
        Form::followCheck(box, settings, key);
    Form::followCount(m_ui->lblReconnectLineBusy, settings, Keys::ReconnectLineBusyCount);
    applyUserLogonChoice();
    applyReconnectLineBusy();
    for (const QString &line : m_line.log())
        log(line);
    setDialButtons(m_line.connectEnabled(), m_line.disconnectEnabled());
    if (m_line.dialling())
        m_ui->cmdUserLogonSettings->setEnabled(false);
}

void ConnectionTab::loadEntryList()
{
    const mRAS &ras = m_line.dialUp();
    const QString entry = m_line.state().EntryName;
    m_ui->Combo1->clear();
    for (int i = 0; i < ras.EntryCount(); ++i)
        m_ui->Combo1->addItem(ras.EntryAt(i));
    // The list shows the entry the program will test and dial (filling it selected the first).
    // A stored entry the service no longer has stays visible (and dialled) until another is
    // chosen: the list is a drop-down, so it gets a row of its own.
    if (m_ui->Combo1->findText(entry) < 0 && !entry.isEmpty())
        m_ui->Combo1->addItem(entry);
    m_ui->Combo1->setCurrentIndex(m_ui->Combo1->findText(entry));
}

void ConnectionTab::log(const QString &line)
{
    m_ui->lstConnectState->addItem(line);
    m_ui->lstConnectState->setCurrentRow(m_ui->lstConnectState->count() - 1);
}

void ConnectionTab::setDialButtons(bool connectEnabled, bool disconnectEnabled)
{
    m_ui->cmdConnect->setEnabled(connectEnabled);
    m_ui->cmdDisconnect->setEnabled(disconnectEnabled);
}

void ConnectionTab::cmdConnectionDetails_Click()
{
    const QString br = Form::kLineBreak;
    Form::information(m_context.dialogs(), tr("Connection Entries"),
        tr("In order for Brisvane to dial-up and work properly you will need to "
           "create a dial-up networking connection. If you do not already have one "
           "established, you may create one by the following steps:")
            + br + entrySteps(m_line.dialUp().ServiceKind()));
}

// How entries are made for the service in use.
QString ConnectionTab::entrySteps(const QString &service)
{
    const QString br = Form::kLineBreak;
    if (service == QLatin1String("pppd"))
        return tr("1. As root, write a peer file for pppd in /etc/ppp/peers (its modem, number "
                  "and chat script; see \"man pppd\" and the examples in "
                  "/usr/share/doc/ppp/examples)")
            + br + tr("2. Add the user name and password to /etc/ppp/pap-secrets or chap-secrets")
            + br + tr("3. Then open this dialog again: each peer file is an entry");
    if (service == QLatin1String("simulated"))
        return tr("1. This program runs with the simulated service, made for trying it out") + br
            + tr("2. Its entries are simulated lines, one for each way a dial can go") + br
            + tr("3. Set Service=networkmanager or Service=pppd under [DialUp] in "
                 "Brisvane.ini to dial real lines");
    return tr("1. Open your desktop's network settings, or run nm-connection-editor") + br
        + tr("2. Add a connection of the kind your line needs (Mobile Broadband, DSL/PPPoE "
             "or a dial-up modem over Bluetooth)")
        + br + tr("3. Then open this dialog again: each NetworkManager connection is an entry");
}

void ConnectionTab::cmdUserDetails_Click()
{
    Form::information(m_context.dialogs(), tr("User Logon Details"),
        tr("If you do not have a connection entry (Dial-Up Networking Connection), "
           "you may allow Brisvane to connect for you by placing a check in the "
           "checkbox called Dial using User Settings and then clicking the User "
           "Logon Settings button"));
}

void ConnectionTab::cmdDefaultConnection_Click()
{
    m_context.settings().save(Keys::DefaultConnection, m_ui->Combo1->currentText());
}

void ConnectionTab::chkUserLogonSettings_Click()
{
    m_context.settings().save(Keys::UserLogonSettings, Form::checkText(m_ui->chkUserLogonSettings));
    applyUserLogonChoice();
}

void ConnectionTab::applyUserLogonChoice()
{
    const bool userSettings = Form::checkValue(m_ui->chkUserLogonSettings) == 1;
    m_ui->Combo1->setEnabled(!userSettings);
    m_ui->cmdUserLogonSettings->setEnabled(userSettings);
}

void ConnectionTab::cmdUserLogonSettings_Click()
{
    frmUserLogonSettings::open(m_context.settings(), m_context.passwords(), false, window());
}

void ConnectionTab::chkConnectionStartup_Click()
{
    m_context.settings().save(
        Keys::ConnectiononStartup, Form::checkText(m_ui->chkConnectionStartup));
}

void ConnectionTab::chkReconnectLineBusy_Click()
{
    m_context.settings().save(Keys::ReconnectLineBusy, Form::checkText(m_ui->chkReconnectLineBusy));
    applyReconnectLineBusy();
}

void ConnectionTab::applyReconnectLineBusy()
{
    const bool on = Form::checkValue(m_ui->chkReconnectLineBusy) == 1;
    m_ui->lblReconnectLineBusy->setEnabled(on);
    m_ui->UpDown4->setEnabled(on);
}

void ConnectionTab::UpDown4_Change()
{
    const QString text = m_ui->lblReconnectLineBusy->text();
    const auto count = SettingConversions::toInteger(text);
    if (count && *count >= 1 && *count <= 10 && text == QString::number(*count))
        m_context.settings().save(Keys::ReconnectLineBusyCount, text);
}
