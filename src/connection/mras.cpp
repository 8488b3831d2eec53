#include "connection/mras.h"

#include "connection/dialupservice.h"

mRAS::mRAS(DialUpService &service, QObject *parent)
    : QObject(parent)
    , m_service(service)
{
    // Queued, so that a step is never raised inside the call that caused it.
    connect(&m_service, &DialUpService::stepped, this, &mRAS::StateChanged, Qt::QueuedConnection);
    connect(
        &m_service, &DialUpService::linesChanged, this, &mRAS::LinesChanged, Qt::QueuedConnection);
}

void mRAS::useLogon()
{
    m_request.useLogon = true;
}

void mRAS::setPhoneNumber(const QString &number)
{
    m_request.phoneNumber = number;
    useLogon();
}

void mRAS::setLogonName(const QString &name)
{
    m_request.logonName = name;
    useLogon();
}

void mRAS::setLogonPassword(const QString &password)
{
    m_request.logonPassword = password;
    useLogon();
}

int mRAS::EntryCount() const
{
    return int(m_service.entries().size());
}

QString mRAS::EntryAt(int index) const
{
    return m_service.entries().value(index);
}

void mRAS::ReadEntries()
{
    m_service.reload();
}

void mRAS::Refresh()
{
    m_service.reload();
}

int mRAS::PrepareEntry()
{
    m_request.useLogon = false;
    return 0;
}

void mRAS::Dial()
{
    m_service.dial(m_request);
}

void mRAS::HangUp()
{
    m_service.hangUp();
}

int mRAS::StateCode() const
{
    return m_service.status().code;
}

QString mRAS::StateText() const
{
    return m_service.status().text;
}

QString mRAS::ServiceKind() const
{
    return m_service.kind();
}

QString mRAS::StateReason() const
{
    return m_service.status().reason;
}

bool mRAS::IsConnected() const
{
    return m_service.isConnected(m_request.entry);
}
