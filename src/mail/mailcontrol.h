#pragma once

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>

// One message's header, as a listing shows it.
struct MailHeader {
    QString from;
    QString subject;
    QString date;
    bool fresh = false; // not announced before
};

// What a mail run uses of a mail account's server. In the program it is a SlotMailControl
// over a MailSession; tests give a scripted one. Like MailSession, Done and Error come from the
// event loop, never from inside the call that issued the action.
class MailControl : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~MailControl() override;

    virtual void setHost(const QString &host) = 0;
    virtual void setUserName(const QString &name) = 0;
    virtual void setPassword(const QString &password) = 0;
    // The mail slot (1 to 5) the next LogOn is for, where the control keeps its own account
    // facts (the program's: the password from the keyring, what the user allowed without TLS).
    virtual void setSlot(int slot) { Q_UNUSED(slot) }
    virtual void LogOn() = 0;
    virtual qint16 MessageCount() const = 0;
    virtual void setMessageNumber(qint16 number) = 0;
    virtual void RetrieveHeader() = 0;
    virtual void EndMessage() = 0;
    virtual void DeleteMessage() = 0;
    virtual void Quit() = 0;
    virtual QString From() const = 0;
    virtual QString Subject() const = 0;
    virtual QString Date() const = 0;
    // True while a Quit is on its way to the server (its Done or Error still to come).
    virtual bool isQuitting() const { return false; }
    // After LogOn: the session is still up (the connection has not died since).
    virtual bool sessionOpen() const { return true; }
    // After a failed LogOn: the certificate (PEM) the TLS handshake refused; empty when none.
    virtual QByteArray RefusedCertificate() const { return {}; }
    // What a disposed control must not outlive (its timers' clock); none by default.
    virtual QObject *lifetimeOwner() const { return nullptr; }
    // After LogOn: each message's identity across sessions (index i for message i + 1), empty
    // when there are none; and why a server with messages gives none (empty when it does, or
    // when no server is asked).
    virtual QStringList Identities() const { return {}; }
    virtual QString IdentityProblem() const { return {}; }
    // Asks for the headers of the chosen messages together (see MailSession).
    virtual void PrefetchHeaders(const QList<int> &numbers) { Q_UNUSED(numbers) }
    // Deletes the message with this identity (one of Identities()), as DeleteMessage does;
    // Error when the session does not hold it (see MailSession).
    virtual void DeleteByIdentity(const QString &identity) { Q_UNUSED(identity) }
    // Deletes the listing's messages `numbers` (1 for the first) as one batch, by identity
    // where there are identities (see MailSession::DeleteListed); DeletionProgress tells how
    // far the server has answered, and the batch is over once deletionsUnderWay() is false.
    // Here one by one, each taken as done.
    virtual void DeleteListed(const QList<int> &numbers);
    // The batch's deletions not sent yet stay unsent.
    virtual void StopDeleting() { }
    virtual bool deletionsUnderWay() const { return false; }
    // The listing's message `number` is marked deleted in this session.
    virtual bool isDeleted(int number) const { return m_deletedHere.contains(number); }
    // After LogOn: the unread messages among MessageCount, and whether message `number` is one
    // (a protocol without read state, POP3, counts them all).
    virtual int UnreadCount() const { return MessageCount(); }
    virtual bool hasReadState() const { return false; }
    virtual bool isUnread(int number) const
    {
        Q_UNUSED(number)
        return true;
    }
    // Marks the listing's messages `numbers` read on the server; ReadMarked names those the
    // server agreed to (none where there is no read state), or Error tells of a refusal.
    virtual void MarkListedRead(const QList<int> &numbers);

    // Destroys a control its window no longer needs, once a Quit in progress has ended:
    // the server applies deletions only when it sees the QUIT.
    static void dispose(std::unique_ptr<MailControl> control);

Q_SIGNALS:
    void Done();
    void Error(int number, const QString &text);
    // Words the server asks to be shown to the user (an IMAP [ALERT]).
    void ServerAlert(const QString &text);
    // Of a deletion batch's `sent` deletions the server has answered `answered`.
    void DeletionProgress(int answered, int sent);
    void ReadMarked(const QList<int> &numbers);

private:
    QSet<int> m_deletedHere; // by the one-by-one DeleteListed
};
