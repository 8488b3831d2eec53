#include "alerts/frmcustomizebrisvanereminder.h"

#include "settings/settingsstore.h"
#include "shell/appcontext.h"

#include <QPushButton>

frmCustomizeBrisvaneReminder::frmCustomizeBrisvaneReminder(
    AppContext &context, MenuTools &menu, QWidget *parent)
    : NoticeDialog(context, menu, NoticeSwitch::reminder(),
        {QStringLiteral("frmCustomizeBrisvaneReminder"),
            QStringLiteral("Closing Brisvane Customize Dialog"),
            QStringLiteral("To close the Customize Brisvane dialog please click in the bottom "
                           "left section of the dialog box or click or double-click the system "
                           "tray icon."),
            std::nullopt},
        parent)
    , cmdOK(addButton(QStringLiteral("&OK"), QStringLiteral("cmdOK")))
{
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

QCoro::Task<> frmCustomizeBrisvaneReminder::CustomizeBrisvaneReminder(
    AppContext &context, MenuTools &menu, QWidget *parent)
{
    // Only the exact text "True" asks for the reminder.
    if (context.settings().get(Keys::CustomizeBrisvaneReminder) != SettingValues::TrueText)
        co_return;
    co_await NoticeDialog::answer(new frmCustomizeBrisvaneReminder(context, menu, parent));
}
