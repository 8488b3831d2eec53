#pragma once

#include "mail/headerfields.h"
#include "mail/popreply.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class Clock;
class PopConnection;
class PopLogOn;
struct PopReply;

// The mail control: one POP3 account at a time, asynchronous. A caller writes the properties,
// issues an action and yields to the event loop until Done or Error. Events come only from the
// event loop, never inside the call that issued the action, and every failing request raises
// exactly one Error (a request left without an answer fails after TimeOut seconds, one whose
// answer never ends after Deadline seconds or once it passes its bound). A connection that
// dies raises one Error, for the request in progress (or, with none, for the deletions it
// lost); requests queued behind that one end quietly.
//
// Host takes "name", "name:port", "pop3://name[:port]" or "pop3s://name[:port]". A plain
// connection is upgraded with STLS when the server offers it; certificates are always
// verified. With PIPELINING the first RetrieveHeader sends TOP for the following messages as
// well, so that a list of headers costs about one round trip. A server without TOP is asked
// with RETR and the body is read past and dropped.
//
// LogOn, RetrieveHeader and Quit end with Done or Error. A LogOn while a session is open
// drops that session without QUIT, so its deletions are not made; Quit without a session
// raises nothing. DeleteMessage ends with nothing, or
// with Error when the server refuses; deletions take effect at Quit. EndMessage and
// PrepareMessage raise nothing.
class mMail : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeOut = 60; // seconds
    static constexpr int kDefaultDeadline = 300; // seconds for one whole answer
    static constexpr int kPrefetchWindow = 128; // headers asked for ahead of the caller

    explicit mMail(Clock &clock, QObject *parent = nullptr);
    ~mMail() override;

    QString Host() const { return m_host; }
    void setHost(const QString &host) { m_host = host; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }
    void setPassword(const QString &password) { m_password = password; }

    // Mode options, read at the next LogOn (Pipelining also at each RetrieveHeader).
    bool Pipelining() const { return m_pipelining; }
    void setPipelining(bool on) { m_pipelining = on; }
    int TimeOut() const { return m_timeoutMs / 1000; }
    void setTimeOut(int seconds) { m_timeoutMs = qMax(1, seconds) * 1000; }
    void setTimeOutMs(int ms) { m_timeoutMs = qMax(1, ms); }
    int Deadline() const { return m_deadlineMs / 1000; }
    void setDeadline(int seconds) { m_deadlineMs = qMax(1, seconds) * 1000; }
    bool RequireTls() const { return m_requireTls; }
    void setRequireTls(bool on) { m_requireTls = on; }
    // A file of authorities (PEM) trusted besides the system's; none when empty.
    void setCaCertificates(const QString &caFile) { m_caFile = caFile; }

    void LogOn();
    qint16 MessageCount() const { return m_messageCount; }
    qint16 MessageNumber() const { return m_messageNumber; }
    void setMessageNumber(qint16 number) { m_messageNumber = number; }
    void RetrieveHeader();
    void EndMessage();
    void PrepareMessage();
    void DeleteMessage();
    void Quit();

    QString From() const { return m_fields.from; }
    QString Subject() const { return m_fields.subject; }
    QString Date() const { return m_fields.date; }

    // Whether a session is logged on (for the probe and the tests).
    bool isLoggedOn() const { return m_loggedOn; }
    // True once the server turned out to lack TOP (headers then come by RETR).
    bool usesRetrForHeaders() const { return m_topMissing; }

Q_SIGNALS:
    void Status(const QString &text);
    void Error(int number, const QString &text);
    void Done();

private:
    struct Request {
        enum Kind { LogOn, Header, Quit } kind;
        int number = 0;
    };
    struct HeaderResult {
        bool ok = false;
        HeaderFields fields;
        int error = 0;
        QString text;
    };

    void enqueue(Request request);
    void startNext();
    void startLogOn();
    void startHeader(int number);
    void startQuit();
    void finishRequest();
    void failRequest(int number, const QString &text);
    void onLoggedOn(int count, const PopCapabilities &capabilities);
    void onQuitReply(const PopReply &reply);
    // Why a request for message `number` cannot go to the server, if it cannot.
    std::optional<std::pair<int, QString>> problemWith(int number) const;
    void askHeader(int number);
    void prefetchFrom(int number);
    void onHeader(int number, const PopReply &reply);
    void deliverHeader(int number);
    void onDeleted(int number, const PopReply &reply);
    void onConnectionFailed(int number, const QString &text);
    void dropSession();

    void postStatus(const QString &text);
    void postError(int number, const QString &text);
    void postDone();
    void post(std::function<void()> event);
    QString scrubbed(QString text) const;

    Clock &m_clock;
    QString m_host;
    QString m_userName;
    QString m_password;
    bool m_pipelining = true;
    bool m_requireTls = false;
    int m_timeoutMs = kDefaultTimeOut * 1000;
    int m_deadlineMs = kDefaultDeadline * 1000;
    QString m_caFile;

    PopConnection *m_connection = nullptr;
    std::unique_ptr<PopLogOn> m_logOn;
    PopCapabilities m_capabilities;
    bool m_loggedOn = false;
    bool m_topMissing = false;
    QString m_lostReason;
    qint16 m_messageCount = 0;
    qint16 m_messageNumber = 0;
    HeaderFields m_fields;

    std::deque<Request> m_requests; // the head is in progress
    QHash<int, HeaderResult> m_headers; // arrived, not yet asked for
    QSet<int> m_asked; // TOP/RETR sent, reply not yet in
    int m_highestAsked = 0;
    QSet<int> m_deleted;
    QSet<int> m_deleting; // DELE sent, reply not yet in
};
