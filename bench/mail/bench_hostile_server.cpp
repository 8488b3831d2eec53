// What a hostile POP3 server costs the mail control, with the figure before the change beside
// each one:
//   - the time until a reply that never ends fails its request (a scripted server on
//     loopback sends header lines as fast as it can; the real clock runs);
//   - the CPU time to decode the From and Subject of 128 crafted headers (a window of headers
//     read ahead), with the old decoder run on a few of them and scaled to 128.
// Usage: bench_hostile_server [headers for the old decoder, default 4]

#include "clock/realclock.h"
#include "mail/encodedwords.h"
#include "mail/headerfields.h"
#include "mail/mmail.h"
#include "scriptedpopserver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace baseline {
QString decodeEncodedWords(QByteArrayView raw);
}

namespace {

double cpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

// A header whose Subject is one 64 KiB line of "=?" with no "?=" after any of them.
QList<QByteArray> craftedHeader()
{
    return {"From: " + QByteArray("=?a?Q?x").repeated(9000),
        "Subject: " + QByteArray("=?utf-8?q?a b?=").repeated(4300), "Date: Tue, 8 Dec 2026"};
}

double endlessReplySeconds(RealClock &clock)
{
    ScriptedPopServer server;
    server.on("TOP", [](QTcpSocket &client, const QByteArray &) {
        client.write("+OK\r\n");
        auto *timer = new QTimer(&client);
        QObject::connect(timer, &QTimer::timeout, &client, [&client] {
            if (client.bytesToWrite() < 1 << 20)
                client.write(QByteArray("X-Junk: " + QByteArray(70, 'j') + "\r\n").repeated(1000));
        });
        timer->start(0);
    });
    server.setMessages({scriptedMessage("a@example.org", "one")});
    mMail mail(clock);
    bool ended = false;
    QObject::connect(&mail, &mMail::Done, &mail, [&ended] { ended = true; });
    QObject::connect(&mail, &mMail::Error, &mail, [&ended](int, const QString &text) {
        ended = true;
        std::printf("  error: %s\n", qPrintable(text));
    });
    mail.setHost(server.host());
    mail.setUserName(QStringLiteral("ann"));
    mail.setPassword(QStringLiteral("pw"));
    mail.LogOn();
    clock.waitUntil([&ended] { return ended; });
    ended = false;
    mail.setMessageNumber(1);
    QElapsedTimer wall;
    wall.start();
    mail.RetrieveHeader();
    clock.waitUntil([&ended] { return ended; }, 600000);
    return wall.elapsed() / 1000.0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int oldCount = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 4;
    RealClock clock;

    std::printf("endless reply (header lines as fast as loopback takes them):\n");
    const double endless = endlessReplySeconds(clock);
    std::printf("  now:    failed after %.2f s of real time\n", endless);
    std::printf("  before: held until the server stopped, plus the 60 s idle time-out "
                "(measured 210 s for a server that sent for 150 s)\n");
    std::printf("  a reply that trickles below the bound ends at the deadline: %d s\n",
        mMail::kDefaultDeadline);

    const QList<QByteArray> header = craftedHeader();
    double started = cpuSeconds();
    qsizetype chars = 0;
    for (int i = 0; i < 128; ++i)
        chars += parseHeaderFields(header).subject.size();
    const double now = cpuSeconds() - started;
    started = cpuSeconds();
    for (int i = 0; i < oldCount; ++i) {
        for (const QByteArray &line : header.first(2)) {
            const QByteArrayView value = QByteArrayView(line).sliced(line.indexOf(':') + 1);
            if (baseline::decodeEncodedWords(value) != decodeEncodedWords(value)) {
                std::printf("the decoders disagree\n");
                return 1;
            }
        }
    }
    const double before = (cpuSeconds() - started) / qMax(1, oldCount) * 128;
    std::printf("128 crafted headers (From and Subject each a 64 KiB line of broken words):\n");
    std::printf("  now:    %.3f s of CPU (%lld characters shown)\n", now, qlonglong(chars));
    std::printf("  before: %.1f s of CPU (%d headers measured, scaled to 128)\n", before, oldCount);
    return 0;
}
