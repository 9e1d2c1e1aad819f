#include "standard/spectrum.h"

#include "common/liquid_dsp.h"

#include <cmath>

namespace tonobild::standard {

struct ShortSpectrum::Plan {
    explicit Plan(int size) : in(static_cast<std::size_t>(size)), out(static_cast<std::size_t>(size))
    {
        plan = fft_create_plan(static_cast<unsigned>(size), in.data(), out.data(), LIQUID_FFT_FORWARD, 0);
    }
    ~Plan() { fft_destroy_plan(plan); }
    std::vector<Baseband> in;
    std::vector<Baseband> out;
    fftplan plan;
};

ShortSpectrum::ShortSpectrum(double trackRate, int size)
    : rate_(trackRate), size_(size), window_(static_cast<std::size_t>(size)), power_(static_cast<std::size_t>(size)),
      plan_(std::make_unique<Plan>(size))
{
    for (int i = 0; i < size; ++i)
        window_[static_cast<std::size_t>(i)] = static_cast<float>(0.5 - 0.5 * std::cos(2 * M_PI * (i + 0.5) / size));
}

ShortSpectrum::~ShortSpectrum() = default;

const std::vector<float>& ShortSpectrum::of(const TrackView& track, std::size_t first)
{
    const auto n = static_cast<std::size_t>(size_);
    for (std::size_t i = 0; i < n; ++i)
        plan_->in[i] = first + i < track.size() ? track.samples[first + i] * window_[i] : Baseband{};
    fft_execute(plan_->plan);
    // The transform puts 0 Hz first; the lowest frequency goes first here.
    for (std::size_t i = 0; i < n; ++i)
        power_[i] = std::norm(plan_->out[(i + n / 2) % n]);
    return power_;
}

} // namespace tonobild::standard
