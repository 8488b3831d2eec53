#include "mail/ui/mailcontrol.h"

#include "mail/imapmail.h"
#include "mail/mmail.h"
#include "mail/pophost.h"

MailControl::~MailControl() = default;

void MailControl::dispose(std::unique_ptr<MailControl> control)
{
    if (!control || !control->isQuitting())
        return;
    MailControl *raw = control.release();
    raw->disconnect();
    connect(raw, &MailControl::Done, raw, &QObject::deleteLater);
    connect(raw, &MailControl::Error, raw, &QObject::deleteLater);
}

SlotMailControl::SlotMailControl(Clock &clock, QObject *parent)
    : MailControl(parent)
    , m_clock(clock)
{
    use(false);
}

namespace {
// A session still quitting goes on until the server has answered, then deletes itself.
void letQuitEnd(std::unique_ptr<MailSession> session)
{
    if (!session || !session->isQuitting())
        return;
    MailSession *raw = session.release();
    raw->disconnect();
    QObject::connect(raw, &MailSession::Done, raw, &QObject::deleteLater);
    QObject::connect(raw, &MailSession::Error, raw, &QObject::deleteLater);
}
} // namespace

SlotMailControl::~SlotMailControl()
{
    letQuitEnd(std::move(m_session));
}

void SlotMailControl::use(bool imap)
{
    if (m_session && imap == m_imap)
        return;
    letQuitEnd(std::move(m_session));
    m_imap = imap;
    if (imap)
        m_session = std::make_unique<ImapMail>(m_clock);
    else
        m_session = std::make_unique<mMail>(m_clock);
    connect(m_session.get(), &MailSession::Done, this, &MailControl::Done);
    connect(m_session.get(), &MailSession::Error, this, &MailControl::Error);
    connect(m_session.get(), &MailSession::Alert, this, &MailControl::ServerAlert);
}

void SlotMailControl::LogOn()
{
    use(isImapAddress(m_host));
    m_session->setUserName(m_userName);
    m_session->setPassword(m_password);
    m_session->setHost(m_host);
    m_session->LogOn();
}

qint16 SlotMailControl::MessageCount() const
{
    return m_session->MessageCount();
}

void SlotMailControl::setMessageNumber(qint16 number)
{
    m_session->setMessageNumber(number);
}

void SlotMailControl::RetrieveHeader()
{
    m_session->RetrieveHeader();
}

void SlotMailControl::EndMessage()
{
    m_session->EndMessage();
}

void SlotMailControl::DeleteMessage()
{
    m_session->DeleteMessage();
}

void SlotMailControl::Quit()
{
    m_session->Quit();
}

QString SlotMailControl::From() const
{
    return m_session->From();
}

QString SlotMailControl::Subject() const
{
    return m_session->Subject();
}

QString SlotMailControl::Date() const
{
    return m_session->Date();
}

bool SlotMailControl::isQuitting() const
{
    return m_session->isQuitting();
}

QStringList SlotMailControl::Identities() const
{
    return m_session->Identities();
}

QString SlotMailControl::IdentityProblem() const
{
    return m_session->IdentityProblem();
}

void SlotMailControl::PrefetchHeaders(const QList<int> &numbers)
{
    m_session->PrefetchHeaders(numbers);
}
