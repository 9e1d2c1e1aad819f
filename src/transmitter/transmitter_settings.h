// The transmitter the station keys while a transmission plays: the Hamlib rig
// model, the port it is reached on, how its PTT is worked, and the seconds the
// transmitter is keyed before the first sample (lead) and after the last (tail).
// Kept in the settings store's section "Transmitter" as text, like every setting.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tonobild {

class SettingsStore;

inline constexpr const char* kTransmitterSection = "Transmitter";
inline constexpr const char* kRigModelKey = "Rig Model";
inline constexpr const char* kRigPortKey = "Rig Port";
inline constexpr const char* kPttMethodKey = "PTT Method";
inline constexpr const char* kLeadSecondsKey = "Lead Seconds";
inline constexpr const char* kTailSecondsKey = "Tail Seconds";

// The longest lead or tail the station accepts.
inline constexpr double kMaxKeyingSeconds = 10.0;

// CAT: a command to the rig; RTS, DTR: a line of the serial port; none: the
// transmitter is keyed by other means (VOX, by hand) and nothing is opened.
enum class PttMethod { None, Cat, Rts, Dtr };

struct TransmitterSettings {
    int rigModel = 1; // Hamlib's dummy rig
    std::string port;
    PttMethod ptt = PttMethod::None;
    double leadSeconds = 0.5;
    double tailSeconds = 0.5;
    bool operator==(const TransmitterSettings&) const = default;
};

// What was read from the store: the settings, with the default for every value
// that could not be taken, and one sentence for each such value.
struct StoredTransmitter {
    TransmitterSettings settings;
    std::vector<std::string> problems;
};

// "none", "cat", "rts", "dtr", in any case.
std::optional<PttMethod> parsePttMethod(std::string_view text);
std::string pttMethodName(PttMethod method); // "none", "cat", "rts" or "dtr"

// A whole rig model number, 1 or more, written in decimal.
std::optional<int> parseRigModel(std::string_view text);
// Seconds from 0 to kMaxKeyingSeconds, decimal with an optional fraction.
std::optional<double> parseKeyingSeconds(std::string_view text);

// The settings as they stand and the problems with them: each stored value
// that is not what its key holds, and a port that does not suit the method.
StoredTransmitter readTransmitterSettings(const SettingsStore& store);
void writeTransmitterSettings(SettingsStore& store, const TransmitterSettings& settings);

// Why the port does not suit the method (RTS and DTR need a serial device, and
// every method but none needs a port); empty when it does.
std::string portProblem(const TransmitterSettings& settings);

// All problems in one message for the operator, or empty.
std::string describeProblems(const std::vector<std::string>& problems);

} // namespace tonobild
