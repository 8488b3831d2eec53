#pragma once

#include "mail/mailsession.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <memory>
#include <utility>

class ImapLogOn;
struct ImapResponse;

// The mail control for an IMAP account (see MailSession for what every mail control does).
//
// Host takes "imap://name[:port]" (STARTTLS when offered) or "imaps://name[:port]".
// MessageCount is the number of unread messages in INBOX (message 1 the oldest, by UID), or
// with setUnreadOnly(false) of all messages, the read ones told apart by UID SEARCH UNSEEN. The
// first RetrieveHeader asks for From, Subject and Date of all messages (up to kFetchWindow; the
// next window halfway through) in one FETCH of BODY.PEEK[HEADER.FIELDS (FROM SUBJECT DATE)], which
// marks nothing read; each message is tied to its UID as it is listed; without pipelining each
// header is fetched on its own. DeleteMessage marks that UID \Deleted; Quit expunges those UIDs: by
// UID EXPUNGE where the server has UIDPLUS, otherwise by EXPUNGE only when no other message carries
// \Deleted (else Quit ends with an Error saying so and leaves them marked). A message that arrives
// meanwhile is never deleted. After SELECT the log-on asks UID SEARCH ALL for the messages'
// identities (UIDVALIDITY.UID); PrefetchHeaders asks one UID FETCH.
class ImapMail : public MailSession
{
    Q_OBJECT

public:
    static constexpr int kFetchWindow = 1000; // headers asked for in one FETCH

    explicit ImapMail(Clock &clock, QObject *parent = nullptr);
    ~ImapMail() override;

    // The server's capabilities after log-on, in upper case (for the tests and the probe).
    QList<QByteArray> capabilities() const { return m_capabilities; }

private:
    void resetProtocol() override;
    void logOn() override;
    void requestHeader(int number) override;
    void markDeleted(int number) override;
    void markIdentityDeleted(int number) override;
    void storeDeleted(int number, qint64 uid);
    void markListedDeleted(const QList<int> &numbers) override;
    void prefetch(const QList<int> &numbers) override;
    void markRead(const QList<int> &numbers) override;
    void listIdentities(int count, const QByteArray &uidValidity);
    void searchUnseen(int count, const QByteArray &uidValidity);
    void listUids(const QList<qint64> &unseen, bool readKnown, const QByteArray &uidValidity);
    void quit() override;

    bool isFetching(int number) const;
    void fetchFrom(int number);
    void onFetched(const QList<std::pair<int, int>> &ranges, const ImapResponse &reply);
    bool onUntagged(const ImapResponse &response);
    void expunge();
    void expungeIfOnlyOurs(const QList<qint64> &deleted);
    void logOut();

    std::unique_ptr<ImapLogOn> m_logOn;
    QList<QByteArray> m_capabilities;
    QHash<int, qint64> m_uids; // message number -> UID, as listed
    QList<std::pair<int, int>> m_fetching; // FETCH ranges on their way
    int m_askedUpTo = 0; // the highest message any FETCH asked for
    QList<qint64> m_searched; // the last SEARCH result
    QList<qint64> m_listedUids; // UIDs of messages 1 to MessageCount, from the log-on
    QHash<qint64, int> m_numberOfUid; // and back
    bool m_byUid = false; // the unread view: messages are fetched by their listed UIDs
    QString m_quitProblem;
};
