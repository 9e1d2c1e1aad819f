#include "channel/channel_model.h"

#include "common/liquid_dsp.h"

#include <cmath>
#include <complex>
#include <numeric>
#include <random>

namespace tonobild::channel {

namespace {

constexpr double kNoiseBandHz = 3000;
constexpr double kEmphasisSeconds = 750e-6; // the corner of 6 dB an octave, about 212 Hz

Samples resampledBy(const Samples& samples, double ratio)
{
    resamp_rrrf resampler = resamp_rrrf_create(static_cast<float>(ratio), 24, 0.45f, 80.0f, 1024);
    Samples out(static_cast<std::size_t>(static_cast<double>(samples.size()) * ratio) + 64);
    unsigned written = 0;
    std::size_t at = 0;
    for (float s : samples) {
        unsigned n = 0;
        resamp_rrrf_execute(resampler, s, out.data() + at, &n);
        at += n;
        written += n;
    }
    // The resampler's delay: its first outputs belong before the first sample.
    const auto delay = static_cast<std::size_t>(std::lround(resamp_rrrf_get_delay(resampler) * ratio));
    resamp_rrrf_destroy(resampler);
    out.resize(written);
    out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(std::min(delay, out.size())));
    return out;
}

} // namespace

double powerOf(const Samples& samples)
{
    if (samples.empty())
        return 0;
    return std::inner_product(samples.begin(), samples.end(), samples.begin(), 0.0) /
           static_cast<double>(samples.size());
}

void addNoise(Samples& samples, double rate, double snrDb, double signalPower, std::uint32_t seed)
{
    const double perHertz = signalPower / kNoiseBandHz / std::pow(10.0, snrDb / 10);
    std::mt19937 generator(seed);
    std::normal_distribution<double> gauss(0.0, std::sqrt(perHertz * rate / 2));
    for (float& s : samples)
        s = static_cast<float>(s + gauss(generator));
}

Samples stretch(const Samples& samples, double ppm)
{
    return resampledBy(samples, 1 + ppm / 1e6);
}

Samples resample(const Samples& samples, double fromRate, double toRate)
{
    return resampledBy(samples, toRate / fromRate);
}

Samples shift(const Samples& samples, double rate, double hz)
{
    firhilbf hilbert = firhilbf_create(35, 60.0f);
    const unsigned delay = 2 * 35; // the transformer's delay, in samples
    Samples out(samples.size(), 0.0f);
    const std::complex<double> step = std::polar(1.0, 2 * M_PI * hz / rate);
    std::complex<double> rotor = 1;
    for (std::size_t n = 0; n < samples.size() + delay; ++n) {
        std::complex<float> analytic;
        firhilbf_r2c_execute(hilbert, n < samples.size() ? samples[n] : 0.0f, &analytic);
        if (n >= delay) {
            out[n - delay] = static_cast<float>((std::complex<double>(analytic) * rotor).real());
            rotor *= step;
        }
    }
    firhilbf_destroy(hilbert);
    return out;
}

Samples bandPass(const Samples& samples, double rate, double lowHz, double highHz)
{
    const auto length = static_cast<unsigned>(4 * rate / 200) | 1u; // a transition of about 200 Hz
    std::vector<float> lowPass(length);
    liquid_firdes_kaiser(length, static_cast<float>((highHz - lowHz) / 2 / rate), 60.0f, 0.0f, lowPass.data());
    const double centre = (lowHz + highHz) / 2, middle = (length - 1) / 2.0;
    std::vector<float> taps(length);
    for (unsigned i = 0; i < length; ++i) // the low-pass moved up to the band: a real band-pass
        taps[i] = static_cast<float>(2 * lowPass[i] * std::cos(2 * M_PI * centre / rate * (i - middle)));
    firfilt_rrrf filter = firfilt_rrrf_create(taps.data(), length);
    Samples out(samples.size());
    for (std::size_t n = 0; n < samples.size() + length / 2; ++n) {
        firfilt_rrrf_push(filter, n < samples.size() ? samples[n] : 0.0f);
        float y = 0;
        firfilt_rrrf_execute(filter, &y);
        if (n >= length / 2)
            out[n - length / 2] = y;
    }
    firfilt_rrrf_destroy(filter);
    return out;
}

// 1 + s tau, scaled to unit gain at 1 kHz.
Samples preEmphasis(const Samples& samples, double rate)
{
    const double k = kEmphasisSeconds * rate, gain = 1 / std::hypot(1.0, 2 * M_PI * 1000 * kEmphasisSeconds);
    Samples out(samples.size());
    float previous = 0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        out[n] = static_cast<float>(gain * (samples[n] + k * (samples[n] - previous)));
        previous = samples[n];
    }
    return out;
}

// 1 / (1 + s tau), the inverse of the pre-emphasis above.
Samples deEmphasis(const Samples& samples, double rate)
{
    const double k = kEmphasisSeconds * rate, gain = std::hypot(1.0, 2 * M_PI * 1000 * kEmphasisSeconds);
    Samples out(samples.size());
    double previous = 0;
    for (std::size_t n = 0; n < samples.size(); ++n) {
        previous = (samples[n] * gain + k * previous) / (1 + k);
        out[n] = static_cast<float>(previous);
    }
    return out;
}

} // namespace tonobild::channel
