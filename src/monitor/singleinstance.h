#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>

class QSocketNotifier;

// One copy of the program per user. The first copy listens on a local (Unix domain) socket in
// the user's runtime folder; a later copy finds it there and sends it the quit message. The
// socket is the system's own, watched by the event loop: start-up needs no network library.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    // $XDG_RUNTIME_DIR/Brisvane.socket (falls back to Qt's runtime location).
    static QString defaultSocketPath();

    explicit SingleInstance(QString socketPath, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when another copy answers on the socket. Otherwise this copy takes the socket
    // (clearing one left behind by a copy that crashed) and becomes the running copy.
    bool anotherCopyIsRunning();
    // Sends the quit message to the running copy; true when it was delivered.
    bool postQuitToRunningCopy();
    bool isListening() const { return m_listener >= 0; }

Q_SIGNALS:
    // A later copy asked this one to end.
    void quitRequested();

private:
    struct Peer {
        QSocketNotifier *notifier = nullptr;
        QByteArray received;
    };

    bool listen();
    void acceptConnection();
    void readFrom(int fd);
    void drop(int fd);

    QString m_path;
    int m_listener = -1;
    QSocketNotifier *m_accepting = nullptr;
    QHash<int, Peer> m_peers; // by descriptor
};
