#include "standard/mode_table.h"

#include <algorithm>
#include <cctype>
#include <numeric>

namespace tonobild::standard {

namespace {

using Kind = LinePart::Kind;

LinePart sync(double ms)
{
    return {Kind::Sync, ms, kSyncHz, kSyncHz};
}

LinePart tone(double ms, double hz, double oddHz = 0)
{
    return {Kind::Tone, ms, hz, oddHz != 0 ? oddHz : hz};
}

LinePart scan(double ms, Channel channel, std::optional<Channel> oddChannel = std::nullopt)
{
    return {Kind::Scan, ms, 0, 0, channel, oddChannel.value_or(channel)};
}

// Martin: sync, then green, blue and red, each behind a gap.
std::vector<LinePart> martin(double scanMs)
{
    const double gap = 0.572;
    return {sync(4.862),          tone(gap, kPorchHz), scan(scanMs, Channel::Green), tone(gap, kPorchHz),
            scan(scanMs, Channel::Blue), tone(gap, kPorchHz), scan(scanMs, Channel::Red), tone(gap, kPorchHz)};
}

// Scottie: the line's sync sits between its blue and red scans.
std::vector<LinePart> scottie(double scanMs)
{
    const double gap = 1.5;
    return {tone(gap, kPorchHz), scan(scanMs, Channel::Green), tone(gap, kPorchHz), scan(scanMs, Channel::Blue),
            sync(9.0),           tone(gap, kPorchHz),          scan(scanMs, Channel::Red)};
}

// PD: two rows a line, their colour differences shared.
std::vector<LinePart> pd(double scanMs)
{
    return {sync(20.0),
            tone(2.08, kPorchHz),
            scan(scanMs, Channel::Luma),
            scan(scanMs, Channel::RedDiff),
            scan(scanMs, Channel::BlueDiff),
            scan(scanMs, Channel::SecondLuma)};
}

// Wraase SC2: sync, porch, then red, green and blue back to back.
std::vector<LinePart> wraase(double scanMs)
{
    return {sync(5.5225), tone(0.5, kPorchHz), scan(scanMs, Channel::Red), scan(scanMs, Channel::Green),
            scan(scanMs, Channel::Blue)};
}

// Pasokon: every duration a whole number of the mode's time unit.
std::vector<LinePart> pasokon(double unitsPerSecond)
{
    const double unit = 1000.0 / unitsPerSecond;
    const double scanMs = 640 * unit;
    return {sync(25 * unit),          tone(5 * unit, kPorchHz), scan(scanMs, Channel::Red), tone(5 * unit, kPorchHz),
            scan(scanMs, Channel::Green), tone(5 * unit, kPorchHz), scan(scanMs, Channel::Blue),
            tone(5 * unit, kPorchHz)};
}

std::vector<LinePart> robot36()
{
    return {sync(9.0),
            tone(3.0, kPorchHz),
            scan(88.0, Channel::Luma),
            tone(4.5, kBlackHz, kWhiteHz),
            tone(1.5, kLeaderHz),
            scan(44.0, Channel::RedDiff, Channel::BlueDiff)};
}

std::vector<LinePart> robot72()
{
    return {sync(9.0),           tone(3.0, kPorchHz),  scan(138.0, Channel::Luma),    tone(4.5, kBlackHz),
            tone(1.5, kLeaderHz), scan(69.0, Channel::RedDiff), tone(4.5, kWhiteHz), tone(1.5, kLeaderHz),
            scan(69.0, Channel::BlueDiff)};
}

std::vector<LinePart> robotGrey(double lumaMs)
{
    return {sync(7.0), scan(lumaMs, Channel::Luma)};
}

StandardMode mode(std::string name, std::string shortName, int vis, int width, int height, ColourFamily family,
                  std::vector<LinePart> parts, double leadInSyncMs = 0, bool common = true)
{
    return {std::move(name), std::move(shortName), vis, width, height, family, std::move(parts), leadInSyncMs, common};
}

const std::vector<StandardMode>& table()
{
    using F = ColourFamily;
    static const std::vector<StandardMode> modes = {
        mode("Martin 1", "M1", 44, 320, 256, F::Rgb, martin(146.432)),
        mode("Martin 2", "M2", 40, 320, 256, F::Rgb, martin(73.216)),
        mode("Scottie 1", "S1", 60, 320, 256, F::Rgb, scottie(138.240), 9.0),
        mode("Scottie 2", "S2", 56, 320, 256, F::Rgb, scottie(88.064), 9.0),
        mode("Scottie DX", "SDX", 76, 320, 256, F::Rgb, scottie(345.600), 9.0),
        mode("Robot 36", "R36", 8, 320, 240, F::RobotAlternate, robot36()),
        mode("Robot 72", "R72", 12, 320, 240, F::ColourDiff, robot72()),
        mode("PD 50", "PD50", 93, 320, 256, F::TwoRows, pd(91.520)),
        mode("PD 90", "PD90", 99, 320, 256, F::TwoRows, pd(170.240)),
        mode("PD 120", "PD120", 95, 640, 496, F::TwoRows, pd(121.600)),
        mode("PD 160", "PD160", 98, 512, 400, F::TwoRows, pd(195.584)),
        mode("PD 180", "PD180", 96, 640, 496, F::TwoRows, pd(183.040)),
        mode("PD 240", "PD240", 97, 640, 496, F::TwoRows, pd(244.480)),
        mode("PD 290", "PD290", 94, 800, 616, F::TwoRows, pd(228.800)),
        mode("Wraase SC2-180", "SC2-180", 55, 320, 256, F::Rgb, wraase(235.000)),
        mode("Pasokon P3", "P3", 113, 640, 496, F::Rgb, pasokon(4800)),
        mode("Pasokon P5", "P5", 114, 640, 496, F::Rgb, pasokon(3200)),
        mode("Pasokon P7", "P7", 115, 640, 496, F::Rgb, pasokon(2400)),
        mode("Martin 3", "M3", 36, 320, 128, F::Rgb, martin(146.432), 0, false),
        mode("Martin 4", "M4", 32, 320, 128, F::Rgb, martin(73.216), 0, false),
        mode("Wraase SC2-120", "SC2-120", 63, 320, 256, F::Rgb, wraase(156.000), 0, false),
        mode("Robot 8 B/W", "R8BW", 2, 160, 120, F::Grey, robotGrey(60.0), 0, false),
        mode("Robot 12 B/W", "R12BW", 6, 160, 120, F::Grey, robotGrey(93.0), 0, false),
        mode("Robot 24 B/W", "R24BW", 10, 320, 240, F::Grey, robotGrey(93.0), 0, false),
    };
    return modes;
}

// A mode name as compared: lower case, without blanks, hyphens, underscores and slashes.
std::string comparable(std::string_view name)
{
    std::string kept;
    for (const char c : name)
        if (!std::isspace(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '/')
            kept += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return kept;
}

// The shortest time a value is held in the scans whose channel is `counted`.
template <typename Counted>
double shortestPixelOfScans(const StandardMode& mode, Counted counted)
{
    double shortest = 1e9;
    for (const LinePart& part : mode.parts)
        if (part.kind == LinePart::Kind::Scan && counted(part.channel))
            shortest = std::min(shortest, part.ms / mode.width);
    return shortest;
}

} // namespace

double StandardMode::linePeriodMs() const noexcept
{
    return std::accumulate(parts.begin(), parts.end(), 0.0,
                           [](double sum, const LinePart& part) { return sum + part.ms; });
}

double StandardMode::syncOffsetMs() const noexcept
{
    double offset = 0;
    for (const LinePart& part : parts) {
        if (part.kind == LinePart::Kind::Sync)
            return offset;
        offset += part.ms;
    }
    return 0;
}

double StandardMode::syncMs() const noexcept
{
    const auto sync = std::find_if(parts.begin(), parts.end(),
                                   [](const LinePart& part) { return part.kind == LinePart::Kind::Sync; });
    return sync == parts.end() ? 0 : sync->ms;
}

double StandardMode::pictureSeconds() const noexcept
{
    return (leadInSyncMs + lines() * linePeriodMs()) / 1000;
}

double StandardMode::shortestPixelMs() const noexcept
{
    return shortestPixelOfScans(*this, [](Channel) { return true; });
}

double StandardMode::shortestBrightnessPixelMs() const noexcept
{
    return shortestPixelOfScans(*this, [](Channel c) { return c != Channel::RedDiff && c != Channel::BlueDiff; });
}

std::span<const StandardMode> modeTable()
{
    return table();
}

const StandardMode* modeOfVis(int vis) noexcept
{
    for (const StandardMode& mode : table())
        if (mode.vis == vis)
            return &mode;
    return nullptr;
}

const StandardMode* findMode(std::string_view name) noexcept
{
    const std::string wanted = comparable(name);
    if (wanted.empty())
        return nullptr;
    for (const StandardMode& mode : table())
        if (comparable(mode.name) == wanted || comparable(mode.shortName) == wanted)
            return &mode;
    return nullptr;
}

} // namespace tonobild::standard
