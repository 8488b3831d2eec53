#include "mail/ui/mailcontrol.h"

#include "mail/mmail.h"

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

PopMailControl::PopMailControl(Clock &clock, QObject *parent)
    : MailControl(parent)
    , m_mail(new mMail(clock, this))
{
    connect(m_mail, &mMail::Done, this, [this] {
        m_quitting = false;
        Q_EMIT Done();
    });
    connect(m_mail, &mMail::Error, this, [this](int number, const QString &text) {
        m_quitting = false;
        Q_EMIT Error(number, text);
    });
}

PopMailControl::~PopMailControl() = default;

void PopMailControl::setHost(const QString &host)
{
    m_mail->setHost(host);
}

void PopMailControl::setUserName(const QString &name)
{
    m_mail->setUserName(name);
}

void PopMailControl::setPassword(const QString &password)
{
    m_mail->setPassword(password);
}

void PopMailControl::LogOn()
{
    m_mail->LogOn();
}

qint16 PopMailControl::MessageCount() const
{
    return m_mail->MessageCount();
}

void PopMailControl::setMessageNumber(qint16 number)
{
    m_mail->setMessageNumber(number);
}

void PopMailControl::RetrieveHeader()
{
    m_mail->RetrieveHeader();
}

void PopMailControl::EndMessage()
{
    m_mail->EndMessage();
}

void PopMailControl::DeleteMessage()
{
    m_mail->DeleteMessage();
}

void PopMailControl::Quit()
{
    // Without a session mMail raises nothing for a Quit.
    m_quitting = m_quitting || m_mail->isLoggedOn();
    m_mail->Quit();
}

QString PopMailControl::From() const
{
    return m_mail->From();
}

QString PopMailControl::Subject() const
{
    return m_mail->Subject();
}

QString PopMailControl::Date() const
{
    return m_mail->Date();
}
