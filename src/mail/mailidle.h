#pragma once

#include "mail/mailtools.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>

class AppContext;
class ImapIdle;

// While the line is up, one IDLE connection for each mail slot in use that is an IMAP account
// on a server offering IDLE; a new message there asks for the scheduled check at once
// (newMail), which the schedule starts by its own rules. The watches follow the line, the
// scheduled-checking switch and the slots every kFollowMs (and at each sync()); a watch that
// failed (no IDLE, refused, lost, a server restarting) is tried again after kFirstRetryMs,
// then after twice as long at each failure in a row up to kRetryMs, or at once when its
// slot's account has changed or the line has come up again.
class MailIdle : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlots = MailTools::kSlots;
    static constexpr int kFollowMs = 2000;
    static constexpr int kFirstRetryMs = 5000;
    static constexpr int kRetryMs = 5 * 60 * 1000;
    using WatchFactory = std::function<std::unique_ptr<ImapIdle>()>;

    MailIdle(AppContext &context, std::function<bool()> lineConnected, QObject *parent = nullptr);
    ~MailIdle() override;

    // Starts the watches the slots ask for and drops the others; all of them when `active`
    // is false (line down, scheduled checking off) or mail checking is disabled.
    void sync(bool active);
    // Looks at the line and the slots at once (the line came up or went down).
    void wake();
    // The machine is about to sleep: every watch logs out now, and none starts again until
    // restart().
    void suspend();
    // After a wake or a change of network: the sessions there were are of no use; every
    // watch starts anew at once, a failed one too.
    void restart();
    // The running watch of `slot` (1 to 5), if any.
    ImapIdle *watch(int slot) const { return m_watches[slot - 1].get(); }

    // Makes each watch (an ImapIdle on the program's clock unless a test replaces it).
    WatchFactory makeWatch;

Q_SIGNALS:
    void newMail(int slot);

private:
    // The slot's account text "host\nuser\nflags\npassword" (flags: clear text allowed, TLS
    // before, each "0" or "1") when it should be watched, else empty.
    QString wanted(int slot, bool active) const;
    bool retryDue(int index) const;

    AppContext &m_context;
    std::function<bool()> m_lineConnected;
    Timer *m_follow;
    std::array<std::unique_ptr<ImapIdle>, kSlots> m_watches;
    std::array<QString, kSlots> m_accounts; // what each watch (or failed watch) was made for
    std::array<qint64, kSlots> m_failedAt{}; // tick count of the failure; 0 while none
    std::array<int, kSlots> m_failures{}; // in a row, since the watch last idled
    bool m_suspended = false;
};
