// Listening with both families, the station's own format and the standard
// modes, at 44100 samples per second, fed as fast as the listener takes them,
// in blocks of a tenth of a second:
//   - an hour of silence and noise: the share of one core that real-time
//     listening costs while nothing comes in, and the memory held after ten
//     minutes and after the hour (it must stay flat: only a ring is kept while
//     nothing is received). The figure includes the ten minutes of sound the
//     benchmark holds, about 26 MB;
//   - a PD 120 among silence: the share of one core while it is received and
//     decoded, its end's decode of the whole recording included.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <vector>

#include "family/own_family.h"
#include "family/standard_family.h"
#include "picture/photo_cards.h"
#include "receiver/listener.h"
#include "standard/standard_encoder.h"

namespace {

using namespace tonobild;

constexpr std::uint32_t kRate = 44100;
constexpr std::size_t kBlock = kRate / 10;

class CountingHost final : public ListenerHost {
public:
    void transmissionBegins() override { ++begun; }
    void received(ReceivedPicture) override { ++pictures; }
    int begun = 0;
    int pictures = 0;
};

// The memory the process holds now (resident), in KiB.
long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Ten minutes of sound: 5 s of silence, then 55 s of noise, over and over; the
// noise is a fixed block of random levels, shifted through the stream.
std::vector<std::uint8_t> tenMinutes()
{
    std::mt19937 generator(2026);
    std::uniform_int_distribution<int> level(0, 255);
    std::vector<std::uint8_t> noise(kRate * 7 + 13);
    for (auto& sample : noise)
        sample = static_cast<std::uint8_t>(level(generator));
    std::vector<std::uint8_t> sound;
    sound.reserve(std::size_t{kRate} * 600);
    for (int minute = 0; minute < 10; ++minute) {
        sound.insert(sound.end(), std::size_t{kRate} * 5, 128);
        for (std::size_t i = 0; i < std::size_t{kRate} * 55; ++i)
            sound.push_back(noise[(i * 7 + minute) % noise.size()]);
    }
    return sound;
}

// A listener at 44100 for both families, the own format at level 3.
struct Listening {
    // The sound in blocks of a tenth of a second, as the input device delivers it.
    void feed(const std::vector<std::uint8_t>& sound)
    {
        for (std::size_t at = 0; at < sound.size(); at += kBlock)
            listener.feed(std::span(sound).subspan(at, std::min(kBlock, sound.size() - at)));
    }

    DecoderControls controls;
    DecodeSettings settings{.normlevel = 3};
    CountingHost host;
    OwnFinder own{controls, settings, {}};
    StandardFinder standard;
    TransmissionFinder* families[2] = {&own, &standard};
    Listener listener{families, kRate, host};
};

void BM_ListenToAnHourOfSilenceAndNoise(benchmark::State& state)
{
    const std::vector<std::uint8_t> sound = tenMinutes();
    for (auto _ : state) {
        Listening listening;
        CountingHost& host = listening.host;
        long afterTenMinutes = 0;
        const auto start = std::chrono::steady_clock::now();
        for (int part = 0; part < 6; ++part) {
            listening.feed(sound);
            if (part == 0)
                afterTenMinutes = residentKiB();
        }
        listening.listener.finish();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        state.counters["core_share_percent"] = 100.0 * spent.count() / 3600.0;
        state.counters["resident_KiB_after_10_min"] = static_cast<double>(afterTenMinutes);
        state.counters["resident_KiB_after_60_min"] = static_cast<double>(residentKiB());
        state.counters["transmissions_begun"] = host.begun;
        state.counters["pictures"] = host.pictures;
    }
}
BENCHMARK(BM_ListenToAnHourOfSilenceAndNoise)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// Two seconds of silence, a PD 120 of the landscape card as a sound card
// delivers it in 8 bits, three seconds of silence.
std::vector<std::uint8_t> pd120AmongSilence()
{
    const standard::StandardMode& mode = *standard::findMode("PD120");
    std::vector<std::uint8_t> sound(std::size_t{kRate} * 2, 128);
    standard::sendPicture(mode, drawPhotoCard(PhotoCard::Landscape, mode.width, mode.height), {},
                          [&](std::span<const std::int16_t> block) {
                              for (const std::int16_t s : block)
                                  sound.push_back(static_cast<std::uint8_t>((s + 32768) >> 8));
                          });
    sound.insert(sound.end(), std::size_t{kRate} * 3, 128);
    return sound;
}

void BM_ListenToAPd120(benchmark::State& state)
{
    const std::vector<std::uint8_t> sound = pd120AmongSilence();
    for (auto _ : state) {
        Listening listening;
        const auto start = std::chrono::steady_clock::now();
        listening.feed(sound);
        listening.listener.finish();
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start;
        state.counters["core_share_percent"] = 100.0 * spent.count() * kRate / static_cast<double>(sound.size());
        state.counters["resident_KiB"] = static_cast<double>(residentKiB());
        state.counters["pictures"] = listening.host.pictures;
    }
}
BENCHMARK(BM_ListenToAPd120)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

} // namespace
