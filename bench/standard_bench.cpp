// The standard modes: a recording received, and a picture sent, against the
// time the transmission lasts (x real time), at 44100 samples per second.
#include <benchmark/benchmark.h>

#include <span>
#include <vector>

#include "channel/channel_model.h"
#include "picture/photo_cards.h"
#include "standard/standard_encoder.h"
#include "standard/standard_receiver.h"

using namespace tonobild;
using namespace tonobild::standard;

namespace {

constexpr std::uint32_t kRate = 44100;

std::vector<float> recordingOf(const StandardMode& mode)
{
    std::vector<float> samples;
    SendOptions options;
    options.sampleRate = kRate;
    sendPicture(mode, drawPhotoCard(PhotoCard::Landscape, mode.width, mode.height), options,
                [&](std::span<const std::int16_t> block) {
                    for (const std::int16_t s : block)
                        samples.push_back(static_cast<float>(s) / 32768.0f);
                });
    return samples;
}

void reportRealTime(benchmark::State& state, std::size_t samples)
{
    const double seconds = static_cast<double>(samples) / kRate;
    state.counters["x_real_time"] =
        benchmark::Counter(seconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

// A recording of the mode through noise at `snrDb` in a 3 kHz band (none at 99).
void receive(benchmark::State& state, const char* name, double snrDb)
{
    std::vector<float> samples = recordingOf(*findMode(name));
    if (snrDb < 99)
        channel::addNoise(samples, kRate, snrDb, channel::powerOf(samples), 1);
    for (auto _ : state) {
        StandardReceiver receiver(kRate);
        for (std::size_t at = 0; at < samples.size(); at += 16384)
            receiver.feed(std::span(samples).subspan(at, std::min<std::size_t>(16384, samples.size() - at)));
        benchmark::DoNotOptimize(receiver.finish());
    }
    reportRealTime(state, samples.size());
}

void send(benchmark::State& state, const char* name)
{
    const StandardMode& mode = *findMode(name);
    const WorkingPicture picture = drawPhotoCard(PhotoCard::Landscape, mode.width, mode.height);
    SendOptions options;
    options.sampleRate = kRate;
    std::size_t samples = 0;
    for (auto _ : state)
        samples = sendPicture(mode, picture, options, [](std::span<const std::int16_t> block) {
            benchmark::DoNotOptimize(block.data());
        });
    reportRealTime(state, samples);
}

} // namespace

BENCHMARK_CAPTURE(receive, martin1_clean, "M1", 99)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, martin1_10dB, "M1", 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, martin1_0dB, "M1", 0)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, robot36_clean, "R36", 99)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, robot36_10dB, "R36", 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, pd120_clean, "PD120", 99)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, pd120_10dB, "PD120", 10)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, pd120_20dB, "PD120", 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, pd290_clean, "PD290", 99)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, pd290_5dB, "PD290", 5)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(receive, pd290_20dB, "PD290", 20)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(send, martin1, "M1")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(send, pd290, "PD290")->Unit(benchmark::kMillisecond);
