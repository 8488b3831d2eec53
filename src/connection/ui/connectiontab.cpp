#include "connection/ui/connectiontab.h"

#include "connection/ui/frmuserlogonsettings.h"
#include "shell/appcontext.h"
#include "shell/settings/conversions.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"

ConnectionTab::ConnectionTab(AppContext &context, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
{
    setupUi(this);
    UpDown4->setBuddy(lblReconnectLineBusy);
    UpDown4->setRange(1, 10);
    chkReconnectLineBusy->setGaps({{QStringLiteral("retry"), {lblReconnectLineBusy, UpDown4}}});
    connect(cmdConnectionDetails, &QPushButton::clicked, this,
        &ConnectionTab::cmdConnectionDetails_Click);
    connect(cmdUserDetails, &QPushButton::clicked, this, &ConnectionTab::cmdUserDetails_Click);
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
}

void ConnectionTab::cmdConnectionDetails_Click()
{
    const QString br = Form::kLineBreak;
    Form::information(m_context.dialogs(), QStringLiteral("Connection Entries"),
        QStringLiteral("In order for Brisvane to dial-up and work properly you will need to "
                       "create a dial-up networking connection. If you do not already have one "
                       "established, you may create one by the following steps:")
            + br + QStringLiteral("1. Double click on My Computer") + br
            + QStringLiteral("2. Double click on Dial Up Networking") + br
            + QStringLiteral("3. Then follow the steps to create a connection"));
}

void ConnectionTab::cmdUserDetails_Click()
{
    Form::information(m_context.dialogs(), QStringLiteral("User Logon Details"),
        QStringLiteral("If you do not have a connection entry (Dial-Up Networking Connection), "
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
    frmUserLogonSettings::open(m_context.settings(), false, window());
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

int ConnectionTab::busyRetryCount() const
{
    return readCount(m_context.settings(), Keys::ReconnectLineBusyCount,
        lblReconnectLineBusy->text().toInt(), 0, 32766);
}

int ConnectionTab::storedBusyRetryCount(const SettingsStore &store)
{
    return readCount(store, Keys::ReconnectLineBusyCount, kDefaultBusyRetries, 0, 32766);
}
