// A PTT line that logs what it was told and fails when a test says so. The
// log outlives the line: tests read it after the player let go of it.
#pragma once

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

class FakePttLine final : public PttLine {
    std::shared_ptr<PttLog> log_;

public:
    explicit FakePttLine(std::shared_ptr<PttLog> log) : log_(std::move(log)) {}
    void key(bool on) override
    {
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
