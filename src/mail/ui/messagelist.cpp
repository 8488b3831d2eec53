#include "mail/ui/messagelist.h"

#include "clock/clock.h"
#include "mail/ui/frmdeletemessageconfirmation.h"
#include "mail/ui/mailcheck.h"
#include "mail/ui/mailcontrol.h"
#include "shell/appcontext.h"
#include "shell/settings/settingsstore.h"
#include "shell/ui/formhelpers.h"
#include "shell/ui/frmbrisvane.h"

#include <QListWidget>

namespace {
constexpr double kSecondsBetweenDeletions = 3;
const QString kDeletingMessages = QStringLiteral("Deleting Messages");
} // namespace

namespace MessageList {

QString rowText(const QString &from, const QString &subject, const QString &date)
{
    return from + QStringLiteral("\t\t") + subject + QStringLiteral("\t\t\t") + date;
}

void appendRow(QListWidget *list, const MailControl &control)
{
    auto *row
        = new QListWidgetItem(rowText(control.From(), control.Subject(), control.Date()), list);
    row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
    row->setCheckState(Qt::Unchecked);
}

int rowsInUse(const QListWidget *list, const MailControl &control)
{
    return qMin(int(control.MessageCount()), list->count());
}

bool anyRowTicked(const QListWidget *list, const MailControl &control)
{
    for (int i = 0; i < rowsInUse(list, control); ++i) {
        if (list->item(i)->checkState() == Qt::Checked)
            return true;
    }
    return false;
}

void setRowsTicked(QListWidget *list, const MailControl &control, bool ticked)
{
    for (int i = 0; i < rowsInUse(list, control); ++i)
        list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

bool confirmDeletion(
    MailCheck &check, QListWidget *list, const MailControl &control, QWidget *parent)
{
    if (!anyRowTicked(list, control)) {
        Form::information(check.context().dialogs(), kDeletingMessages,
            QStringLiteral("Please select a message(s) by clicking in the appropriate checkbox"));
        return false;
    }
    if (check.context().settings().get(Keys::DeleteMessageConfirmation) != SettingValues::TrueText)
        return true;
    if (frmDeleteMessageConfirmation::ask(check.context(), check.dialog().menu(), parent))
        return true;
    setRowsTicked(list, control, false);
    return false;
}

QCoro::Task<bool> deleteTicked(
    Clock &clock, QListWidget *list, MailControl &control, QWidget *window)
{
    for (int i = 0; i < rowsInUse(list, control); ++i) {
        if (list->item(i)->checkState() != Qt::Checked)
            continue;
        const bool waited = co_await clock.sleep(kSecondsBetweenDeletions, window);
        if (!waited)
            co_return false;
        QListWidgetItem *row = list->item(i);
        if (!row)
            break;
        if (row->checkState() != Qt::Checked)
            continue; // unticked during the pause
        control.setMessageNumber(qint16(i + 1));
        control.DeleteMessage();
        row->setText(QStringLiteral("Message Deleted"));
        row->setCheckState(Qt::Unchecked);
    }
    co_return true;
}

void selectAll(
    QListWidget *list, const MailControl &control, std::initializer_list<QWidget *> buttons)
{
    for (QWidget *b : buttons)
        b->setEnabled(false);
    setRowsTicked(list, control, true);
    for (QWidget *b : buttons)
        b->setEnabled(true);
}

} // namespace MessageList
