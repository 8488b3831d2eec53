#include "monitor/bandmenu/bandlayout.h"
#include "monitor/bandmenu/bandnames.h"

#include <algorithm>

namespace {

// The design's captions are English; the menu shows them translated (context "BandMenu").
struct ToolRow {
    QString name;
    QString caption;
    QString opens;
};

void addBand(
    BandLayout &layout, const QString &name, const QString &caption, const QList<ToolRow> &rows)
{
    BandLayout::BandEntry band{name, caption, {}};
    for (const ToolRow &row : rows) {
        BandTool::State tool;
        tool.name = row.name;
        tool.caption = row.caption;
        tool.opensBand = row.opens;
        layout.tools.append(tool);
        band.tools.append(row.name);
    }
    layout.bands.append(band);
}

QList<ToolRow> programRows()
{
    QList<ToolRow> rows;
    for (int slot = 1; slot <= 10; ++slot)
        rows.append({BandNames::mnuProgram(slot), QStringLiteral("Program%1").arg(slot), {}});
    rows.append({BandNames::mnuDisableProgramsApplications,
        QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Disable Programs/Applications")), {}});
    return rows;
}

QList<ToolRow> mailSlotRows()
{
    QList<ToolRow> rows;
    for (int slot = 1; slot <= 5; ++slot)
        rows.append({BandNames::mnuMailSlot(slot), QStringLiteral("MailSlot %1").arg(slot), {}});
    rows.append({BandNames::mnuAllAccounts,
        QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "All Accounts")), {}});
    rows.append({BandNames::mnuDisableMailChecking,
        QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Disable Mail Checking")), {}});
    return rows;
}

} // namespace

BandLayout withNewDesignTools(BandLayout saved)
{
    // The commands added to the design since layout files were first written.
    const QStringList later{BandNames::mnuUsage};
    const BandLayout design = designBandLayout();
    const auto hasTool = [&saved](const QString &name) {
        return std::any_of(saved.tools.cbegin(), saved.tools.cend(),
            [&name](const BandTool::State &tool) { return tool.name == name; });
    };
    for (const BandLayout::BandEntry &band : design.bands) {
        auto kept = std::find_if(saved.bands.begin(), saved.bands.end(),
            [&band](const BandLayout::BandEntry &entry) { return entry.name == band.name; });
        if (kept == saved.bands.end())
            continue;
        for (const BandTool::State &tool : design.tools) {
            if (band.tools.contains(tool.name) && later.contains(tool.name)
                && !hasTool(tool.name)) {
                saved.tools.append(tool);
                kept->tools.append(tool.name);
            }
        }
    }
    return saved;
}

BandLayout designBandLayout()
{
    using namespace BandNames;
    BandLayout layout;
    addBand(layout, PopupBandBvane, QStringLiteral("Bvane"),
        {
            {mnuConfirmationMenus,
                QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Confirmation Menus")),
                PopupBandConfirmationMenus},
            {mnuCustomize, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Customize")),
                PopupBandCustomize},
            {mnuRunProgram, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Run Program")),
                PopupBandRunProgram},
            {mnuCheckMail, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Check Mail")),
                PopupBandMailSlots},
            {mnuConnectionStatus,
                QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Connection Status")),
                PopupBandConnection},
            {mnuAbout, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "About")), {}},
            {mnuExit, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Exit")), {}},
        });
    addBand(layout, PopupBandCustomize, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Customize")),
        {
            {mnuConnectionProperties,
                QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Connection Properties")), {}},
            {mnuMailProperties, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Mail Properties")),
                {}},
            {mnuProgramProperties,
                QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Program Properties")), {}},
            {mnuSettings, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Settings")), {}},
        });
    addBand(layout, PopupBandRunProgram, QStringLiteral("RunProgram"), programRows());
    addBand(layout, PopupBandMailSlots, QStringLiteral("MailSlots"), mailSlotRows());
    addBand(layout, PopupBandConnection,
        QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Connection")),
        {
            {mnuConnect, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Connect")), {}},
            {mnuDisconnect, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Disconnect")), {}},
            {mnuUsage, QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Usage...")), {}},
        });
    addBand(layout, PopupBandConfirmationMenus,
        QStringLiteral(QT_TRANSLATE_NOOP("BandMenu", "Confirmation Menus")),
        {
            {mnuLoadCustomizeBrisvaneDialogonStartup,
                QStringLiteral(
                    QT_TRANSLATE_NOOP("BandMenu", "Show Customize Brisvane Dialog on Startup")),
                {}},
            {mnuShowCustomizeBrisvaneReminder,
                QStringLiteral(
                    QT_TRANSLATE_NOOP("BandMenu", "Show Customize Brisvane Dialog Reminder")),
                {}},
            {mnuShowCloseMailProgramMessageDialog,
                QStringLiteral(
                    QT_TRANSLATE_NOOP("BandMenu", "Show Close Mail Program Message Dialog")),
                {}},
            {mnuShowDeleteMessageConfirmationDialog,
                QStringLiteral(
                    QT_TRANSLATE_NOOP("BandMenu", "Show Delete Message Confirmation Dialog")),
                {}},
        });
    return layout;
}
