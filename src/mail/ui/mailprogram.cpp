// The user's mail program: started from the check window, and the schedule held until it has
// ended.

#include "connection/linecontroller.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/frmclosemailprogrammessage.h"
#include "mail/ui/mailshared.h"
#include "programs/programlauncher.h"
#include "settings/settingsmodel.h"
#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "shell/dialogservice.h"
#include "shell/traystatus.h"

#include <QPointer>

void frmCheckMail::cmdMailProgram_Click()
{
    m_check.runMailProgram([this] {
        // The multi-account window closes and gives the timers back; the launch holds the
        // schedule again.
        if (!isSingleSlot())
            m_check.schedule().setEnabled(false);
        cmdCancel_Click();
    });
}

void MailShared::runMailProgram(const std::function<void()> &cancel)
{
    if (settings().text(Keys::MailProgram).isEmpty()) {
        m_links.context.dialogs().message(DialogService::Icon::Information, tr("Checking Mail"),
            tr("Please define a mail program by browsing for it in the Customize "
               "Brisvane dialog box by clicking on the Mail tab"));
        return;
    }
    cancel(); // the window closes; only this check is used from here on
    launchMailProgram();
}

// The program runs on its own while the tray and the windows stay live; the schedule stays
// stopped until the program has ended, so no check runs while the user reads mail. Each
// launch is counted by itself: the schedule comes back when the last one has ended.
QCoro::Task<> MailShared::launchMailProgram()
{
    AppContext &context = m_links.context;
    QPointer<MailShared> self(this);
    // Held from the click on: a round that came due while the notice is up would log on to
    // the server the mail program is about to use.
    m_links.schedule.setEnabled(false);
    if (settings().isOn(Keys::CloseMailProgramMessage)) {
        co_await frmCloseMailProgramMessage::show(context, m_links.menu, &m_links.windowParent);
        if (!self)
            co_return;
    }
    // The user reads the mail now: none of it counts as new any more.
    m_unread.clear();
    m_links.line.setNewMail(0);
    if (lineConnected())
        m_links.tray.showIcon(QStringLiteral("net10a.ico"));
    ++m_mailProgramsRunning;
    context.programs().startAndWatch(settings().text(Keys::MailProgram), [self] {
        if (!self || --self->m_mailProgramsRunning > 0)
            return;
        // The interval counts from the program's end: the user has just read the mail.
        self->m_links.schedule.restartInterval();
        self->m_links.schedule.setEnabled(true);
    });
}
