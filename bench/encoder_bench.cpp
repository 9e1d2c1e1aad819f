// Encoding speed of the core encoder into memory, in bytes of stream per second.
#include <benchmark/benchmark.h>

#include "encoder/encoder.h"

namespace {

using namespace tonobild;

// A sink that counts and drops the stream, so the figure is the encoder's own.
class CountingSink final : public SampleSink {
public:
    void write(const std::uint8_t* samples, std::size_t count) override
    {
        benchmark::DoNotOptimize(samples);
        bytes += count;
    }
    std::size_t bytes = 0;
};

WorkingPicture gradient(int width, int height)
{
    WorkingPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setColour(x, y, colourNumber((5 * x + 3 * y) % 256, (7 * y + x) % 256, (x * y) % 256));
    return picture;
}

void encodeColour(benchmark::State& run, int width, int height)
{
    const WorkingPicture picture = gradient(width, height);
    EncoderSettings settings;
    settings.pictureWidth = width;
    settings.pictureHeight = height;
    const EncoderControls controls;
    WorkingState state;
    CountingSink sink;
    for (auto _ : run) {
        Encoder encoder(picture, controls, state, sink);
        encoder.run(settings);
    }
    run.SetBytesProcessed(static_cast<std::int64_t>(sink.bytes));
}

void BM_Encode160x120(benchmark::State& run) { encodeColour(run, 160, 120); }
void BM_Encode640x480(benchmark::State& run) { encodeColour(run, 640, 480); }

BENCHMARK(BM_Encode160x120)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encode640x480)->Unit(benchmark::kMillisecond);

} // namespace
