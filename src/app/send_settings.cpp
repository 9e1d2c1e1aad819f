#include "app/send_settings.h"

#include "settings/settings_store.h"
#include "standard/mode_table.h"

namespace tonobild {

namespace {

constexpr const char* kSendSection = "Send";
constexpr const char* kStandardModeKey = "Standard Mode";
constexpr const char* kSendFskIdKey = "Send FSK ID";
constexpr const char* kCallsignKey = "Callsign";
constexpr const char* kCaptionLineKeys[2] = {"Caption Line 1", "Caption Line 2"};
constexpr const char* kCaptionPlaceKey = "Caption Place";
constexpr const char* kCaptionColourKey = "Caption Colour";
constexpr const char* kPlaceNames[2] = {"Top", "Bottom"};

std::string notTaken(const char* key, const std::string& value, const std::string& expected)
{
    return std::string(kSendSection) + "/" + key + " is \"" + value + "\", which is not " + expected +
           "; the default is used until it is set again";
}

std::string colourNames()
{
    std::string names;
    for (const CaptionColour& colour : kCaptionColours)
        names += (names.empty() ? "" : ", ") + std::string(colour.name);
    return "one of " + names;
}

std::string colourName(ColourNumber colour)
{
    for (const CaptionColour& c : kCaptionColours)
        if (c.colour == colour)
            return c.name;
    return kCaptionColours[0].name;
}

void readCaption(const SettingsStore& store, StoredSend& stored)
{
    Caption& caption = stored.settings.caption;
    for (int i = 0; i < 2; ++i)
        caption.lines[static_cast<std::size_t>(i)] = store.read(kSendSection, kCaptionLineKeys[i], "");
    const std::string place = store.read(kSendSection, kCaptionPlaceKey, kPlaceNames[1]);
    if (place == kPlaceNames[0] || place == kPlaceNames[1])
        caption.place = place == kPlaceNames[0] ? CaptionPlace::Top : CaptionPlace::Bottom;
    else
        stored.problems.push_back(notTaken(kCaptionPlaceKey, place, "Top or Bottom"));
    const std::string colour = store.read(kSendSection, kCaptionColourKey, kCaptionColours[0].name);
    if (const auto number = captionColourNamed(colour))
        caption.colour = *number;
    else
        stored.problems.push_back(notTaken(kCaptionColourKey, colour, colourNames()));
}

} // namespace

StoredSend readSendSettings(const SettingsStore& store)
{
    StoredSend stored;
    const std::string mode = store.read(kSendSection, kStandardModeKey, "");
    if (mode.empty() || standard::findMode(mode))
        stored.settings.standardMode = mode.empty() ? mode : standard::findMode(mode)->shortName;
    else
        stored.problems.push_back(notTaken(kStandardModeKey, mode, "a standard mode (\"tonobild-cli modes\" lists them)"));
    const std::string fskId = store.read(kSendSection, kSendFskIdKey, "0");
    if (fskId == "0" || fskId == "1")
        stored.settings.sendFskId = fskId == "1";
    else
        stored.problems.push_back(notTaken(kSendFskIdKey, fskId, "0 or 1"));
    stored.settings.callsign = store.read(kSendSection, kCallsignKey, "");
    readCaption(store, stored);
    return stored;
}

void writeSendSettings(SettingsStore& store, const SendSettings& settings)
{
    store.write(kSendSection, kStandardModeKey, settings.standardMode);
    store.write(kSendSection, kSendFskIdKey, settings.sendFskId ? "1" : "0");
    store.write(kSendSection, kCallsignKey, settings.callsign);
    const Caption& caption = settings.caption;
    for (int i = 0; i < 2; ++i)
        store.write(kSendSection, kCaptionLineKeys[i], caption.lines[static_cast<std::size_t>(i)]);
    store.write(kSendSection, kCaptionPlaceKey, kPlaceNames[caption.place == CaptionPlace::Top ? 0 : 1]);
    store.write(kSendSection, kCaptionColourKey, colourName(caption.colour));
}

} // namespace tonobild
