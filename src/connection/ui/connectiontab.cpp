#include "connection/ui/connectiontab.h"

#include "connection/linecontroller.h"
#include "connection/mras.h"
#include "connection/ui/frmuserlogonsettings.h"
#include "settings/conversions.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"

ConnectionTab::ConnectionTab(AppContext &context, LineController &line, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_line(line)
{
    setupUi(this);
    UpDown4->setBuddy(lblReconnectLineBusy);
    UpDown4->setRange(1, 10);
    // The counter stands after this word of the caption, in each language.
    chkReconnectLineBusy->setGaps(
        {{tr("retry", "the word of \"If line is busy, retry   times...\" the count follows"),
            {lblReconnectLineBusy, UpDown4}}});
    connect(cmdConnectionDetails, &QPushButton::clicked, this,
        &ConnectionTab::cmdConnectionDetails_Click);
    connect(cmdUserDetails, &QPushButton::clicked, this, &ConnectionTab::cmdUserDetails_Click);
    connect(cmdUsage, &QPushButton::clicked, this, &ConnectionTab::usageRequested);
    connect(cmdDefaultConnection, &QPushButton::clicked, this,
        &ConnectionTab::cmdDefaultConnection_Click);
    connect(cmdUserLogonSettings, &QPushButton::clicked, this,
        &ConnectionTab::cmdUserLogonSettings_Click);
    connect(chkUserLogonSettings, &QCheckBox::toggled, this,
        &ConnectionTab::chkUserLogonSettings_Click);
    connect(chkConnectionStartup, &QCheckBox::toggled, this,
        &ConnectionTab::chkConnectionStartup_Click);
    connect(chkReconnectLineBusy, &QCheckBox::toggled, this,
        &ConnectionTab::chkReconnectLineBusy_Click);
    connect(UpDown4, &UpDown::Change, this, &ConnectionTab::UpDown4_Change);
    followLine();
}

void ConnectionTab::followLine()
{
    connect(cmdConnect, &QPushButton::clicked, &m_line, &LineController::cmdConnect_Click);
    connect(cmdDisconnect, &QPushButton::clicked, &m_line,
        [this] { m_line.cmdDisconnect_Click(true); });
    connect(Combo1, &QComboBox::currentTextChanged, &m_line, &LineController::chooseEntry);
    connect(&m_line, &LineController::logged, this, &ConnectionTab::log);
    connect(&m_line, &LineController::logCleared, lstConnectState, &QListWidget::clear);
    connect(&m_line, &LineController::dialButtonsChanged, this, &ConnectionTab::setDialButtons);
    connect(&m_line, &LineController::diallingChanged, cmdUserLogonSettings,
        [this](bool dialling) { cmdUserLogonSettings->setEnabled(!dialling); });
}

void ConnectionTab::load()
{
    loadEntryList();
    const SettingsModel &settings = m_context.model();
    const std::pair<QCheckBox *, SettingKey> boxes[] = {
        {chkReconnectLineBusy, Keys::ReconnectLineBusy},
        {chkAlertConnected, Keys::AlertConnected},
        {chkAlertDisconnected, Keys::AlertDisconnected},
        {chkConnectionStartup, Keys::ConnectiononStartup},
        {chkUserLogonSettings, Keys::UserLogonSettings},
    };
    for (const auto &[box, key] : boxes)
        Form::followCheck(box, settings, key);
    Form::followCount(lblReconnectLineBusy, settings, Keys::ReconnectLineBusyCount);
    applyUserLogonChoice();
    applyReconnectLineBusy();
    for (const QString &line : m_line.log())
        log(line);
    setDialButtons(m_line.connectEnabled(), m_line.disconnectEnabled());
    if (m_line.dialling())
        cmdUserLogonSettings->setEnabled(false);
}

void ConnectionTab::loadEntryList()
{
    const mRAS &ras = m_line.dialUp();
    const QString entry = m_line.state().EntryName;
    Combo1->clear();
    for (int i = 0; i < ras.EntryCount(); ++i)
        Combo1->addItem(ras.EntryAt(i));
    // The list shows the entry the program will test and dial (filling it selected the first).
    // A stored entry the service no longer has stays visible (and dialled) until another is
    // chosen: the list is a drop-down, so it gets a row of its own.
    if (Combo1->findText(entry) < 0 && !entry.isEmpty())
        Combo1->addItem(entry);
    Combo1->setCurrentIndex(Combo1->findText(entry));
}

void ConnectionTab::log(const QString &line)
{
    lstConnectState->addItem(line);
    lstConnectState->setCurrentRow(lstConnectState->count() - 1);
}

void ConnectionTab::setDialButtons(bool connectEnabled, bool disconnectEnabled)
{
    cmdConnect->setEnabled(connectEnabled);
    cmdDisconnect->setEnabled(disconnectEnabled);
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
    m_context.settings().save(Keys::DefaultConnection, Combo1->currentText());
}

void ConnectionTab::chkUserLogonSettings_Click()
{
    m_context.settings().save(Keys::UserLogonSettings, Form::checkText(chkUserLogonSettings));
    applyUserLogonChoice();
}

void ConnectionTab::applyUserLogonChoice()
{
    const bool userSettings = Form::checkValue(chkUserLogonSettings) == 1;
    Combo1->setEnabled(!userSettings);
    cmdUserLogonSettings->setEnabled(userSettings);
}

void ConnectionTab::cmdUserLogonSettings_Click()
{
    frmUserLogonSettings::open(m_context.settings(), m_context.passwords(), false, window());
}

void ConnectionTab::chkConnectionStartup_Click()
{
    m_context.settings().save(Keys::ConnectiononStartup, Form::checkText(chkConnectionStartup));
}

void ConnectionTab::chkReconnectLineBusy_Click()
{
    m_context.settings().save(Keys::ReconnectLineBusy, Form::checkText(chkReconnectLineBusy));
    applyReconnectLineBusy();
}

void ConnectionTab::applyReconnectLineBusy()
{
    const bool on = Form::checkValue(chkReconnectLineBusy) == 1;
    lblReconnectLineBusy->setEnabled(on);
    UpDown4->setEnabled(on);
}

void ConnectionTab::UpDown4_Change()
{
    const QString text = lblReconnectLineBusy->text();
    const auto count = SettingConversions::toInteger(text);
    if (count && *count >= 1 && *count <= 10 && text == QString::number(*count))
        m_context.settings().save(Keys::ReconnectLineBusyCount, text);
}
