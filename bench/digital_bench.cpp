// Digital Encode and Digital Decode of a 640 x 480 working picture.
#include <benchmark/benchmark.h>

#include "digital/digital_coding.h"

namespace {

tonobild::WorkingPicture gradientPicture()
{
    tonobild::WorkingPicture picture(640, 480);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setColour(x, y, tonobild::colourNumber((5 * x + 3 * y) % 256, (7 * y + x) % 256, (x * y) % 256));
    return picture;
}

void digitalEncode640x480(benchmark::State& state)
{
    const tonobild::WorkingPicture source = gradientPicture();
    for (auto _ : state) {
        state.PauseTiming();
        tonobild::WorkingPicture picture = source;
        state.ResumeTiming();
        tonobild::digitalEncode(picture);
        benchmark::DoNotOptimize(picture.pixels().data());
    }
}
BENCHMARK(digitalEncode640x480)->Unit(benchmark::kMillisecond);

void digitalDecode640x480(benchmark::State& state)
{
    tonobild::WorkingPicture coded = gradientPicture();
    tonobild::digitalEncode(coded);
    for (auto _ : state) {
        state.PauseTiming();
        tonobild::WorkingPicture picture = coded;
        state.ResumeTiming();
        tonobild::digitalDecode(picture);
        benchmark::DoNotOptimize(picture.pixels().data());
    }
}
BENCHMARK(digitalDecode640x480)->Unit(benchmark::kMillisecond);

} // namespace
