// What a hostile POP3 or IMAP server costs the mail control, with the figure before the change
// beside each one:
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
#include <QDir>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

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

// The benchmark's own loop, at the top of the program: events run until `ended` is set or
// `timeoutMs` (-1: no limit) has passed.
void runUntil(const bool &ended, qint64 timeoutMs)
{
    QElapsedTimer waited;
    waited.start();
    while (!ended && (timeoutMs < 0 || waited.elapsed() < timeoutMs))
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
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
    runUntil(ended, -1);
    ended = false;
    mail.setMessageNumber(1);
    QElapsedTimer wall;
    wall.start();
    mail.RetrieveHeader();
    runUntil(ended, 600000);
    return wall.elapsed() / 1000.0;
}

// An IMAP server on loopback: greets, takes LOGIN and SELECT, then answers each command with
// `flood` sent on and on (or, with none, properly).
class FloodingImapServer
{
public:
    explicit FloodingImapServer(QByteArray flood)
        : m_flood(std::move(flood))
    {
        m_server.listen(QHostAddress::LocalHost);
        QObject::connect(&m_server, &QTcpServer::newConnection, &m_server, [this] {
            QTcpSocket *client = m_server.nextPendingConnection();
            client->write("* OK [CAPABILITY IMAP4rev1] ready\r\n");
            QObject::connect(client, &QTcpSocket::readyRead, client, [this, client] {
                while (client->canReadLine())
                    answer(*client, client->readLine());
            });
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    void answer(QTcpSocket &client, const QByteArray &line)
    {
        const QList<QByteArray> words = line.trimmed().split(' ');
        const QByteArray tag = words.value(0);
        const QByteArray command = words.value(1).toUpper();
        if (command == "SELECT") {
            client.write("* 3 EXISTS\r\n* OK [UIDVALIDITY 7] v\r\n" + tag + " OK done\r\n");
        } else if (command == "LOGIN" || m_flood.isEmpty()) {
            if (command == "LOGOUT")
                client.write("* BYE bye\r\n");
            client.write(tag + " OK done\r\n");
        } else {
            auto *timer = new QTimer(&client);
            QObject::connect(timer, &QTimer::timeout, &client, [this, &client] {
                if (client.bytesToWrite() < 1 << 20)
                    client.write(m_flood);
            });
            timer->start(0);
        }
    }

    QTcpServer m_server;
    QByteArray m_flood;
};

// The probe's peak resident memory in MB, and its seconds, against a server of `flood`.
std::pair<double, double> probePeak(const QByteArray &flood)
{
    FloodingImapServer server(flood);
    const QByteArray probe
        = QFile::encodeName(QCoreApplication::applicationDirPath() + "/bvane-mailprobe");
    const QByteArray host = "imap://127.0.0.1:" + QByteArray::number(server.port());
    char *args[] = {const_cast<char *>(probe.constData()), const_cast<char *>(host.constData()),
        const_cast<char *>("ann"), const_cast<char *>("--allow-plaintext"), nullptr};
    qputenv("BVANE_MAIL_PASSWORD", "pw");
    pid_t pid = 0;
    if (posix_spawn(&pid, probe.constData(), nullptr, nullptr, args, environ) != 0)
        return {-1, -1};
    QElapsedTimer wall;
    wall.start();
    int status = 0;
    rusage usage = {};
    while (wait4(pid, &status, WNOHANG, &usage) == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return {usage.ru_maxrss / 1024.0, wall.elapsed() / 1000.0};
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

    QByteArray search = "* SEARCH";
    for (int uid = 1; uid <= 2000; ++uid)
        search += ' ' + QByteArray::number(uid);
    const auto [proper, properSeconds] = probePeak({});
    const auto [talk, talkSeconds] = probePeak(QByteArray("* OK still here\r\n").repeated(500));
    const auto [searched, searchSeconds] = probePeak((search + "\r\n").repeated(8));
    std::printf("bvane-mailprobe against an IMAP server, peak resident memory:\n");
    std::printf("  answering properly:          %5.1f MB (%.2f s)\n", proper, properSeconds);
    std::printf("  endless other responses:     %5.1f MB, ended after %.2f s\n", talk, talkSeconds);
    std::printf(
        "  endless SEARCH responses:    %5.1f MB, ended after %.2f s\n", searched, searchSeconds);
    std::printf("  before: 72.6 MB at the 60-s time-out for other responses; endless SEARCH grew "
                "to 23 GB in 496 s until the kernel killed it\n");
    return 0;
}
