#include "platform/TerminationSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kSignals[] = { SIGTERM, SIGINT, SIGHUP };

// Written by the handler, read by the main thread: a handler may do no more
// than write a byte.
int gSignalSocket[2] = { -1, -1 };

void restoreDefaults()
{
    for (int number : kSignals)
        std::signal(number, SIG_DFL);
}

void handler(int number)
{
    const char byte = char(number);
    [[maybe_unused]] const ssize_t written = ::write(gSignalSocket[0], &byte, 1);
    // The next one is not asked twice.
    restoreDefaults();
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, gSignalSocket) != 0) {
        qWarning("TerminationSignals: no socket pair; the program ends at once when it is told to stop");
        return;
    }
    mNotifier = new QSocketNotifier(gSignalSocket[1], QSocketNotifier::Read, this);
    connect(mNotifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!mNotifier)
        return;
    restoreDefaults();
    ::close(gSignalSocket[0]);
    ::close(gSignalSocket[1]);
    gSignalSocket[0] = gSignalSocket[1] = -1;
}

void TerminationSignals::readSignal()
{
    char byte = 0;
    if (::read(gSignalSocket[1], &byte, 1) == 1)
        emit received(int(byte));
}
