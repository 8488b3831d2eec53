#include "mail/ui/mailcheck.h"

#include "alerts/desktopnotices.h"
#include "alerts/notifier.h"
#include "clock/detach.h"
#include "connection/linecontroller.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/frmmailservererror.h"
#include "mail/ui/mailtab.h"
#include "mail/ui/slotmailcontrol.h"
#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

MailCheck::MailCheck(Links links, QObject *parent)
    : MailShared(links, parent)
{
    connect(&m_links.context.notifier(), &Notifier::actionInvoked, this,
        &MailCheck::notificationAction);
    makeControl = [this] { return std::make_unique<SlotMailControl>(m_links.context); };
    connect(&m_links.line, &LineController::linesChanged, this, [this] {
        for (frmCheckMail *window : {checkWindow(), slotWindow()}) {
            if (window)
                window->run().lineChanged();
        }
    });
}

MailCheck::~MailCheck()
{
    delete m_window;
    delete m_slotWindow;
    delete m_error;
}

QCoro::Task<bool> MailCheck::loadCheckWindow(int onlySlot)
{
    unloadCheckWindow();
    // A window of its own, owned by the Customize dialog so that it never outlives it.
    auto run = std::make_unique<MailRun>(*this, makeControl(), MailRun::Kind::Accounts);
    run->checkOnly(onlySlot);
    m_window = new frmCheckMail(*this, std::move(run), &m_links.windowParent);
    frmCheckMail *window = m_window;
    QPointer<MailCheck> self(this);
    co_await window->Form_Load();
    co_return self && !(m_window && m_window.data() != window);
}

frmCheckMail *MailCheck::checkWindow() const
{
    return m_window && !m_window->isUnloaded() ? m_window.data() : nullptr;
}

int MailCheck::lastMessageCount() const
{
    const frmCheckMail *window = checkWindow();
    return window ? window->run().control().UnreadCount() : 0;
}

bool MailCheck::checkWaitsAfterError() const
{
    const frmCheckMail *window = checkWindow();
    return window && window->run().waitsAfterError(currentSlotIndex);
}

void MailCheck::unloadCheckWindow()
{
    if (m_window)
        m_window->unload();
    m_window = nullptr;
}

QCoro::Task<int> MailCheck::checkAfterConnecting()
{
    clearForStart();
    const bool loaded = co_await loadCheckWindow();
    if (!loaded)
        co_return 1;
    // A window counting down past a failed account goes on by itself, and gives the timers
    // back at its end.
    if (checkWaitsAfterError())
        co_return qMax(1, lastMessageCount());
    const int count = lastMessageCount();
    // A window with nothing to show would otherwise stay open with the timers stopped.
    if (count < 1)
        unloadCheckWindow();
    co_return count;
}

QCoro::Task<> MailCheck::mnuAllAccounts_Click()
{
    clearForStart();
    // The end of an earlier run clears the manual flag; it goes first.
    unloadCheckWindow();
    manualCheck = 1;
    const bool current = co_await loadCheckWindow();
    if (!current || lastMessageCount() > 0 || checkWaitsAfterError())
        co_return;
    // Nothing to show (a failed last account has closed its window already).
    setTrayIcon(QStringLiteral("net10a.ico"));
    manualCheck = 0;
    unloadCheckWindow();
    restartCustomizeTimers();
}

void MailCheck::showServerError(const Failure &failure)
{
    // A window of its own: it outlives a check window its starter closes.
    // One that is closing (Next Account, Close) goes away by itself; a new error gets a new one.
    if (!m_error || !m_error->isVisible())
        m_error = new frmMailServerError(*this);
    m_error->Form_Load(failure);
}

frmMailServerError *MailCheck::serverErrorDialog() const
{
    return m_error;
}

// The account answers again: what said it failed goes, the dialog and the notification.
void MailCheck::accountReached(int slot)
{
    if (m_error && m_error->isVisible() && m_error->failure().slotIndex + 1 == slot)
        m_error->withdraw();
    DesktopNotices::withdrawAccountFailed(
        m_links.context, settings().text(Keys::AccountName(slot)));
}

QCoro::Task<> MailCheck::runScheduledRound(int onlySlot)
{
    clearForStart();
    const bool current = co_await loadCheckWindow(onlySlot);
    if (!current || lastMessageCount() >= 1 || checkWaitsAfterError())
        co_return; // the window restarts the timers when it closes
    setTrayIcon(QStringLiteral("net10a.ico"));
    unloadCheckWindow();
    restartCustomizeTimers();
}

// "Show messages" brings up the check window that told of the mail; once it has gone, the
// account the notification named is checked and its messages listed, as from its menu tool.
void MailCheck::notificationAction(const QString &tag, const QString &actionKey)
{
    frmCheckMail *window = checkWindow();
    if (!window)
        window = slotWindow();
    if (actionKey == DesktopNotices::ShowMessages && window) {
        window->showNormal();
        window->raise();
        window->activateWindow();
    } else if (actionKey == DesktopNotices::MarkRead && window
        && tag == DesktopNotices::newMailTag(window->run().news().account)) {
        // The messages told of, in the session the window still holds for their account.
        window->run().markRead(window->run().news().fresh);
    } else if (actionKey == DesktopNotices::ShowMessages) {
        const int slot = slotOfAccount(DesktopNotices::accountOfTag(tag));
        if (slot > 0)
            detach(mnuMailSlot_Click(slot));
    } else if (actionKey == DesktopNotices::OpenMailProgram) {
        if (frmCheckMail *check = checkWindow())
            check->cmdMailProgram_Click();
        else if (frmCheckMail *single = slotWindow())
            single->cmdMailProgram_Click();
        else
            runMailProgram([] {});
    }
}

int MailCheck::slotOfAccount(const QString &account) const
{
    for (int slot = 1; slot <= MailTab::kSlots; ++slot) {
        if (settings().text(Keys::AccountName(slot)) == account
            && !settings().text(Keys::Domain(slot)).isEmpty())
            return slot;
    }
    return 0;
}
