// Where the rig is reached: a serial device ("/dev/ttyUSB0", "COM3") or the
// network address of a rig daemon ("localhost:4532", "[::1]:4532"). Hamlib
// takes both as the rig's path; the difference matters to the PTT lines,
// which a network address does not have.
#pragma once

#include <string>
#include <string_view>

namespace tonobild {

struct RigPort {
    enum class Kind { Device, Network };
    Kind kind = Kind::Device;
    std::string device; // Kind::Device
    std::string host;   // Kind::Network, without brackets
    int port = 0;       // Kind::Network, 1 to 65535
};

struct ParsedRigPort {
    bool ok = false;
    RigPort port;
    std::string problem; // why the text names no port, when !ok
};

ParsedRigPort parseRigPort(std::string_view text);

} // namespace tonobild
