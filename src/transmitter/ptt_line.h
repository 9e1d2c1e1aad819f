// The line that keys the transmitter, and the guard that keeps it from being
// left keyed. The rig behind the line (Hamlib, or a test's stand-in) is opened
// by whoever makes the line; the line only keys, unkeys and asks whether the
// rig is still there.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "transmitter/transmitter_settings.h"

namespace tonobild {

// A rig that did not do what it was told, or cannot be reached any more. The
// text names the rig and the reason.
class PttError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class PttLine {
public:
    virtual ~PttLine() = default;
    // Keys (true) or releases (false) the transmitter. Throws PttError.
    virtual void key(bool on) = 0;
    // Throws PttError when the rig no longer answers.
    virtual void check() = 0;
    // The rig as the operator knows it, e.g. "Hamlib NET rigctl (model 2) at localhost:4532".
    virtual std::string description() const = 0;
};

// A line for the settings, or why there is none. With PTT method none there is
// neither a line nor a problem: the transmission plays unkeyed.
struct OpenedPtt {
    std::unique_ptr<PttLine> line;
    std::string problem;
};
using PttOpener = std::function<OpenedPtt(const TransmitterSettings&)>;

// Keys the line for its lifetime. The destructor releases a line that is still
// keyed, whatever way the owner leaves; release() does it earlier and says
// whether it worked.
class KeyGuard {
public:
    explicit KeyGuard(PttLine& line); // keys; throws PttError, and is then not keyed
    ~KeyGuard();
    KeyGuard(const KeyGuard&) = delete;
    KeyGuard& operator=(const KeyGuard&) = delete;

    // Unkeys once; answers empty, or the message that the transmitter may still be keyed.
    std::string release() noexcept;
    bool keyed() const { return keyed_; }

private:
    PttLine& line_;
    bool keyed_ = false;
};

} // namespace tonobild
