#include "clock/realclock.h"
#include "runtime/frmruntimenotice.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvexpack"));
    RealClock clock;
    frmRuntimeNotice notice(clock);
    notice.run();
    return 0;
}
