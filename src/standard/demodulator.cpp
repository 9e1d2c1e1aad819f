#include "standard/demodulator.h"

#include "common/liquid_dsp.h"

#include "standard/complex_fir.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace tonobild::standard {

namespace {

constexpr double kTrackRate = 11025;
constexpr float kStopAttenuationDb = 60;
constexpr double kNarrowStopFactor = 1.45; // a narrowed band stops this many times its half width from the centre
constexpr double kCentreShiftReach = 300;  // a narrowed band's centre lies this far from the track's at most

// Taps of a Kaiser-window low-pass for a rate, passing `pass` and stopping from `stop` hertz.
std::vector<float> lowPass(double rate, double pass, double stop)
{
    const double transition = (stop - pass) / rate;
    const auto length = static_cast<unsigned>(
        std::max(5.0, std::ceil((kStopAttenuationDb - 8) / (2.285 * 2 * M_PI * transition))) + 1) | 1u;
    std::vector<float> taps(length);
    liquid_firdes_kaiser(length, static_cast<float>((pass + stop) / 2 / rate), kStopAttenuationDb, 0, taps.data());
    const float gain = std::accumulate(taps.begin(), taps.end(), 0.0f);
    for (float& tap : taps)
        tap /= gain;
    return taps;
}

// Taps of a band-pass: a low-pass moved up to `shiftHz` from the centre.
std::vector<Baseband> bandTaps(double rate, double pass, double stop, double shiftHz)
{
    const std::vector<float> lowTaps = lowPass(rate, pass, stop);
    const double middle = (static_cast<double>(lowTaps.size()) - 1) / 2;
    std::vector<Baseband> taps;
    for (std::size_t i = 0; i < lowTaps.size(); ++i)
        taps.push_back(lowTaps[i] *
                       std::polar(1.0f, static_cast<float>(2 * M_PI * shiftHz / rate * (static_cast<double>(i) - middle))));
    return taps;
}

// Turns samples by `turnsPerSample` turns a sample from `phase` (in turns) on;
// returns the phase after them. Written out in real arithmetic: a complex
// product of the standard library checks every result for infinities.
double turn(std::span<Baseband> samples, double turnsPerSample, double phase)
{
    std::complex<double> rotor = std::polar(1.0, 2 * M_PI * phase);
    const std::complex<double> step = std::polar(1.0, 2 * M_PI * turnsPerSample);
    for (Baseband& s : samples) {
        const auto c = static_cast<float>(rotor.real()), d = static_cast<float>(rotor.imag());
        s = Baseband(s.real() * c - s.imag() * d, s.real() * d + s.imag() * c);
        rotor *= step;
    }
    return std::fmod(phase + turnsPerSample * static_cast<double>(samples.size()), 1.0);
}

} // namespace

// The recording is mixed down by the middle of the band, not by kCentreHz: the
// band-pass is then a low-pass of real taps, half the products of a complex
// one. The decimating low-pass only keeps what would fold into the band, the
// shaping low-pass then cuts the band itself, and the track is turned back by
// kBandShiftHz so that kCentreHz lies at its 0 Hz.
struct Demodulator::Filters {
    std::vector<float> decimatingTaps;
    std::vector<float> shapingTaps;
    firdecim_crcf decimating = nullptr;
    std::optional<ComplexFir> shaping;
    double mixingPhase = 0;   // the mixer's phase at the next sample, in turns
    double turningPhase = 0;  // the turn back's phase at the next track sample

    ~Filters()
    {
        if (decimating)
            firdecim_crcf_destroy(decimating);
    }
};

Demodulator::Demodulator(double inputRate)
    : inputRate_(inputRate), decimation_(std::max(1, static_cast<int>(inputRate / kTrackRate + 1e-9))),
      filters_(std::make_unique<Filters>())
{
    const double trackRate = inputRate / decimation_;
    Filters& f = *filters_;
    f.decimatingTaps = decimation_ > 1 ? lowPass(inputRate, kStopHz, trackRate - kStopHz) : std::vector<float>{1.0f};
    f.shapingTaps = lowPass(trackRate, kPassHz, kStopHz);
    f.decimating = firdecim_crcf_create(static_cast<unsigned>(decimation_), f.decimatingTaps.data(),
                                        static_cast<unsigned>(f.decimatingTaps.size()));
    f.shaping.emplace(std::vector<Baseband>(f.shapingTaps.begin(), f.shapingTaps.end()));
    const double energy = std::inner_product(f.shapingTaps.begin(), f.shapingTaps.end(), f.shapingTaps.begin(), 0.0);
    noiseBandwidth_ = energy * trackRate;
}

Demodulator::~Demodulator() = default;

double Demodulator::delay() const noexcept
{
    return (static_cast<double>(filters_->decimatingTaps.size()) - 1) / 2 / decimation_ +
           (static_cast<double>(filters_->shapingTaps.size()) - 1) / 2;
}

void Demodulator::feed(std::span<const float> samples, std::vector<Baseband>& track)
{
    Filters& f = *filters_;
    const std::size_t held = mixed_.size();
    mixed_.insert(mixed_.end(), samples.begin(), samples.end());
    f.mixingPhase = turn(std::span(mixed_).subspan(held), -(kCentreHz + kBandShiftHz) / inputRate_, f.mixingPhase);
    const std::size_t outputs = mixed_.size() / static_cast<std::size_t>(decimation_);
    decimated_.resize(outputs);
    firdecim_crcf_execute_block(f.decimating, mixed_.data(), static_cast<unsigned>(outputs), decimated_.data());
    const std::size_t shaped = track.size();
    f.shaping->filter(decimated_, track);
    f.turningPhase = turn(std::span(track).subspan(shaped), kBandShiftHz / trackRate(), f.turningPhase);
    mixed_.erase(mixed_.begin(), mixed_.begin() + static_cast<std::ptrdiff_t>(outputs * decimation_));
}

} // namespace tonobild::standard

namespace tonobild::standard {

void Demodulator::flush(std::vector<Baseband>& track)
{
    const std::vector<float> silence(static_cast<std::size_t>(std::ceil(delay() + 1)) * decimation_, 0.0f);
    feed(silence, track);
}

NarrowTrack narrowed(std::span<const Baseband> track, double rate, double centreHz, double halfWidthHz)
{
    const double stop = halfWidthHz * kNarrowStopFactor;
    // The decimated rate must keep the band clear of what folds into it.
    int decimation = 1;
    while (rate / (2 * decimation) - stop >= halfWidthHz + kCentreShiftReach)
        decimation *= 2;
    ComplexFir fir(bandTaps(rate, halfWidthHz, stop, centreHz - kCentreHz), decimation);
    fir.skip(fir.delay());
    NarrowTrack narrow{{}, rate / decimation, decimation};
    narrow.samples.reserve(track.size() / static_cast<std::size_t>(decimation) + 1);
    fir.filter(track, narrow.samples);
    const std::vector<Baseband> tail(fir.delay(), Baseband{});
    fir.filter(tail, narrow.samples);
    return narrow;
}

} // namespace tonobild::standard
