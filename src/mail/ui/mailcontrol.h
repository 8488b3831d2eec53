#pragma once

#include <QCoro/QCoroTask>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class AppContext;
class Clock;
class MailSession;

// What the check windows use of the mail control. In the program it is a SlotMailControl
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

    // Destroys a control its window no longer needs, once a Quit in progress has ended:
    // the server applies deletions only when it sees the QUIT.
    static void dispose(std::unique_ptr<MailControl> control);

Q_SIGNALS:
    void Done();
    void Error(int number, const QString &text);
    // Words the server asks to be shown to the user (an IMAP [ALERT]).
    void ServerAlert(const QString &text);
};

// The program's mail control for a mail slot: at each LogOn the slot's server text picks the
// protocol ("imap://" and "imaps://" addresses IMAP, anything else POP3). A control of the
// other protocol still closing goes on closing on its own.
//
// Made with the context and given a slot, a LogOn first reads the slot's password (the
// keyring may take its time, or refuse: then Error), logs on with what the user allowed for
// the slot's server, and remembers a log-on with TLS so that a later one without it is
// refused. A server off this machine without TLS brings up the question whether to send the
// password unencrypted, once per server: Yes logs on at once, No fails as before.
class SlotMailControl : public MailControl
{
    Q_OBJECT

public:
    explicit SlotMailControl(Clock &clock, QObject *parent = nullptr);
    explicit SlotMailControl(AppContext &context, QObject *parent = nullptr);
    ~SlotMailControl() override;

    void setHost(const QString &host) override { m_host = host; }
    void setUserName(const QString &name) override { m_userName = name; }
    void setPassword(const QString &password) override { m_password = password; }
    void setSlot(int slot) override { m_slot = slot; }
    void LogOn() override;
    qint16 MessageCount() const override;
    void setMessageNumber(qint16 number) override;
    void RetrieveHeader() override;
    void EndMessage() override;
    void DeleteMessage() override;
    void Quit() override;
    QString From() const override;
    QString Subject() const override;
    QString Date() const override;
    bool isQuitting() const override;
    QObject *lifetimeOwner() const override;
    QStringList Identities() const override;
    QString IdentityProblem() const override;
    void PrefetchHeaders(const QList<int> &numbers) override;
    void DeleteByIdentity(const QString &identity) override;
    // Whether the control in use speaks IMAP (for the tests).
    bool usesImap() const { return m_imap; }

private:
    void use(bool imap);
    void startSession();
    QCoro::Task<> logOnSlot(int generation);
    QCoro::Task<> askClearText(int number, QString text);
    void sessionError(int number, const QString &text);

    Clock &m_clock;
    AppContext *m_context = nullptr;
    std::unique_ptr<MailSession> m_session;
    bool m_imap = false;
    int m_slot = 0;
    int m_generation = 0; // of the LogOn in progress; a later call gives up an earlier one
    bool m_loggingOn = false;
    bool m_asked = false; // the question came up in this LogOn
    QString m_host;
    QString m_userName;
    QString m_password;
};
