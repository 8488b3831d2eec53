// Ticking listed messages and deleting them on the server during the pause.

#include "clock/clock.h"
#include "mail/ui/frmcheckmail.h"
#include "mail/ui/frmdeletemessageconfirmation.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailcontrol.h"
#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"

#include <QPointer>

namespace {
constexpr double kSecondsBetweenDeletions = 3;
const QString kDeletingMessages = QStringLiteral("Deleting Messages");
} // namespace

// Rows that stand for messages on the server: row i is message i + 1.
int frmCheckMail::rowsInUse() const
{
    return qMin(int(mMail1->MessageCount()), listMessages->count());
}

bool frmCheckMail::anyRowTicked() const
{
    for (int i = 0; i < rowsInUse(); ++i) {
        if (listMessages->item(i)->checkState() == Qt::Checked)
            return true;
    }
    return false;
}

void frmCheckMail::setRowsTicked(bool ticked)
{
    for (int i = 0; i < rowsInUse(); ++i)
        listMessages->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

void frmCheckMail::cmdSelectMessage_Click()
{
    const auto buttons = {cmdSelectMessage, cmdDeleteMessage, cmdCancel};
    for (QPushButton *b : buttons)
        b->setEnabled(false);
    setRowsTicked(true);
    for (QPushButton *b : buttons)
        b->setEnabled(true);
}

void frmCheckMail::cmdDeleteMessage_Click()
{
    Timer1.setEnabled(false);
    if (!anyRowTicked()) {
        Form::information(m_check.context().dialogs(), kDeletingMessages,
            QStringLiteral("Please select a message(s) by clicking in the appropriate checkbox"));
        Timer1.setEnabled(true);
        return;
    }
    bool confirmed = true;
    if (m_check.context().settings().get(Keys::DeleteMessageConfirmation)
        == SettingValues::TrueText) {
        confirmed
            = frmDeleteMessageConfirmation::ask(m_check.context(), m_check.dialog().menu(), this);
        if (!confirmed)
            setRowsTicked(false);
    }
    QPointer<frmCheckMail> self(this);
    if (confirmed)
        deleteTickedMessages();
    if (!self || m_unloaded)
        return;
    Timer1.setEnabled(true);
    unsetCursor();
}

void frmCheckMail::deleteTickedMessages()
{
    // Next Mail Account is held as well: moving on would clear the rows being worked on.
    const bool nextEnabled = cmdNextMailAccount->isEnabled();
    const auto buttons = {cmdSelectMessage, cmdDeleteMessage, cmdCancel, cmdNextMailAccount};
    for (QPushButton *b : buttons)
        b->setEnabled(false);
    setCursor(Qt::BusyCursor);
    QPointer<frmCheckMail> self(this);
    for (int i = 0; i < rowsInUse(); ++i) {
        if (listMessages->item(i)->checkState() != Qt::Checked)
            continue;
        m_check.context().clock().waitSeconds(kSecondsBetweenDeletions);
        if (!self || m_unloaded)
            return;
        QListWidgetItem *row = listMessages->item(i);
        if (!row)
            break;
        mMail1->setMessageNumber(qint16(i + 1));
        mMail1->DeleteMessage();
        row->setText(QStringLiteral("Message Deleted"));
        row->setCheckState(Qt::Unchecked);
    }
    for (QPushButton *b : {cmdSelectMessage, cmdDeleteMessage, cmdCancel})
        b->setEnabled(true);
    cmdNextMailAccount->setEnabled(nextEnabled);
}
