// Puts an icon into a tray service of its own and blinks it on a virtual clock: the installed
// headers, the library and the clock library it brings along all work from outside the
// source tree, and a program can bring its own tray.
#include <QApplication>
#include <QPixmap>

#include <clock/virtualclock.h>
#include <cstdio>
#include <trayctl/lumenpin.h>

namespace {
// The icon each operation leaves in the tray.
class OwnTray : public pinlib6::TrayService
{
public:
    bool notify(Operation operation, const pinlib6::NotifyRecord &record) override
    {
        if (operation == Operation::Delete)
            shown = QIcon();
        else if (record.flags & pinlib6::NotifyRecord::kIconFlag)
            shown = record.icon;
        if (record.flags & pinlib6::NotifyRecord::kTipFlag)
            tip = record.tip;
        return true;
    }
    QIcon shown;
    QString tip;
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    pinlib6::VirtualClock clock;
    OwnTray tray;
    pinlib6::Lumenpin control(tray, &clock);
    QPixmap red(16, 16);
    red.fill(Qt::red);
    control.setTrayIcon(QIcon(red));
    control.setTrayTip(QStringLiteral("Привет, мир — 日本語 €"));
    control.setTrayVisible(true);
    control.StartBlink();
    clock.advance(750);
    const bool ok = control.IsBlinking()
        && tray.shown.cacheKey() == control.imgBlankIcon().cacheKey()
        && tray.tip == QStringLiteral("Привет, мир — 日本語 €");
    std::printf("%s\n", ok ? "pinlib6 package works" : "pinlib6 package broken");
    return ok ? 0 : 1;
}
