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

template <class Mail>
ProtocolMailControl<Mail>::ProtocolMailControl(Clock &clock, QObject *parent)
    : MailControl(parent)
    , m_mail(new Mail(clock, this))
{
    connect(m_mail, &Mail::Done, this, [this] {
        m_quitting = false;
        Q_EMIT Done();
    });
    connect(m_mail, &Mail::Error, this, [this](int number, const QString &text) {
        m_quitting = false;
        Q_EMIT Error(number, text);
    });
}

template <class Mail> ProtocolMailControl<Mail>::~ProtocolMailControl() = default;

template <class Mail> void ProtocolMailControl<Mail>::setHost(const QString &host)
{
    m_mail->setHost(host);
}

template <class Mail> void ProtocolMailControl<Mail>::setUserName(const QString &name)
{
    m_mail->setUserName(name);
}

template <class Mail> void ProtocolMailControl<Mail>::setPassword(const QString &password)
{
    m_mail->setPassword(password);
}

template <class Mail> void ProtocolMailControl<Mail>::LogOn()
{
    m_mail->LogOn();
}

template <class Mail> qint16 ProtocolMailControl<Mail>::MessageCount() const
{
    return m_mail->MessageCount();
}

template <class Mail> void ProtocolMailControl<Mail>::setMessageNumber(qint16 number)
{
    m_mail->setMessageNumber(number);
}

template <class Mail> void ProtocolMailControl<Mail>::RetrieveHeader()
{
    m_mail->RetrieveHeader();
}

template <class Mail> void ProtocolMailControl<Mail>::EndMessage()
{
    m_mail->EndMessage();
}

template <class Mail> void ProtocolMailControl<Mail>::DeleteMessage()
{
    m_mail->DeleteMessage();
}

template <class Mail> void ProtocolMailControl<Mail>::Quit()
{
    // Without a session the control raises nothing for a Quit.
    m_quitting = m_quitting || m_mail->isLoggedOn();
    m_mail->Quit();
}

template <class Mail> QString ProtocolMailControl<Mail>::From() const
{
    return m_mail->From();
}

template <class Mail> QString ProtocolMailControl<Mail>::Subject() const
{
    return m_mail->Subject();
}

template <class Mail> QString ProtocolMailControl<Mail>::Date() const
{
    return m_mail->Date();
}

template class ProtocolMailControl<mMail>;
template class ProtocolMailControl<ImapMail>;

SlotMailControl::SlotMailControl(Clock &clock, QObject *parent)
    : MailControl(parent)
    , m_clock(clock)
{
    use(false);
}

SlotMailControl::~SlotMailControl()
{
    MailControl::dispose(std::move(m_inner));
}

void SlotMailControl::use(bool imap)
{
    if (m_inner && imap == m_imap)
        return;
    if (m_inner) {
        m_inner->disconnect(this);
        MailControl::dispose(std::move(m_inner));
    }
    m_imap = imap;
    if (imap)
        m_inner = std::make_unique<ImapMailControl>(m_clock);
    else
        m_inner = std::make_unique<PopMailControl>(m_clock);
    connect(m_inner.get(), &MailControl::Done, this, &MailControl::Done);
    connect(m_inner.get(), &MailControl::Error, this, &MailControl::Error);
}

void SlotMailControl::LogOn()
{
    use(isImapAddress(m_host));
    m_inner->setUserName(m_userName);
    m_inner->setPassword(m_password);
    m_inner->setHost(m_host);
    m_inner->LogOn();
}
