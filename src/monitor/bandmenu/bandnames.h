#pragma once

#include <QString>

// Names of the popup bands and their tools, as the design lays them out. Tools are found by
// these names wherever they stand.
namespace BandNames {

inline const QString LayoutFileName = QStringLiteral("mulayout.tb");

inline const QString PopupBandBvane = QStringLiteral("PopupBandBvane");
inline const QString PopupBandCustomize = QStringLiteral("PopupBandCustomize");
inline const QString PopupBandRunProgram = QStringLiteral("PopupBandRunProgram");
inline const QString PopupBandMailSlots = QStringLiteral("PopupBandMailSlots");
inline const QString PopupBandConnection = QStringLiteral("PopupBandConnection");
inline const QString PopupBandConfirmationMenus = QStringLiteral("PopupBandConfirmationMenus");

// PopupBandBvane
inline const QString mnuConfirmationMenus = QStringLiteral("mnuConfirmation Menus");
inline const QString mnuCustomize = QStringLiteral("mnuCustomize");
inline const QString mnuRunProgram = QStringLiteral("mnuRunProgram");
inline const QString mnuCheckMail = QStringLiteral("mnuCheckMail");
inline const QString mnuConnectionStatus = QStringLiteral("mnuConnectionStatus");
inline const QString mnuAbout = QStringLiteral("mnuAbout");
inline const QString mnuExit = QStringLiteral("mnuExit");
// PopupBandCustomize
inline const QString mnuConnectionProperties = QStringLiteral("mnuConnectionProperties");
inline const QString mnuMailProperties = QStringLiteral("mnuMailProperties");
inline const QString mnuProgramProperties = QStringLiteral("mnuProgramProperties");
inline const QString mnuSettings = QStringLiteral("mnuSettings");
// PopupBandRunProgram: mnuProgram1 ... mnuProgram10
inline QString mnuProgram(int slot)
{
    return QStringLiteral("mnuProgram") + QString::number(slot);
}
inline const QString mnuDisableProgramsApplications
    = QStringLiteral("mnuDisableProgramsApplications");
// PopupBandMailSlots: mnuMailSlot1 ... mnuMailSlot5
inline QString mnuMailSlot(int slot)
{
    return QStringLiteral("mnuMailSlot") + QString::number(slot);
}
inline const QString mnuAllAccounts = QStringLiteral("mnuAllAccounts");
inline const QString mnuDisableMailChecking = QStringLiteral("mnuDisableMailChecking");
// PopupBandConnection
inline const QString mnuConnect = QStringLiteral("mnuConnect");
inline const QString mnuDisconnect = QStringLiteral("mnuDisconnect");
inline const QString mnuUsage = QStringLiteral("mnuUsage");
// PopupBandConfirmationMenus
inline const QString mnuLoadCustomizeBrisvaneDialogonStartup
    = QStringLiteral("mnuLoadCustomizeBrisvaneDialogonStartup");
inline const QString mnuShowCustomizeBrisvaneReminder
    = QStringLiteral("mnuShowCustomizeBrisvaneReminder");
inline const QString mnuShowCloseMailProgramMessageDialog
    = QStringLiteral("mnuShowCloseMailProgramMessageDialog");
inline const QString mnuShowDeleteMessageConfirmationDialog
    = QStringLiteral("mnuShowDeleteMessageConfirmationDialog");

// The tools that switch something on or off. Their entries are toggles checked or not, so that
// a desktop's own menu (DBusMenu's toggle-type) shows them as such while they are off too.
inline bool isToggle(const QString &tool)
{
    for (const QString &name : {mnuDisableProgramsApplications, mnuDisableMailChecking,
             mnuLoadCustomizeBrisvaneDialogonStartup, mnuShowCustomizeBrisvaneReminder,
             mnuShowCloseMailProgramMessageDialog, mnuShowDeleteMessageConfirmationDialog}) {
        if (tool == name)
            return true;
    }
    return false;
}

} // namespace BandNames
