// The baseline of the power benchmark: a Qt program that only shows a tray icon, nothing else.
#include <QApplication>
#include <QIcon>
#include <QSystemTrayIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    QSystemTrayIcon icon(QIcon(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString()));
    icon.setToolTip(QStringLiteral("bare tray"));
    icon.show();
    return QApplication::exec();
}
