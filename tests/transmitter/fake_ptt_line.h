// A PTT line that logs what it was told and fails when a test says so. The
// log outlives the line: tests read it after the player let go of it. With a
// gate it stands for a rig that is silent until the test lets it answer, or
// until its timeout.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "transmitter/ptt_line.h"

namespace tonobild::testdata {

using Calls = std::vector<std::string>;

struct PttLog {
    Calls calls;          // "on", "off", "check"
    int failOnCount = 0;  // the next so many key(true) fail
    int failOffCount = 0; // the next so many key(false) fail
    bool keyed = false;   // as the rig would say
};

class RigGate {
public:
    static constexpr std::chrono::seconds kRigTimeout{10}; // a serial rig's, as Hamlib waits

    // Holds the rig's answer until letAnswer() or the timeout.
    void wait()
    {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, kRigTimeout, [this] { return open_; });
    }
    void letAnswer()
    {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

class FakePttLine final : public PttLine {
    std::shared_ptr<PttLog> log_;
    std::shared_ptr<RigGate> gate_;

public:
    explicit FakePttLine(std::shared_ptr<PttLog> log, std::shared_ptr<RigGate> gate = nullptr)
        : log_(std::move(log)), gate_(std::move(gate)) {}
    void key(bool on) override
    {
        if (gate_)
            gate_->wait();
        log_->calls.push_back(on ? "on" : "off");
        if (int& failures = on ? log_->failOnCount : log_->failOffCount; failures > 0) {
            --failures;
            throw PttError(std::string("Fake rig did not ") + (on ? "key" : "release"));
        }
        log_->keyed = on;
    }
    void check() override { log_->calls.push_back("check"); } // always answers
    std::string description() const override { return "Fake rig"; }
};

} // namespace tonobild::testdata
