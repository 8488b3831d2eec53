#include "clock/realclock.h"
#include "runtime/frmruntimenotice.h"
#include "shell/ui/accessiblewindows.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvexpack"));
    installAccessibleWindows();
    // The notice in the user's language, as bvane speaks it.
    QTranslator own;
    if (own.load(
            QLocale(), QStringLiteral("runtime"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        QApplication::installTranslator(&own);
    RealClock clock;
    frmRuntimeNotice notice(clock);
    QObject::connect(&notice, &frmRuntimeNotice::finished, &app, &QApplication::quit);
    notice.run();
    return QApplication::exec();
}
