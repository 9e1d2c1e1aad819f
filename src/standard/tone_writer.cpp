#include "standard/tone_writer.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "standard/mode_table.h"

namespace tonobild::standard {

namespace {

constexpr std::size_t kBlockSamples = 8192;

} // namespace

ToneWriter::ToneWriter(std::uint32_t sampleRate, double amplitude, BlockSink sink)
    : rate_(sampleRate), amplitude_(amplitude * 32767.0), sink_(std::move(sink))
{
    block_.reserve(kBlockSamples);
}

// Samples n with n / rate < endSeconds belong to what ends there.
template <typename FrequencyAt> void ToneWriter::emitUntil(double endSeconds, FrequencyAt frequencyAt)
{
    end_ = endSeconds;
    const auto last = static_cast<std::uint64_t>(std::ceil(endSeconds * rate_ - 1e-7));
    for (; next_ < last; ++next_)
        put(frequencyAt(static_cast<double>(next_) / rate_));
}

void ToneWriter::tone(double hz, double ms)
{
    emitUntil(end_ + ms / 1000, [hz](double) { return hz; });
}

void ToneWriter::scan(std::span<const float> values, double ms)
{
    if (values.empty())
        return tone(0, ms);
    const double start = end_;
    const double pixelSeconds = ms / 1000 / static_cast<double>(values.size());
    const auto lastPixel = static_cast<long>(values.size()) - 1;
    emitUntil(start + ms / 1000, [&](double time) {
        const long pixel = std::clamp(static_cast<long>((time - start) / pixelSeconds), 0L, lastPixel);
        return toneOfValue(values[static_cast<std::size_t>(pixel)]);
    });
}

void ToneWriter::put(double hz)
{
    block_.push_back(static_cast<std::int16_t>(std::lrint(amplitude_ * std::sin(2 * std::numbers::pi * phase_))));
    phase_ += hz / rate_;
    phase_ -= std::floor(phase_);
    if (block_.size() == kBlockSamples) {
        sink_(block_);
        block_.clear();
    }
}

void ToneWriter::finish()
{
    if (!block_.empty())
        sink_(block_);
    block_.clear();
}

} // namespace tonobild::standard
