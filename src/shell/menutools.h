#pragma once

#include <QString>

class QPixmap;

// What the forms need of the popup menu bands: tools reached by name, their check mark,
// availability, visibility, caption and picture, and the layout file they are kept in. The band
// menu implements it; tests may use a plain recording one.
class MenuTools
{
public:
    virtual ~MenuTools() = default;

    virtual bool toolChecked(const QString &tool) const = 0;
    virtual bool toolEnabled(const QString &tool) const = 0;
    virtual bool toolVisible(const QString &tool) const = 0;
    virtual void setToolChecked(const QString &tool, bool checked) = 0;
    virtual void setToolEnabled(const QString &tool, bool enabled) = 0;
    virtual void setToolVisible(const QString &tool, bool visible) = 0;
    // The caption of a tool as it stands in one band.
    virtual void setToolCaption(const QString &band, const QString &tool, const QString &caption)
        = 0;
    // The picture of a tool as it stands in one band (a program's icon).
    virtual void setToolPicture(const QString &band, const QString &tool, const QPixmap &picture)
        = 0;
    // Brings open bands up to date with the tools' pictures.
    virtual void refreshBands() = 0;
    // Writes the menu layout file; false when it could not be written.
    virtual bool saveLayout() = 0;
};

// The names of the tools and bands the forms reach.
namespace MenuNames {
inline const QString PopupBandBvane = QStringLiteral("PopupBandBvane");
inline const QString PopupBandMailSlots = QStringLiteral("PopupBandMailSlots");
inline const QString PopupBandRunProgram = QStringLiteral("PopupBandRunProgram");
inline const QString mnuAllAccounts = QStringLiteral("mnuAllAccounts");
inline const QString mnuDisableMailChecking = QStringLiteral("mnuDisableMailChecking");
inline const QString mnuDisableProgramsApplications
    = QStringLiteral("mnuDisableProgramsApplications");
inline const QString mnuLoadCustomizeBrisvaneDialogonStartup
    = QStringLiteral("mnuLoadCustomizeBrisvaneDialogonStartup");
inline const QString mnuShowCloseMailProgramMessageDialog
    = QStringLiteral("mnuShowCloseMailProgramMessageDialog");
inline const QString mnuShowDeleteMessageConfirmationDialog
    = QStringLiteral("mnuShowDeleteMessageConfirmationDialog");
inline const QString mnuShowCustomizeBrisvaneReminder
    = QStringLiteral("mnuShowCustomizeBrisvaneReminder");
inline const QString mnuConnect = QStringLiteral("mnuConnect");
inline const QString mnuDisconnect = QStringLiteral("mnuDisconnect");
inline const QString mnuUsage = QStringLiteral("mnuUsage");
inline QString mnuMailSlot(int slot)
{
    return QStringLiteral("mnuMailSlot%1").arg(slot);
}
inline QString mnuProgram(int k)
{
    return QStringLiteral("mnuProgram%1").arg(k);
}
} // namespace MenuNames
