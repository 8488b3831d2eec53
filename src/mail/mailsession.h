#pragma once

#include "mail/headerfields.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <limits>
#include <optional>
#include <utility>

class AccessTokenSource;
class MailConnection;
struct MailAccount;

// The mail control: one account at a time, asynchronous, over a protocol (mMail for POP3,
// ImapMail for IMAP) that the check windows need not know. A caller writes the properties,
// issues an action and yields to the event loop until Done or Error. Events come only from the
// event loop, never inside the call that issued the action, and every failing request raises
// exactly one Error (a request left without an answer fails after TimeOut seconds, one whose
// answer never ends after Deadline seconds or once it passes its bound). A connection that
// dies raises one Error, for the request in progress (or, with none, for the deletions it
// lost); requests queued behind that one end quietly.
//
// LogOn, RetrieveHeader and Quit end with Done or Error. A LogOn while a session is open
// drops that session without quitting, so its deletions are not made; Quit without a session
// raises nothing (but an Error when deletions were lost with it). DeleteMessage ends with
// nothing, or with Error when the server refuses; deletions take effect at Quit. EndMessage and
// PrepareMessage raise nothing.
//
// Here lie the requests, the header cache, the failures and the events; a protocol fills in
// the hooks: log on, request headers, mark deleted, quit.
class MailSession : public QObject
{
    Q_OBJECT

public:
    static constexpr int kDefaultTimeOut = 60; // seconds
    static constexpr int kDefaultDeadline = 300; // seconds for one whole answer

    ~MailSession() override;

    QString Host() const { return m_host; }
    void setHost(const QString &host) { m_host = host; }
    QString UserName() const { return m_userName; }
    void setUserName(const QString &name) { m_userName = name; }
    void setPassword(const QString &password) { m_password = password; }
    // Logs on with this OAuth2 access token instead of the password (see MailAccount).
    void setBearerToken(const QString &token) { m_bearerToken = token; }
    // Where each LogOn takes its access token from first (the session does not own it; none:
    // the token set, if any). A token the server refuses is refreshed once and the log-on
    // tried again, so an expired token costs the caller nothing; a second refusal stands.
    void setTokenSource(AccessTokenSource *source) { m_tokenSource = source; }

    // Mode options, read at the next LogOn (Pipelining also at each RetrieveHeader).
    bool Pipelining() const { return m_pipelining; }
    void setPipelining(bool on) { m_pipelining = on; }
    int TimeOut() const { return m_timeoutMs / 1000; }
    void setTimeOut(int seconds) { m_timeoutMs = qMax(1, seconds) * 1000; }
    void setTimeOutMs(int ms) { m_timeoutMs = qMax(1, ms); }
    int Deadline() const { return m_deadlineMs / 1000; }
    void setDeadline(int seconds) { m_deadlineMs = qMax(1, seconds) * 1000; }
    // IMAP: the session's messages are the unread ones only (message 1 the oldest unread);
    // otherwise all, with the read ones known. POP3 has no read state: all count as unread.
    void setUnreadOnly(bool on) { m_unreadOnly = on; }
    bool RequireTls() const { return m_requireTls; }
    void setRequireTls(bool on) { m_requireTls = on; }
    // The user agreed to log on without TLS to a server that is not this machine.
    bool AllowClearText() const { return m_allowClearText; }
    void setAllowClearText(bool on) { m_allowClearText = on; }
    // The account logged on with TLS before: without it now, the log-on is refused.
    void setTlsBefore(bool on) { m_tlsBefore = on; }
    // Whether the session logged on over TLS (valid after the log-on's Done).
    bool loggedOnWithTls() const { return m_loggedOnWithTls; }
    // A file of authorities (PEM) trusted besides the system's; none when empty.
    void setCaCertificates(const QString &caFile) { m_caFile = caFile; }
    // The certificate with this SHA-256 (hex) is accepted without an authority (the user
    // trusted it); any other that fails verification is refused, a different one with
    // CertificateChanged.
    void setTrustedCertificate(const QByteArray &sha256) { m_trustedCertificate = sha256; }
    // After a failed LogOn: the certificate (PEM) the TLS handshake refused; empty when none.
    QByteArray refusedCertificate() const { return m_refusedCertificate; }

    void LogOn();
    qint16 MessageCount() const { return m_messageCount; }
    qint16 MessageNumber() const { return m_messageNumber; }
    void setMessageNumber(qint16 number) { m_messageNumber = number; }
    void RetrieveHeader();
    void EndMessage() { m_fields = {}; }
    void PrepareMessage() { m_fields = {}; }
    void DeleteMessage();
    // Deletes the message with this identity (one of Identities()), whatever its number in
    // this session, as DeleteMessage does. Error (NoSuchMessage) when this session does not
    // hold it: identities taken before the mailbox changed never delete another message.
    void DeleteByIdentity(const QString &identity);
    // Deletes the messages the log-on listed as `numbers` (by identity where the server gives
    // identities) as one batch: POP3 pipelines its DELEs a window at a time, IMAP marks them
    // all with one UID STORE. DeletionProgress comes as the answers do and once when the batch
    // is over; a batch the server refused deletions of ends with one Error saying how many.
    // Deletions take effect at Quit, as ever.
    void DeleteListed(const QList<int> &numbers);
    // The batch's deletions not sent yet are not sent; those on their way are still answered.
    void StopDeleting();
    bool deletionsUnderWay() const { return m_batch.active; }
    // The listed message `number` is marked deleted in this session, and the server agreed.
    bool isDeleted(int number) const { return m_deletedNumbers.contains(number); }
    void Quit();

    // After LogOn: how many of the session's messages are unread, and whether message
    // `number` is (POP3: all of them).
    int UnreadCount() const { return m_messageCount - int(m_readNumbers.size()); }
    bool isUnread(int number) const { return !m_readNumbers.contains(number); }
    // Marks the listed messages `numbers` read on the server (IMAP's \Seen; nothing on POP3).
    // ReadMarked names those the server agreed to, or Error tells of the refusal.
    void MarkListedRead(const QList<int> &numbers);

    // Known after LogOn: the identity of each message that outlives the session (index i for
    // message i + 1), the POP3 UIDL or the IMAP UIDVALIDITY and UID; empty when the server
    // gives none, and then IdentityProblem() says why.
    QStringList Identities() const { return m_identities; }
    QString IdentityProblem() const { return m_identityProblem; }
    // Asks for the headers of `numbers` at once (pipelined where the server allows), so that
    // a RetrieveHeader of each finds it on its way; the session reads no further ahead then.
    // Raises nothing.
    void PrefetchHeaders(const QList<int> &numbers);

    QString From() const { return m_fields.from; }
    QString Subject() const { return m_fields.subject; }
    QString Date() const { return m_fields.date; }

    // Whether a session is logged on (for the probe and the tests).
    bool isLoggedOn() const { return m_loggedOn; }
    // True while a Quit is on its way to the server (its Done or Error still to come).
    bool isQuitting() const { return m_quitting; }

Q_SIGNALS:
    void Status(const QString &text);
    // Words the server asks to be shown to the user (an IMAP [ALERT]), as they come.
    void Alert(const QString &text);
    void Error(int number, const QString &text);
    void Done();
    // Of a deletion batch's `sent` deletions, the server has answered `answered`.
    void DeletionProgress(int answered, int sent);
    // The server marked these listed messages read.
    void ReadMarked(const QList<int> &numbers);

protected:
    struct HeaderResult {
        bool ok = false;
        HeaderFields fields;
        int error = 0;
        QString text;
    };
    // Why a request cannot go to the server: an error number and text.
    using Problem = std::pair<int, QString>;

    MailSession(Clock &clock, QObject *parent);

    // The protocol's hooks. LogOn has forgotten the last session; logOn() connects (attach)
    // and ends in loggedOn() or logOnFailed().
    virtual void resetProtocol() = 0;
    virtual void logOn() = 0;
    // A header the caller waits for (or will) is not in: ask for it, and for others ahead.
    virtual void requestHeader(int number) = 0;
    // Message `number` exists and the session is open: mark it deleted on the server.
    virtual void markDeleted(int number) = 0;
    // The same for the message whose identity is Identities()[number - 1].
    virtual void markIdentityDeleted(int number) { markDeleted(number); }
    // Of a batch: mark the listed messages `numbers` deleted (each exists, none is marked);
    // each ends in deletionAnswered(). One by one unless the protocol does better.
    virtual void markListedDeleted(const QList<int> &numbers);
    // How many of a batch's deletions may be on their way at once.
    virtual int deletionWindow() const { return std::numeric_limits<int>::max(); }
    // The session is open: mark these listed unread messages read, then readAnswered().
    virtual void markRead(const QList<int> &numbers) { readAnswered(numbers, true, {}); }
    // The session is open: ask for these headers (none in hand or on its way) together.
    virtual void prefetch(const QList<int> &numbers) = 0;
    // The session is open and a Quit request waits: end it with sessionClosed().
    virtual void quit() = 0;
    // The connection died: whatever the protocol had on its way is gone.
    virtual void connectionLost() { }

    void attach(MailConnection *connection);
    // The account as the log-on dialogue takes it, from the properties.
    MailAccount account() const;
    template <class Connection> Connection *connection() const
    {
        return static_cast<Connection *>(m_connection);
    }
    void loggedOn(int count, const QString &status);
    void logOnFailed(int number, const QString &text);
    std::optional<Problem> problemWith(int number) const;
    // A header (or its failure) came: kept until asked for, delivered if it is awaited now.
    void storeHeader(int number, const HeaderResult &result);
    void deliverWaiting();
    // A deletion the server answered; `key` is what m_deleted holds for the message.
    void deletionAnswered(int number, qint64 key, bool ok, const QString &serverWords);
    void readAnswered(const QList<int> &numbers, bool ok, const QString &serverWords);
    // The server answered the Quit: the session ends, with `problem` as its Error if any.
    void sessionClosed(const QString &problem);
    void finishRequest();
    void failRequest(int number, const QString &text);

    void postStatus(const QString &text);
    void postError(int number, const QString &text);

    Clock &m_clock;
    QString m_host;
    QString m_userName;
    QString m_password;
    QString m_bearerToken;
    AccessTokenSource *m_tokenSource = nullptr;
    bool m_tokenRefreshed = false; // in this LogOn
    int m_logOnNumber = 0; // which LogOn a token that comes belongs to
    bool m_pipelining = true;
    bool m_unreadOnly = true;
    bool m_requireTls = false;
    bool m_allowClearText = false;
    bool m_tlsBefore = false;
    bool m_loggedOnWithTls = false;
    int m_timeoutMs = kDefaultTimeOut * 1000;
    int m_deadlineMs = kDefaultDeadline * 1000;
    QString m_caFile;
    QByteArray m_trustedCertificate;
    QByteArray m_refusedCertificate;

    bool m_loggedOn = false;
    qint16 m_messageCount = 0;
    QHash<int, HeaderResult> m_headers; // arrived, not yet asked for
    QSet<qint64> m_deleted; // marked for deletion: message numbers (POP3) or UIDs (IMAP)
    QSet<qint64> m_deleting; // of those, the ones the server has not answered yet
    QSet<int> m_deletedNumbers; // listed numbers marked deleted with the server's agreement
    QSet<int> m_readNumbers; // listed numbers the server holds as read
    QStringList m_identities;
    QString m_identityProblem;
    bool m_readAhead = true; // cleared once the caller chose the headers it wants

private:
    struct Request {
        enum Kind { LogOn, Header, Quit } kind;
        int number = 0;
    };

    struct DeletionBatch {
        bool active = false;
        std::deque<int> waiting; // not sent yet
        int sent = 0;
        int answered = 0;
        int refused = 0;
        QString refusal; // the server's words on the first refusal
    };

    void feedDeletions();
    void batchAnswered(bool ok, const QString &serverWords);
    void endBatch();
    void startNext();
    void startHeader(int number);
    void deliverHeader(int number);
    void onConnectionFailed(int number, const QString &text);
    void askToken(bool fresh);
    void dropSession();
    void post(std::function<void()> event);
    QString scrubbed(QString text) const;

    MailConnection *m_connection = nullptr;
    QString m_lostReason;
    qint16 m_messageNumber = 0;
    HeaderFields m_fields;
    std::deque<Request> m_requests; // the head is in progress
    DeletionBatch m_batch;
    bool m_quitting = false;
};
