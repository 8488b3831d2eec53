#include "clock/realclock.h"
#include "runtime/frmruntimenotice.h"
#include "shell/ui/accessiblewindows.h"
#include "shell/ui/translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvexpack"));
    installAccessibleWindows();
    // The notice in the user's language, as bvane speaks it.
    installTranslations(app, QStringLiteral("runtime"));
    RealClock clock;
    frmRuntimeNotice notice(clock);
    QObject::connect(&notice, &frmRuntimeNotice::finished, &app, &QApplication::quit);
    notice.run();
    return QApplication::exec();
}
