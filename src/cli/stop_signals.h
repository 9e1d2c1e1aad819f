// SIGINT, SIGTERM and SIGHUP turned into a call on the event loop, so that a
// command that is interrupted can still release what it holds (the keyed
// transmitter) before the program exits. While an object lives, the signals
// no longer end the program by themselves.
#pragma once

#include <QSocketNotifier>
#include <functional>
#include <memory>

namespace tonobild::cli {

class StopSignals {
public:
    explicit StopSignals(std::function<void(int signal)> onStop);
    ~StopSignals();
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    void readSignal();

    std::function<void(int)> onStop_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace tonobild::cli
