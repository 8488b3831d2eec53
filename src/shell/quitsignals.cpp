#include "shell/quitsignals.h"

#include <QSocketNotifier>

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr std::array kSignals{SIGTERM, SIGHUP, SIGINT};
// A signal is a property of the process, not of an object: the handler can only reach the
// pipe through a global. Only one QuitSignals holds it at a time.
int g_pipe[2] = {-1, -1};

extern "C" void writeSignalNumber(int number)
{
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    // Nothing else is safe here; a full pipe already holds a request to end.
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &byte, 1);
    errno = saved;
}

void setHandler(void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : kSignals)
        ::sigaction(number, &action, nullptr);
}
} // namespace

QuitSignals::QuitSignals(QObject *parent)
    : QObject(parent)
{
    Q_ASSERT(g_pipe[0] < 0);
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        g_pipe[0] = g_pipe[1] = -1;
        return;
    }
    m_notifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitSignals::readPipe);
    setHandler(&writeSignalNumber);
}

QuitSignals::~QuitSignals()
{
    if (!m_notifier)
        return;
    setHandler(SIG_DFL);
    delete m_notifier;
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void QuitSignals::readPipe()
{
    unsigned char numbers[16];
    const ssize_t count = ::read(g_pipe[0], numbers, sizeof numbers);
    for (ssize_t i = 0; i < count; ++i)
        Q_EMIT received(numbers[i]);
}
