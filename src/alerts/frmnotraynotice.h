#pragma once

#include "alerts/noticedialog.h"

// Tells the user that the desktop shows no tray icons, and what gives it a tray.
class frmNoTrayNotice : public NoticeDialog
{
    Q_OBJECT

public:
    frmNoTrayNotice(AppContext &context, MenuTools &menu, QWidget *parent = nullptr);

    // What the notice says, with the way to a tray on `desktop` (as $XDG_CURRENT_DESKTOP
    // names it).
    static QString text(const QString &desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    static QString howToGetATray(const QString &desktop);
    // Shows the notice (awaited, application-modal) unless the user switched it off; a tray
    // that appears meanwhile takes it away, as if OK had been pressed.
    static QCoro::Task<> showUntilTray(
        AppContext &context, MenuTools &menu, TrayService &tray, QWidget *parent = nullptr);

private:
    QPushButton *cmdOK;
};
