#pragma once

#include <QObject>

class QSocketNotifier;

// The signals that ask a desktop program to end: SIGTERM (the session's log-out, a service
// manager), SIGHUP (the terminal or the session went away) and SIGINT (Ctrl+C in a terminal).
// Their handler only writes the signal's number into a pipe; the event loop reads it and emits
// `received`, so the program ends on its ordinary path (open rows closed, sockets removed)
// instead of by the default action, which runs no destructor. While one exists it owns the
// three signals; its end gives them back their default action.
class QuitSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitSignals(QObject *parent = nullptr);
    ~QuitSignals() override;
    QuitSignals(const QuitSignals &) = delete;
    QuitSignals &operator=(const QuitSignals &) = delete;

    // False when the pipe could not be made (the signals then keep their default action).
    bool isWatching() const { return m_notifier != nullptr; }

Q_SIGNALS:
    void received(int signalNumber);

private:
    void readPipe();

    QSocketNotifier *m_notifier = nullptr;
};
