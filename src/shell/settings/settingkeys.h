#pragma once

#include <QString>

// The one catalogue of every section and key the program reads or writes. No other code
// spells a section or key: it names one of these.
struct SettingKey {
    QString section;
    QString key;
};

namespace Keys {

namespace detail {
inline SettingKey numbered(const char *sectionStem, int n)
{
    const QString number = QString::number(n);
    return {QLatin1String(sectionStem) + number, number};
}
inline SettingKey inSection(const char *section, int n)
{
    return {QLatin1String(section), QString::number(n)};
}
} // namespace detail

#define BVANE_KEY(name, section, key)                                                              \
    inline const SettingKey name                                                                   \
    {                                                                                              \
        QStringLiteral(section), QStringLiteral(key)                                               \
    }

// Connection manager
BVANE_KEY(DefaultConnection, "DefaultConnection", "Connection");
BVANE_KEY(UserLogonSettings, "UserLogonSettings", "LogonSettings");
BVANE_KEY(UserName, "UserName", "UserName");
BVANE_KEY(Password, "Password", "Password");
BVANE_KEY(Number, "Number", "Number");
BVANE_KEY(ReconnectLineBusy, "ReconnectLineBusy", "LineBusy");
BVANE_KEY(ReconnectLineBusyCount, "ReconnectLineBusy", "Busy");
BVANE_KEY(ReconnectwhenDisconnected, "ReconnectwhenDisconnected", "Disconnected");
BVANE_KEY(ConnectiononStartup, "ConnectiononStartup", "Startup");
// Which dial-up service drives the line: "auto", "networkmanager", "pppd" or "simulated".
BVANE_KEY(DialUpService, "DialUp", "Service");
// The modem pppd dials with user settings on (default "/dev/ttyS0").
BVANE_KEY(DialUpModem, "DialUp", "Modem");

// Window behaviour and tray
BVANE_KEY(MinimizeTaskbar, "MinimizeTaskbar", "Taskbar");
BVANE_KEY(MinimizeSystemTray, "MinimizeSystemTray", "SystemTray");
BVANE_KEY(MinimizeTaskbarafterConnecting, "MinimizeTaskbarafterConnecting", "AfterConnecting");
BVANE_KEY(MinimizeSystemTrayafterConnecting, "MinimizeSystemTrayafterConnecting",
    "SystemTrayafterConnecting");
BVANE_KEY(ShowConnect, "ShowConnect", "Connect");
BVANE_KEY(ConnectSingleClick, "ConnectSingleClick", "SingleClick");
BVANE_KEY(CheckMailwhenMinimized, "CheckMailwhenMinimized", "Minimized");

// Start-up dialog, reminders and confirmations
BVANE_KEY(LoadCustomizeBrisvaneDialogonStartup, "LoadCustomizeBrisvaneDialogonStartup",
    "DialogonStartup");
BVANE_KEY(CustomizeBrisvaneDialogonStartup, "CustomizeBrisvaneDialogonStartup", "Startup");
BVANE_KEY(BrisvaneDialogReminder, "BrisvaneDialogReminder", "Reminder");
BVANE_KEY(CustomizeBrisvaneReminder, "CustomizeBrisvaneReminder", "Reminder");
BVANE_KEY(ShowCustomizeBrisvaneReminder, "ShowCustomizeBrisvaneReminder", "Reminder");
BVANE_KEY(CloseMailProgramMessage, "CloseMailProgramMessage", "MailProgramMessage");
BVANE_KEY(
    CloseMailProgramMessageDialog, "CloseMailProgramMessageDialog", "MailProgramMessageDialog");
BVANE_KEY(ShowCloseMailProgramMessage, "ShowCloseMailProgramMessage", "CloseMailProgramMessage");
BVANE_KEY(DeleteMessageConfirmation, "DeleteMessageConfirmation", "MessageConfirmation");
BVANE_KEY(DeleteMessageConfirmationDialog, "DeleteMessageConfirmationDialog",
    "MessageConfirmationDialog");
BVANE_KEY(
    ShowDeleteMessageConfirmation, "ShowDeleteMessageConfirmation", "DeleteMessageConfirmation");
// The notice at start-up that the desktop shows no tray icons: "True" (or nothing stored, the
// default) shows it, "False" not.
BVANE_KEY(NoTrayNotice, "NoTrayNotice", "Notice");
// "Show desktop notifications" in Preferences: "1" (the default, when absent) or "0".
BVANE_KEY(DesktopNotifications, "DesktopNotifications", "Notifications");

// General
BVANE_KEY(FirstTime, "Settings", "FirstTime");
BVANE_KEY(Check, "Settings", "Check");
BVANE_KEY(MailCheck, "Settings", "MailCheck");

// Mail
BVANE_KEY(MailSlotCount, "MailSlot", "Slot");
BVANE_KEY(MailSlotChosen, "MailSlot", "Settings");
BVANE_KEY(CheckMailMinutes, "CheckMailMinutes", "MailMinutes");
BVANE_KEY(PauseBetweenAccounts, "PauseBetweenAccounts", "BetweenAccounts");
BVANE_KEY(CheckMessages, "CheckMessages", "Messages");
BVANE_KEY(MailConnected, "MailConnected", "Connected");
BVANE_KEY(MessageHeadersOnly, "MessageHeadersOnly", "HeadersOnly");
BVANE_KEY(DisableMailChecking, "DisableMailChecking", "MailChecking");
BVANE_KEY(MailProgram, "MailProgram", "Run");
BVANE_KEY(CheckMailExecuted, "CheckMail", "CheckMail");
BVANE_KEY(CheckMailUnload, "CheckMail", "Unload");
// Mail slots 1 to 5
inline SettingKey AccountName(int slot)
{
    return detail::numbered("AccountName", slot);
}
inline SettingKey MailUserName(int slot)
{
    return detail::numbered("UserName", slot);
}
inline SettingKey MailPassword(int slot)
{
    return detail::numbered("Password", slot);
}
inline SettingKey Domain(int slot)
{
    return detail::numbered("Domain", slot);
}

// Program launcher, programs 1 to 10
inline SettingKey Program(int n)
{
    return detail::inSection("Programs", n);
}
inline SettingKey RunConnected(int n)
{
    return detail::inSection("RunConnected", n);
}
inline SettingKey RunDisconnected(int n)
{
    return detail::inSection("RunDisconnected", n);
}
BVANE_KEY(DisableProgramsApplications, "DisableProgramsApplications", "ProgramsApplications");

// Sound alerts
BVANE_KEY(AlertConnected, "AlertConnected", "Connected");
BVANE_KEY(AlertConnectedSound, "AlertConnected", "Sound");
BVANE_KEY(AlertConnectedSelected, "AlertConnected", "Selected");
BVANE_KEY(AlertDisconnected, "AlertDisconnected", "Disconnected");
BVANE_KEY(AlertDisconnectedSound, "AlertDisconnected", "Sound");
BVANE_KEY(AlertDisconnectedSelected, "AlertDisconnected", "Selected");
BVANE_KEY(AlertMailArrive, "AlertMailArrive", "MailArrive");
BVANE_KEY(AlertMailArriveSound, "AlertMailArrive", "Sound");
BVANE_KEY(AlertMailArriveSelected, "AlertMailArrive", "Selected");
BVANE_KEY(AlertMailNoArrive, "AlertMailNoArrive", "MailNoArrive");
BVANE_KEY(AlertMailNoArriveSound, "AlertMailNoArrive", "Sound");
BVANE_KEY(AlertMailNoArriveSelected, "AlertMailNoArrive", "Selected");

#undef BVANE_KEY

} // namespace Keys

// Values the catalogue gives fixed meanings.
namespace SettingValues {
inline const QString FirstTime = QStringLiteral("FirstTime");
inline const QString TrueText = QStringLiteral("True");
inline const QString FalseText = QStringLiteral("False");
inline const QString Checked = QStringLiteral("1");
inline const QString Unchecked = QStringLiteral("0");
} // namespace SettingValues
