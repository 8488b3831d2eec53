#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "monitor/singleinstance.h"
#include "shell/appcontext.h"
#include "shell/ui/startup.h"
#include "trayctl/trayservice.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisvane"));
    QApplication::setApplicationVersion(QStringLiteral(BVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    const std::unique_ptr<AppContext> context = Startup::makeApplicationContext();
    SingleInstance instance(SingleInstance::defaultSocketPath());
    QtTrayService tray;
    frmBrisvaneMonitor monitor(*context, tray);
    // A later copy's quit message ends this one at once, as Exit does. (QApplication::quit
    // would first ask every window to close, and the Customize dialog refuses: it would only
    // be put away and the program go on.) A message that comes while start-up still shows a
    // notice ends the program as soon as start-up returns.
    bool quitRequested = false;
    QObject::connect(&instance, &SingleInstance::quitRequested, &app, [&] {
        quitRequested = true;
        monitor.commands().exitProgram();
    });
    if (!monitor.Form_Load(instance) || quitRequested)
        return 0;
    return QApplication::exec();
}
