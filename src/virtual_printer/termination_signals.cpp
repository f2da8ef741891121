#include "termination_signals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <unistd.h>

namespace {

// A signal handler may do little more than write(): it wakes the event loop through a pipe.
int signalPipeWriteEnd = -1;

// Keeps errno as it was for the code the signal interrupted.
void wakeEventLoop(int /*signal*/) {
    const int interruptedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipeWriteEnd, &byte, 1);
    errno = interruptedErrno;
}

void wakeEventLoopOn(int signal) {
    struct sigaction action {};
    action.sa_handler = wakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

void quitOnTerminationSignals(QCoreApplication& application) {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::runtime_error("cannot make the signal pipe");
    }
    signalPipeWriteEnd = ends[1];
    auto* notifier = new QSocketNotifier(ends[0], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, &QCoreApplication::quit);
    wakeEventLoopOn(SIGINT);
    wakeEventLoopOn(SIGTERM);
}
