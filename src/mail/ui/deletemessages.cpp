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

void frmCheckMail::cmdMarkRead_Click()
{
    const QList<int> numbers = MessageList::tickedNumbers(m_ui->listMessages, m_run->control());
    if (numbers.isEmpty())
        MessageList::askForTicks(m_check, tr("Mark as Read"));
    else
        m_run->markRead(numbers);
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

// Cancel (and Escape) stay live: pressed meanwhile, they stop the deletions not sent yet, and
// the window says how many were made.
QCoro::Task<bool> frmCheckMail::deleteTickedMessages()
{
    // Next Mail Account is held as well: moving on would clear the rows being worked on.
    const bool nextEnabled = m_ui->cmdNextMailAccount->isEnabled();
    const auto buttons = {m_ui->cmdSelectMessage, m_ui->cmdDeleteMessage, m_ui->cmdNextMailAccount};
    for (QPushButton *b : buttons)
        b->setEnabled(false);
    m_ui->cmdCancel->setEnabled(true);
    setCursor(Qt::BusyCursor);
    m_deleting = true;
    const std::optional<MessageList::Deleted> deleted = co_await MessageList::deleteTicked(
        m_check.context().clock(), m_ui->listMessages, m_run->control(), this);
    if (!deleted || m_unloaded)
        co_return false;
    m_deleting = false;
    showDeletionProgress(deleted->deleted, deleted->ticked, true);
    for (QPushButton *b : {m_ui->cmdSelectMessage, m_ui->cmdDeleteMessage, m_ui->cmdCancel})
        b->setEnabled(true);
    m_ui->cmdNextMailAccount->setEnabled(nextEnabled);
    co_return true;
}

void frmCheckMail::showDeletionProgress(int answered, int sent, bool over)
{
    if (!m_deleting && !over)
        return;
    m_ui->Label4->setText(over ? tr("Messages deleted: %1 of %2").arg(answered).arg(sent)
                               : tr("Deleting messages: %1 of %2").arg(answered).arg(sent));
    m_ui->Label4->show();
}

// Cancel while messages are being deleted stops the deletion, not the check.
bool frmCheckMail::stopDeleting()
{
    if (!m_deleting)
        return false;
    m_run->control().StopDeleting();
    m_ui->cmdCancel->setEnabled(false);
    return true;
}
