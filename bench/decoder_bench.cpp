// The decoder on clean encoder streams, in megabytes of input per second.
#include <benchmark/benchmark.h>

#include "decoder/decoder.h"
#include "encoder/encoder.h"
#include "picture/colour.h"

using namespace tonobild;

namespace {

class QuietHost final : public DecoderHost {
public:
    explicit QuietHost(DecoderControls& controls) : controls_(controls) {}
    bool progressStep() override { return true; }
    bool rebuildRow() override { return true; }
    void setLicLock(bool ticked) override { controls_.licLock = ticked; }

private:
    DecoderControls& controls_;
};

const std::vector<std::uint8_t>& cleanStream(int width, int height)
{
    static std::vector<std::uint8_t> streams[2];
    std::vector<std::uint8_t>& stream = streams[width == 160 ? 0 : 1];
    if (stream.empty()) {
        WorkingPicture picture(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture.setColour(x, y, colourNumber((5 * x + 3 * y) % 256, (7 * y + x) % 256, (x * y) % 256));
        EncoderSettings settings;
        settings.pictureWidth = width;
        settings.pictureHeight = height;
        EncoderControls controls;
        WorkingState state;
        MemorySink sink;
        Encoder(picture, controls, state, sink).run(settings);
        stream = std::move(sink.bytes);
    }
    return stream;
}

enum Mode { kIdentified, kBuffered, kDirect };

void decodeClean(benchmark::State& benchState, int width, int height, Mode mode)
{
    const auto& stream = cleanStream(width, height);
    DecodeSettings settings;
    settings.pictureWidth = width;
    settings.pictureHeight = height;
    settings.normlevel = 3;
    WorkingPicture picture(width, height);
    WorkingState state;
    for (auto _ : benchState) {
        DecoderControls controls;
        controls.hsync = mode != kDirect;
        controls.useLic = mode == kIdentified;
        QuietHost host(controls);
        Decoder decoder(picture, state, controls, host);
        picture.clear();
        decoder.begin(settings);
        MemorySamples samples(stream);
        benchmark::DoNotOptimize(decoder.run(samples));
        decoder.finish();
    }
    benchState.SetBytesProcessed(static_cast<std::int64_t>(benchState.iterations()) *
                                 static_cast<std::int64_t>(stream.size()));
}

} // namespace

BENCHMARK_CAPTURE(decodeClean, identified_160x120, 160, 120, kIdentified)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeClean, buffered_160x120, 160, 120, kBuffered)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeClean, direct_160x120, 160, 120, kDirect)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeClean, identified_640x480, 640, 480, kIdentified)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeClean, buffered_640x480, 640, 480, kBuffered)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(decodeClean, direct_640x480, 640, 480, kDirect)->Unit(benchmark::kMillisecond);
