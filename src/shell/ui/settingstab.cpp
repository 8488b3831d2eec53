#include "shell/ui/settingstab.h"

#include "connection/linecontroller.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/ui/formhelpers.h"
#include "ui_settingstab.h"

SettingsTab::SettingsTab(AppContext &context, LineController &line, QWidget *parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::SettingsTab>())
    , m_context(context)
{
    m_ui->setupUi(this);
    const std::pair<QCheckBox *, void (SettingsTab::*)()> handlers[] = {
        {m_ui->chkMinimizeTaskbar, &SettingsTab::chkMinimizeTaskbar_Click},
        {m_ui->chkMinimizeSystemTray, &SettingsTab::chkMinimizeSystemTray_Click},
        {m_ui->chkMinimizeTaskbarafterConnecting,
            &SettingsTab::chkMinimizeTaskbarafterConnecting_Click},
        {m_ui->chkMinimizeSystemTrayafterConnecting,
            &SettingsTab::chkMinimizeSystemTrayafterConnecting_Click},
        {m_ui->chkReconnectwhenDisconnected, &SettingsTab::chkReconnectwhenDisconnected_Click},
        {m_ui->chkShowConnect, &SettingsTab::chkShowConnect_Click},
        {m_ui->chkConnectSingleClick, &SettingsTab::chkConnectSingleClick_Click},
        {m_ui->chkMessageHeadersOnly, &SettingsTab::chkMessageHeadersOnly_Click},
        {m_ui->chkCheckMailwhenMinimized, &SettingsTab::chkCheckMailwhenMinimized_Click},
    };
    for (auto [box, handler] : handlers)
        connect(box, &QCheckBox::toggled, this, handler);
    connect(m_ui->cmdDetails, &QPushButton::clicked, this, &SettingsTab::cmdDetails_Click);
    connect(m_ui->cmdDetails2, &QPushButton::clicked, this, &SettingsTab::cmdDetails2_Click);
    // From a dial's start to its hang-up a single click means hanging up: the choice rests.
    connect(&line, &LineController::diallingChanged, m_ui->chkConnectSingleClick,
        [this](bool dialling) { m_ui->chkConnectSingleClick->setEnabled(!dialling); });
    m_ui->chkConnectSingleClick->setEnabled(!line.dialling());
    // Checking mail minimised is a way of scheduled checking.
    connect(&context.model(), &SettingsModel::changed, this, [this](const SettingKey &key) {
        const SettingsModel &settings = m_context.model();
        if (key == Keys::CheckMessages)
            m_ui->chkCheckMailwhenMinimized->setEnabled(settings.isOn(Keys::CheckMessages));
        // The "on startup" boxes apply only while the dialog is loaded at start-up.
        if (key == Keys::LoadCustomizeBrisvaneDialogonStartup) {
            const bool dialogOnStartup = settings.isOn(Keys::LoadCustomizeBrisvaneDialogonStartup);
            m_ui->chkMinimizeTaskbar->setEnabled(dialogOnStartup);
            m_ui->chkMinimizeSystemTray->setEnabled(dialogOnStartup);
        }
    });
}

SettingsTab::~SettingsTab() = default;

void SettingsTab::enableMinimizeChoices(bool enabled)
{
    m_ui->chkMinimizeTaskbar->setEnabled(enabled);
    m_ui->chkMinimizeSystemTray->setEnabled(enabled);
}

void SettingsTab::load(bool dialogOnStartup)
{
    const SettingsModel &settings = m_context.model();
    const std::pair<QCheckBox *, SettingKey> boxes[] = {
        {m_ui->chkReconnectwhenDisconnected, Keys::ReconnectwhenDisconnected},
        {m_ui->chkMinimizeTaskbar, Keys::MinimizeTaskbar},
        {m_ui->chkMinimizeSystemTray, Keys::MinimizeSystemTray},
        {m_ui->chkMinimizeTaskbarafterConnecting, Keys::MinimizeTaskbarafterConnecting},
        {m_ui->chkMinimizeSystemTrayafterConnecting, Keys::MinimizeSystemTrayafterConnecting},
        {m_ui->chkMessageHeadersOnly, Keys::MessageHeadersOnly},
        {m_ui->chkShowConnect, Keys::ShowConnect},
        {m_ui->chkConnectSingleClick, Keys::ConnectSingleClick},
        {m_ui->chkCheckMailwhenMinimized, Keys::CheckMailwhenMinimized},
    };
    for (const auto &[box, key] : boxes)
        Form::followCheck(box, settings, key);
    m_ui->chkCheckMailwhenMinimized->setEnabled(settings.isOn(Keys::CheckMessages));
    m_ui->chkMinimizeTaskbar->setEnabled(dialogOnStartup);
    m_ui->chkMinimizeSystemTray->setEnabled(dialogOnStartup);
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
    storeCheck(m_ui->chkMinimizeTaskbar, Keys::MinimizeTaskbar);
    excludePartner(m_ui->chkMinimizeTaskbar, m_ui->chkMinimizeSystemTray);
}

void SettingsTab::chkMinimizeSystemTray_Click()
{
    storeCheck(m_ui->chkMinimizeSystemTray, Keys::MinimizeSystemTray);
    excludePartner(m_ui->chkMinimizeSystemTray, m_ui->chkMinimizeTaskbar);
}

void SettingsTab::chkMinimizeTaskbarafterConnecting_Click()
{
    storeCheck(m_ui->chkMinimizeTaskbarafterConnecting, Keys::MinimizeTaskbarafterConnecting);
    excludePartner(
        m_ui->chkMinimizeTaskbarafterConnecting, m_ui->chkMinimizeSystemTrayafterConnecting);
}

void SettingsTab::chkMinimizeSystemTrayafterConnecting_Click()
{
    storeCheck(m_ui->chkMinimizeSystemTrayafterConnecting, Keys::MinimizeSystemTrayafterConnecting);
    excludePartner(
        m_ui->chkMinimizeSystemTrayafterConnecting, m_ui->chkMinimizeTaskbarafterConnecting);
}

void SettingsTab::chkReconnectwhenDisconnected_Click()
{
    storeCheck(m_ui->chkReconnectwhenDisconnected, Keys::ReconnectwhenDisconnected);
}

void SettingsTab::chkShowConnect_Click()
{
    storeCheck(m_ui->chkShowConnect, Keys::ShowConnect);
}

void SettingsTab::chkConnectSingleClick_Click()
{
    storeCheck(m_ui->chkConnectSingleClick, Keys::ConnectSingleClick);
}

void SettingsTab::chkMessageHeadersOnly_Click()
{
    storeCheck(m_ui->chkMessageHeadersOnly, Keys::MessageHeadersOnly);
}

void SettingsTab::chkCheckMailwhenMinimized_Click()
{
    storeCheck(m_ui->chkCheckMailwhenMinimized, Keys::CheckMailwhenMinimized);
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
