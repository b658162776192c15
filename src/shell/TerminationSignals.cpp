#include "TerminationSignals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vespin {

namespace {

// [0]: written by the handler, [1]: read by the event loop.
int signalPipe[2] = {-1, -1};

constexpr int Caught[] = {SIGTERM, SIGHUP, SIGINT};

extern "C" void onTerminationSignal(int signal)
{
    const int saved = errno;
    const char number = char(signal);
    // Non-blocking: a flood of signals drops bytes rather than hanging here.
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[0], &number, 1);
    errno = saved;
}

} // namespace

void TerminationSignals::catchSignals()
{
    if (signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, signalPipe) != 0) {
        signalPipe[0] = signalPipe[1] = -1;
        return; // the signals keep their default: no worse than before
    }
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls go on, so that a signal in the middle of a
    // write of the settings file does not fail it.
    action.sa_flags = SA_RESTART;
    for (const int signal : Caught)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    catchSignals();
    if (signalPipe[1] < 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readPipe()
{
    char numbers[16];
    ssize_t count;
    while ((count = ::read(signalPipe[1], numbers, sizeof numbers)) > 0) {
        for (ssize_t i = 0; i < count; ++i)
            emit received(numbers[i]);
    }
}

} // namespace vespin
