#include "monitor/frmbrisvanemonitor.h"
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
    if (!monitor.Form_Load(instance))
        return 0;
    return QApplication::exec();
}
