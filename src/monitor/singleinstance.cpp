#include "monitor/singleinstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {
const QByteArray kShowMessage = QByteArrayLiteral("show\n");
constexpr qsizetype kLongestMessage = 64;
constexpr int kBacklog = 8;
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

SingleInstance::~SingleInstance() = default; // the server removes its socket as it closes

bool SingleInstance::isListening() const
{
    return m_server && m_server->isListening();
}

// Qt's local socket connects without blocking; when the peer's queue is full it stays
// "connecting" and would retry later, which it is never given the chance to do here.
SingleInstance::Answer SingleInstance::connectTo(QLocalSocket &socket) const
{
    socket.connectToServer(m_path);
    switch (socket.state()) {
    case QLocalSocket::ConnectedState: return Answer::Connected;
    case QLocalSocket::ConnectingState: socket.abort(); return Answer::Busy;
    default: return Answer::Nobody;
    }
}

bool SingleInstance::anotherCopyIsRunning()
{
    QLocalSocket probe;
    if (connectTo(probe) != Answer::Nobody) {
        probe.abort();
        return true;
    }
    // Nobody answers: whatever stands at the path is left over from a copy that ended badly.
    QLocalServer::removeServer(m_path);
    if (!listen())
        qWarning("Brisvane: cannot listen on %s: %s", qPrintable(m_path),
            qPrintable(m_server->errorString()));
    return false;
}

bool SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    // Only this user may talk to the running copy.
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setListenBacklogSize(kBacklog);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptConnections);
    return m_server->listen(m_path);
}

bool SingleInstance::askRunningCopyToShow()
{
    QLocalSocket socket;
    if (connectTo(socket) != Answer::Connected)
        return false;
    socket.write(kShowMessage);
    socket.flush();
    const bool sent = socket.bytesToWrite() == 0;
    socket.abort();
    return sent;
}

void SingleInstance::acceptConnections()
{
    while (QLocalSocket *peer = m_server->nextPendingConnection()) {
        connect(peer, &QLocalSocket::readyRead, this, [this, peer] { readFrom(peer); });
        connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
        peer->setReadBufferSize(kLongestMessage);
    }
}

// Only the one message is understood; anything else, or a line that does not end, drops the
// peer.
void SingleInstance::readFrom(QLocalSocket *peer)
{
    if (!peer->canReadLine() && peer->bytesAvailable() < kLongestMessage)
        return;
    const bool show = peer->readLine(kLongestMessage) == kShowMessage;
    peer->disconnect(this);
    peer->abort();
    peer->deleteLater();
    if (show)
        Q_EMIT showRequested();
}
