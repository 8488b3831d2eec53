#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "monitor/singleinstance.h"
#include "shell/appcontext.h"
#include "shell/ui/startup.h"
#include "trayctl/trayservice.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisvane"));
    QApplication::setApplicationVersion(QStringLiteral(BVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    // Wayland compositors and task bars find the program's icon and name through its desktop
    // entry (bvane.desktop), named by the window's app id.
    QGuiApplication::setDesktopFileName(QStringLiteral("bvane"));

    const std::unique_ptr<AppContext> context = Startup::makeApplicationContext();
    QApplication::setWindowIcon(Startup::programIcon(context->paths()));
    SingleInstance instance(SingleInstance::defaultSocketPath());
    QtTrayService tray;
    frmBrisvaneMonitor monitor(*context, tray);
    // The monitor ends the program on a later copy's quit message, as Exit does; one that
    // comes while start-up still shows a notice ends it as soon as start-up returns.
    bool quitRequested = false;
    QObject::connect(
        &instance, &SingleInstance::quitRequested, &app, [&] { quitRequested = true; });
    if (!monitor.Form_Load(instance) || quitRequested)
        return 0;
    return QApplication::exec();
}
