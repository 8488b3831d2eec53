#pragma once

#include "mail/mailsession.h"
#include "mail/popreply.h"

#include <QSet>

#include <memory>

class PopLogOn;
struct PopReply;

// The mail control for a POP3 account (see MailSession for what every mail control does).
//
// Host takes "name", "name:port", "pop3://name[:port]" or "pop3s://name[:port]". A plain
// connection is upgraded with STLS when the server offers it; certificates are always
// verified. With PIPELINING the first RetrieveHeader sends TOP for the following messages as
// well, so that a list of headers costs about one round trip. A server without TOP is asked
// with RETR and the body is read past and dropped. DeleteMessage sends DELE; QUIT makes the
// deletions. After STAT the log-on asks for UIDL: the messages' identities.
class mMail : public MailSession
{
    Q_OBJECT

public:
    // Headers asked for ahead of the caller: a list of this many costs one round trip.
    static constexpr int kPrefetchWindow = 1000;
    static constexpr int kDeleteWindow = 500; // DELEs of a batch on their way at once

    explicit mMail(Clock &clock, QObject *parent = nullptr);
    ~mMail() override;

    // True once the server turned out to lack TOP (headers then come by RETR).
    bool usesRetrForHeaders() const { return m_topMissing; }

private:
    void resetProtocol() override;
    void logOn() override;
    void onLoggedOn(int count, const PopCapabilities &capabilities);
    void takeIdentities(int count, const PopReply &reply);
    void prefetch(const QList<int> &numbers) override;
    void quit() override;
    void connectionLost() override;
    void requestHeader(int number) override;
    void askHeader(int number);
    void prefetchFrom(int number);
    void onHeader(int number, const PopReply &reply);
    void markDeleted(int number) override;
    int deletionWindow() const override;

    std::unique_ptr<PopLogOn> m_logOn;
    PopCapabilities m_capabilities;
    bool m_topMissing = false;
    QSet<int> m_asked; // TOP/RETR sent, reply not yet in
    int m_highestAsked = 0;
};
