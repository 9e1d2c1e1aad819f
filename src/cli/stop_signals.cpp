#include "cli/stop_signals.h"

#include <array>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace tonobild::cli {

namespace {

constexpr std::array kStopSignals = {SIGINT, SIGTERM, SIGHUP};

// The handler may do nothing but write: the signal number goes through a pipe
// to the event loop.
int signalPipe[2] = {-1, -1};

extern "C" void writeSignal(int signal)
{
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &number, 1);
}

void setHandler(int signal, void (*handler)(int))
{
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

} // namespace

StopSignals::StopSignals(std::function<void(int)> onStop) : onStop_(std::move(onStop))
{
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { readSignal(); });
    for (const int signal : kStopSignals)
        setHandler(signal, writeSignal);
}

StopSignals::~StopSignals()
{
    for (const int signal : kStopSignals)
        setHandler(signal, SIG_DFL);
}

void StopSignals::readSignal()
{
    unsigned char number = 0;
    while (::read(signalPipe[0], &number, 1) == 1)
        onStop_(number);
}

} // namespace tonobild::cli
