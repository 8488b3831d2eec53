#pragma once

#include "clock/clock.h"
#include "clock/timer.h"
#include "mail/mailcontrol.h"

#include <QHash>
#include <QStringList>

// The mail server a scripted control talks to: one mailbox per host, and a log of what the
// controls asked, each line stamped with the clock's millisecond.
struct ScriptedMailServer {
    struct Mailbox {
        QStringList subjects; // one message per subject
        bool refuseLogOn = false;
        bool echoPassword = false; // the refusal quotes the password it was given
        QList<int> refuseDelete; // message numbers whose DELE the server refuses
        int logOnMs = 1; // how long the answer to a log-on takes
        int dropAtHeader = 0; // the connection dies when this header is asked for (0: never)
        QString alert; // sent with the log-on's answer and each header's, as a server may
    };
    explicit ScriptedMailServer(Clock &clock)
        : clock(clock)
    { }
    QStringList linesLike(const QString &start) const
    {
        QStringList out;
        for (const QString &line : log) {
            if (line.section(u' ', 1).startsWith(start))
                out << line;
        }
        return out;
    }
    void note(const QString &what) { log << QString::number(clock.tickCount()) + u' ' + what; }
    // The clock's millisecond of the n-th line that starts with `start`.
    qint64 when(const QString &start, int n = 0) const
    {
        return linesLike(start).value(n).section(u' ', 0, 0).toLongLong();
    }

    Clock &clock;
    QHash<QString, Mailbox> boxes;
    QStringList log;
    int controlsMade = 0;
};

// A mail control with a script instead of a socket. Like the real one it answers from the
// event loop, never inside the call.
class ScriptedMailControl : public MailControl
{
public:
    explicit ScriptedMailControl(ScriptedMailServer &server)
        : m_server(server)
    { }

    void setHost(const QString &host) override { m_host = host; }
    void setUserName(const QString &name) override { m_user = name; }
    void setPassword(const QString &password) override { m_password = password; }
    void LogOn() override
    {
        m_server.note(QStringLiteral("LOGON ") + m_host + u' ' + m_user);
        const auto box = m_server.boxes.value(m_host);
        if (box.refuseLogOn || !m_server.boxes.contains(m_host)) {
            m_count = 0;
            const QString text = QStringLiteral("-ERR refused")
                + (box.echoPassword ? QStringLiteral(" for ") + m_password : QString());
            later([this, text] { Q_EMIT Error(1, text); }, box.logOnMs);
            return;
        }
        m_count = qint16(box.subjects.size());
        m_open = true;
        sendAlert();
        later([this] { Q_EMIT Done(); }, box.logOnMs);
    }
    qint16 MessageCount() const override { return m_count; }
    void setMessageNumber(qint16 number) override { m_number = number; }
    void RetrieveHeader() override
    {
        const int drop = m_server.boxes.value(m_host).dropAtHeader;
        if (!m_open || (drop > 0 && m_number >= drop)) {
            const QString text = m_open ? QStringLiteral("connection closed by the server")
                                        : QStringLiteral("not logged on");
            m_open = false;
            m_subject.clear();
            later([this, text] { Q_EMIT Error(3, text); });
            return;
        }
        const QStringList subjects = m_server.boxes.value(m_host).subjects;
        const int i = m_number - 1;
        m_subject = i >= 0 && i < subjects.size() ? subjects.at(i) : QString();
        m_from = QStringLiteral("sender%1@example.org").arg(m_number);
        m_date = QStringLiteral("Mon, 7 Dec 2026 10:0%1:00 +0000").arg(m_number);
        sendAlert();
        later([this] { Q_EMIT Done(); });
    }
    void EndMessage() override { }
    void DeleteMessage() override
    {
        m_server.note(QStringLiteral("DELE ") + m_host + u' ' + QString::number(m_number));
        if (m_server.boxes.value(m_host).refuseDelete.contains(m_number))
            later([this] { Q_EMIT Error(2, QStringLiteral("-ERR no such message")); });
    }
    void Quit() override
    {
        m_server.note(QStringLiteral("QUIT ") + m_host);
        later([this] { Q_EMIT Done(); });
    }
    bool sessionOpen() const override { return m_open; }
    QString From() const override { return m_from; }
    QString Subject() const override { return m_subject; }
    QString Date() const override { return m_date; }

private:
    void sendAlert()
    {
        if (const QString alert = m_server.boxes.value(m_host).alert; !alert.isEmpty())
            later([this, alert] { Q_EMIT ServerAlert(alert); });
    }
    // The server answers a millisecond (or `ms`) later on the test's clock.
    template <typename F> void later(F f, int ms = 1)
    {
        auto *answer = new Timer(m_server.clock, ms, true, this);
        connect(answer, &Timer::tick, this, [answer, f] {
            answer->setEnabled(false);
            answer->deleteLater();
            f();
        });
    }

    ScriptedMailServer &m_server;
    QString m_host;
    QString m_user;
    QString m_password;
    qint16 m_count = 0;
    qint16 m_number = 0;
    bool m_open = false;
    QString m_from;
    QString m_subject;
    QString m_date;
};
