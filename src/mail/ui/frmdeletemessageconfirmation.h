#pragma once

#include "alerts/noticedialog.h"

// "Deleting Messages": asks before ticked messages are deleted; its box switches the question
// off for later deletions.
class frmDeleteMessageConfirmation : public NoticeDialog
{
    Q_OBJECT

public:
    frmDeleteMessageConfirmation(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // Shows the dialog modally; true when the user pressed Yes, false for No or when `parent`
    // went away meanwhile.
    static QCoro::Task<bool> ask(AppContext &context, MenuTools &menu, QWidget *parent);

    QPushButton *cmdYes = nullptr;
    QPushButton *cmdNo = nullptr;
};
