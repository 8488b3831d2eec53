#pragma once

#include "mail/mailrun.h"
#include "mail/mailschedule.h"
#include "mail/newmail.h"

#include <QCoro/QCoroTask>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class AnnouncedMail;
class AppContext;
class LineController;
class MailControl;
class MenuTools;
class SettingsModel;
class TrayStatus;

// What a mail check shares with the rest of the program: the values the runs and their
// starters read and write, the services they use, and what a check tells the desktop. The
// check window, the deletion question and the IDLE watches know the checks by this alone;
// `MailCheck` adds the windows and their starters.
class MailShared : public QObject, public MailRounds, public MailRunHost
{
    Q_OBJECT

public:
    struct Links {
        AppContext &context;
        QWidget &windowParent; // the Customize dialog: check windows never outlive it
        MenuTools &menu;
        TrayStatus &tray;
        LineController &line;
        MailSchedule &schedule;
    };

    explicit MailShared(Links links, QObject *parent = nullptr);
    ~MailShared() override;

    // Every starter clears the shared values (and the alerts told) before it loads a check
    // window.
    void clearForStart() override;

    // The check whose mail control failed, as it was at that moment. The error dialog keeps
    // it, so a check that runs while the dialog is open cannot change which account the
    // dialog names or which window its Close closes.
    struct Failure {
        QPointer<QWidget> window;
        bool multiAccount = false; // else the single-slot window
        int slotIndex = 0; // 0 to 4
        QString accountName; // filled in by serverError()
        QString cause; // what the mail control said, the password masked
        QByteArray certificate; // PEM of the certificate the TLS handshake refused, if any
    };
    // A check window's mail control failed with `cause`: the error dialog comes up, the window
    // is marked as closed by an error, and the desktop is told.
    void serverError(Failure failure, const QString &cause);

    // After the log-on of `slot` through `control`: which of its messages are news (all of them
    // when the server cannot tell them apart).
    NewMail::AccountNews newsOf(int slot, const MailControl &control) override;
    // The count and the tray follow at once, and the account's notification goes.
    void mailRead(const NewMail::AccountNews &news, int unread) override;
    // Tells the desktop of the fresh messages of `news` among the `waiting`, naming `headers`
    // (theirs, in order); from then on they count as announced, also after a restart.
    void announce(const NewMail::AccountNews &news, int waiting,
        const QList<DesktopNotices::Header> &headers) override;
    // The server of `account` asked that `text` be shown to the user: the desktop is told, once
    // for each account and text in a check.
    void serverAlert(const QString &account, const QString &text) override;

    // The connected-time clock, the mail schedule and the line watch rest while a check runs.
    void stopCustomizeTimers() override;
    void restartCustomizeTimers() override;

    // Starts the mail program and keeps the schedule stopped until every program started so
    // has ended.
    QCoro::Task<> launchMailProgram();
    // Run Mail Program of a check window: without a program set, says where to set one;
    // otherwise closes the window through `cancel` and starts the program.
    void runMailProgram(const std::function<void()> &cancel);
    bool mailProgramRunning() const override { return m_mailProgramsRunning > 0; }

    AppContext &context() const override { return m_links.context; }
    SettingsModel &settings() const override;
    MenuTools &menu() const { return m_links.menu; }
    bool lineConnected() const override;
    void setTrayIcon(const QString &fileName) override;
    void setTrayTip(const QString &tip) override;
    MailSchedule &schedule() const { return m_links.schedule; }

protected:
    // Opens the mail server error dialog for `failure` (or shows the open one again).
    virtual void showServerError(const Failure &failure) = 0;
    // `slot` logged on: a failure of it told earlier is over.
    virtual void accountReached(int slot) { Q_UNUSED(slot) }

    Links m_links;

private:
    AnnouncedMail &announced();
    int unreadTotal() const;

    int m_mailProgramsRunning = 0; // launches that have not ended yet
    QSet<QString> m_alertsTold; // account and text of the alerts told in this check
    std::unique_ptr<AnnouncedMail> m_announced; // opened at the first check
    QSet<QString> m_identityProblemsTold; // accounts told why all their mail counts as new
    // Per account: messages told since the mail program last started, of those waiting.
    QHash<QString, int> m_unread;
};
