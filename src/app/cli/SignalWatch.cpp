#include "app/cli/SignalWatch.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace
{
int signalPipe[2] = {-1, -1};
// SIGPIPE: standard output was closed (orvantis run | head); it ends the command as the
// others do, instead of killing the process before it has stopped the instrument.
constexpr int kWatched[] = {SIGINT, SIGTERM, SIGPIPE};
struct sigaction oldActions[std::size(kWatched)];

// Async-signal-safe: one write of one byte, errno kept for the code it interrupted.
void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}
} // namespace

SignalWatch::SignalWatch(QObject *parent) : QObject(parent)
{
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SignalWatch::readPipe);
    struct sigaction action {
    };
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume: Qt's own waits must not see EINTR as a failure.
    action.sa_flags = SA_RESTART;
    for (size_t i = 0; i < std::size(kWatched); ++i)
        sigaction(kWatched[i], &action, &oldActions[i]);
}

SignalWatch::~SignalWatch()
{
    if (!m_notifier)
        return;
    for (size_t i = 0; i < std::size(kWatched); ++i)
        sigaction(kWatched[i], &oldActions[i], nullptr);
    delete m_notifier;
    ::close(signalPipe[0]);
    ::close(signalPipe[1]);
    signalPipe[0] = signalPipe[1] = -1;
}

void SignalWatch::readPipe()
{
    char byte = 0;
    while (::read(signalPipe[0], &byte, 1) == 1) {
        m_received = static_cast<unsigned char>(byte);
        ++m_count;
        emit signalled(m_received);
    }
}
