#include "shell/appcontext.h"
#include "shell/ui/startup.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brisvane"));
    QApplication::setQuitOnLastWindowClosed(false);

    const std::unique_ptr<AppContext> context = Startup::makeApplicationContext();
    return 0;
}
