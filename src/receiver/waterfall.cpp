#include "receiver/waterfall.h"

#include "common/liquid_dsp.h"

#include <algorithm>
#include <cmath>

namespace tonobild {

namespace {

constexpr int kLargestTransform = 16384;

int transformSizeFor(std::uint32_t sampleRate, double columnHz)
{
    int size = 256;
    while (size < kLargestTransform && sampleRate / static_cast<double>(size) > columnHz)
        size *= 2;
    return size;
}

} // namespace

struct Waterfall::Transform {
    explicit Transform(int size) : in(static_cast<std::size_t>(size)), out(static_cast<std::size_t>(size))
    {
        plan = fft_create_plan(static_cast<unsigned>(size), in.data(), out.data(), LIQUID_FFT_FORWARD, 0);
    }
    ~Transform() { fft_destroy_plan(plan); }
    std::vector<std::complex<float>> in;
    std::vector<std::complex<float>> out;
    fftplan plan;
};

Waterfall::Waterfall(std::uint32_t sampleRate, int columns, double topHz)
    : columns_(columns), topHz_(topHz), size_(transformSizeFor(sampleRate, topHz / columns)),
      hop_(sampleRate / kRowsPerSecond), binHz_(static_cast<double>(sampleRate) / size_),
      window_(static_cast<std::size_t>(size_)), recent_(static_cast<std::size_t>(size_), 0.0f),
      power_(static_cast<std::size_t>(columns)), transform_(std::make_unique<Transform>(size_))
{
    // A Hann window, scaled so that a full-scale tone's bin reads 0 dB.
    for (int i = 0; i < size_; ++i)
        window_[static_cast<std::size_t>(i)] =
            static_cast<float>((1 - std::cos(2 * M_PI * (i + 0.5) / size_)) / (size_ / 2.0));
}

Waterfall::~Waterfall() = default;

int Waterfall::columnOf(double hz) const noexcept
{
    return std::clamp(static_cast<int>(std::floor(hz * columns_ / topHz_)), 0, columns_ - 1);
}

double Waterfall::columnHz(double column) const noexcept
{
    return (column + 0.5) * topHz_ / columns_;
}

void Waterfall::feed(std::span<const std::uint8_t> samples, std::vector<std::uint8_t>& rows)
{
    while (!samples.empty()) {
        const std::size_t take = std::min(samples.size(), hop_ - sinceRow_);
        for (const std::uint8_t sample : samples.first(take))
            recent_.push_back((sample - 128.0f) / 128.0f);
        samples = samples.subspan(take);
        sinceRow_ += take;
        if (sinceRow_ == hop_) {
            sinceRow_ = 0;
            recent_.erase(recent_.begin(), recent_.end() - size_);
            finishRow(rows);
        }
    }
}

// Each column takes the strongest bin whose middle lies in it, or, narrower
// than a bin, the bin nearest to its own middle.
void Waterfall::finishRow(std::vector<std::uint8_t>& rows)
{
    for (std::size_t i = 0; i < window_.size(); ++i)
        transform_->in[i] = recent_[i] * window_[i];
    fft_execute(transform_->plan);
    const double columnWidth = topHz_ / columns_;
    const std::size_t bins = transform_->out.size() / 2;
    for (int c = 0; c < columns_; ++c) {
        auto first = static_cast<std::size_t>(std::ceil(c * columnWidth / binHz_));
        auto last = static_cast<std::size_t>(std::ceil((c + 1) * columnWidth / binHz_));
        if (first >= last) {
            first = static_cast<std::size_t>(std::lround(columnHz(c) / binHz_));
            last = first + 1;
        }
        float strongest = 0;
        for (std::size_t bin = first; bin < std::min(last, bins); ++bin)
            strongest = std::max(strongest, std::norm(transform_->out[bin]));
        power_[static_cast<std::size_t>(c)] = strongest;
    }
    for (const float p : power_) {
        const double db = 10 * std::log10(std::max(p, 1e-20f));
        rows.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(255 * (1 - db / kFloorDb)), 0L, 255L)));
    }
    std::vector<float> sorted = power_;
    std::nth_element(sorted.begin(), sorted.begin() + columns_ / 2, sorted.end());
    const float median = std::max(sorted[static_cast<std::size_t>(columns_ / 2)], 1e-20f);
    signalFigure_ = 10 * std::log10(std::max(*std::max_element(power_.begin(), power_.end()), median) / median);
}

} // namespace tonobild
