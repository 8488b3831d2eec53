#include "mail/ui/frmclosemailprogrammessage.h"

#include "settings/settingsmodel.h"
#include "shell/appcontext.h"

#include <QPushButton>

frmCloseMailProgramMessage::frmCloseMailProgramMessage(
    AppContext &context, MenuTools &menu, QWidget *parent)
    : NoticeDialog(context, menu, NoticeSwitch::closeMailProgram(),
        {QStringLiteral("frmCloseMailProgramMessage"), tr("Close Mail Program"),
            tr("Please close your mail program after checking your messages to "
               "enable Brisvane to continue checking for messages every %n minute(s). "
               "Your mail program will start now.",
                nullptr, context.model().count(Keys::CheckMailMinutes)),
            QStyle::SP_MessageBoxInformation},
        parent)
    , cmdOK(addButton(tr("&OK"), QStringLiteral("cmdOK")))
{
    setFixedWidth(420);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

QCoro::Task<> frmCloseMailProgramMessage::show(
    AppContext &context, MenuTools &menu, QWidget *parent)
{
    co_await answer(new frmCloseMailProgramMessage(context, menu, parent));
}
