#include "standard/tone_measures.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace tonobild::standard {

namespace {

struct Stretch {
    std::size_t first = 0;
    std::size_t end = 0;
};

Stretch clipped(const TrackView& track, double first, double count)
{
    const auto begin = static_cast<long long>(std::lround(first));
    const auto end = static_cast<long long>(std::lround(first + count));
    const auto size = static_cast<long long>(track.size());
    return {static_cast<std::size_t>(std::clamp(begin, 0LL, size)), static_cast<std::size_t>(std::clamp(end, 0LL, size))};
}

// The track mixed down by a tone and summed over the stretch.
std::complex<double> mixedSum(const TrackView& track, Stretch s, double hz)
{
    const double turn = 2 * M_PI * (hz - kCentreHz) / track.rate;
    const std::complex<double> step = std::polar(1.0, -turn);
    std::complex<double> rotor = std::polar(1.0, -turn * static_cast<double>(s.first));
    std::complex<double> sum = 0;
    for (std::size_t m = s.first; m < s.end; ++m) {
        sum += std::complex<double>(track.samples[m]) * rotor;
        rotor *= step;
    }
    return sum;
}

} // namespace

double tonePower(const TrackView& track, double first, double count, double hz)
{
    const Stretch s = clipped(track, first, count);
    if (s.end <= s.first)
        return 0;
    const double n = static_cast<double>(s.end - s.first);
    return std::norm(mixedSum(track, s, hz)) / (n * n);
}

double toneShare(const TrackView& track, double first, double count, double hz)
{
    const Stretch s = clipped(track, first, count);
    if (s.end <= s.first)
        return 0;
    double power = 0;
    for (std::size_t m = s.first; m < s.end; ++m)
        power += std::norm(track.samples[m]);
    const double n = static_cast<double>(s.end - s.first);
    return power > 0 ? std::norm(mixedSum(track, s, hz)) / (n * power) : 0;
}

double strongestTone(const TrackView& track, double first, double count, double lowHz, double highHz, double stepHz)
{
    double best = lowHz, bestPower = -1;
    for (double hz = lowHz; hz <= highHz; hz += stepHz)
        if (const double power = tonePower(track, first, count, hz); power > bestPower)
            best = hz, bestPower = power;
    return best;
}

} // namespace tonobild::standard

namespace tonobild::standard {

ToneSums::ToneSums(const TrackView& track, double first, double count, double hz)
    : first_(std::max(0LL, static_cast<long long>(std::floor(first))))
{
    const auto end = std::min(static_cast<long long>(track.size()), static_cast<long long>(std::ceil(first + count)));
    const double turn = 2 * M_PI * (hz - kCentreHz) / track.rate;
    const std::complex<double> step = std::polar(1.0, -turn);
    std::complex<double> rotor = std::polar(1.0, -turn * static_cast<double>(first_)), sum = 0;
    sums_.push_back(0);
    for (long long m = first_; m < end; ++m, rotor *= step) {
        sum += std::complex<double>(track.samples[static_cast<std::size_t>(m)]) * rotor;
        sums_.push_back(sum);
    }
}

double ToneSums::power(double from, double count) const noexcept
{
    const auto last = static_cast<long long>(sums_.size()) - 1;
    const long long a = std::clamp(static_cast<long long>(std::lround(from)) - first_, 0LL, last);
    const long long b = std::clamp(static_cast<long long>(std::lround(from + count)) - first_, 0LL, last);
    if (b <= a)
        return 0;
    const double n = static_cast<double>(b - a);
    return std::norm(sums_[static_cast<std::size_t>(b)] - sums_[static_cast<std::size_t>(a)]) / (n * n);
}

// The turn of the phase from each sample to the next; the first sample takes the second's.
FrequencyTrack::FrequencyTrack(const TrackView& track, double lowestHz, double highestHz, int decimation)
    : sum_(1, 0.0), rate_(track.rate), lowest_(lowestHz), highest_(highestHz), decimation_(decimation)
{
    extend(track);
}

void FrequencyTrack::extend(const TrackView& track)
{
    const double scale = track.rate / (2 * M_PI);
    const auto hzAt = [&](std::size_t m) {
        const double hz = kCentreHz + scale * std::arg(track.samples[m] * std::conj(track.samples[m - 1]));
        return std::clamp(hz, lowest_, highest_);
    };
    for (std::size_t m = samples(); m < track.size(); ++m) {
        if (m == 0)
            continue; // the first sample waits for the second
        if (m == 1)
            sum_.push_back(hzAt(1));
        sum_.push_back(sum_.back() + hzAt(m));
    }
}

// The frequency at index m holds between samples m - 1 and m.
double FrequencyTrack::integral(double at) const noexcept
{
    const double position = std::clamp(at / decimation_ + 1, 0.0, static_cast<double>(samples()));
    const auto whole = static_cast<std::size_t>(position);
    const double part = position - static_cast<double>(whole);
    return sum_[whole] + (whole < samples() ? part * (sum_[whole + 1] - sum_[whole]) : 0);
}

double FrequencyTrack::mean(double from, double to) const noexcept
{
    if (to - from < 1e-9)
        return (integral(from + 0.5) - integral(from - 0.5)) * decimation_;
    return (integral(to) - integral(from)) / (to - from) * decimation_;
}

} // namespace tonobild::standard
