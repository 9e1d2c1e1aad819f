#include "audio/sample_conversion.h"

#include <algorithm>
#include <cstring>

#include "common/numbers.h"

namespace tonobild {

PlaybackRate choosePlaybackRate(std::uint32_t fileRate, std::span<const std::uint32_t> nativeRates)
{
    if (fileRate == 0 || nativeRates.empty())
        return {fileRate, true};
    if (std::find(nativeRates.begin(), nativeRates.end(), fileRate) != nativeRates.end())
        return {fileRate, true};
    std::uint32_t best = 0;
    for (const std::uint32_t rate : nativeRates)
        if (rate > fileRate && rate % fileRate == 0 && (best == 0 || rate < best))
            best = rate;
    if (best != 0)
        return {best, true};
    return {nativeRates.front(), false};
}

std::vector<std::int16_t> toInt16(const WavAudio& audio)
{
    std::vector<std::int16_t> samples;
    if (audio.bitsPerSample == 8) {
        samples.reserve(audio.data.size());
        for (const std::uint8_t s : audio.data)
            samples.push_back(static_cast<std::int16_t>((s - 128) * 256));
    } else {
        samples.reserve(audio.data.size() / 2);
        for (std::size_t i = 0; i + 1 < audio.data.size(); i += 2)
            samples.push_back(static_cast<std::int16_t>(audio.data[i] | audio.data[i + 1] << 8));
    }
    return samples;
}

std::uint64_t repeatedFrameCount(std::uint64_t frames, std::uint32_t fromRate, std::uint32_t toRate) noexcept
{
    return fromRate == toRate || fromRate == 0 ? frames : frames * toRate / fromRate;
}

std::vector<std::int16_t> repeatFrames(std::span<const std::int16_t> samples, int channels,
                                       std::uint32_t fromRate, std::uint32_t toRate)
{
    const auto width = static_cast<std::size_t>(channels);
    const std::uint64_t framesIn = samples.size() / width;
    if (fromRate == toRate || fromRate == 0)
        return {samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(framesIn * width)};
    const std::uint64_t framesOut = repeatedFrameCount(framesIn, fromRate, toRate);
    std::vector<std::int16_t> out;
    out.reserve(static_cast<std::size_t>(framesOut) * width);
    for (std::uint64_t i = 0; i < framesOut; ++i) {
        const auto from = static_cast<std::size_t>(i * fromRate / toRate) * width;
        out.insert(out.end(), samples.begin() + static_cast<std::ptrdiff_t>(from),
                   samples.begin() + static_cast<std::ptrdiff_t>(from + width));
    }
    return out;
}

std::uint8_t toUnsigned8(double value) noexcept
{
    return static_cast<std::uint8_t>(clampToRange(roundHalfEven(value * 128.0 + 128.0), 0, 255));
}

int peakLevel(std::span<const std::uint8_t> samples) noexcept
{
    int peak = 0;
    for (const std::uint8_t s : samples)
        peak = std::max(peak, s < 128 ? 128 - s : s - 128);
    return peak;
}

namespace {

std::size_t bytesPerSample(DeviceSampleFormat format)
{
    switch (format) {
    case DeviceSampleFormat::UInt8:
        return 1;
    case DeviceSampleFormat::Int16:
        return 2;
    case DeviceSampleFormat::Int32:
    case DeviceSampleFormat::Float:
        return 4;
    }
    return 1;
}

} // namespace

CaptureConverter::CaptureConverter(DeviceSampleFormat format, int channels, std::uint32_t deviceRate,
                                   std::uint32_t targetRate)
    : format_(format), channels_(std::max(channels, 1)), deviceRate_(deviceRate == 0 ? targetRate : deviceRate),
      targetRate_(targetRate), frameBytes_(bytesPerSample(format) * static_cast<std::size_t>(channels_))
{
}

double CaptureConverter::frameValue(const std::uint8_t* frame) const
{
    double sum = 0.0;
    for (int c = 0; c < channels_; ++c) {
        const std::uint8_t* s = frame + static_cast<std::size_t>(c) * bytesPerSample(format_);
        switch (format_) {
        case DeviceSampleFormat::UInt8:
            sum += (s[0] - 128) / 128.0;
            break;
        case DeviceSampleFormat::Int16: {
            std::int16_t v;
            std::memcpy(&v, s, sizeof v);
            sum += v / 32768.0;
            break;
        }
        case DeviceSampleFormat::Int32: {
            std::int32_t v;
            std::memcpy(&v, s, sizeof v);
            sum += v / 2147483648.0;
            break;
        }
        case DeviceSampleFormat::Float: {
            float v;
            std::memcpy(&v, s, sizeof v);
            sum += static_cast<double>(v);
            break;
        }
        }
    }
    return sum / channels_;
}

void CaptureConverter::convert(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& out)
{
    partial_.insert(partial_.end(), bytes.begin(), bytes.end());
    const std::size_t frames = partial_.size() / frameBytes_;
    for (std::size_t f = 0; f < frames; ++f) {
        const std::uint8_t* frame = partial_.data() + f * frameBytes_;
        // Output sample j takes device frame floor(j * deviceRate / targetRate): emit
        // every output sample whose source is this frame.
        while (framesOut_ * deviceRate_ / targetRate_ == framesIn_) {
            out.push_back(toUnsigned8(frameValue(frame)));
            ++framesOut_;
        }
        ++framesIn_;
    }
    partial_.erase(partial_.begin(), partial_.begin() + static_cast<std::ptrdiff_t>(frames * frameBytes_));
}

} // namespace tonobild
