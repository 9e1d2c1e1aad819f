// The standard slow-scan modes that other stations send, as one table. Every
// mode is frequency-coded: a picture value v (0..255) is a tone of
// 1500 + 800 v / 255 Hz; syncs are 1200 Hz. A mode is its VIS code, its size,
// its colour family and the parts of one transmitted line with their tones and
// durations; the encoder and the decoder both walk those parts, and nothing
// else about a mode is written anywhere.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tonobild::standard {

constexpr double kSyncHz = 1200;
constexpr double kBlackHz = 1500;
constexpr double kWhiteHz = 2300;
constexpr double kLeaderHz = 1900;
constexpr double kPorchHz = 1500;

// The tone of a picture value, and the value a tone stands for (not clamped).
constexpr double toneOfValue(double value) noexcept
{
    return kBlackHz + (kWhiteHz - kBlackHz) * value / 255.0;
}
constexpr double valueOfTone(double hz) noexcept
{
    return (hz - kBlackHz) * 255.0 / (kWhiteHz - kBlackHz);
}

// How a mode carries colour.
enum class ColourFamily {
    Rgb,           // one scan per component, in the order of the line's parts
    ColourDiff,    // luminance and both colour differences on every line (Robot 72)
    RobotAlternate, // luminance on every line, R-Y on even lines, B-Y on odd lines (Robot 36)
    TwoRows,       // two rows a line: Y of the first, R-Y, B-Y (shared), Y of the second (PD)
    Grey,          // luminance only
};

// Luminance and colour differences rather than red, green and blue.
constexpr bool sendsColourDifferences(ColourFamily family) noexcept
{
    return family == ColourFamily::ColourDiff || family == ColourFamily::RobotAlternate ||
           family == ColourFamily::TwoRows;
}

// One colour difference for each pair of rows (Robot 36 and PD): the mean of the two.
constexpr bool sharesColourBetweenRows(ColourFamily family) noexcept
{
    return family == ColourFamily::RobotAlternate || family == ColourFamily::TwoRows;
}

// What a scan of a line carries.
enum class Channel { Red, Green, Blue, Luma, SecondLuma, RedDiff, BlueDiff };

// One part of a line: a fixed tone (sync, gap, porch, separator) or a scan of
// picture values. Parts that differ between even and odd lines (Robot 36's
// separator and colour difference) give the odd line's tone and channel too.
struct LinePart {
    enum class Kind { Sync, Tone, Scan };
    Kind kind = Kind::Tone;
    double ms = 0;
    double hz = 0;      // the tone of a Sync or Tone part on even lines
    double oddHz = 0;   // ... and on odd lines
    Channel channel = Channel::Luma;    // the channel of a Scan part on even lines
    Channel oddChannel = Channel::Luma; // ... and on odd lines

    double toneOn(int line) const noexcept { return line % 2 ? oddHz : hz; }
    Channel channelOn(int line) const noexcept { return line % 2 ? oddChannel : channel; }
};

struct StandardMode {
    std::string name;      // "Martin 1"
    std::string shortName; // "M1"
    int vis = 0;           // the seven data bits of the VIS header
    int width = 0;
    int height = 0;        // picture rows
    ColourFamily family = ColourFamily::Rgb;
    std::vector<LinePart> parts; // one transmitted line, in order
    double leadInSyncMs = 0;     // a sync sent once before the first line (Scottie)
    bool common = true;          // a mode of the definition, not one of the looser ones

    int rowsPerLine() const noexcept { return family == ColourFamily::TwoRows ? 2 : 1; }
    int lines() const noexcept { return height / rowsPerLine(); }
    double linePeriodMs() const noexcept;
    // Where the line's sync begins, from the line's start, and how long it lasts.
    double syncOffsetMs() const noexcept;
    double syncMs() const noexcept;
    // The picture part alone: the lead-in sync and the lines.
    double pictureSeconds() const noexcept;
    // The shortest time a picture value is held.
    double shortestPixelMs() const noexcept;
    // The shortest time a value of brightness (luminance, or red, green or
    // blue) is held; colour differences left out.
    double shortestBrightnessPixelMs() const noexcept;
};

// Every mode, the common ones first.
std::span<const StandardMode> modeTable();

// The mode of a VIS code, or none.
const StandardMode* modeOfVis(int vis) noexcept;

// A mode as users write it: "Martin 1", "M1", "martin1", "pd120", "PD-120",
// "Robot 36", "R36", "Scottie DX", "SDX"; case, blanks, hyphens and
// underscores are ignored. None when nothing matches.
const StandardMode* findMode(std::string_view name) noexcept;

// The VIS header: leader, break, leader, start bit, seven data bits least
// significant first, the even-parity bit, stop bit.
constexpr double kVisLeaderMs = 300;
constexpr double kVisBreakMs = 10;
constexpr double kVisBitMs = 30;
constexpr double kVisOneHz = 1100;
constexpr double kVisZeroHz = 1300;
constexpr double kVisSeconds = (2 * kVisLeaderMs + kVisBreakMs + 10 * kVisBitMs) / 1000;

// The parity bit sent after the seven data bits: 1 when they hold an odd number of ones.
constexpr int visParity(int code) noexcept
{
    int ones = 0;
    for (int bit = 0; bit < 7; ++bit)
        ones += (code >> bit) & 1;
    return ones % 2;
}

// The VOX preamble some senders put first: eight tones of 100 ms.
constexpr double kVoxToneMs = 100;
constexpr double kVoxTones[] = {1900, 1500, 1900, 1500, 2300, 1500, 2300, 1500};

} // namespace tonobild::standard
