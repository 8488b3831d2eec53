#include "mail/ui/mailshared.h"

#include "alerts/desktopnotices.h"
#include "connection/linecontroller.h"
#include "mail/announcedmail.h"
#include "mail/mailtools.h"
#include "settings/passwords.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/traystatus.h"

MailShared::MailShared(Links links, QObject *parent)
    : QObject(parent)
    , m_links(links)
{ }

MailShared::~MailShared() = default;

void MailShared::clearForStart()
{
    accountDone = 0;
    m_alertsTold.clear();
}

SettingsModel &MailShared::settings() const
{
    return m_links.context.model();
}

bool MailShared::lineConnected() const
{
    return m_links.line.lineConnected();
}

namespace {
const QString kIdleIcon = QStringLiteral("net10a.ico");
const QString kMailIcon = QStringLiteral("mail.ico");
} // namespace

// The envelope stays while the tip counts new mail: the line's icon comes back once the mail
// program has started.
void MailShared::setTrayIcon(const QString &fileName)
{
    m_links.tray.showIcon(fileName == kIdleIcon && unreadTotal() > 0 ? kMailIcon : fileName);
}

int MailShared::unreadTotal() const
{
    int total = 0;
    for (int count : std::as_const(m_unread))
        total += count;
    return total;
}

void MailShared::setTrayTip(const QString &tip)
{
    m_links.tray.setTip(tip);
}

void MailShared::stopCustomizeTimers()
{
    m_links.line.pauseWatch();
    m_links.schedule.setEnabled(false);
}

void MailShared::restartCustomizeTimers()
{
    m_links.line.resumeWatch();
    // Switched-off mail checking keeps its schedule stopped.
    if (!settings().isOn(Keys::DisableMailChecking))
        m_links.schedule.setEnabled(true);
}

void MailShared::serverError(Failure failure, const QString &cause)
{
    const int slot = qBound(0, failure.slotIndex, MailTools::kSlots - 1) + 1;
    failure.accountName = settings().text(Keys::AccountName(slot));
    const QString password = m_links.context.passwords().known(Keys::MailPassword(slot));
    failure.cause = Passwords::masked(cause, password);
    showServerError(failure);
    m_links.context.settings().save(Keys::CheckMailUnload, SettingValues::Unchecked);
    DesktopNotices::accountFailed(m_links.context, failure.accountName, cause, password);
}

void MailShared::serverAlert(const QString &account, const QString &text)
{
    const QString key = account + u'\n' + text;
    if (m_alertsTold.contains(key))
        return;
    m_alertsTold.insert(key);
    DesktopNotices::serverAlert(m_links.context, account, text);
}

AnnouncedMail &MailShared::announced()
{
    if (!m_announced)
        m_announced = std::make_unique<AnnouncedMail>(context().paths().stateDir());
    return *m_announced;
}

NewMail::AccountNews MailShared::newsOf(int slot, const MailControl &control)
{
    accountReached(slot);
    NewMail::AccountNews news;
    news.account = settings().text(Keys::AccountName(slot));
    news.key
        = settings().text(Keys::MailUserName(slot)) + u'@' + settings().text(Keys::Domain(slot));
    news.key.remove(u'\n');
    news.identities = control.Identities();
    news.markable = control.hasReadState();
    const int count = control.MessageCount();
    // Only unread mail is news: a message read elsewhere is never announced.
    if (news.identities.size() == count && count > 0) {
        news.fresh = announced().fresh(news.key, news.identities);
        news.fresh.removeIf([&control](int number) { return !control.isUnread(number); });
        return news;
    }
    // A server that cannot tell its messages apart: each check announces them all, as
    // always, and the user hears why once per run.
    for (int number = 1; number <= count; ++number) {
        if (control.isUnread(number))
            news.fresh.append(number);
    }
    const QString problem = control.IdentityProblem();
    if (!problem.isEmpty() && !m_identityProblemsTold.contains(news.key)) {
        m_identityProblemsTold.insert(news.key);
        news.note = problem;
    }
    return news;
}

void MailShared::mailRead(const NewMail::AccountNews &news, int unread)
{
    int &told = m_unread[news.key];
    told = qMin(told, unread);
    m_links.line.setNewMail(unreadTotal());
    if (unreadTotal() == 0)
        m_links.tray.showIcon(kIdleIcon);
    DesktopNotices::withdrawNewMail(context(), news.account);
}

void MailShared::announce(
    const NewMail::AccountNews &news, int waiting, const QList<DesktopNotices::Header> &headers)
{
    if (!news.fresh.isEmpty())
        DesktopNotices::newMail(context(), news.account,
            DesktopNotices::MailNews{
                int(news.fresh.size()), waiting, headers, news.note, news.markable});
    // Only what the server still holds is kept: the set never outgrows the mailbox.
    const bool known = !news.identities.isEmpty() || waiting == 0;
    if (known && !announced().remember(news.key, news.identities))
        qWarning("Could not keep the announced messages in %s",
            qPrintable(announced().fileOf(news.key)));
    int &unread = m_unread[news.key];
    unread = qMin(unread + int(news.fresh.size()), waiting);
    m_links.line.setNewMail(unreadTotal());
    if (!news.fresh.isEmpty())
        m_links.tray.showIcon(kMailIcon);
}
