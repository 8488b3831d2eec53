#pragma once

#include "alerts/noticedialog.h"

// "Close Mail Program": tells the user, before the mail program starts, that the schedule
// waits until it is closed; its box switches the notice off for later launches.
class frmCloseMailProgramMessage : public NoticeDialog
{
    Q_OBJECT

public:
    frmCloseMailProgramMessage(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // Shows the notice modally and ends when it is closed (or went away with `parent`).
    static QCoro::Task<> show(AppContext &context, MenuTools &menu, QWidget *parent);

    QPushButton *cmdOK = nullptr;
};
