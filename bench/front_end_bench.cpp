// The receiving front end on recordings of a 640 x 480 transmission: held four
// times at 44100 (read on the grid), taken to 48000 (interpolated, both widths),
// and with the top octave filtered away (rebuilt from the tone). Megabytes of
// recording per second.
#include <benchmark/benchmark.h>

#include <cmath>

#include "bench_streams.h"
#include "frontend/receiving_front_end.h"
#include "frontend/tone_rebuild.h"

using namespace tonobild;

namespace {

std::vector<std::uint8_t> heldFourTimes(const std::vector<std::uint8_t>& sent)
{
    std::vector<std::uint8_t> out;
    out.reserve(4 * sent.size());
    for (const std::uint8_t s : sent)
        out.insert(out.end(), 4, s);
    return out;
}

// A straight-line resampler from 44100 to 48000.
std::vector<std::uint8_t> at48000(const std::vector<std::uint8_t>& held)
{
    std::vector<std::uint8_t> out;
    for (double at = 0; at + 1 < static_cast<double>(held.size()); at += 44100.0 / 48000.0) {
        const auto i = static_cast<std::size_t>(at);
        out.push_back(static_cast<std::uint8_t>(std::lround(held[i] + (at - static_cast<double>(i)) * (held[i + 1] - held[i]))));
    }
    return out;
}

// What an ordinary player leaves: a - b per group on the quarter-rate tone, held four times.
std::vector<float> toneOnly(const std::vector<std::uint8_t>& sent)
{
    std::vector<float> tone;
    for (std::size_t g = 0; g + 4 <= sent.size(); g += 4) {
        const float half = (static_cast<float>(sent[g]) - static_cast<float>(sent[g + 2])) / 2.0F;
        for (const float value : {half, -half, -half, half})
            tone.insert(tone.end(), 4, value);
    }
    return tone;
}

const std::vector<std::uint8_t>& sent()
{
    static const std::vector<std::uint8_t> stream = bench::encodedStream(640, 480);
    return stream;
}

void condition(benchmark::State& state, const std::vector<std::uint8_t>& recording)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(conditionRecording(recording).data());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(recording.size()));
}

void BM_HeldAt44100(benchmark::State& state)
{
    static const std::vector<std::uint8_t> recording = heldFourTimes(sent());
    condition(state, recording);
}

void BM_ResampledTo48000(benchmark::State& state)
{
    static const std::vector<std::uint8_t> recording = at48000(heldFourTimes(sent()));
    condition(state, recording);
}

void BM_RebuiltFromTone(benchmark::State& state)
{
    static const std::vector<float> tone = toneOnly(sent());
    for (auto _ : state)
        benchmark::DoNotOptimize(rebuildFromTone(tone, 4.0).data());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(tone.size()));
}

} // namespace

BENCHMARK(BM_HeldAt44100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResampledTo48000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuiltFromTone)->Unit(benchmark::kMillisecond);
