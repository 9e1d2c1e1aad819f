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

} // namespace

// The decimating low-pass only keeps what would fold into the band; the
// track's own band-pass (a low-pass moved up by kBandShiftHz) then shapes it.
struct Demodulator::Filters {
    std::vector<float> decimatingTaps;
    std::vector<float> shapingTaps;
    firdecim_crcf decimating = nullptr;
    std::optional<ComplexFir> shaping;

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
    const double widest = kBandShiftHz + kStopHz;
    f.decimatingTaps = decimation_ > 1 ? lowPass(inputRate, widest, trackRate - widest) : std::vector<float>{1.0f};
    f.shapingTaps = lowPass(trackRate, kPassHz, kStopHz);
    f.decimating = firdecim_crcf_create(static_cast<unsigned>(decimation_), f.decimatingTaps.data(),
                                        static_cast<unsigned>(f.decimatingTaps.size()));
    f.shaping.emplace(bandTaps(trackRate, kPassHz, kStopHz, kBandShiftHz));
    const double energy = std::inner_product(f.shapingTaps.begin(), f.shapingTaps.end(), f.shapingTaps.begin(), 0.0);
    noiseBandwidth_ = energy * trackRate;
}

Demodulator::~Demodulator() = default;

double Demodulator::delay() const noexcept
{
    return (static_cast<double>(filters_->decimatingTaps.size()) - 1) / 2 / decimation_ +
           (static_cast<double>(filters_->shapingTaps.size()) - 1) / 2;
}

// Mixed down by a rotor that turns by the centre frequency each sample, set
// afresh from the exact phase at every block.
void Demodulator::feed(std::span<const float> samples, std::vector<Baseband>& track)
{
    Filters& f = *filters_;
    const std::size_t held = mixed_.size();
    mixed_.resize(held + samples.size());
    const double turn = kCentreHz / inputRate_;
    std::complex<double> rotor = std::polar(1.0, -2 * M_PI * phase_);
    const std::complex<double> step = std::polar(1.0, -2 * M_PI * turn);
    for (std::size_t i = 0; i < samples.size(); ++i, rotor *= step)
        mixed_[held + i] = Baseband(static_cast<float>(samples[i] * rotor.real()), static_cast<float>(samples[i] * rotor.imag()));
    phase_ = std::fmod(phase_ + turn * static_cast<double>(samples.size()), 1.0);
    const std::size_t outputs = mixed_.size() / static_cast<std::size_t>(decimation_);
    decimated_.resize(outputs);
    firdecim_crcf_execute_block(f.decimating, mixed_.data(), static_cast<unsigned>(outputs), decimated_.data());
    f.shaping->filter(decimated_, track);
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
