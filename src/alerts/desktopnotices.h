#pragma once

#include <QList>
#include <QString>

class AppContext;

// The desktop notifications of the program's events, sent through the context's notifier
// when "Show desktop notifications" is on (the default). Each event has its own tag, so a
// repeat replaces the earlier notification; mail events are tagged per account.
namespace DesktopNotices {

// Action keys of the new-mail notification.
inline const QString OpenMailProgram = QStringLiteral("open-mail-program");
inline const QString ShowMessages = QStringLiteral("show-messages");
inline const QString MarkRead = QStringLiteral("mark-read");

// How many messages a new-mail notification names.
inline constexpr int kMessagesNamed = 3;

struct Header {
    QString from;
    QString subject;
};

bool enabled(const AppContext &context);

// The account a mail notification's tag names ("new-mail/Home" gives "Home"), or empty.
QString accountOfTag(const QString &tag);

// What a check found on an account that the user has not been told of.
struct MailNews {
    int fresh = 0; // messages not announced before
    int waiting = 0; // all messages on the server
    QList<Header> headers; // of the fresh ones, in order; the first three are named
    QString note; // a line added at the end, when not empty
    bool markable = false; // the server keeps read state: "Mark as read" is offered
};

// A check found `count` messages waiting on `account`, all of them news; `headers` are those
// listed (none in count-only mode), of which the first three are named.
void newMail(
    AppContext &context, const QString &account, int count, const QList<Header> &headers = {});
// `news.fresh` messages of the `news.waiting` on `account` are news to the user.
void newMail(AppContext &context, const QString &account, const MailNews &news);
// The tag of the new-mail notification of `account`.
QString newMailTag(const QString &account);
// The new mail told of on `account` was read: its notification goes.
void withdrawNewMail(AppContext &context, const QString &account);
// A mail account failed. `password` is the account's: it never reaches the notification,
// whatever the server put in `cause`.
void accountFailed(
    AppContext &context, const QString &account, const QString &cause, const QString &password);
// The mail server of `account` asked that its words be shown to the user (an IMAP [ALERT]).
void serverAlert(AppContext &context, const QString &account, const QString &text);
// The account that failed answered again: its notification goes.
void withdrawAccountFailed(AppContext &context, const QString &account);
// The line dropped without the user hanging up.
void lineLost(AppContext &context, const QString &entry);
// A busy or failed dial is redialled: attempt `attempt` of `attempts`.
void busyRedial(AppContext &context, const QString &entry, int attempt, int attempts);
// The line is back after it was lost.
void reconnected(AppContext &context, const QString &entry);

} // namespace DesktopNotices
