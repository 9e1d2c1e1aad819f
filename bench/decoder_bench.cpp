// The decoder on clean encoder streams, in megabytes of input per second.
#include <benchmark/benchmark.h>

#include "decoder/decoder.h"
#include "bench_streams.h"

using namespace tonobild;

namespace {

const std::vector<std::uint8_t>& cleanStream(int width)
{
    static const std::vector<std::uint8_t> streams[2] = {bench::encodedStream(160, 120), bench::encodedStream(640, 480)};
    return streams[width == 160 ? 0 : 1];
}

enum Mode { kIdentified, kBuffered, kDirect };

void decodeClean(benchmark::State& benchState, int width, int height, Mode mode)
{
    const auto& stream = cleanStream(width);
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
        UnattendedDecoderHost host(controls);
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

namespace {

// The cycle detector's block loop alone: every tick and value counted, nothing placed.
void cutCycles(benchmark::State& benchState)
{
    const auto& stream = cleanStream(640);
    DecoderControls controls;
    CycleDetector detector(controls);
    for (auto _ : benchState) {
        detector.reset(3);
        int ticks = 0;
        int steps = 0;
        int valueSum = 0;
        detector.feedBlock(stream, ticks, 1000, [&] { return ++steps > 0; },
                           [&](std::span<const std::int16_t> values) {
                               for (const std::int16_t value : values)
                                   valueSum += value;
                               return CycleDetector::ValuesTaken{values.size(), true};
                           });
        benchmark::DoNotOptimize(ticks + steps + valueSum);
    }
    benchState.SetBytesProcessed(static_cast<std::int64_t>(benchState.iterations()) *
                                 static_cast<std::int64_t>(stream.size()));
}

} // namespace

BENCHMARK(cutCycles)->Unit(benchmark::kMillisecond);
