#include "standard/picture_reader.h"

#include <algorithm>
#include <cmath>

namespace tonobild::standard {

namespace {

// Where each part of a line begins, in milliseconds from the line's start.
std::vector<double> partStarts(const StandardMode& mode)
{
    std::vector<double> starts;
    double at = 0;
    for (const LinePart& part : mode.parts) {
        starts.push_back(at);
        at += part.ms;
    }
    return starts;
}

} // namespace

int parityPhase(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid,
                const ToneCorrection& tones)
{
    const std::vector<double> starts = partStarts(mode);
    const double ms = frequency.rate() / 1000 * grid.scale;
    int votes = 0;
    for (std::size_t p = 0; p < mode.parts.size(); ++p) {
        const LinePart& part = mode.parts[p];
        if (part.kind == LinePart::Kind::Scan || part.hz == part.oddHz)
            continue;
        for (int line = 0; line < mode.lines(); ++line) {
            const double from = grid.lineStart(line) + (starts[p] + 0.2 * part.ms) * ms;
            if (from + 0.6 * part.ms * ms >= static_cast<double>(frequency.size()))
                break;
            const double hz = tones.sent(frequency.mean(from, from + 0.6 * part.ms * ms));
            const bool looksEven = std::abs(hz - part.hz) < std::abs(hz - part.oddHz);
            votes += looksEven == (line % 2 == 0) ? 1 : -1;
        }
    }
    return votes < 0 ? 1 : 0;
}

namespace {

// Where a scan meets a tone outside the band the picture is read in (the sync,
// beside a band narrowed against noise), the band's filter gives near the
// meeting mostly its own ringing and the noise, for about a cycle of the band's
// half width: the scan's end is read this many such cycles further in.
constexpr double kFarToneGuardCycles = 1.25;

// How far from each end of a scan its end pixels are read.
struct ScanGuards {
    double first = 0;
    double last = 0;
};

// One scan's values: each pixel's tone averaged over the middle of the pixel
// (and its neighbours, for a share above 1), never beyond the scan's ends; near
// them, no nearer the end than its guard, where the filters blur the scan into
// the tone beside it.
void readScan(const FrequencyTrack& frequency, const PictureReading& reading, double share, double first,
              double pixel, ScanGuards guards, std::vector<float>& values)
{
    const double half = std::max(0.5, share * pixel / 2);
    const double last = first + static_cast<double>(values.size()) * pixel;
    const double lowest = first + guards.first, highest = last - guards.last;
    for (std::size_t x = 0; x < values.size(); ++x) {
        const double centre = std::clamp(first + (static_cast<double>(x) + 0.5) * pixel, lowest, highest);
        const double hz = frequency.mean(std::max(first, centre - half), std::min(last, centre + half));
        values[x] = static_cast<float>(valueOfTone(reading.tones.sent(hz)));
    }
}

// The guard at a scan's end beside the given part of the line, in track samples.
double guardBeside(const LinePart& beside, int line, const PictureReading& reading, double samplesPerMs)
{
    const bool far = reading.bandHz > 0 && beside.kind != LinePart::Kind::Scan &&
                     std::abs(beside.toneOn(line) - kLeaderHz) > reading.bandHz;
    const double guardMs = far ? std::max(reading.edgeGuardMs, kFarToneGuardCycles * 1000 / reading.bandHz) : reading.edgeGuardMs;
    return guardMs * samplesPerMs;
}

} // namespace

int readLines(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid,
              const PictureReading& reading, const LineRun& run, int shift, ScanPlanes& planes)
{
    const std::vector<double> starts = partStarts(mode);
    const double ms = frequency.rate() / 1000 * grid.scale;
    const std::size_t partCount = mode.parts.size();
    std::vector<float> values(static_cast<std::size_t>(mode.width));
    int read = 0;
    for (int line = std::max(run.first, -shift); line <= run.last && line + shift < mode.lines(); ++line) {
        if (grid.lineStart(line + kWholeLine) > static_cast<double>(frequency.size()))
            break;
        for (std::size_t p = 0; p < partCount; ++p) {
            const LinePart& part = mode.parts[p];
            if (part.kind != LinePart::Kind::Scan)
                continue;
            const int parity = line + reading.parityPhase;
            const Channel channel = part.channelOn(parity);
            const bool colour = channel == Channel::RedDiff || channel == Channel::BlueDiff;
            // The part before the line's first is the last line's last, the part after its last the next line's first.
            const ScanGuards guards{
                guardBeside(mode.parts[(p + partCount - 1) % partCount], p == 0 ? parity - 1 : parity, reading, ms),
                guardBeside(mode.parts[(p + 1) % partCount], p + 1 == partCount ? parity + 1 : parity, reading, ms)};
            readScan(frequency, reading, colour ? reading.colourShare : reading.pixelShare,
                     grid.lineStart(line) + starts[p] * ms, part.ms / mode.width * ms, guards, values);
            planes.putScan(mode, line + shift, channel, values);
        }
        ++read;
    }
    return read;
}

} // namespace tonobild::standard
