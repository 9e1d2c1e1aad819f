// Transmissions as a receiver may get them: the encoder's stream as it is,
// behind the WAV header the encoder writes, with every sample repeated four
// times, with its first fifth lost, and with noise added; and an open squelch.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "soundfile/wav_header.h"
#include "decoder/decode_support.h"
#include "common/signal_format.h"
#include "support/test_data.h"

namespace tonobild::recordingtest {

// The settings a sender can choose, as a test names them.
struct Sender {
    int width = 160;
    int height = 120;
    bool halfX = false;
    bool mono = false;
    bool compand = false;

    std::string name() const
    {
        return std::to_string(width) + "x" + std::to_string(height) + (halfX ? "HalfX" : "") + (mono ? "Mono" : "") +
               (compand ? "Compand" : "");
    }
};

// All 24 combinations of resolution, Half X, Mono Image and Compand.
inline std::vector<Sender> allSenders()
{
    std::vector<Sender> senders;
    for (const auto& [width, height] : {std::pair{160, 120}, std::pair{320, 240}, std::pair{640, 480}})
        for (const bool halfX : {false, true})
            for (const bool mono : {false, true})
                for (const bool compand : {false, true})
                    senders.push_back({width, height, halfX, mono, compand});
    return senders;
}

inline std::vector<std::uint8_t> transmit(const Sender& sender)
{
    return decodetest::encodeStream(decodetest::testPicture(sender.width, sender.height),
                                    {.pictureWidth = sender.width, .pictureHeight = sender.height,
                                     .columnStep = sender.halfX ? 2 : 1, .mono = sender.mono}, sender.compand);
}

// Numbered 0 to 4 in this order.
enum class Recording { Clean, Wav, Repeated, FirstFifthLost, Noisy };

// Bytes over the whole range, as an open squelch gives, from a generator with a fixed seed.
inline std::vector<std::uint8_t> randomBytes(std::size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(count);
    std::ranges::generate(bytes, [&] { return static_cast<std::uint8_t>(byte(generator)); });
    return bytes;
}

inline std::vector<std::uint8_t> record(std::vector<std::uint8_t> stream, Recording recording)
{
    if (recording == Recording::Wav) {
        const auto header = pcm8MonoHeader(kTransmissionRate, static_cast<std::uint32_t>(stream.size()));
        stream.insert(stream.begin(), header.begin(), header.end());
    } else if (recording == Recording::Repeated) {
        return testdata::held(stream, 4);
    } else if (recording == Recording::FirstFifthLost) {
        stream.erase(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 5));
    } else if (recording == Recording::Noisy) {
        // Noise of standard deviation 2 levels from a generator with a fixed seed.
        std::mt19937 generator(20261207);
        std::normal_distribution<double> noise(0.0, 2.0);
        for (std::uint8_t& sample : stream)
            sample = static_cast<std::uint8_t>(std::clamp(sample + std::lround(noise(generator)), 0L, 255L));
    }
    return stream;
}

} // namespace tonobild::recordingtest
