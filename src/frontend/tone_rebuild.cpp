#include "frontend/tone_rebuild.h"

#include <algorithm>
#include <cmath>

#include "frontend/sent_levels.h"
#include "frontend/spectral_line.h"

namespace tonobild {

namespace {

// How far from a quarter of the nominal rate the tone is looked for: a clock
// 1 % off and a receiver mistuned by 50 Hz move it by up to 3.5 % at 2000 Hz.
constexpr double kCarrierRange = 0.04;
// A line less prominent than this over the rest of the range is no tone.
constexpr double kLeastProminence = 100.0;

struct Candidate {
    SpectralLine line;
    double hold = 0;
};

// The strongest tone near a quarter of each nominal rate that stands out of
// its range (its power over the range's median tells a tone from noise; its
// strength tells the tone from the faint lines of another rate's range).
Candidate strongestTone(std::span<const float> centred, std::span<const double> nominalHolds)
{
    Candidate best;
    for (const double hold : nominalHolds) {
        const double quarter = 1.0 / (kSamplesPerGroup * hold);
        if (!(hold > 0) || quarter * (1.0 + kCarrierRange) >= 0.5)
            continue;
        const SpectralLine line = findSpectralLine(centred, quarter, kCarrierRange * quarter);
        if (line.prominence >= kLeastProminence && std::abs(line.amplitude) > std::abs(best.line.amplitude))
            best = {line, hold};
    }
    return best;
}

} // namespace

ToneReading::ToneReading(std::span<const float> centred, std::span<const double> nominalHolds)
{
    const Candidate tone = strongestTone(centred, nominalHolds);
    if (tone.hold == 0)
        return;
    baseband_.emplace(centred, tone.line);
    grid_ = findLineGrid(*baseband_, kSamplesPerGroup * tone.hold);
}

RebuiltTransmission ToneReading::rebuild() const
{
    if (!found())
        return {};
    RebuiltTransmission rebuilt;
    rebuilt.groups = equaliseGroups(*baseband_, grid_);
    const EqualisedGroups& groups = rebuilt.groups;
    rebuilt.samples.reserve(kSamplesPerGroup * groups.values.size());
    for (std::size_t k = 0; k < groups.values.size(); ++k) {
        // The syncs and line openings are sent again as they were sent, not as noise left them.
        const double value = std::isnan(groups.known[k]) ? groups.values[k] : groups.known[k];
        const double a = kCentredReference + value;
        rebuilt.samples.insert(rebuilt.samples.end(), {sentLevel(a), sentLevel(-a), sentLevel(kCentredReference),
                                                       sentLevel(-kCentredReference)});
    }
    return rebuilt;
}

std::vector<std::uint8_t> rebuildFromTone(std::span<const float> centred, double hold)
{
    const double holds[] = {hold};
    return ToneReading(centred, holds).rebuild().samples;
}

} // namespace tonobild
