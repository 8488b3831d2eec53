#include "scriptedpopserver.h"

#include <QHostAddress>

ScriptedPopServer::ScriptedPopServer(QObject *parent)
    : QObject(parent)
{
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, &ScriptedPopServer::accept);
    setCapabilities({"TOP", "USER", "UIDL"});
    on("USER", QByteArray("+OK\r\n"));
    on("PASS", QByteArray("+OK logged in\r\n"));
    on("STAT", [this](QTcpSocket &client, const QByteArray &) { client.write(statReply()); });
    on("TOP", [this](QTcpSocket &client, const QByteArray &command) {
        client.write(topReply(command.split(' ').value(1).toInt()));
    });
    on("RETR", [this](QTcpSocket &client, const QByteArray &command) {
        client.write(retrReply(command.split(' ').value(1).toInt()));
    });
    on("DELE", QByteArray("+OK marked\r\n"));
    on("QUIT", [](QTcpSocket &client, const QByteArray &) {
        client.write("+OK bye\r\n");
        client.disconnectFromHost();
    });
}

QString ScriptedPopServer::host() const
{
    return QStringLiteral("127.0.0.1:%1").arg(port());
}

void ScriptedPopServer::setCapabilities(const QList<QByteArray> &lines)
{
    QByteArray reply = "+OK capabilities\r\n";
    for (const QByteArray &line : lines)
        reply += line + "\r\n";
    on("CAPA", reply + ".\r\n");
}

void ScriptedPopServer::on(const QByteArray &verb, const QByteArray &reply)
{
    on(verb, [reply](QTcpSocket &client, const QByteArray &) { client.write(reply); });
}

void ScriptedPopServer::on(const QByteArray &verb, Responder responder)
{
    m_responders.insert(verb, std::move(responder));
}

void ScriptedPopServer::accept()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        ++m_connections;
        m_client = client;
        client->setParent(this);
        connect(client, &QTcpSocket::readyRead, this, [this, client] { readCommands(client); });
        connect(client, &QTcpSocket::disconnected, client, &QObject::deleteLater);
        client->write(m_greeting);
    }
}

void ScriptedPopServer::readCommands(QTcpSocket *client)
{
    while (client->canReadLine()) {
        const QByteArray command = client->readLine().trimmed();
        m_commands << command;
        answer(*client, command);
        if (client->state() != QAbstractSocket::ConnectedState)
            return;
    }
}

void ScriptedPopServer::answer(QTcpSocket &client, const QByteArray &command)
{
    const QByteArray verb = command.split(' ').value(0).toUpper();
    const auto responder = m_responders.constFind(verb);
    if (responder == m_responders.cend()) {
        client.write("-ERR unknown command\r\n");
        return;
    }
    (*responder)(client, command);
}

QByteArray ScriptedPopServer::statReply() const
{
    qsizetype size = 0;
    for (const QByteArray &message : m_messages)
        size += message.size();
    return "+OK " + QByteArray::number(m_messages.size()) + ' ' + QByteArray::number(size) + "\r\n";
}

QByteArray ScriptedPopServer::stuffed(const QByteArray &text)
{
    QByteArray out;
    for (const QByteArray &line : text.split('\n')) {
        if (line.startsWith('.'))
            out += '.';
        out += line + '\n';
    }
    out.chop(1);
    if (!out.endsWith("\r\n"))
        out += "\r\n";
    return out;
}

QByteArray ScriptedPopServer::topReply(int number) const
{
    if (number < 1 || number > m_messages.size())
        return "-ERR no such message\r\n";
    const QByteArray &message = m_messages.at(number - 1);
    const qsizetype end = message.indexOf("\r\n\r\n");
    const QByteArray header = end < 0 ? message : message.left(end + 4);
    return "+OK\r\n" + stuffed(header) + ".\r\n";
}

QByteArray ScriptedPopServer::retrReply(int number) const
{
    if (number < 1 || number > m_messages.size())
        return "-ERR no such message\r\n";
    return "+OK\r\n" + stuffed(m_messages.at(number - 1)) + ".\r\n";
}

QByteArray scriptedMessage(
    const QByteArray &from, const QByteArray &subject, const QByteArray &body)
{
    return "From: " + from + "\r\nSubject: " + subject
        + "\r\nDate: Mon, 7 Dec 2026 10:00:00 +0000\r\n\r\n" + body;
}
