// bvane-dovecot-fixture USER PASSWORD [FROM SUBJECT]...: the tests' private Dovecot server for
// the end-to-end runs. Delivers one message per FROM and SUBJECT pair to USER, starts the
// server without TLS on a free loopback port, prints that port on standard output and serves
// until standard input is closed; then the server stops with all its processes. The server's
// log is copied to standard error as it grows. BVANE_DOVECOT_TLS=1 offers STLS (and the pop3s
// port); BVANE_DOVECOT_LISTEN names an address to listen on besides 127.0.0.1.

#include "dovecotserver.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || args.size() % 2 != 0) {
        std::fprintf(stderr, "usage: bvane-dovecot-fixture USER PASSWORD [FROM SUBJECT]...\n");
        return 2;
    }
    DovecotServer::Options options;
    options.tls = qgetenv("BVANE_DOVECOT_TLS") == "1";
    DovecotServer server(options);
    server.setAlsoListen(qEnvironmentVariable("BVANE_DOVECOT_LISTEN"));
    server.addUser(args.at(0), args.at(1));
    for (int i = 2; i < args.size(); i += 2) {
        const QString message = QStringLiteral("From: %1\r\nSubject: %2\r\n"
                                               "Date: Mon, 7 Dec 2026 10:00:00 +0000\r\n\r\n"
                                               "Hello.\r\n")
                                    .arg(args.at(i), args.at(i + 1));
        server.deliver(args.at(0), message.toUtf8());
    }
    QString why;
    if (!server.start(&why)) {
        std::fprintf(stderr, "%s\n", qPrintable(why));
        return 1;
    }
    std::printf("%u\n", unsigned(server.pop3Port()));
    std::fflush(stdout);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    qsizetype logged = 0;
    QTimer logCopy;
    QObject::connect(&logCopy, &QTimer::timeout, &app, [&] {
        const QString log = server.log();
        if (log.size() > logged) {
            std::fputs(qPrintable(log.mid(logged)), stderr);
            std::fflush(stderr);
            logged = log.size();
        }
    });
    logCopy.start(100);
    return app.exec();
}
