#pragma once

#include "alerts/noticedialog.h"

// The reminder of how to put the Customize dialog back into the tray.
class frmCustomizeBrisvaneReminder : public NoticeDialog
{
    Q_OBJECT

public:
    frmCustomizeBrisvaneReminder(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // Shows the reminder modally when the user still wants it and suspends until it is
    // answered (no event loop runs inside the caller); otherwise ends at once.
    static QCoro::Task<> CustomizeBrisvaneReminder(
        AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

private:
    QPushButton *cmdOK;
};
