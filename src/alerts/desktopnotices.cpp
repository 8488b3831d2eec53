#include "alerts/desktopnotices.h"

#include "alerts/notifier.h"
#include "settings/conversions.h"
#include "settings/passwords.h"
#include "shell/appcontext.h"

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
    return entry.isEmpty() ? QStringLiteral("the dial-up line") : entry;
}

// "The line to Office", or "The dial-up line" when the dial used the user's own settings.
QString theLine(const QString &entry)
{
    return entry.isEmpty() ? QStringLiteral("The dial-up line")
                           : QStringLiteral("The line to ") + entry;
}

QString accountLabel(const QString &account)
{
    return account.isEmpty() ? QStringLiteral("Your mail account") : account;
}

QString messagesWaiting(int count)
{
    return count == 1 ? QStringLiteral("1 message waiting")
                      : QString::number(count) + QStringLiteral(" messages waiting");
}

QString named(const Header &header)
{
    const QString from = header.from.trimmed();
    const QString subject = header.subject.trimmed();
    if (from.isEmpty() || subject.isEmpty())
        return from + subject;
    return from + QStringLiteral(": ") + subject;
}

} // namespace

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
        body += (news.fresh == 1 ? QStringLiteral("1 new message")
                                 : QString::number(news.fresh) + QStringLiteral(" new messages"))
            + QStringLiteral(", %1 waiting").arg(news.waiting);
    const int shown = std::min<int>(kMessagesNamed, int(news.headers.size()));
    for (int i = 0; i < shown; ++i)
        body += u'\n' + named(news.headers.at(i));
    if (shown > 0 && news.fresh > shown)
        body += QStringLiteral("\nand %1 more").arg(news.fresh - shown);
    if (!news.note.isEmpty())
        body += u'\n' + news.note;
    send(context,
        {QStringLiteral("new-mail/") + account, QStringLiteral("You have new mail"), body,
            icon(context, QStringLiteral("mail.ico")), QStringLiteral("email.arrived"),
            Urgency::Normal,
            {{OpenMailProgram, QStringLiteral("Open mail program")},
                {ShowMessages, QStringLiteral("Show messages")}}});
}

void accountFailed(
    AppContext &context, const QString &account, const QString &cause, const QString &password)
{
    const QString body
        = Passwords::masked(accountLabel(account) + QStringLiteral(": ") + cause, password);
    send(context,
        {QStringLiteral("account-failed/") + account, QStringLiteral("Mail account failed"), body,
            QStringLiteral("dialog-error"), QStringLiteral("email"), Urgency::Normal, {}});
}

void serverAlert(AppContext &context, const QString &account, const QString &text)
{
    send(context,
        {QStringLiteral("server-alert/") + account, QStringLiteral("Message from the mail server"),
            accountLabel(account) + QStringLiteral(": ") + text,
            icon(context, QStringLiteral("mail.ico")), QStringLiteral("email"), Urgency::Normal,
            {}});
}

void lineLost(AppContext &context, const QString &entry)
{
    sendLine(context, QStringLiteral("line"), QStringLiteral("Connection lost"),
        theLine(entry) + QStringLiteral(" was lost."), QStringLiteral("network.disconnected"));
}

void busyRedial(AppContext &context, const QString &entry, int attempt, int attempts)
{
    sendLine(context, QStringLiteral("busy-redial"), QStringLiteral("Line busy"),
        QStringLiteral("Redialling %1: attempt %2 of %3")
            .arg(lineName(entry))
            .arg(attempt)
            .arg(attempts),
        QStringLiteral("network"));
}

void reconnected(AppContext &context, const QString &entry)
{
    // The same tag as the lost line: the good news takes the bad news' place.
    sendLine(context, QStringLiteral("line"), QStringLiteral("Connected again"),
        theLine(entry) + QStringLiteral(" is back up."), QStringLiteral("network.connected"),
        Urgency::Low);
}

} // namespace DesktopNotices
