#include "transmitter/rig_port.h"

#include <algorithm>
#include <cctype>

namespace tonobild {

namespace {

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

ParsedRigPort failure(std::string problem)
{
    return {false, {}, std::move(problem)};
}

ParsedRigPort device(std::string_view text)
{
    return {true, {RigPort::Kind::Device, std::string(text), {}, 0}, {}};
}

ParsedRigPort network(std::string_view host, std::string_view port, std::string_view text)
{
    const std::string quoted = "\"" + std::string(text) + "\"";
    if (host.empty())
        return failure("the rig port " + quoted + " names no host before the \":\"");
    if (!allDigits(port))
        return failure("the rig port " + quoted + " has \"" + std::string(port) +
                       "\" after the \":\", which is not a port number");
    if (port.size() > 5 || std::stoi(std::string(port)) < 1 || std::stoi(std::string(port)) > 65535)
        return failure("the rig port " + quoted + " has the port number " + std::string(port) +
                       ", which is not from 1 to 65535");
    return {true, {RigPort::Kind::Network, {}, std::string(host), std::stoi(std::string(port))}, {}};
}

} // namespace

ParsedRigPort parseRigPort(std::string_view text)
{
    if (text.empty())
        return failure("no rig port is set");
    if (std::any_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c) != 0; }))
        return failure("the rig port \"" + std::string(text) + "\" contains a space");
    // A path is a device whatever it holds: "/dev/serial/by-id/usb-...:1.0-port0" has colons.
    if (text.front() == '/')
        return device(text);
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
            return failure("the rig port \"" + std::string(text) + "\" is not written \"[address]:port\"");
        return network(text.substr(1, close - 1), text.substr(close + 2), text);
    }
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos)
        return device(text);
    if (text.find(':') != colon)
        return failure("the rig port \"" + std::string(text) +
                       "\" has more than one \":\"; write an IPv6 address as \"[address]:port\"");
    return network(text.substr(0, colon), text.substr(colon + 1), text);
}

} // namespace tonobild
