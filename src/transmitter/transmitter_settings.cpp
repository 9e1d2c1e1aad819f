#include "transmitter/transmitter_settings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>

#include "settings/settings_store.h"
#include "transmitter/rig_port.h"

namespace tonobild {

namespace {

constexpr std::array<std::pair<PttMethod, const char*>, 4> kMethodNames = {{
    {PttMethod::None, "none"},
    {PttMethod::Cat, "cat"},
    {PttMethod::Rts, "rts"},
    {PttMethod::Dtr, "dtr"},
}};

std::string lower(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

std::string upper(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return result;
}

// The shortest text that reads back as the same number, with a point whatever
// the program's numeric locale: a comma would not read back.
std::string secondsText(double seconds)
{
    char buffer[32]; // the longest double takes 24 characters
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, seconds).ptr);
}

std::string badValue(const char* key, const std::string& value, const std::string& expected)
{
    return std::string("Transmitter/") + key + " is \"" + value + "\", which is not " + expected +
           "; the default is used until it is set again";
}

// Takes the stored value of `key` through `parse` into `target`; a value that
// does not parse leaves the default and adds a problem. A missing key is no problem.
template <typename T, typename Parse>
void take(const SettingsStore& store, const char* key, Parse parse, const std::string& expected, T& target,
          std::vector<std::string>& problems)
{
    const std::string stored = store.read(kTransmitterSection, key, "");
    if (stored.empty())
        return;
    if (const auto value = parse(stored))
        target = *value;
    else
        problems.push_back(badValue(key, stored, expected));
}

} // namespace

std::optional<PttMethod> parsePttMethod(std::string_view text)
{
    const std::string wanted = lower(text);
    for (const auto& [method, name] : kMethodNames)
        if (wanted == name)
            return method;
    return std::nullopt;
}

std::string pttMethodName(PttMethod method)
{
    for (const auto& [candidate, name] : kMethodNames)
        if (candidate == method)
            return name;
    return "none";
}

std::optional<int> parseRigModel(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1)
        return std::nullopt;
    return value;
}

std::optional<double> parseKeyingSeconds(std::string_view text)
{
    // Plain decimals only: no sign, no exponent, no "inf" or "nan".
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
        return std::nullopt;
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value > kMaxKeyingSeconds)
        return std::nullopt;
    return value;
}

std::string portProblem(const TransmitterSettings& settings)
{
    if (settings.ptt == PttMethod::None)
        return {};
    const ParsedRigPort parsed = parseRigPort(settings.port);
    if (!parsed.ok)
        return parsed.problem;
    if (settings.ptt != PttMethod::Cat && parsed.port.kind == RigPort::Kind::Network)
        return "PTT by " + upper(pttMethodName(settings.ptt)) +
               " needs a serial device as the rig port, not the network address \"" + settings.port + "\"";
    return {};
}

StoredTransmitter readTransmitterSettings(const SettingsStore& store)
{
    StoredTransmitter stored;
    TransmitterSettings& s = stored.settings;
    std::vector<std::string>& problems = stored.problems;
    const std::string seconds = "a number of seconds from 0 to " + secondsText(kMaxKeyingSeconds);
    take(store, kRigModelKey, parseRigModel, "a rig model number (1 or more)", s.rigModel, problems);
    take(store, kPttMethodKey, parsePttMethod, "one of none, cat, rts, dtr", s.ptt, problems);
    take(store, kLeadSecondsKey, parseKeyingSeconds, seconds, s.leadSeconds, problems);
    take(store, kTailSecondsKey, parseKeyingSeconds, seconds, s.tailSeconds, problems);
    s.port = store.read(kTransmitterSection, kRigPortKey, "");
    if (const std::string problem = portProblem(s); !problem.empty())
        problems.push_back(problem);
    return stored;
}

void writeTransmitterSettings(SettingsStore& store, const TransmitterSettings& settings)
{
    store.write(kTransmitterSection, kRigModelKey, std::to_string(settings.rigModel));
    store.write(kTransmitterSection, kRigPortKey, settings.port);
    store.write(kTransmitterSection, kPttMethodKey, pttMethodName(settings.ptt));
    store.write(kTransmitterSection, kLeadSecondsKey, secondsText(settings.leadSeconds));
    store.write(kTransmitterSection, kTailSecondsKey, secondsText(settings.tailSeconds));
}

std::string describeProblems(const std::vector<std::string>& problems)
{
    if (problems.empty())
        return {};
    std::string text = "The transmitter settings cannot be used:";
    for (const std::string& problem : problems)
        text += "\n- " + problem + ".";
    text += "\nSet them in the station's Transmitter dialog.";
    return text;
}

} // namespace tonobild
