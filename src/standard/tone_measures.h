// Measures of the baseband track (see demodulator.h): the energy of a tone in
// a stretch of it, the strongest tone of a band.
#pragma once

#include <span>
#include <vector>

#include "standard/demodulator.h"

namespace tonobild::standard {

// How the tones heard differ from the tones sent: the sender's clock scales
// every tone (by the inverse of the line period's scale) and a mistuned
// receiver shifts every tone by the same amount.
struct ToneCorrection {
    double offsetHz = 0; // the receiver's mistuning
    double scale = 1;    // the sender's line period over the mode's

    double sent(double heardHz) const noexcept { return (heardHz - offsetHz) * scale; }
    double heard(double sentHz) const noexcept { return sentHz / scale + offsetHz; }
};

// Where the track is read: its samples and their rate.
struct TrackView {
    std::span<const Baseband> samples;
    double rate = 0;

    double samplesOf(double ms) const noexcept { return ms * rate / 1000; }
    std::size_t size() const noexcept { return samples.size(); }
};

// The mean power of a tone of `hz` over [first, first + count), as a share of
// the track's mean power there (1 for the tone alone, about count^-1 for noise).
// Answers 0 for a stretch outside the track.
double toneShare(const TrackView& track, double first, double count, double hz);

// The power of a tone of `hz` over [first, first + count), not normalised.
double tonePower(const TrackView& track, double first, double count, double hz);

// The frequency of the strongest tone between lowHz and highHz over
// [first, first + count), to within stepHz.
double strongestTone(const TrackView& track, double first, double count, double lowHz, double highHz, double stepHz);

} // namespace tonobild::standard

namespace tonobild::standard {

// The tone's frequency between each track sample and the one before it, kept
// as its running sum: the mean over any stretch, fractions of a sample included.
class FrequencyTrack {
public:
    // Frequencies outside [lowestHz, highestHz] are taken at the nearer end:
    // where noise breaks the tone up, a click then costs a pixel little. A
    // track decimated from the one positions count in gives its decimation:
    // its sample j lies at position j * decimation.
    explicit FrequencyTrack(const TrackView& track, double lowestHz = -1e9, double highestHz = 1e9, int decimation = 1);
    // The track has grown (from the same first sample): takes in its new samples.
    void extend(const TrackView& track);

    // The rate and the length in positions.
    double rate() const noexcept { return rate_ * decimation_; }
    std::size_t size() const noexcept { return samples() * static_cast<std::size_t>(decimation_); }
    // The mean frequency over [from, to], positions in track samples.
    double mean(double from, double to) const noexcept;
    // The mean frequency over the two samples' time around position `at`.
    double around(double at) const noexcept { return mean(at - 1, at + 1); }

private:
    std::size_t samples() const noexcept { return sum_.size() - 1; }
    double integral(double at) const noexcept;
    std::vector<double> sum_; // sum_[m]: the frequencies before index m, each over one sample
    double rate_;
    double lowest_;
    double highest_;
    int decimation_;
};

// The track mixed down by one tone, summed from the start of a stretch: the
// power of the tone over any window inside it in one step.
class ToneSums {
public:
    ToneSums(const TrackView& track, double first, double count, double hz);
    // The tone's mean power over [from, from + count), positions in track samples.
    double power(double from, double count) const noexcept;

private:
    std::vector<std::complex<double>> sums_;
    long long first_;
};

} // namespace tonobild::standard
