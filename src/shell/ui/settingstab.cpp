#include "shell/ui/settingstab.h"

#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "trayctl/lumenpin.h"

SettingsTab::SettingsTab(AppContext &context, Lumenpin &trayIcon, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_trayIcon(trayIcon)
{
    setupUi(this);
    const std::pair<QCheckBox *, void (SettingsTab::*)()> handlers[] = {
        {chkMinimizeTaskbar, &SettingsTab::chkMinimizeTaskbar_Click},
        {chkMinimizeSystemTray, &SettingsTab::chkMinimizeSystemTray_Click},
        {chkMinimizeTaskbarafterConnecting, &SettingsTab::chkMinimizeTaskbarafterConnecting_Click},
        {chkMinimizeSystemTrayafterConnecting,
            &SettingsTab::chkMinimizeSystemTrayafterConnecting_Click},
        {chkReconnectwhenDisconnected, &SettingsTab::chkReconnectwhenDisconnected_Click},
        {chkShowConnect, &SettingsTab::chkShowConnect_Click},
        {chkConnectSingleClick, &SettingsTab::chkConnectSingleClick_Click},
        {chkMessageHeadersOnly, &SettingsTab::chkMessageHeadersOnly_Click},
        {chkCheckMailwhenMinimized, &SettingsTab::chkCheckMailwhenMinimized_Click},
    };
    for (auto [box, handler] : handlers)
        connect(box, &QCheckBox::toggled, this, handler);
    connect(cmdDetails, &QPushButton::clicked, this, &SettingsTab::cmdDetails_Click);
    connect(cmdDetails2, &QPushButton::clicked, this, &SettingsTab::cmdDetails2_Click);
}

QString SettingsTab::idleTrayTip(bool connectSingleClick)
{
    return connectSingleClick
        ? QStringLiteral("Click to Connect / Double-click to zoom dialog to and from tray")
        : QStringLiteral("Single click to zoom dialog to and from tray");
}

void SettingsTab::applyIdleTrayTip()
{
    m_trayIcon.setTrayTip(idleTrayTip(Form::checkValue(chkConnectSingleClick) == 1));
}

void SettingsTab::storeCheck(QCheckBox *box, const SettingKey &key)
{
    m_context.settings().save(key, Form::checkText(box));
}

// The two "on startup" boxes exclude each other, and so do the two "after connecting" ones:
// ticking one greys its partner out, without touching the partner's value.
void SettingsTab::excludePartner(QCheckBox *box, QCheckBox *partner)
{
    partner->setEnabled(Form::checkValue(box) != 1);
}

void SettingsTab::chkMinimizeTaskbar_Click()
{
    storeCheck(chkMinimizeTaskbar, Keys::MinimizeTaskbar);
    excludePartner(chkMinimizeTaskbar, chkMinimizeSystemTray);
}

void SettingsTab::chkMinimizeSystemTray_Click()
{
    storeCheck(chkMinimizeSystemTray, Keys::MinimizeSystemTray);
    excludePartner(chkMinimizeSystemTray, chkMinimizeTaskbar);
}

void SettingsTab::chkMinimizeTaskbarafterConnecting_Click()
{
    storeCheck(chkMinimizeTaskbarafterConnecting, Keys::MinimizeTaskbarafterConnecting);
    excludePartner(chkMinimizeTaskbarafterConnecting, chkMinimizeSystemTrayafterConnecting);
}

void SettingsTab::chkMinimizeSystemTrayafterConnecting_Click()
{
    storeCheck(chkMinimizeSystemTrayafterConnecting, Keys::MinimizeSystemTrayafterConnecting);
    excludePartner(chkMinimizeSystemTrayafterConnecting, chkMinimizeTaskbarafterConnecting);
}

void SettingsTab::chkReconnectwhenDisconnected_Click()
{
    storeCheck(chkReconnectwhenDisconnected, Keys::ReconnectwhenDisconnected);
}

void SettingsTab::chkShowConnect_Click()
{
    storeCheck(chkShowConnect, Keys::ShowConnect);
}

void SettingsTab::chkConnectSingleClick_Click()
{
    storeCheck(chkConnectSingleClick, Keys::ConnectSingleClick);
    applyIdleTrayTip();
}

void SettingsTab::chkMessageHeadersOnly_Click()
{
    storeCheck(chkMessageHeadersOnly, Keys::MessageHeadersOnly);
}

void SettingsTab::chkCheckMailwhenMinimized_Click()
{
    storeCheck(chkCheckMailwhenMinimized, Keys::CheckMailwhenMinimized);
}

void SettingsTab::cmdDetails_Click()
{
    Form::information(m_context.dialogs(), QStringLiteral("Retrieving Message Headers Only"),
        QStringLiteral(
            "This feature lets you retrieve message header information only (subject, date, "
            "time, sender) without needing to retrieve the entire message or attachments. "
            "Normally, most users want to retrieve their mail messages in their entirety "
            "including attachments. However there may be times when you only want to retrieve "
            "the message headers only. This is very convenient for users who do not want to "
            "retrieve large messages from the server to their own machine. It also allows you to "
            "delete the message(s) from the server before retrieving them to your machine."));
}

void SettingsTab::cmdDetails2_Click()
{
    Form::information(m_context.dialogs(),
        QStringLiteral("Checking Mail at a Minimized WindowState"),
        QStringLiteral(
            "This feature allows you to check you mail with the Checking Mail Dialog Box "
            "minimized to the taskbar. This will be useful if you would not like the Checking "
            "Mail dialog to pop up and interrupt you at what you are doing at the current time. "
            "You may only use this feature when you have enabled the <Check messages every x "
            "minutes and pause between messages every x minutes> which is located on the Mail "
            "tab. This feature will not work when you check mail by selecting the appropriate "
            "account by right-clicking the tray icon. Since the window will be minimized, you "
            "will be notified of any new mail by the Checking Mail dialog button in the taskbar "
            "blinking (Windows 98 Platform only), the tray icon will display a mailbox icon "
            "(Windows 95/98 Platform), and perform a notification sound."));
}
