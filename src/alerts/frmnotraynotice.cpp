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

QString frmNoTrayNotice::text(const QString &desktop)
{
    return tr("This desktop shows no tray icons, so Brisvane cannot put its icon in the system "
              "tray. The Customize dialog stays on the taskbar instead: where Brisvane would put "
              "it into the tray it is minimised, and the tray icon's menu opens from the Menu "
              "button on the dialog.")
        + QStringLiteral("\n\n") + howToGetATray(desktop);
}

// One sentence for the desktop the session names ($XDG_CURRENT_DESKTOP, a colon-separated
// list such as "ubuntu:GNOME"), in that desktop's own words.
QString frmNoTrayNotice::howToGetATray(const QString &desktop)
{
    const QStringList names = desktop.toLower().split(u':', Qt::SkipEmptyParts);
    if (names.contains(QLatin1String("gnome")))
        return tr("To get a tray on GNOME, install and switch on the extension \"AppIndicator "
                  "and KStatusNotifierItem Support\" (Debian's "
                  "gnome-shell-extension-appindicator), then log out and in again.");
    if (names.contains(QLatin1String("kde")))
        return tr("To get a tray on Plasma, add the \"System Tray\" widget to a panel.");
    if (names.contains(QLatin1String("xfce")))
        return tr("To get a tray on Xfce, add the \"Status Tray Plugin\" item to a panel.");
    if (names.contains(QLatin1String("lxqt")))
        return tr("To get a tray on LXQt, add the \"Status Notifier\" widget to a panel.");
    return tr("To get a tray, add a system tray or status notifier to a panel or bar (waybar's "
              "\"tray\" module, say).");
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
