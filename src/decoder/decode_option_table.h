// The decode options: every control and setting of a decode as an option of
// "tonobild-cli decode", with its name, its caption in the window, where it
// lands, its default and its help. The command line parses its options from
// this table, and every text that names a decode's options or settings is
// written from it.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "decoder/decoder_controls.h"

namespace tonobild {

// What a decode starts with: the controls read at every use, the settings
// taken at its start, and "R+B HalfX", which unticks "Half X" at the start.
struct DecodeSetup {
    DecoderControls controls;
    DecodeSettings settings;
    bool rbHalfX = false;

    // The settings the decode starts with: "Half X" unticked by "R+B HalfX".
    DecodeSettings startSettings() const noexcept;
};

enum class OptionKind {
    Switch, // given without a value: the option applies
    Number, // a whole number the decoder takes
    Size,   // a resolution, "WxH"
};

struct DecodeOption {
    std::string_view name;      // "half-x" is given as "--half-x"
    std::string_view caption;   // the window's name for it: "Half X"
    OptionKind kind;
    int byDefault;              // the command's default: the window's start-up controls, with level 3
    int (*read)(const DecodeSetup&);   // its value in a setup; a switch's is 1 where it applies
    void (*write)(DecodeSetup&, int);  // sets its value in a setup
    bool (*takes)(int);         // the values the decoder takes; nullptr for a switch
    std::string_view refusal;   // why a value given is refused
    bool alwaysNamed;           // named in every text of options, whatever its value
    std::string_view valueName; // "N", "WxH"; empty for a switch
    std::string_view help;
};

// Every decode option, in the order of the command's help.
std::span<const DecodeOption> decodeOptions() noexcept;
// The option of that name; the names are those of the table.
const DecodeOption& decodeOption(std::string_view name);

// The setup of the command's defaults: the window's start-up controls, with level 3.
DecodeSetup defaultDecodeSetup();

// "160x120" for a width of 160; the height follows from the width.
std::string sizeText(int width);
// The width of "160x120", "320x240" or "640x480"; nothing for any other text.
std::optional<int> parseSize(std::string_view text);

// The options in the order every text names them: those always named first,
// then the others in the order of the table.
std::vector<const DecodeOption*> optionsInTextOrder();
// Whether a text of options names it: always, or when its value is not its default.
bool isNamed(const DecodeOption& option, const DecodeSetup& setup);

// The option with its value as the command line takes it: "--half-x",
// "--sync-offset 32", "--resolution 320x240".
std::string optionText(const DecodeOption& option, int value);

// The options of "tonobild-cli decode" that decode as these controls and
// settings do: first those always named ("--resolution WxH --level N"), then,
// in the order of the table, each option whose value differs from its default,
// e.g. "--resolution 320x240 --level 3 --half-x --compand --sync-offset 32".
std::string decodeOptionsText(const DecoderControls& controls, const DecodeSettings& settings);

// The sender's settings as the window names them: the size, then "Half X",
// "Compand" and "Mono" as they apply, e.g. "320x240, Half X, Compand".
std::string senderSettingsCaption(int pictureWidth, bool halfX, bool compand, bool mono);

} // namespace tonobild
