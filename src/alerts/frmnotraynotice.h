#pragma once

#include "alerts/noticedialog.h"

// Tells the user that the desktop shows no tray icons, and what gives it a tray.
class frmNoTrayNotice : public NoticeDialog
{
    Q_OBJECT

public:
    frmNoTrayNotice(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    static QString text();
    // Shows the notice modally unless the user switched it off; otherwise does nothing.
    static void showUnlessSwitchedOff(
        AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

private:
    QPushButton *cmdOK;
};
