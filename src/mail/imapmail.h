#pragma once

#include "mail/headerfields.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

class Clock;
class ImapConnection;
class ImapLogOn;
struct ImapResponse;

// The mail control for an IMAP account, with mMail's members and events so that the check
// windows drive either alike (one request at a time, events only from the event loop,
// exactly one Error for each failing request, the same error numbers, time-out and caps).
//
// Host takes "imap://name[:port]" (STARTTLS when offered) or "imaps://name[:port]".
// MessageCount is the number of messages in INBOX. The first RetrieveHeader asks for From,
// Subject and Date of all messages (up to kFetchWindow; the next window halfway through) in
// one FETCH of BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)], which marks nothing read; each message
// is tied to its UID as it is listed. DeleteMessage marks that UID \Deleted; Quit expunges those
// UIDs: by UID EXPUNGE where the server has UIDPLUS, otherwise by EXPUNGE only when no other
// message carries \Deleted (else Quit ends with an Error saying so and leaves them marked).
// A message that arrives meanwhile is never deleted.
class ImapMail : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeOut = 60; // seconds
    static constexpr int kFetchWindow = 1000; // headers asked for in one FETCH

    explicit ImapMail(Clock &clock, QObject *parent = nullptr);
    ~ImapMail() override;

    QString Host() const { return m_host; }
    void setHost(const QString &host) { m_host = host; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }
    void setPassword(const QString &password) { m_password = password; }

    // Without pipelining each header is fetched on its own.
    bool Pipelining() const { return m_pipelining; }
    void setPipelining(bool on) { m_pipelining = on; }
    int TimeOut() const { return m_timeoutMs / 1000; }
    void setTimeOut(int seconds) { m_timeoutMs = qMax(1, seconds) * 1000; }
    void setTimeOutMs(int ms) { m_timeoutMs = qMax(1, ms); }
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

    bool isLoggedOn() const { return m_loggedOn; }
    // The server's capabilities after log-on, in upper case (for the tests and the probe).
    QList<QByteArray> capabilities() const { return m_capabilities; }

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

    void startNext();
    void startLogOn();
    void startHeader(int number);
    void finishRequest();
    void failRequest(int number, const QString &text);
    std::optional<std::pair<int, QString>> problemWith(int number) const;
    bool isFetching(int number) const;
    void fetchFrom(int number);
    void onFetched(int first, int last, const ImapResponse &reply);
    bool onUntagged(const ImapResponse &response);
    void deliverHeader(int number);
    void expunge();
    void expungeIfOnlyOurs(const QList<qint64> &deleted);
    void logOut();
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
    QString m_caFile;

    ImapConnection *m_connection = nullptr;
    std::unique_ptr<ImapLogOn> m_logOn;
    QList<QByteArray> m_capabilities;
    bool m_loggedOn = false;
    QString m_lostReason;
    qint16 m_messageCount = 0;
    qint16 m_messageNumber = 0;
    HeaderFields m_fields;

    std::deque<Request> m_requests; // the head is in progress
    QHash<int, HeaderResult> m_headers; // arrived, not yet asked for
    QHash<int, qint64> m_uids; // message number -> UID, as listed
    QList<std::pair<int, int>> m_fetching; // FETCH ranges on their way
    int m_askedUpTo = 0; // the highest message any FETCH asked for
    QSet<qint64> m_deleted; // UIDs marked \Deleted by this session
    QList<qint64> m_searched; // the last SEARCH result
    QString m_quitProblem;
};
