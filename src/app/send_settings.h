// What the Send view keeps in the settings store's section "Send": the signal
// chosen ("Standard Mode": a standard mode by its short name, or empty for the
// station's own format), the FSK identification ("Send FSK ID", 0 or 1) and its
// "Callsign", and the caption drawn on the picture ("Caption Line 1", "Caption
// Line 2", "Caption Place" Top or Bottom, "Caption Colour" by its name). Text,
// like every setting; a stored value that is not one of its key's is named,
// and the default taken until it is set again.
#pragma once

#include <string>
#include <vector>

#include "picture/caption.h"

namespace tonobild {

class SettingsStore;

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
