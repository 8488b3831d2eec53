#pragma once

#include "alerts/desktopnotices.h"

#include <QCoro/QCoroTask>
#include <QList>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <optional>

class MailControl;

// What a check tells the user: only the messages not announced before on the account.
namespace NewMail {

// One account's check, after its log-on.
struct AccountNews {
    QString account; // the account's name, as the notification shows it
    QString key; // the user and the server: where the announced set is kept
    QStringList identities; // of all messages, empty when the server gives none
    QList<int> fresh; // numbers of the messages not announced before, in order
    QString note; // said once per account and run: why all messages count as new
    bool markable = false; // the server keeps read state (IMAP)

    bool isFresh(int number) const
    {
        return std::binary_search(fresh.begin(), fresh.end(), number);
    }
};

// Count-only mode: the senders and subjects of the first fresh messages (up to three), asked
// for together. `request` readies the window for an answer and `answered` waits for it
// (false when the window went away: then nothing, and the control is left untouched).
QCoro::Task<std::optional<QList<DesktopNotices::Header>>> readHeaders(MailControl &control,
    QList<int> fresh, std::function<void()> request, std::function<QCoro::Task<bool>()> answered);

// The tray tip while new mail waits: "You have new mail (2 new)".
QString trayTip(int fresh);

} // namespace NewMail
