#include "alerts/desktopnotices.h"

#include "alerts/notifier.h"
#include "settings/conversions.h"
#include "settings/passwords.h"
#include "shell/appcontext.h"

#include <QCoreApplication>
#include <QUrl>

namespace DesktopNotices {

namespace {

using Urgency = Notifier::Urgency;

void send(AppContext &context, Notifier::Notification notification)
{
    if (enabled(context))
        context.notifier().notify(notification);
}

// As a file URI, the form the notification servers all read.
QString icon(const AppContext &context, const QString &fileName)
{
    return QUrl::fromLocalFile(context.paths().resource(fileName)).toString();
}

// A notification of the line: the not-connected icon, or the connected one when it is back.
void sendLine(AppContext &context, const QString &tag, const QString &summary, const QString &body,
    const QString &category, Urgency urgency = Urgency::Normal)
{
    const QString file
        = urgency == Urgency::Low ? QStringLiteral("net10a.ico") : QStringLiteral("net10b.ico");
    send(context, {tag, summary, body, icon(context, file), category, urgency, {}});
}

QString lineName(const QString &entry)
{
    return entry.isEmpty() ? QCoreApplication::translate("DesktopNotices", "the dial-up line")
                           : entry;
}

// "The line to Office", or "The dial-up line" when the dial used the user's own settings.
QString theLine(const QString &entry)
{
    return entry.isEmpty()
        ? QCoreApplication::translate("DesktopNotices", "The dial-up line")
        : QCoreApplication::translate("DesktopNotices", "The line to %1").arg(entry);
}

QString accountLabel(const QString &account)
{
    return account.isEmpty() ? QCoreApplication::translate("DesktopNotices", "Your mail account")
                             : account;
}

QString messagesWaiting(int count)
{
    return count == 1
        ? QCoreApplication::translate("DesktopNotices", "1 message waiting")
        : QCoreApplication::translate("DesktopNotices", "%1 messages waiting").arg(count);
}

QString named(const Header &header)
{
    const QString from = header.from.trimmed();
    const QString subject = header.subject.trimmed();
    if (from.isEmpty() || subject.isEmpty())
        return from + subject;
    return from + QStringLiteral(": ") + subject;
}

// A failed account's notification, replaced by the next failure and withdrawn on recovery.
QString failedTag(const QString &account)
{
    return QStringLiteral("account-failed/") + account;
}

} // namespace

QString accountOfTag(const QString &tag)
{
    const QString prefix = newMailTag({});
    return tag.startsWith(prefix) ? tag.mid(prefix.size()) : QString();
}

QString newMailTag(const QString &account)
{
    return QStringLiteral("new-mail/") + account;
}

bool enabled(const AppContext &context)
{
    return readCheckState(context.settings(), Keys::DesktopNotifications, 1) == 1;
}

void newMail(AppContext &context, const QString &account, int count, const QList<Header> &headers)
{
    newMail(context, account, MailNews{count, count, headers, {}});
}

void newMail(AppContext &context, const QString &account, const MailNews &news)
{
    // "2 messages waiting" when all are news, else "1 new message, 5 waiting".
    QString body = accountLabel(account) + QStringLiteral(": ");
    if (news.fresh >= news.waiting)
        body += messagesWaiting(news.waiting);
    else
        body += (news.fresh == 1 ? QCoreApplication::translate("DesktopNotices", "1 new message")
                                 : QCoreApplication::translate("DesktopNotices", "%1 new messages")
                                       .arg(news.fresh))
            + QCoreApplication::translate("DesktopNotices", ", %1 waiting").arg(news.waiting);
    const int shown = std::min<int>(kMessagesNamed, int(news.headers.size()));
    for (int i = 0; i < shown; ++i)
        body += u'\n' + named(news.headers.at(i));
    if (shown > 0 && news.fresh > shown)
        body += u'\n'
            + QCoreApplication::translate("DesktopNotices", "and %1 more").arg(news.fresh - shown);
    if (!news.note.isEmpty())
        body += u'\n' + news.note;
    QList<Notifier::Action> actions{
        {OpenMailProgram, QCoreApplication::translate("DesktopNotices", "Open mail program")},
        {ShowMessages, QCoreApplication::translate("DesktopNotices", "Show messages")}};
    if (news.markable)
        actions.append({MarkRead, QCoreApplication::translate("DesktopNotices", "Mark as read")});
    send(context,
        {newMailTag(account), QCoreApplication::translate("DesktopNotices", "You have new mail"),
            body, icon(context, QStringLiteral("mail.ico")), QStringLiteral("email.arrived"),
            Urgency::Normal, actions});
}

void withdrawNewMail(AppContext &context, const QString &account)
{
    context.notifier().withdraw(newMailTag(account));
}

void accountFailed(
    AppContext &context, const QString &account, const QString &cause, const QString &password)
{
    const QString body
        = Passwords::masked(accountLabel(account) + QStringLiteral(": ") + cause, password);
    send(context,
        {failedTag(account), QCoreApplication::translate("DesktopNotices", "Mail account failed"),
            body, QStringLiteral("dialog-error"), QStringLiteral("email"), Urgency::Normal, {}});
}

void withdrawAccountFailed(AppContext &context, const QString &account)
{
    context.notifier().withdraw(failedTag(account));
}

void serverAlert(AppContext &context, const QString &account, const QString &text)
{
    send(context,
        {QStringLiteral("server-alert/") + account,
            QCoreApplication::translate("DesktopNotices", "Message from the mail server"),
            accountLabel(account) + QStringLiteral(": ") + text,
            icon(context, QStringLiteral("mail.ico")), QStringLiteral("email"), Urgency::Normal,
            {}});
}

void lineLost(AppContext &context, const QString &entry)
{
    sendLine(context, QStringLiteral("line"),
        QCoreApplication::translate("DesktopNotices", "Connection lost"),
        QCoreApplication::translate("DesktopNotices", "%1 was lost.").arg(theLine(entry)),
        QStringLiteral("network.disconnected"));
}

void busyRedial(AppContext &context, const QString &entry, int attempt, int attempts)
{
    sendLine(context, QStringLiteral("busy-redial"),
        QCoreApplication::translate("DesktopNotices", "Line busy"),
        QCoreApplication::translate("DesktopNotices", "Redialling %1: attempt %2 of %3")
            .arg(lineName(entry))
            .arg(attempt)
            .arg(attempts),
        QStringLiteral("network"));
}

void reconnected(AppContext &context, const QString &entry)
{
    // The same tag as the lost line: the good news takes the bad news' place.
    sendLine(context, QStringLiteral("line"),
        QCoreApplication::translate("DesktopNotices", "Connected again"),
        QCoreApplication::translate("DesktopNotices", "%1 is back up.").arg(theLine(entry)),
        QStringLiteral("network.connected"), Urgency::Low);
}

} // namespace DesktopNotices
