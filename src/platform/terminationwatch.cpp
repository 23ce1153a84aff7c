#include "terminationwatch.h"

#include <QScopeGuard>
#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

namespace ferrox {

namespace {

int wakeWriteEnd = -1;

void onSignal(int)
{
    // Only async-signal-safe calls here: the event loop does the rest.
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wakeWriteEnd, &byte, 1);
    errno = savedErrno;
}

sigset_t watchedSignals()
{
    sigset_t watched;
    sigemptyset(&watched);
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&watched, sig);
    return watched;
}

} // namespace

void TerminationWatch::holdSignals()
{
    const sigset_t watched = watchedSignals();
    pthread_sigmask(SIG_BLOCK, &watched, nullptr);
}

bool TerminationWatch::install(QString &error)
{
    // Held signals come through whatever happens: without a watch they
    // end the program as they would have.
    const sigset_t watched = watchedSignals();
    const auto letThrough = qScopeGuard([&watched] { pthread_sigmask(SIG_UNBLOCK, &watched, nullptr); });
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = QStringLiteral("cannot watch for termination: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    wakeWriteEnd = fds[1];
    auto *notifier = new QSocketNotifier(fds[0], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, [this, readEnd = fds[0]] {
        char buffer[16];
        while (::read(readEnd, buffer, sizeof buffer) > 0) {
        }
        emit terminationRequested();
    });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP})
        sigaction(sig, &action, nullptr);
    return true;
}

} // namespace ferrox
