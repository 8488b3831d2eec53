#include "monitor/frmbrisvanemonitor.h"
#include "monitor/popupcommands.h"
#include "monitor/singleinstance.h"
#include "shell/appcontext.h"
#include "shell/desktopsession.h"
#include "shell/quitsignals.h"
#include "shell/ui/accessiblewindows.h"
#include "shell/ui/startup.h"
#include "shell/ui/translations.h"
#include "shell/ui/wholetitles.h"
#include "trayctl/trayservice.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

#include <cstdio>

namespace {

void print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

// Answers --help and --version and refuses anything else the program does not take, before
// anything of the desktop, the settings or the running copy is touched: the exit status, or
// -1 to go on.
int answerCommandLine(int argc, char *argv[])
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Dial-up line and POP3/IMAP mail companion for the system tray."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help and exit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
        QStringLiteral("Show the version and exit."));
    parser.addOption(help);
    parser.addOption(version);
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool parsed = parser.parse(arguments);
    if (!parsed || !parser.positionalArguments().isEmpty()) {
        const QString error = parsed
            ? QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first())
            : parser.errorText();
        print(stderr, QStringLiteral("bvane: %1\nUsage: bvane [--help] [--version]\n").arg(error));
        return 2;
    }
    // Parsed before there is an application object, Qt does not know the program's name.
    if (parser.isSet(help))
        print(stdout,
            parser.helpText().replace(
                QStringLiteral("<executable_name>"), QStringLiteral("bvane")));
    else if (parser.isSet(version))
        print(stdout, QStringLiteral("bvane " BVANE_VERSION "\n"));
    else
        return -1;
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (const int status = answerCommandLine(argc, argv); status >= 0)
        return status;
    // Qt aborts when its platform plugin finds no display; say what is missing instead.
    if (const QString problem = desktopSessionProblem(); !problem.isEmpty()) {
        print(stderr, problem + u'\n');
        return 1;
    }
    QApplication app(argc, argv);
    // Log-out (SIGTERM), a terminal that goes away (SIGHUP) and Ctrl+C (SIGINT) end the program
    // as Exit does. Taken over first, so that none of them ends it half set up; it lives to the
    // end, so that one coming while the program winds down waits in the pipe.
    QuitSignals quitSignals;
    QApplication::setApplicationName(QStringLiteral("Brisvane"));
    QApplication::setApplicationVersion(QStringLiteral(BVANE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    installTranslations(app, QStringLiteral("bvane"));
    installAccessibleWindows();
    WholeTitles wholeTitles;
    app.installEventFilter(&wholeTitles);
    // Wayland compositors and task bars find the program's icon and name through its desktop
    // entry (bvane.desktop), named by the window's app id.
    QGuiApplication::setDesktopFileName(QStringLiteral("bvane"));

    const std::unique_ptr<AppContext> context = Startup::makeApplicationContext();
    QApplication::setWindowIcon(Startup::programIcon(context->paths()));
    SingleInstance instance(SingleInstance::defaultSocketPath());
    QtTrayService tray;
    frmBrisvaneMonitor monitor(*context, tray);
    // A later copy asks this one to show its dialog and ends with status 0. A signal to end
    // that comes while start-up still shows a notice ends the program as soon as start-up
    // returns.
    bool quitRequested = false;
    QObject::connect(&quitSignals, &QuitSignals::received, &monitor, [&] {
        quitRequested = true;
        monitor.commands().exitProgram();
    });
    if (!monitor.Form_Load(instance) || quitRequested)
        return 0;
    return QApplication::exec();
}
