#include "monitor/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray kQuitMessage = QByteArrayLiteral("quit\n");
constexpr qsizetype kLongestMessage = 64;

// The address of `path`; false when it does not fit.
bool addressOf(const QString &path, sockaddr_un *address)
{
    const QByteArray name = QFile::encodeName(path);
    std::memset(address, 0, sizeof *address);
    address->sun_family = AF_UNIX;
    if (name.isEmpty() || size_t(name.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, name.constData(), size_t(name.size()));
    return true;
}

// A socket connected to the copy listening at `path`: -1 when none listens there, -2 when one
// does but its queue is full (it takes no connection: stopped, or hung). The connection never
// waits, so a copy that does not answer cannot hold up the one that asks.
int connectTo(const QString &path)
{
    sockaddr_un address;
    if (!addressOf(path, &address))
        return -1;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return -1;
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        const bool busy = errno == EAGAIN;
        ::close(fd);
        return busy ? -2 : -1;
    }
    return fd;
}

} // namespace

QString SingleInstance::defaultSocketPath()
{
    QString dir = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return QDir(dir).filePath(QStringLiteral("Brisvane.socket"));
}

SingleInstance::SingleInstance(QString socketPath, QObject *parent)
    : QObject(parent)
    , m_path(std::move(socketPath))
{ }

SingleInstance::~SingleInstance()
{
    for (auto peer = m_peers.cbegin(); peer != m_peers.cend(); ++peer)
        ::close(peer.key());
    if (m_listener >= 0) {
        ::close(m_listener);
        QFile::remove(m_path);
    }
}

bool SingleInstance::anotherCopyIsRunning()
{
    const int probe = connectTo(m_path);
    if (probe >= 0)
        ::close(probe);
    if (probe != -1)
        return true;
    // Nobody answers: whatever stands at the path is left over from a copy that ended badly.
    QFile::remove(m_path);
    if (!listen())
        qWarning("Brisvane: cannot listen on %s: %s", qPrintable(m_path), std::strerror(errno));
    return false;
}

bool SingleInstance::listen()
{
    sockaddr_un address;
    if (!addressOf(m_path, &address)) {
        errno = ENAMETOOLONG;
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    // Only this user may ask the running copy to end.
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0
        || ::chmod(address.sun_path, S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 8) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    m_listener = fd;
    m_accepting = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_accepting, &QSocketNotifier::activated, this, &SingleInstance::acceptConnection);
    return true;
}

bool SingleInstance::postQuitToRunningCopy()
{
    const int fd = connectTo(m_path);
    if (fd < 0)
        return false;
    const bool sent
        = ::send(fd, kQuitMessage.constData(), size_t(kQuitMessage.size()), MSG_NOSIGNAL)
        == kQuitMessage.size();
    ::close(fd);
    return sent;
}

void SingleInstance::acceptConnection()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            return;
        Peer &peer = m_peers[fd];
        peer.notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(peer.notifier, &QSocketNotifier::activated, this, [this, fd] { readFrom(fd); });
    }
}

// Only the one message is understood; anything else is ignored.
void SingleInstance::readFrom(int fd)
{
    Peer &peer = m_peers[fd];
    char buffer[kLongestMessage];
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {
        drop(fd);
        return;
    }
    peer.received.append(buffer, got);
    const qsizetype end = peer.received.indexOf('\n');
    if (end < 0 && peer.received.size() < kLongestMessage)
        return;
    const bool quit = peer.received.left(end + 1) == kQuitMessage;
    drop(fd);
    if (quit)
        Q_EMIT quitRequested();
}

void SingleInstance::drop(int fd)
{
    const Peer peer = m_peers.take(fd);
    peer.notifier->setEnabled(false);
    peer.notifier->deleteLater();
    ::close(fd);
}
