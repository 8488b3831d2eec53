#include "monitor/frmbrisvanemonitor.h"
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

    const std::unique_ptr<AppContext> context = Startup::makeApplicationContext();
    QApplication::setWindowIcon(Startup::programIcon(context->paths()));
    SingleInstance instance(SingleInstance::defaultSocketPath());
    QtTrayService tray;
    frmBrisvaneMonitor monitor(*context, tray);
    // A later copy's quit message ends this one.
    QObject::connect(&instance, &SingleInstance::quitRequested, &app, &QApplication::quit);
    if (!monitor.Form_Load(instance))
        return 0;
    return QApplication::exec();
}
