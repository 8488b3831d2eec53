#include "shell/desktopsession.h"

#include <QByteArray>
#include <QStringList>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace {

// A whole X connection set-up, so that a refused authorisation counts as not opening either.
// libxcb is in the process already (Qt's own libraries link it).
bool xDisplayOpens(const QByteArray &name)
{
    xcb_connection_t *connection = xcb_connect(name.constData(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opened;
}

// The compositor's socket: WAYLAND_DISPLAY as it stands when it is a path, else in
// XDG_RUNTIME_DIR, as libwayland-client finds it. A full queue still means one listens.
bool waylandDisplayOpens(const QByteArray &name)
{
    QByteArray path = name;
    if (!path.startsWith('/')) {
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        path = runtime + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    const bool opened = ::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        || errno == EAGAIN;
    ::close(fd);
    return opened;
}

} // namespace

QString desktopSessionProblem()
{
    bool x = true;
    bool wayland = true;
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty()) {
        // Qt tries the platforms named in turn ("wayland;xcb", each with ":options"); one
        // that needs no display (offscreen, vnc, eglfs) always starts.
        x = wayland = false;
        for (const QByteArray &entry : chosen.split(';')) {
            const QByteArray name = entry.split(':').constFirst().trimmed();
            if (name == "xcb")
                x = true;
            else if (name.startsWith("wayland"))
                wayland = true;
            else
                return {};
        }
    }
    const QByteArray xName = x ? qgetenv("DISPLAY") : QByteArray();
    QByteArray waylandName = wayland ? qgetenv("WAYLAND_DISPLAY") : QByteArray();
    // Asked for by name, Wayland goes to its default socket when WAYLAND_DISPLAY is unset.
    if (waylandName.isEmpty() && wayland && !chosen.isEmpty())
        waylandName = "wayland-0";
    if (xName.isEmpty() && waylandName.isEmpty()) {
        return QStringLiteral("bvane needs a graphical desktop session: %1 set")
            .arg(wayland ? QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is")
                         : QStringLiteral("DISPLAY is not"));
    }
    if ((!xName.isEmpty() && xDisplayOpens(xName))
        || (!waylandName.isEmpty() && waylandDisplayOpens(waylandName)))
        return {};
    QStringList tried;
    if (!xName.isEmpty())
        tried << QStringLiteral("DISPLAY=") + QString::fromLocal8Bit(xName);
    if (!waylandName.isEmpty())
        tried << QStringLiteral("WAYLAND_DISPLAY=") + QString::fromLocal8Bit(waylandName);
    return QStringLiteral("bvane cannot open the graphical desktop session at %1: no display "
                          "server answers there, or it refused the connection")
        .arg(tried.join(QStringLiteral(" or ")));
}
