#include "mail/ui/slotmailcontrol.h"

#include "clock/clock.h"
#include "mail/imapmail.h"
#include "mail/mailerror.h"
#include "mail/mmail.h"
#include "mail/pophost.h"
#include "mail/slotsecurity.h"
#include "mail/ui/frmcleartextquestion.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

#include <QPointer>

SlotMailControl::SlotMailControl(Clock &clock, QObject *parent)
    : MailControl(parent)
    , m_clock(clock)
{
    use(false);
}

QObject *SlotMailControl::lifetimeOwner() const
{
    return &m_clock;
}

SlotMailControl::SlotMailControl(AppContext &context, QObject *parent)
    : SlotMailControl(context.clock(), parent)
{
    m_context = &context;
}

namespace {
// A session of the other protocol still quitting goes on until the server has answered, then
// deletes itself; at the latest it goes with `owner`, the control. A control that is destroyed
// takes its session with it: its window disposed of it only once its own quit had ended, or
// its clock is going (the program or a test ending), and a socket left behind would wake
// timers on a clock that is gone.
void letQuitEnd(std::unique_ptr<MailSession> session, QObject *owner)
{
    if (!session || !session->isQuitting())
        return;
    MailSession *raw = session.release();
    raw->disconnect();
    raw->setParent(owner);
    QObject::connect(raw, &MailSession::Done, raw, &QObject::deleteLater);
    QObject::connect(raw, &MailSession::Error, raw, &QObject::deleteLater);
}
} // namespace

SlotMailControl::~SlotMailControl() = default;

void SlotMailControl::use(bool imap)
{
    if (m_session && imap == m_imap)
        return;
    letQuitEnd(std::move(m_session), this);
    m_imap = imap;
    if (imap)
        m_session = std::make_unique<ImapMail>(m_clock);
    else
        m_session = std::make_unique<mMail>(m_clock);
    connect(m_session.get(), &MailSession::Done, this, [this] {
        if (std::exchange(m_loggingOn, false) && m_context && m_slot > 0)
            SlotSecurity::loggedOn(m_context->model(), m_slot, m_session->loggedOnWithTls());
        Q_EMIT Done();
    });
    connect(m_session.get(), &MailSession::Error, this, &SlotMailControl::sessionError);
    connect(m_session.get(), &MailSession::Alert, this, &MailControl::ServerAlert);
    connect(m_session.get(), &MailSession::DeletionProgress, this, &MailControl::DeletionProgress);
    connect(m_session.get(), &MailSession::ReadMarked, this, &MailControl::ReadMarked);
}

void SlotMailControl::LogOn()
{
    const int generation = ++m_generation;
    m_asked = false;
    if (!m_context || m_slot < 1) {
        startSession();
        return;
    }
    logOnSlot(generation);
}

void SlotMailControl::startSession()
{
    use(isImapAddress(m_host));
    m_session->setUserName(m_userName);
    m_session->setPassword(m_password);
    m_session->setHost(m_host);
    if (m_context && m_slot > 0) {
        const SettingsModel &settings = m_context->model();
        m_session->setAllowClearText(SlotSecurity::clearTextAllowed(settings, m_slot));
        m_session->setTlsBefore(SlotSecurity::tlsBefore(settings, m_slot));
        m_session->setTrustedCertificate(SlotSecurity::trustedCertificate(settings, m_slot));
        m_session->setUnreadOnly(settings.isOn(Keys::ListUnreadOnly(m_slot)));
    }
    m_loggingOn = true;
    m_session->LogOn();
}

// The password first: the keyring answers when it can (it may ask the user to unlock it).
QCoro::Task<> SlotMailControl::logOnSlot(int generation)
{
    QPointer<SlotMailControl> self(this);
    AppContext &context = *m_context;
    const Passwords::Read read = co_await context.passwords().read(Keys::MailPassword(m_slot));
    if (!self || generation != m_generation)
        co_return;
    if (!read.ok) {
        // From the event loop, even when the answer came at once.
        const QString text = tr("The password of %1 could not be read from the desktop keyring: %2")
                                 .arg(context.model().text(Keys::AccountName(m_slot)), read.error);
        QMetaObject::invokeMethod(
            this, [this, text] { Q_EMIT Error(MailError::PasswordUnavailable, text); },
            Qt::QueuedConnection);
        co_return;
    }
    m_password = read.password;
    startSession();
}

void SlotMailControl::sessionError(int number, const QString &text)
{
    const bool loggingOn = std::exchange(m_loggingOn, false);
    if (loggingOn && number == MailError::ClearTextRefused && m_context && m_slot > 0 && !m_asked
        && !SlotSecurity::clearTextDeclined(m_context->model(), m_slot)) {
        askClearText(number, text);
        return;
    }
    Q_EMIT Error(number, text);
}

// Once per server: Yes logs on again at once (the caller sees only the end), No is kept and
// the log-on fails as it did; a question closed unanswered fails this time only.
QCoro::Task<> SlotMailControl::askClearText(int number, QString text)
{
    QPointer<SlotMailControl> self(this);
    const int generation = m_generation;
    m_asked = true;
    AppContext &context = *m_context;
    const int slot = m_slot;
    const std::optional<bool> yes = co_await frmClearTextQuestion::ask(
        context, context.model().text(Keys::AccountName(slot)), m_host.trimmed());
    if (!self || generation != m_generation)
        co_return;
    if (yes)
        SlotSecurity::answerClearText(context.model(), slot, *yes);
    if (yes.value_or(false)) {
        startSession();
        co_return;
    }
    Q_EMIT Error(number,
        yes ? text
                + tr(" (declined for this account; change its POP/Domain text to be asked again)")
            : text);
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

void SlotMailControl::DeleteByIdentity(const QString &identity)
{
    m_session->DeleteByIdentity(identity);
}

void SlotMailControl::DeleteListed(const QList<int> &numbers)
{
    m_session->DeleteListed(numbers);
}

void SlotMailControl::StopDeleting()
{
    m_session->StopDeleting();
}

bool SlotMailControl::deletionsUnderWay() const
{
    return m_session->deletionsUnderWay();
}

bool SlotMailControl::isDeleted(int number) const
{
    return m_session->isDeleted(number);
}

int SlotMailControl::UnreadCount() const
{
    return m_session->UnreadCount();
}

bool SlotMailControl::isUnread(int number) const
{
    return m_session->isUnread(number);
}

void SlotMailControl::MarkListedRead(const QList<int> &numbers)
{
    m_session->MarkListedRead(numbers);
}

void SlotMailControl::Quit()
{
    ++m_generation; // a log-on still reading its password or asking is given up
    m_loggingOn = false;
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

QByteArray SlotMailControl::RefusedCertificate() const
{
    return m_session ? m_session->refusedCertificate() : QByteArray();
}

bool SlotMailControl::sessionOpen() const
{
    return m_session && m_session->isLoggedOn();
}

bool SlotMailControl::isQuitting() const
{
    // A session of the other protocol may still be quitting too (see letQuitEnd).
    return m_session->isQuitting()
        || !findChildren<MailSession *>(Qt::FindDirectChildrenOnly).isEmpty();
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
