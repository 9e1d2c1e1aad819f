// What the Send view keeps in the settings store's section "Send": the signal
// chosen (a standard mode by its short name, or the station's own format), the
// FSK identification and its callsign, and the caption drawn on the picture.
// Text, like every setting; a stored value that is not one of its key's is
// named, and the default taken until it is set again.
#pragma once

#include <string>
#include <vector>

#include "picture/caption.h"

namespace tonobild {

class SettingsStore;

inline constexpr const char* kSendSection = "Send";
inline constexpr const char* kStandardModeKey = "Standard Mode";
inline constexpr const char* kSendFskIdKey = "Send FSK ID";
inline constexpr const char* kCallsignKey = "Callsign";
inline constexpr const char* kCaptionLineKeys[2] = {"Caption Line 1", "Caption Line 2"};
inline constexpr const char* kCaptionPlaceKey = "Caption Place";
inline constexpr const char* kCaptionColourKey = "Caption Colour";

struct SendSettings {
    std::string standardMode; // a standard mode's short name ("M1"); empty: the station's own format
    bool sendFskId = false;
    std::string callsign;
    Caption caption;
    friend bool operator==(const SendSettings&, const SendSettings&) = default;
};

// The settings, with the default for every value that could not be taken, and
// one sentence for each such value.
struct StoredSend {
    SendSettings settings;
    std::vector<std::string> problems;
};

StoredSend readSendSettings(const SettingsStore& store);
void writeSendSettings(SettingsStore& store, const SendSettings& settings);

} // namespace tonobild
