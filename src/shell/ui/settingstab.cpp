#include "shell/ui/settingstab.h"

#include "connection/linecontroller.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"

SettingsTab::SettingsTab(AppContext &context, LineController &line, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
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
    // From a dial's start to its hang-up a single click means hanging up: the choice rests.
    connect(&line, &LineController::diallingChanged, chkConnectSingleClick,
        [this](bool dialling) { chkConnectSingleClick->setEnabled(!dialling); });
    chkConnectSingleClick->setEnabled(!line.dialling());
    // Checking mail minimised is a way of scheduled checking.
    connect(&context.model(), &SettingsModel::changed, this, [this](const SettingKey &key) {
        const SettingsModel &settings = m_context.model();
        if (key == Keys::CheckMessages)
            chkCheckMailwhenMinimized->setEnabled(settings.isOn(Keys::CheckMessages));
        // The "on startup" boxes apply only while the dialog is loaded at start-up.
        if (key == Keys::LoadCustomizeBrisvaneDialogonStartup) {
            const bool dialogOnStartup = settings.isOn(Keys::LoadCustomizeBrisvaneDialogonStartup);
            chkMinimizeTaskbar->setEnabled(dialogOnStartup);
            chkMinimizeSystemTray->setEnabled(dialogOnStartup);
        }
    });
}

void SettingsTab::load(bool dialogOnStartup)
{
    const SettingsModel &settings = m_context.model();
    const std::pair<QCheckBox *, SettingKey> boxes[] = {
        {chkReconnectwhenDisconnected, Keys::ReconnectwhenDisconnected},
        {chkMinimizeTaskbar, Keys::MinimizeTaskbar},
        {chkMinimizeSystemTray, Keys::MinimizeSystemTray},
        {chkMinimizeTaskbarafterConnecting, Keys::MinimizeTaskbarafterConnecting},
        {chkMinimizeSystemTrayafterConnecting, Keys::MinimizeSystemTrayafterConnecting},
        {chkMessageHeadersOnly, Keys::MessageHeadersOnly},
        {chkShowConnect, Keys::ShowConnect},
        {chkConnectSingleClick, Keys::ConnectSingleClick},
        {chkCheckMailwhenMinimized, Keys::CheckMailwhenMinimized},
    };
    for (const auto &[box, key] : boxes)
        Form::followCheck(box, settings, key);
    chkCheckMailwhenMinimized->setEnabled(settings.isOn(Keys::CheckMessages));
    chkMinimizeTaskbar->setEnabled(dialogOnStartup);
    chkMinimizeSystemTray->setEnabled(dialogOnStartup);
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
    Form::information(m_context.dialogs(), tr("Retrieving Message Headers Only"),
        tr("This feature lets you retrieve message header information only (subject, date, "
           "time, sender) without needing to retrieve the entire message or attachments. "
           "Normally, most users want to retrieve their mail messages in their entirety "
           "including attachments. However there may be times when you only want to retrieve "
           "the message headers only. This is very convenient for users who do not want to "
           "retrieve large messages from the server to their own machine. It also allows you to "
           "delete the message(s) from the server before retrieving them to your machine."));
}

void SettingsTab::cmdDetails2_Click()
{
    Form::information(m_context.dialogs(), tr("Checking Mail at a Minimized WindowState"),
        tr("This feature allows you to check you mail with the Checking Mail Dialog Box "
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
