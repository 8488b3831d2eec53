#pragma once

#include "trayctl/trayservice.h"

#include <QList>
#include <QMenu>
#include <QRect>

namespace pinlib6 {

// Keeps every operation with its record and whether it succeeded, for tests; plays mouse
// activity on a registered icon.
class RecordingTrayService : public TrayService
{
    Q_OBJECT

public:
    struct Call {
        Operation operation;
        NotifyRecord record;
        bool accepted;
    };

    using TrayService::TrayService;

    bool notify(Operation operation, const NotifyRecord &record) override;
    QRect trayGeometry() const override { return m_geometry; }
    void setTrayGeometry(const QRect &geometry) { m_geometry = geometry; }
    // Keeps the menu; the host takes it when told to (a StatusNotifier host) with
    // setHostShowsMenus(true).
    bool setIconMenu(quintptr window, int iconId, QMenu *menu) override;
    void setHostShowsMenus(bool shows) { m_hostShowsMenus = shows; }
    QMenu *iconMenu() const { return m_menu; }
    bool trayAvailable() const override { return m_available; }
    // A tray host appearing (true, the default) or going away; tells the change.
    void setTrayAvailable(bool available);

    const QList<Call> &calls() const { return m_calls; }
    void clear() { m_calls.clear(); }
    bool iconShown() const { return !m_icons.isEmpty(); }
    // The icon as the tray shows it now (the first one registered).
    NotifyRecord shown() const;
    // The tip of the last operation that carried one.
    QString lastTip() const;
    // Mouse activity on the first registered icon; false when there is none.
    bool send(int mouseMessage);

private:
    QList<Call> m_calls;
    QList<NotifyRecord> m_icons;
    QRect m_geometry;
    QMenu *m_menu = nullptr;
    bool m_hostShowsMenus = false;
    bool m_available = true;
};

} // namespace pinlib6
