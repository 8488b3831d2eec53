#pragma once

#include "mail/mailcontrol.h"

#include <QCoro/QCoroTask>
#include <QObject>
#include <QString>

#include <memory>

class AppContext;
class MailSession;

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
    bool sessionOpen() const override;
    QByteArray RefusedCertificate() const override;
    QObject *lifetimeOwner() const override;
    QStringList Identities() const override;
    QString IdentityProblem() const override;
    void PrefetchHeaders(const QList<int> &numbers) override;
    void DeleteByIdentity(const QString &identity) override;
    void DeleteListed(const QList<int> &numbers) override;
    void StopDeleting() override;
    bool deletionsUnderWay() const override;
    bool isDeleted(int number) const override;
    int UnreadCount() const override;
    bool hasReadState() const override { return m_imap; }
    bool isUnread(int number) const override;
    void MarkListedRead(const QList<int> &numbers) override;
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
