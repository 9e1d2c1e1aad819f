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

// One scan's values: each pixel's tone averaged over the middle of the pixel;
// near the scan's ends no nearer the end than the edge guard, where the filters
// blur the scan into the tone beside it.
void readScan(const FrequencyTrack& frequency, const PictureReading& reading, double share, double first,
              double pixel, std::vector<float>& values)
{
    const double half = std::max(0.5, share * pixel / 2);
    const double guard = reading.edgeGuardMs * frequency.rate() / 1000;
    const double last = first + static_cast<double>(values.size()) * pixel;
    for (std::size_t x = 0; x < values.size(); ++x) {
        const double centre = std::clamp(first + (static_cast<double>(x) + 0.5) * pixel, first + guard, last - guard);
        values[x] = static_cast<float>(valueOfTone(reading.tones.sent(frequency.mean(centre - half, centre + half))));
    }
}

} // namespace

int readLines(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid,
              const PictureReading& reading, LineRun run, int shift, ScanPlanes& planes)
{
    const std::vector<double> starts = partStarts(mode);
    const double ms = frequency.rate() / 1000 * grid.scale;
    std::vector<float> values(static_cast<std::size_t>(mode.width));
    int read = 0;
    for (int line = std::max(run.first, -shift); line <= run.last && line + shift < mode.lines(); ++line) {
        if (grid.lineStart(line + kWholeLine) > static_cast<double>(frequency.size()))
            break;
        for (std::size_t p = 0; p < mode.parts.size(); ++p) {
            const LinePart& part = mode.parts[p];
            if (part.kind != LinePart::Kind::Scan)
                continue;
            const Channel channel = part.channelOn(line + reading.parityPhase);
            const bool colour = channel == Channel::RedDiff || channel == Channel::BlueDiff;
            readScan(frequency, reading, colour ? reading.colourShare : reading.pixelShare,
                     grid.lineStart(line) + starts[p] * ms, part.ms / mode.width * ms, values);
            planes.putScan(mode, line + shift, channel, values);
        }
        ++read;
    }
    return read;
}

} // namespace tonobild::standard
