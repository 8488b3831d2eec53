#include "mail/ui/frmdeletemessageconfirmation.h"

#include <QPushButton>

frmDeleteMessageConfirmation::frmDeleteMessageConfirmation(
    AppContext &context, MenuTools &menu, QWidget *parent)
    : NoticeDialog(context, menu, NoticeSwitch::deleteConfirmation(),
        {QStringLiteral("frmDeleteMessageConfirmation"), tr("Deleting Messages"),
            tr("Once you delete the following message(s), they will be permanently "
               "erased. Are you sure you would like to delete the selected "
               "message(s)?"),
            QStyle::SP_MessageBoxQuestion},
        parent)
    , cmdYes(addButton(tr("&Yes"), QStringLiteral("cmdYes")))
    , cmdNo(addButton(tr("&No"), QStringLiteral("cmdNo")))
{
    setFixedWidth(420);
    connect(cmdYes, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdNo, &QPushButton::clicked, this, &QDialog::reject);
}

QCoro::Task<bool> frmDeleteMessageConfirmation::ask(
    AppContext &context, MenuTools &menu, QWidget *parent)
{
    const std::optional<int> result
        = co_await answer(new frmDeleteMessageConfirmation(context, menu, parent));
    co_return result == QDialog::Accepted;
}
