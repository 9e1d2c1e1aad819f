// The settings detector on clean encoder streams and on random bytes: megabytes
// of stream read per second, and how much of the stream it needed.
#include <benchmark/benchmark.h>

#include <random>

#include "bench_streams.h"
#include "detector/settings_detector.h"

using namespace tonobild;

namespace {

std::vector<std::uint8_t> cleanStream(int width, int height, bool mono)
{
    return bench::encodedStream(width, height, mono);
}

std::vector<std::uint8_t> randomBytes(std::size_t count)
{
    std::mt19937 generator(7);
    std::vector<std::uint8_t> bytes(count);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(generator());
    return bytes;
}

void detect(benchmark::State& benchState, const std::vector<std::uint8_t>& stream)
{
    std::uint64_t read = 0;
    for (auto _ : benchState) {
        MemorySamples samples(stream);
        const DetectedSettings found = detectSettings(samples);
        benchmark::DoNotOptimize(found.pictureWidth);
        read = found.bytesRead;
    }
    benchState.SetBytesProcessed(static_cast<std::int64_t>(benchState.iterations()) * static_cast<std::int64_t>(read));
    benchState.counters["read_percent"] = 100.0 * static_cast<double>(read) / static_cast<double>(stream.size());
}

void colour160(benchmark::State& state) { static const auto s = cleanStream(160, 120, false); detect(state, s); }
void colour640(benchmark::State& state) { static const auto s = cleanStream(640, 480, false); detect(state, s); }
void mono640(benchmark::State& state) { static const auto s = cleanStream(640, 480, true); detect(state, s); }
void random4MiB(benchmark::State& state) { static const auto s = randomBytes(std::size_t{4} << 20); detect(state, s); }

} // namespace

BENCHMARK(colour160)->Unit(benchmark::kMillisecond);
BENCHMARK(colour640)->Unit(benchmark::kMillisecond);
BENCHMARK(mono640)->Unit(benchmark::kMillisecond);
BENCHMARK(random4MiB)->Unit(benchmark::kMillisecond);
