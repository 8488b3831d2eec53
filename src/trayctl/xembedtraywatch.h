#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>

#include <cstdint>

struct xcb_connection_t;

namespace pinlib6 {

// Follows the XEmbed tray of the X screen: the owner of the selection _NET_SYSTEM_TRAY_S<n>.
// A tray that starts announces itself with a MANAGER message to the root window; one that
// ends destroys the window that owns the selection. Both reach the program's own X
// connection (Qt listens to the root window's structure already), so the watch reads them
// from Qt's event stream and asks the server nothing while it waits. On other platforms it
// never sees a tray.
class XEmbedTrayWatch : public QObject, public QAbstractNativeEventFilter
{
    Q_OBJECT

public:
    explicit XEmbedTrayWatch(QObject *parent = nullptr);
    ~XEmbedTrayWatch() override;

    bool trayPresent() const { return m_owner != 0; }

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *) override;

Q_SIGNALS:
    void trayPresentChanged(bool present);

private:
    uint32_t currentOwner() const;
    void follow(uint32_t owner);

    xcb_connection_t *m_connection = nullptr;
    uint32_t m_selection = 0;
    uint32_t m_manager = 0;
    uint32_t m_owner = 0;
};

} // namespace pinlib6
