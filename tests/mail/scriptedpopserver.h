#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

// A POP3 server inside the test process, on a free loopback port, answering from a script.
// By default it serves a small mailbox (CAPA with TOP and USER, any user and password);
// a test replaces the answer to any command word with bytes of its own or a function that
// writes what it likes (or nothing, or closes the connection).
class ScriptedPopServer : public QObject
{
    Q_OBJECT

public:
    using Responder = std::function<void(QTcpSocket &client, const QByteArray &command)>;

    explicit ScriptedPopServer(QObject *parent = nullptr);

    QString host() const;
    quint16 port() const { return m_server.serverPort(); }
    void setGreeting(const QByteArray &bytes) { m_greeting = bytes; }
    void setCapabilities(const QList<QByteArray> &lines);
    void setMessages(const QList<QByteArray> &messages) { m_messages = messages; }
    // The answer to commands whose first word is `verb` (upper case).
    void on(const QByteArray &verb, const QByteArray &reply);
    void on(const QByteArray &verb, Responder responder);

    QList<QByteArray> commands() const { return m_commands; }
    bool received(const QByteArray &command) const { return m_commands.contains(command); }
    int connections() const { return m_connections; }
    QTcpSocket *client() const { return m_client; }

    // A message's header (up to the blank line) or all of it, dot-stuffed, as a reply.
    QByteArray topReply(int number) const;
    QByteArray retrReply(int number) const;

private:
    void accept();
    void readCommands(QTcpSocket *client);
    void answer(QTcpSocket &client, const QByteArray &command);
    QByteArray statReply() const;
    static QByteArray stuffed(const QByteArray &text);

    QTcpServer m_server;
    QByteArray m_greeting = "+OK scripted server ready\r\n";
    QMap<QByteArray, Responder> m_responders;
    QList<QByteArray> m_messages;
    QList<QByteArray> m_commands;
    QPointer<QTcpSocket> m_client;
    int m_connections = 0;
};

// A short message for the default mailbox.
QByteArray scriptedMessage(
    const QByteArray &from, const QByteArray &subject, const QByteArray &body = "Hello.\r\n");
