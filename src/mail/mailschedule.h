#pragma once

#include "clock/timer.h"

#include <QCoro/QCoroTask>
#include <QObject>

#include <functional>

class SettingsModel;
struct SettingKey;

// What the schedule asks of the mail checks it starts.
class MailRounds
{
public:
    virtual ~MailRounds() = default;
    // A check window (multi-account or single-slot) is open: a scheduled round stays out.
    virtual bool checkOpen() const = 0;
    virtual bool slotCheckOpen() const = 0;
    // The user reads mail: no check starts until the mail program has ended.
    virtual bool mailProgramRunning() const = 0;
    // The multi-account check, as the schedule starts it, of every slot in use or of
    // `onlySlot` (1 to 5) alone; ends when the round is over or has left its window open with
    // mail to show.
    virtual QCoro::Task<> runScheduledRound(int onlySlot = 0) = 0;
};

// The mail schedule: every set number of minutes while the line is up and "Check messages
// every" is on, the multi-account check; and the check at once when an IDLE watch reports new
// mail. It owns its timer, which ticks every 500 ms while it has something to look at and
// sleeps otherwise (no line, checking off, the mail program running, a round under way); the
// line's and the settings' changes wake it. At most one wait or round runs at a time.
//
// Disabling it (the mail switch, a check window that runs, the mail program) stops the timer;
// the round under way, if any, goes on to its end.
class MailSchedule : public QObject
{
    Q_OBJECT

public:
    MailSchedule(Clock &clock, SettingsModel &settings, std::function<bool()> lineConnected,
        QObject *parent = nullptr);

    void setRounds(MailRounds *rounds) { m_rounds = rounds; }
    bool isEnabled() const { return m_timer.enabled(); }
    void setEnabled(bool enabled);
    // Looks again at once (the line or a setting changed).
    void wake();
    // Drops the wait under way: the next round comes a whole interval after the schedule is
    // next enabled (the mail program ended), not when the old wait would have ended.
    void restartInterval();
    // New mail on IMAP slot `slot` watched with IDLE: that slot's check at once, by the
    // schedule's rules (not while a check or the mail program runs, not with scheduled
    // checking off or mail checking disabled, only with the line up).
    QCoro::Task<> newMailByIdle(int slot);
    // The timer itself, for tests that watch it sleep.
    const Timer &timer() const { return m_timer; }

private:
    void tick();
    void followSetting(const SettingKey &key);
    QCoro::Task<> scheduledRound(qint64 waitMs);
    void shortenWait();
    QCoro::Task<> scheduledCheck();
    bool scheduledChecking() const;

    Clock &m_clock;
    SettingsModel &m_settings;
    std::function<bool()> m_lineConnected;
    MailRounds *m_rounds = nullptr;
    Timer m_timer;
    bool m_busy = false; // a scheduled wait or round is running
    qint64 m_waitStart = -1; // tick count at which the wait under way began; -1: none
    qint64 m_waitDue = 0; // and when it ends
    int m_round = 0; // counts rounds started; a wait whose round was dropped ends silently
    bool m_idleCheckBusy = false; // a check started by IDLE is running
};
