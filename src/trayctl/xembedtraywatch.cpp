#include "trayctl/xembedtraywatch.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace pinlib6 {

namespace {
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

uint32_t internAtom(xcb_connection_t *connection, const QByteArray &name)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection,
            xcb_intern_atom(connection, false, uint16_t(name.size()), name.constData()), nullptr),
        &std::free);
    return reply ? reply->atom : 0;
}

// The screen of the display the program runs on, as Qt's X platform takes it: $DISPLAY.
int screenNumber()
{
    char *host = nullptr;
    int display = 0;
    int screen = 0;
    if (!xcb_parse_display(nullptr, &host, &display, &screen))
        screen = 0;
    std::free(host);
    return screen;
}
} // namespace

XEmbedTrayWatch::XEmbedTrayWatch(QObject *parent)
    : QObject(parent)
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return;
    m_connection = x11->connection();
    m_selection
        = internAtom(m_connection, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screenNumber()));
    m_manager = internAtom(m_connection, "MANAGER");
    if (!m_selection || !m_manager)
        return;
    QCoreApplication::instance()->installNativeEventFilter(this);
    follow(currentOwner());
}

XEmbedTrayWatch::~XEmbedTrayWatch() = default; // the filter leaves the application by itself

uint32_t XEmbedTrayWatch::currentOwner() const
{
    const ReplyPtr<xcb_get_selection_owner_reply_t> reply(
        xcb_get_selection_owner_reply(
            m_connection, xcb_get_selection_owner(m_connection, m_selection), nullptr),
        &std::free);
    return reply ? reply->owner : 0;
}

// Listens for the end of the tray's window (its structure events: Qt's own tray tracker asks
// the same of the same window, so the two never disagree on its event mask). A window gone
// before the request counts as no tray.
void XEmbedTrayWatch::follow(uint32_t owner)
{
    if (owner) {
        const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        const ReplyPtr<xcb_generic_error_t> error(
            xcb_request_check(m_connection,
                xcb_change_window_attributes_checked(
                    m_connection, owner, XCB_CW_EVENT_MASK, &mask)),
            &std::free);
        if (error)
            owner = 0;
    }
    const bool wasPresent = trayPresent();
    m_owner = owner;
    if (trayPresent() != wasPresent)
        Q_EMIT trayPresentChanged(trayPresent());
}

bool XEmbedTrayWatch::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    switch (event->response_type & 0x7f) {
    case XCB_CLIENT_MESSAGE: {
        const auto *manager = static_cast<const xcb_client_message_event_t *>(message);
        if (manager->type == m_manager && manager->data.data32[1] == m_selection)
            follow(manager->data.data32[2]);
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        const auto *destroyed = static_cast<const xcb_destroy_notify_event_t *>(message);
        if (m_owner && destroyed->window == m_owner)
            follow(currentOwner()); // a successor may have taken the selection already
        break;
    }
    default: break;
    }
    return false; // Qt's own tray tracker reads the same events
}

} // namespace pinlib6
