// Announcing new mail once: which messages of an account are news, the notification that
// names them, and the set of messages announced, kept across restarts.

#include "mail/ui/newmail.h"

#include "connection/linecontroller.h"
#include "mail/announcedmail.h"
#include "mail/ui/mailcontrol.h"
#include "mail/ui/mailshared.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

#include <QCoreApplication>

namespace NewMail {

QCoro::Task<std::optional<QList<DesktopNotices::Header>>> readHeaders(MailControl &control,
    QList<int> fresh, std::function<void()> request, std::function<QCoro::Task<bool>()> answered)
{
    const QList<int> named
        = fresh.first(qMin<qsizetype>(fresh.size(), DesktopNotices::kMessagesNamed));
    control.PrefetchHeaders(named);
    QList<DesktopNotices::Header> headers;
    for (int number : named) {
        control.setMessageNumber(qint16(number));
        request();
        control.RetrieveHeader();
        const bool alive = co_await answered();
        if (!alive)
            co_return std::nullopt;
        headers.append({control.From(), control.Subject()});
        control.EndMessage();
    }
    co_return headers;
}

QString trayTip(int fresh)
{
    return QCoreApplication::translate("NewMail", "You have new mail (%1 new)").arg(fresh);
}

} // namespace NewMail

AnnouncedMail &MailShared::announced()
{
    if (!m_announced)
        m_announced = std::make_unique<AnnouncedMail>(context().paths().stateDir());
    return *m_announced;
}

NewMail::AccountNews MailShared::newsOf(int slot, const MailControl &control)
{
    NewMail::AccountNews news;
    news.account = settings().text(Keys::AccountName(slot));
    news.key
        = settings().text(Keys::MailUserName(slot)) + u'@' + settings().text(Keys::Domain(slot));
    news.key.remove(u'\n');
    news.identities = control.Identities();
    const int count = control.MessageCount();
    if (news.identities.size() == count && count > 0) {
        news.fresh = announced().fresh(news.key, news.identities);
        return news;
    }
    // A server that cannot tell its messages apart: each check announces them all, as
    // always, and the user hears why once per run.
    for (int number = 1; number <= count; ++number)
        news.fresh.append(number);
    const QString problem = control.IdentityProblem();
    if (!problem.isEmpty() && !m_identityProblemsTold.contains(news.key)) {
        m_identityProblemsTold.insert(news.key);
        news.note = problem;
    }
    return news;
}

void MailShared::announce(
    const NewMail::AccountNews &news, int waiting, const QList<DesktopNotices::Header> &headers)
{
    if (!news.fresh.isEmpty())
        DesktopNotices::newMail(context(), news.account,
            DesktopNotices::MailNews{int(news.fresh.size()), waiting, headers, news.note});
    // Only what the server still holds is kept: the set never outgrows the mailbox.
    const bool known = !news.identities.isEmpty() || waiting == 0;
    if (known && !announced().remember(news.key, news.identities))
        qWarning("Could not keep the announced messages in %s",
            qPrintable(announced().fileOf(news.key)));
    int &unread = m_unread[news.key];
    unread = qMin(unread + int(news.fresh.size()), waiting);
    int total = 0;
    for (int count : std::as_const(m_unread))
        total += count;
    line().setNewMail(total);
}
