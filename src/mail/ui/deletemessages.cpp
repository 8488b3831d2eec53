// Ticking listed messages and deleting them on the server.

#include "mail/ui/frmcheckmail.h"
#include "mail/ui/mailshared.h"
#include "mail/ui/messagelist.h"
#include "shell/appcontext.h"
#include "ui_frmcheckmail.h"

#include <QPointer>

void frmCheckMail::cmdSelectMessage_Click()
{
    MessageList::selectAll(m_ui->listMessages, m_run->control(),
        {m_ui->cmdSelectMessage, m_ui->cmdDeleteMessage, m_ui->cmdCancel});
}

QCoro::Task<> frmCheckMail::cmdDeleteMessage_Click()
{
    // The countdown waits while the user is asked and the messages go.
    m_run->holdCountdown(true);
    QPointer<frmCheckMail> self(this);
    const bool confirmed = co_await MessageList::confirmDeletion(
        m_check, m_ui->listMessages, m_run->control(), this);
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
    const bool nextEnabled = m_ui->cmdNextMailAccount->isEnabled();
    const auto buttons = {
        m_ui->cmdSelectMessage, m_ui->cmdDeleteMessage, m_ui->cmdCancel, m_ui->cmdNextMailAccount};
    for (QPushButton *b : buttons)
        b->setEnabled(false);
    setCursor(Qt::BusyCursor);
    const bool alive = co_await MessageList::deleteTicked(
        m_check.context().clock(), m_ui->listMessages, m_run->control(), this);
    if (!alive || m_unloaded)
        co_return false;
    for (QPushButton *b : {m_ui->cmdSelectMessage, m_ui->cmdDeleteMessage, m_ui->cmdCancel})
        b->setEnabled(true);
    m_ui->cmdNextMailAccount->setEnabled(nextEnabled);
    co_return true;
}
