#include "mail/mailidle.h"

#include "clock/clock.h"
#include "clock/timer.h"
#include "mail/imapidle.h"
#include "mail/pophost.h"
#include "mail/slotsecurity.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

MailIdle::MailIdle(AppContext &context, std::function<bool()> lineConnected, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_lineConnected(std::move(lineConnected))
    , m_follow(new Timer(context.clock(), kFollowMs, true, this))
{
    makeWatch = [this] { return std::make_unique<ImapIdle>(m_context.clock()); };
    connect(m_follow, &Timer::tick, this, [this] {
        const bool line = m_lineConnected();
        sync(!m_suspended && line && m_context.model().isOn(Keys::CheckMessages));
        // With no line there is nothing to watch: the line's signals wake the timer.
        if (!line)
            m_follow->sleepUntilWoken();
    });
    connect(&m_context.passwords(), &Passwords::fetched, this, &MailIdle::wake);
}

MailIdle::~MailIdle() = default;

void MailIdle::wake()
{
    m_follow->wake();
}

void MailIdle::suspend()
{
    m_suspended = true;
    sync(false);
}

void MailIdle::restart()
{
    m_suspended = false;
    sync(false); // dropped, and their failures forgotten: the next look starts them all
    m_follow->wake();
}

bool MailIdle::retryDue(int index) const
{
    const qint64 wait = qMin<qint64>(kRetryMs, qint64(kFirstRetryMs) << (m_failures[index] - 1));
    return m_context.clock().tickCount() - m_failedAt[index] >= wait;
}

QString MailIdle::wanted(int slot, bool active) const
{
    if (!active) // asks nothing of the Mail tab, which is not built while the line is down
        return {};
    const SettingsModel &settings = m_context.model();
    if (settings.isOn(Keys::DisableMailChecking) || slot > settings.count(Keys::MailSlotCount))
        return {};
    const QString host = settings.text(Keys::Domain(slot)).trimmed();
    if (!isImapAddress(host))
        return {};
    // The password may have to come from the keyring first: the watch starts once it has.
    Passwords &passwords = m_context.passwords();
    const SettingKey password = Keys::MailPassword(slot);
    if (!passwords.isKnown(password)) {
        passwords.fetch(password);
        return {};
    }
    const QString flags = QString::number(int(SlotSecurity::clearTextAllowed(settings, slot)))
        + QString::number(int(SlotSecurity::tlsBefore(settings, slot)))
        + QString::fromLatin1(SlotSecurity::trustedCertificate(settings, slot));
    return host + u'\n' + settings.text(Keys::MailUserName(slot)) + u'\n' + flags + u'\n'
        + passwords.known(password);
}

void MailIdle::sync(bool active)
{
    for (int slot = 1; slot <= kSlots; ++slot) {
        const int i = slot - 1;
        const QString account = wanted(slot, active);
        if (m_watches[i] && m_watches[i]->isIdling())
            m_failures[i] = 0;
        if (account == m_accounts[i] && (m_watches[i] || (m_failedAt[i] > 0 && !retryDue(i))))
            continue;
        if (m_watches[i])
            m_watches[i]->stop();
        m_watches[i].reset();
        if (account != m_accounts[i])
            m_failures[i] = 0;
        m_accounts[i] = account;
        m_failedAt[i] = 0;
        if (account.isEmpty())
            continue;
        const QStringList parts = account.split(u'\n');
        m_watches[i] = makeWatch();
        ImapIdle *watch = m_watches[i].get();
        ImapIdle::Account watched{parts.at(0), parts.at(1), parts.mid(3).join(u'\n')};
        watched.allowClearText = parts.at(2).at(0) == u'1';
        watched.tlsBefore = parts.at(2).at(1) == u'1';
        watch->setAccount(watched);
        watch->setTrustedCertificate(parts.at(2).mid(2).toLatin1());
        connect(watch, &ImapIdle::newMail, this, [this, slot] { Q_EMIT newMail(slot); });
        connect(watch, &ImapIdle::stopped, this, [this, i, watch] {
            m_failedAt[i] = qMax<qint64>(1, m_context.clock().tickCount());
            m_failures[i] = qMin(m_failures[i] + 1, 16);
            // Not inside the watch's own report.
            QMetaObject::invokeMethod(
                this,
                [this, i, watch] {
                    if (m_watches[i].get() == watch)
                        m_watches[i].reset();
                },
                Qt::QueuedConnection);
        });
        watch->start();
    }
}
