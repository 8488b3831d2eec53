// bvane-mailprobe HOST USER [--delete N...]: logs on to a POP3 or IMAP account (HOST as a mail
// slot's POP/Domain box takes it) with the program's own mail control, prints the message count and
// one line per header (From, Subject and Date, separated by TAB), deletes the messages named, and
// quits. A server's alerts go to standard error. The password comes from BVANE_MAIL_PASSWORD or,
// failing that, from the first line of standard input; never from the command line, where other
// users could read it. With --bearer an OAuth2 access token stands in for it, from
// BVANE_MAIL_TOKEN or standard input the same way.

#include "clock/realclock.h"
#include "mail/imapmail.h"
#include "mail/mmail.h"
#include "mail/pophost.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QCoro/QCoroTask>
#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <termios.h>
#include <unistd.h>

namespace {

QString readSecret(const char *variable, const char *prompt)
{
    const QByteArray fromEnvironment = qgetenv(variable);
    if (!fromEnvironment.isEmpty())
        return QString::fromUtf8(fromEnvironment);
    termios saved{};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        std::fputs(prompt, stderr);
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    QTextStream in(stdin);
    const QString password = in.readLine();
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::fputs("\n", stderr);
    }
    return password;
}

// Drives the control as the mail dialogs do: issue, then wait on the clock for Done or Error.
class Probe : public QObject
{
    Q_OBJECT

public:
    template <class Mail>
    Probe(Clock &clock, Mail &mail, bool verbose)
        : m_clock(clock)
    {
        connect(&mail, &Mail::Done, this, [this] {
            m_done = true;
            Q_EMIT answered();
        });
        connect(&mail, &Mail::Error, this, [this](int number, const QString &text) {
            m_done = true;
            ++m_errors;
            QTextStream(stderr) << "error " << number << ": " << text << Qt::endl;
            Q_EMIT answered();
        });
        connect(&mail, &Mail::Alert, this,
            [](const QString &text) { QTextStream(stderr) << "alert: " << text << Qt::endl; });
        if (verbose)
            connect(&mail, &Mail::Status, this,
                [](const QString &text) { QTextStream(stderr) << text << Qt::endl; });
    }

    // Ends with whether the request went through without an Error.
    template <typename Action> QCoro::Task<bool> request(Action action)
    {
        const int errorsBefore = m_errors;
        m_done = false;
        action();
        co_await m_clock.until([this] { return m_done; }, this, &Probe::answered);
        co_return m_errors == errorsBefore;
    }
    int errors() const { return m_errors; }

Q_SIGNALS:
    void answered();

private:
    Clock &m_clock;
    bool m_done = false;
    int m_errors = 0;
};

struct Job {
    bool countOnly = false;
    QList<qint16> toDelete;
};

// Logs on, lists, deletes and quits as the check windows do; ends with the exit status.
template <class Mail> QCoro::Task<int> probeAccount(Probe &probe, Mail &mail, Job job)
{
    const bool loggedOn = co_await probe.request([&] { mail.LogOn(); });
    if (!loggedOn)
        co_return 1;
    QTextStream out(stdout);
    out << mail.MessageCount() << Qt::endl;
    // An int: MessageCount may be 32767, where a 16-bit count would wrap and never end.
    for (int number = 1; !job.countOnly && number <= mail.MessageCount(); ++number) {
        mail.setMessageNumber(qint16(number));
        const bool ok = co_await probe.request([&] { mail.RetrieveHeader(); });
        if (!ok && !mail.isLoggedOn())
            break; // the connection is gone: its one error is enough
        out << mail.From() << '\t' << mail.Subject() << '\t' << mail.Date() << Qt::endl;
        mail.EndMessage();
    }
    for (qint16 number : std::as_const(job.toDelete)) {
        if (!mail.isLoggedOn())
            break;
        mail.setMessageNumber(number);
        mail.DeleteMessage();
    }
    // Quit raises nothing without a session; an Error about lost deletions is delivered by
    // the event loop before the program ends.
    if (mail.isLoggedOn())
        co_await probe.request([&] { mail.Quit(); });
    else
        mail.Quit();
    co_return probe.errors() == 0 ? 0 : 1;
}

// Sets the control up from the command line and runs the probe in the program's one event
// loop; the exit code of the program.
template <class Mail>
int runProbe(Clock &clock, Mail &mail, const QCommandLineParser &parser, const Job &job)
{
    const QStringList args = parser.positionalArguments();
    mail.setHost(args.at(0));
    mail.setUserName(args.at(1));
    if (parser.isSet(QStringLiteral("bearer")))
        mail.setBearerToken(readSecret("BVANE_MAIL_TOKEN", "Access token: ").trimmed());
    else
        mail.setPassword(readSecret("BVANE_MAIL_PASSWORD", "Password: "));
    mail.setPipelining(!parser.isSet(QStringLiteral("no-pipelining")));
    mail.setRequireTls(parser.isSet(QStringLiteral("require-tls")));
    mail.setAllowClearText(parser.isSet(QStringLiteral("allow-plaintext")));
    mail.setTimeOut(parser.value(QStringLiteral("timeout")).toInt());
    if (parser.isSet(QStringLiteral("cafile"))) {
        // Certificates are read as PEM when the connection is made: a file without one is
        // refused here already, as a wrong argument.
        const QString caFile = parser.value(QStringLiteral("cafile"));
        QFile file(caFile);
        if (!file.open(QIODevice::ReadOnly)
            || !file.readAll().contains("-----BEGIN CERTIFICATE-----")) {
            QTextStream(stderr) << "bvane-mailprobe: no certificate in " << caFile << Qt::endl;
            return 2;
        }
        mail.setCaCertificates(caFile);
    }
    Probe probe(clock, mail, parser.isSet(QStringLiteral("verbose")));
    int status = 1;
    probeAccount(probe, mail, job).then([&status](int s) {
        status = s;
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
    });
    QCoreApplication::exec();
    return status == 0 && probe.errors() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bvane-mailprobe"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Logs on to a POP3 or IMAP account and lists its headers. Password from "
                       "BVANE_MAIL_PASSWORD or standard input."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("host"),
        QStringLiteral("name[:port], pop3://…, pop3s://…, imap://… or imaps://…"));
    parser.addPositionalArgument(QStringLiteral("user"), QStringLiteral("user name"));
    const QCommandLineOption remove(QStringLiteral("delete"),
        QStringLiteral("Delete the messages numbered after the user name."));
    const QCommandLineOption countOnly(
        QStringLiteral("count-only"), QStringLiteral("Print only the message count."));
    const QCommandLineOption noPipelining(
        QStringLiteral("no-pipelining"), QStringLiteral("Ask for one header at a time."));
    const QCommandLineOption requireTls(QStringLiteral("require-tls"),
        QStringLiteral("Refuse to log on without TLS, even on this machine."));
    const QCommandLineOption allowPlaintext(QStringLiteral("allow-plaintext"),
        QStringLiteral("Log on without TLS to a server that offers none and is not this "
                       "machine (the password travels unencrypted)."));
    const QCommandLineOption caFile(QStringLiteral("cafile"),
        QStringLiteral("Also trust the certificates in this PEM file."), QStringLiteral("file"));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
        QStringLiteral("Seconds to wait for each answer (60)."), QStringLiteral("seconds"),
        QStringLiteral("60"));
    const QCommandLineOption bearer(QStringLiteral("bearer"),
        QStringLiteral("Log on with an OAuth2 access token (OAUTHBEARER, else XOAUTH2) from "
                       "BVANE_MAIL_TOKEN or standard input instead of a password."));
    const QCommandLineOption verbose(
        QStringLiteral("verbose"), QStringLiteral("Print the control's status texts."));
    parser.addOptions({remove, countOnly, noPipelining, requireTls, allowPlaintext, caFile, timeout,
        bearer, verbose});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    QList<qint16> toDelete;
    for (const QString &arg : args.mid(2)) {
        bool ok = false;
        const int number = arg.toInt(&ok);
        if (!ok || number < 1 || number > 32767 || !parser.isSet(remove)) {
            QTextStream(stderr) << "bvane-mailprobe: unexpected argument " << arg << Qt::endl;
            return 2;
        }
        toDelete << qint16(number);
    }
    if (args.size() < 2)
        parser.showHelp(2);

    RealClock clock;
    const Job job{parser.isSet(countOnly), toDelete};
    if (isImapAddress(args.at(0))) {
        ImapMail mail(clock);
        return runProbe(clock, mail, parser, job);
    }
    mMail mail(clock);
    return runProbe(clock, mail, parser, job);
}

#include "main.moc"
