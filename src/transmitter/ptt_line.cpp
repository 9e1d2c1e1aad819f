#include "transmitter/ptt_line.h"

namespace tonobild {

KeyGuard::KeyGuard(PttLine& line) : line_(line)
{
    line_.key(true);
    keyed_ = true;
}

KeyGuard::~KeyGuard()
{
    release();
}

std::string KeyGuard::release() noexcept
{
    if (!keyed_)
        return {};
    keyed_ = false;
    try {
        line_.key(false);
        return {};
    } catch (const std::exception& error) {
        // One more try: a rig that missed one command often takes the next.
        try {
            line_.key(false);
            return {};
        } catch (...) {
        }
        return std::string("The transmitter may still be keyed: ") + error.what() +
               ". Release it at the rig.";
    }
}

} // namespace tonobild
