#include "alerts/frmnotraynotice.h"

#include "settings/settingsstore.h"
#include "shell/appcontext.h"
#include "trayctl/trayservice.h"

#include <QPushButton>

frmNoTrayNotice::frmNoTrayNotice(AppContext &context, MenuTools &menu, QWidget *parent)
    : NoticeDialog(context, menu, NoticeSwitch::noTray(),
        {QStringLiteral("frmNoTrayNotice"), tr("Brisvane"), text(),
            QStyle::SP_MessageBoxInformation},
        parent)
    , cmdOK(addButton(tr("&OK"), QStringLiteral("cmdOK")))
{
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

QString frmNoTrayNotice::text()
{
    return tr(
        "This desktop shows no tray icons, so Brisvane cannot put its icon in the system tray. "
        "The Customize dialog stays on the taskbar instead: where Brisvane would put it into "
        "the tray it is minimised, and the tray icon's menu opens from the Menu button on the "
        "dialog.\n\n"
        "To give this desktop a tray: on GNOME, install and switch on an "
        "AppIndicator/KStatusNotifierItem extension (for instance \"AppIndicator and "
        "KStatusNotifierItem Support\"); on other desktops, add a system tray or status "
        "notifier applet to a panel.");
}

QCoro::Task<> frmNoTrayNotice::showUntilTray(
    AppContext &context, MenuTools &menu, TrayService &tray, QWidget *parent)
{
    if (context.settings().get(Keys::NoTrayNotice) == SettingValues::FalseText)
        co_return;
    auto *notice = new frmNoTrayNotice(context, menu, parent);
    connect(&tray, &TrayService::trayAvailableChanged, notice, [notice](bool available) {
        if (available)
            notice->accept();
    });
    co_await NoticeDialog::answer(notice);
}
