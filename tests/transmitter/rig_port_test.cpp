// The rig port: a serial device, or "host:port" of a rig daemon, and the
// messages for texts that are neither.
#include <gtest/gtest.h>

#include "transmitter/rig_port.h"

using namespace tonobild;

namespace {

struct PortCase {
    const char* text;
    RigPort::Kind kind;
    const char* deviceOrHost;
    int port;
};

TEST(RigPort, DevicesAndNetworkAddresses)
{
    const PortCase cases[] = {
        {"/dev/ttyUSB0", RigPort::Kind::Device, "/dev/ttyUSB0", 0},
        {"/dev/serial/by-id/usb-FTDI_A1:1.0-port0", RigPort::Kind::Device, "/dev/serial/by-id/usb-FTDI_A1:1.0-port0", 0},
        {"COM3", RigPort::Kind::Device, "COM3", 0},
        {"localhost:4532", RigPort::Kind::Network, "localhost", 4532},
        {"192.168.1.20:1", RigPort::Kind::Network, "192.168.1.20", 1},
        {"rig.example.org:65535", RigPort::Kind::Network, "rig.example.org", 65535},
        {"[::1]:4532", RigPort::Kind::Network, "::1", 4532},
    };
    for (const PortCase& c : cases) {
        SCOPED_TRACE(c.text);
        const ParsedRigPort parsed = parseRigPort(c.text);
        ASSERT_TRUE(parsed.ok) << parsed.problem;
        EXPECT_EQ(parsed.port.kind, c.kind);
        EXPECT_EQ(c.kind == RigPort::Kind::Device ? parsed.port.device : parsed.port.host, c.deviceOrHost);
        EXPECT_EQ(parsed.port.port, c.port);
    }
}

TEST(RigPort, TextsThatNameNoPortSayWhy)
{
    const std::pair<const char*, const char*> cases[] = {
        {"", "no rig port is set"},
        {"localhost:", "\"localhost:\" has \"\" after the \":\", which is not a port number"},
        {"localhost:abc", "has \"abc\" after the \":\", which is not a port number"},
        {"localhost:0", "the port number 0, which is not from 1 to 65535"},
        {"localhost:65536", "the port number 65536, which is not from 1 to 65535"},
        {"localhost:4532000", "the port number 4532000, which is not from 1 to 65535"},
        {":4532", "names no host before the \":\""},
        {"::1:4532", "more than one \":\"; write an IPv6 address as \"[address]:port\""},
        {"[::1]4532", "is not written \"[address]:port\""},
        {"local host:4532", "contains a space"},
    };
    for (const auto& [text, reason] : cases) {
        SCOPED_TRACE(text);
        const ParsedRigPort parsed = parseRigPort(text);
        EXPECT_FALSE(parsed.ok);
        EXPECT_NE(parsed.problem.find(reason), std::string::npos) << parsed.problem;
    }
}

} // namespace
