// Ticking listed messages and deleting them on the server.

#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "shell/appcontext.h"

#include <QPointer>

void frmCheckMail::cmdSelectMessage_Click()
{
    MessageList::selectAll(
        listMessages, m_run->control(), {cmdSelectMessage, cmdDeleteMessage, cmdCancel});
}

QCoro::Task<> frmCheckMail::cmdDeleteMessage_Click()
{
    // The countdown waits while the user is asked and the messages go.
    m_run->holdCountdown(true);
    QPointer<frmCheckMail> self(this);
    const bool confirmed
        = co_await MessageList::confirmDeletion(m_check, listMessages, m_run->control(), this);
    if (!self || m_unloaded)
        co_return;
    if (confirmed) {
        const bool deleted = co_await deleteTickedMessages();
        if (!deleted)
            co_return;
    }
    m_run->holdCountdown(false);
    unsetCursor();
}

QCoro::Task<bool> frmCheckMail::deleteTickedMessages()
{
    // Next Mail Account is held as well: moving on would clear the rows being worked on.
    const bool nextEnabled = cmdNextMailAccount->isEnabled();
    const auto buttons = {cmdSelectMessage, cmdDeleteMessage, cmdCancel, cmdNextMailAccount};
    for (QPushButton *b : buttons)
        b->setEnabled(false);
    setCursor(Qt::BusyCursor);
    const bool alive = co_await MessageList::deleteTicked(
        m_check.context().clock(), listMessages, m_run->control(), this);
    if (!alive || m_unloaded)
        co_return false;
    for (QPushButton *b : {cmdSelectMessage, cmdDeleteMessage, cmdCancel})
        b->setEnabled(true);
    cmdNextMailAccount->setEnabled(nextEnabled);
    co_return true;
}
