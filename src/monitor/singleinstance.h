#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

// One copy of the program per user. The first copy listens on a local socket in the user's
// runtime folder; a later copy finds it there and asks it to show itself: starting the program
// again from the menu brings the running copy's dialog forward.
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
    // Asks the running copy to show itself; true when the message was delivered.
    bool askRunningCopyToShow();
    bool isListening() const;

Q_SIGNALS:
    // A later copy was started: this one is to show itself.
    void showRequested();

private:
    enum class Answer { Nobody, Connected, Busy };

    // Connects `socket` to the copy at the path without ever waiting: a copy whose queue is
    // full (stopped, or hung) is Busy, and holds nobody up.
    Answer connectTo(QLocalSocket &socket) const;
    bool listen();
    void acceptConnections();
    void readFrom(QLocalSocket *peer);

    QString m_path;
    QLocalServer *m_server = nullptr;
};
