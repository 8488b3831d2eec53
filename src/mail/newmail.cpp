// What a check tells the user of new mail: the headers of the first new messages and the tray
// tip while they wait.

#include "mail/newmail.h"

#include "mail/mailcontrol.h"

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
