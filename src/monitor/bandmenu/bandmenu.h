#pragma once

#include "monitor/bandmenu/band.h"
#include "monitor/bandmenu/bandlayout.h"
#include "monitor/bandmenu/bandtool.h"

#include <QMap>
#include <QObject>
#include <QPoint>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

class QAction;
class QMenu;

// The menu band control: bands of tools shown as popup menus (QMenu), built from the design
// layout and optionally replaced by a saved layout file.
//
// Tools are control-wide and found by name; a property set on a tool shows wherever the tool
// stands, also in a popup that is open. Look tools up by name rather than keeping pointers
// across loadLayout(): a load removes the tools its file does not hold.
class BandMenu : public QObject
{
    Q_OBJECT

public:
    enum class LoadResult { Loaded, Missing, Corrupt };

    // Starts with the design layout.
    explicit BandMenu(QObject *parent = nullptr);
    ~BandMenu() override;

    Band *band(const QString &name) const;
    QList<Band *> bands() const;
    BandTool *tool(const QString &name) const;
    QList<BandTool *> tools() const;

    // Replaces the bands and tools by those of the file. A missing or unreadable file keeps
    // the layout in force and leaves the file alone.
    LoadResult loadLayout(const QString &path);
    // Writes the layout atomically (the old file stays whole until the new one is complete).
    bool saveLayout(const QString &path) const;
    void resetToDesignLayout();
    // The bands and tools as they stand.
    BandLayout layout() const;

    // Brings an open popup up to date with every tool's properties.
    void refreshBands();
    // Shows the band as a popup menu at the mouse position (or `at`, in screen pixels) and
    // returns at once; a chosen tool arrives through toolClick().
    void popupBand(const Band *band, std::optional<QPoint> at = std::nullopt);
    void popupBand(const QString &bandName, std::optional<QPoint> at = std::nullopt);
    // The popup shown last, while it exists (tests read its actions).
    QMenu *currentPopup() const;
    // A lasting menu of the band and its sub-bands, for a tray host that shows the icon's
    // menu itself: every later change of a tool shows in it at once, and its clicks arrive
    // through toolClick() as the popup's do. Built on first use; a layout load builds it
    // anew and announces the new one with iconMenuRebuilt().
    QMenu *iconMenu(const QString &bandName);

Q_SIGNALS:
    // Once per chosen command tool.
    void toolClick(BandTool *tool);
    void iconMenuRebuilt(QMenu *menu);

private:
    void applyLayout(const BandLayout &layout);
    static QString literalText(const QString &caption);
    QMenu *buildMenu(const Band &band, QWidget *parent);
    void syncAction(QAction *action, const BandTool &tool) const;
    void syncTool(const BandTool *tool);

    std::vector<std::unique_ptr<BandTool>> m_tools;
    std::vector<std::unique_ptr<Band>> m_bands;
    void dropDeadActions();

    QPointer<QMenu> m_popup;
    std::unique_ptr<QMenu> m_iconMenu;
    QString m_iconMenuBand;
    QMultiMap<const BandTool *, QPointer<QAction>> m_actions;
};
