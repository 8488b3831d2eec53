#pragma once

#include <QString>

// What kind of value a key holds, which decides how SettingsModel reads it.
enum class SettingType {
    Text, // free text, paths, passwords
    CheckState, // a check box: "1" checked, "0" unchecked, "2" the grey third state
    Truth, // "True"/"False" (or a number: non-zero is true)
    Count, // a decimal count within [minimum, maximum]
};

// The one catalogue of every section and key the program reads or writes, each with its type
// and the default a reader gets while nothing (or nothing readable) is stored. No other code
// spells a section or key: it names one of these.
struct SettingKey {
    QString section;
    QString key;
    SettingType type = SettingType::Text;
    QString defaultValue = {};
    int minimum = 0;
    int maximum = 0;

    // Sections and keys match without regard to case, as the store finds them.
    bool operator==(const SettingKey &other) const
    {
        return section.compare(other.section, Qt::CaseInsensitive) == 0
            && key.compare(other.key, Qt::CaseInsensitive) == 0;
    }
};

namespace Keys {

namespace detail {
inline SettingKey numbered(const char *sectionStem, int n)
{
    const QString number = QString::number(n);
    return {QLatin1String(sectionStem) + number, number};
}
inline SettingKey inSection(
    const char *section, int n, SettingType type = SettingType::Text, const char *defaultValue = "")
{
    return {QLatin1String(section), QString::number(n), type, QLatin1String(defaultValue)};
}
inline SettingKey check(const char *section, const char *key, const char *defaultValue = "0")
{
    return {QLatin1String(section), QLatin1String(key), SettingType::CheckState,
        QLatin1String(defaultValue)};
}
inline SettingKey truth(const char *section, const char *key, const char *defaultValue)
{
    return {QLatin1String(section), QLatin1String(key), SettingType::Truth,
        QLatin1String(defaultValue)};
}
inline SettingKey count(
    const char *section, const char *key, const char *defaultValue, int minimum, int maximum)
{
    return {QLatin1String(section), QLatin1String(key), SettingType::Count,
        QLatin1String(defaultValue), minimum, maximum};
}
} // namespace detail

#define BVANE_KEY(name, section, key)                                                              \
    inline const SettingKey name                                                                   \
    {                                                                                              \
        QStringLiteral(section), QStringLiteral(key)                                               \
    }
#define BVANE_CHECK(name, section, key, ...)                                                       \
    inline const SettingKey name = detail::check(section, key __VA_OPT__(, ) __VA_ARGS__)
#define BVANE_TRUTH(name, section, key, defaultValue)                                              \
    inline const SettingKey name = detail::truth(section, key, defaultValue)
#define BVANE_COUNT(name, section, key, defaultValue, minimum, maximum)                            \
    inline const SettingKey name = detail::count(section, key, defaultValue, minimum, maximum)

// Connection manager
BVANE_KEY(DefaultConnection, "DefaultConnection", "Connection");
BVANE_CHECK(UserLogonSettings, "UserLogonSettings", "LogonSettings");
BVANE_KEY(UserName, "UserName", "UserName");
BVANE_KEY(Password, "Password", "Password");
BVANE_KEY(Number, "Number", "Number");
BVANE_CHECK(ReconnectLineBusy, "ReconnectLineBusy", "LineBusy");
BVANE_COUNT(ReconnectLineBusyCount, "ReconnectLineBusy", "Busy", "1", 0, 32766);
BVANE_CHECK(ReconnectwhenDisconnected, "ReconnectwhenDisconnected", "Disconnected");
BVANE_CHECK(ConnectiononStartup, "ConnectiononStartup", "Startup");
// Which dial-up service drives the line: "auto", "networkmanager", "pppd" or "simulated".
BVANE_KEY(DialUpService, "DialUp", "Service");
// The modem pppd dials with user settings on (default "/dev/ttyS0").
BVANE_KEY(DialUpModem, "DialUp", "Modem");

// Window behaviour and tray
BVANE_CHECK(MinimizeTaskbar, "MinimizeTaskbar", "Taskbar");
BVANE_CHECK(MinimizeSystemTray, "MinimizeSystemTray", "SystemTray");
BVANE_CHECK(MinimizeTaskbarafterConnecting, "MinimizeTaskbarafterConnecting", "AfterConnecting");
BVANE_CHECK(MinimizeSystemTrayafterConnecting, "MinimizeSystemTrayafterConnecting",
    "SystemTrayafterConnecting");
BVANE_CHECK(ShowConnect, "ShowConnect", "Connect");
BVANE_CHECK(ConnectSingleClick, "ConnectSingleClick", "SingleClick");
BVANE_CHECK(CheckMailwhenMinimized, "CheckMailwhenMinimized", "Minimized");

// Start-up dialog, reminders and confirmations
BVANE_TRUTH(LoadCustomizeBrisvaneDialogonStartup, "LoadCustomizeBrisvaneDialogonStartup",
    "DialogonStartup", "False");
BVANE_CHECK(CustomizeBrisvaneDialogonStartup, "CustomizeBrisvaneDialogonStartup", "Startup");
BVANE_CHECK(BrisvaneDialogReminder, "BrisvaneDialogReminder", "Reminder");
BVANE_TRUTH(CustomizeBrisvaneReminder, "CustomizeBrisvaneReminder", "Reminder", "False");
BVANE_TRUTH(ShowCustomizeBrisvaneReminder, "ShowCustomizeBrisvaneReminder", "Reminder", "False");
BVANE_TRUTH(CloseMailProgramMessage, "CloseMailProgramMessage", "MailProgramMessage", "False");
BVANE_CHECK(
    CloseMailProgramMessageDialog, "CloseMailProgramMessageDialog", "MailProgramMessageDialog");
BVANE_TRUTH(
    ShowCloseMailProgramMessage, "ShowCloseMailProgramMessage", "CloseMailProgramMessage", "False");
BVANE_TRUTH(DeleteMessageConfirmation, "DeleteMessageConfirmation", "MessageConfirmation", "False");
BVANE_CHECK(DeleteMessageConfirmationDialog, "DeleteMessageConfirmationDialog",
    "MessageConfirmationDialog");
BVANE_TRUTH(ShowDeleteMessageConfirmation, "ShowDeleteMessageConfirmation",
    "DeleteMessageConfirmation", "False");
// The notice at start-up that the desktop shows no tray icons: "True" (or nothing stored, the
// default) shows it, "False" not.
BVANE_TRUTH(NoTrayNotice, "NoTrayNotice", "Notice", "True");
// "Show desktop notifications" in Preferences: "1" (the default, when absent) or "0".
BVANE_CHECK(DesktopNotifications, "DesktopNotifications", "Notifications", "1");
// Quiet hours (Preferences): while "On" is "1", from From to Until ("HH:mm", the clock's time
// of day; the range may pass midnight) no sound plays and notifications wait for its end.
BVANE_CHECK(QuietHours, "QuietHours", "On");
inline const SettingKey QuietFrom{QStringLiteral("QuietHours"), QStringLiteral("From"),
    SettingType::Text, QStringLiteral("22:00")};
inline const SettingKey QuietUntil{QStringLiteral("QuietHours"), QStringLiteral("Until"),
    SettingType::Text, QStringLiteral("07:00")};

// Usage record: an optional monthly limit (Preferences). Amount 0 means no limit; the unit is
// "hours" (the default) or "megabytes". The months ("yyyy-MM") whose 80 % and 100 % notices
// were sent, so that each comes once a month.
BVANE_COUNT(UsageLimitAmount, "UsageLimit", "Amount", "0", 0, 1000000);
BVANE_KEY(UsageLimitUnit, "UsageLimit", "Unit");
BVANE_KEY(UsageLimitNoticed80, "UsageLimit", "Noticed80");
BVANE_KEY(UsageLimitNoticed100, "UsageLimit", "Noticed100");

// General
BVANE_KEY(FirstTime, "Settings", "FirstTime");
// The passwords kept in the desktop keyring, by section, separated by spaces: the keyring
// giving nothing for one of them is a failure (locked, access declined), not an empty password.
BVANE_KEY(PasswordsInKeyring, "Settings", "PasswordsInKeyring");
BVANE_CHECK(Check, "Settings", "Check");
BVANE_TRUTH(MailCheck, "Settings", "MailCheck", "False");

// Mail
BVANE_COUNT(MailSlotCount, "MailSlot", "Slot", "", 0, 5);
BVANE_KEY(MailSlotChosen, "MailSlot", "Settings");
BVANE_COUNT(CheckMailMinutes, "CheckMailMinutes", "MailMinutes", "1", 1, 30);
BVANE_COUNT(PauseBetweenAccounts, "PauseBetweenAccounts", "BetweenAccounts", "1", 1, 5);
BVANE_CHECK(CheckMessages, "CheckMessages", "Messages");
BVANE_CHECK(MailConnected, "MailConnected", "Connected");
BVANE_CHECK(MessageHeadersOnly, "MessageHeadersOnly", "HeadersOnly");
BVANE_CHECK(DisableMailChecking, "DisableMailChecking", "MailChecking");
BVANE_KEY(MailProgram, "MailProgram", "Run");
BVANE_CHECK(CheckMailExecuted, "CheckMail", "CheckMail");
BVANE_CHECK(CheckMailUnload, "CheckMail", "Unload");
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
// The POP/Domain text the user allowed to get the password without TLS, and the one for which
// that was declined (each asked once per server).
inline SettingKey ClearTextAllowed(int slot)
{
    return detail::numbered("ClearTextAllowed", slot);
}
inline SettingKey ClearTextDeclined(int slot)
{
    return detail::numbered("ClearTextDeclined", slot);
}
// An IMAP slot's check window lists its unread messages only ("1", the default) or all.
inline SettingKey ListUnreadOnly(int slot)
{
    SettingKey key = detail::numbered("ListUnreadOnly", slot);
    key.type = SettingType::CheckState;
    key.defaultValue = QStringLiteral("1");
    return key;
}
// The POP/Domain text the slot last logged on to with TLS: without TLS there now, it refuses.
inline SettingKey TlsSeen(int slot)
{
    return detail::numbered("TlsSeen", slot);
}
// The certificate the user trusted for the slot's server: its SHA-256 (hex), a space, and the
// POP/Domain text it was trusted for.
inline SettingKey TrustedCertificate(int slot)
{
    return detail::numbered("TrustedCertificate", slot);
}

// Program launcher, programs 1 to 10
inline SettingKey Program(int n)
{
    return detail::inSection("Programs", n);
}
inline SettingKey RunConnected(int n)
{
    return detail::inSection("RunConnected", n, SettingType::CheckState, "0");
}
inline SettingKey RunDisconnected(int n)
{
    return detail::inSection("RunDisconnected", n, SettingType::CheckState, "0");
}
BVANE_CHECK(DisableProgramsApplications, "DisableProgramsApplications", "ProgramsApplications");

// Sound alerts
BVANE_CHECK(AlertConnected, "AlertConnected", "Connected");
BVANE_KEY(AlertConnectedSound, "AlertConnected", "Sound");
BVANE_KEY(AlertConnectedSelected, "AlertConnected", "Selected");
BVANE_CHECK(AlertDisconnected, "AlertDisconnected", "Disconnected");
BVANE_KEY(AlertDisconnectedSound, "AlertDisconnected", "Sound");
BVANE_KEY(AlertDisconnectedSelected, "AlertDisconnected", "Selected");
BVANE_CHECK(AlertMailArrive, "AlertMailArrive", "MailArrive");
BVANE_KEY(AlertMailArriveSound, "AlertMailArrive", "Sound");
BVANE_KEY(AlertMailArriveSelected, "AlertMailArrive", "Selected");
BVANE_CHECK(AlertMailNoArrive, "AlertMailNoArrive", "MailNoArrive");
BVANE_KEY(AlertMailNoArriveSound, "AlertMailNoArrive", "Sound");
BVANE_KEY(AlertMailNoArriveSelected, "AlertMailNoArrive", "Selected");

#undef BVANE_KEY
#undef BVANE_CHECK
#undef BVANE_TRUTH
#undef BVANE_COUNT

} // namespace Keys

// Values the catalogue gives fixed meanings.
namespace SettingValues {
inline const QString FirstTime = QStringLiteral("FirstTime");
inline const QString TrueText = QStringLiteral("True");
inline const QString FalseText = QStringLiteral("False");
inline const QString Checked = QStringLiteral("1");
inline const QString Unchecked = QStringLiteral("0");
} // namespace SettingValues
