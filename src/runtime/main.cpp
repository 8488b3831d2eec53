#include "clock/realclock.h"
#include "runtime/frmruntimenotice.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvexpack"));
    RealClock clock;
    frmRuntimeNotice notice(clock);
    QObject::connect(&notice, &frmRuntimeNotice::finished, &app, &QApplication::quit);
    notice.run();
    return QApplication::exec();
}
