// The standard modes as a signal family: their sender states its format and
// length and reports every line, and the listener hears standard transmissions
// beside the station's own format, as a sound card delivers them in 8 bits.
#include <gtest/gtest.h>

#include <cmath>

#include "family/own_family.h"
#include "family/standard_family.h"
#include "receiver/listener.h"
#include "standard/standard_support.h"

namespace tonobild {
namespace {

using namespace standard;

TEST(StandardSender, StatesItsFormatAndLengthReportsEveryLineAndStopsWhenTold)
{
    const WorkingPicture picture(640, 480); // fitted to the mode as it is sent
    StandardSendSettings settings{findMode("R36"), {}, Fit::Bars};
    settings.options.sampleRate = 48000;
    StandardSender sender(picture, settings);
    EXPECT_EQ(std::tuple(sender.format().rate, sender.format().bits, sender.contents()),
              std::tuple(48000u, 16, std::string("240 lines of Robot 36")));
    MemorySink sink;
    int steps = 0;
    EXPECT_TRUE(sender.send(sink, [&](const PassProgress& p) { return ++steps == p.value && p.maximum == 240; }));
    EXPECT_EQ(steps, 240);
    // 910 ms of header and 240 lines of 150 ms at 48000, two bytes a sample.
    EXPECT_EQ(sink.bytes.size(), 2u * 1771680);
    EXPECT_EQ(sender.sampleCount(), 1771680u);
    MemorySink stopped;
    EXPECT_FALSE(sender.send(stopped, [](const PassProgress& p) { return p.value < 10; }));
    EXPECT_LT(stopped.bytes.size(), 2u * 48000 * 3);
}

// 8-bit unsigned samples, as the input device delivers them.
std::vector<std::uint8_t> eightBit(const channel::Samples& samples)
{
    std::vector<std::uint8_t> bytes;
    for (const float s : samples)
        bytes.push_back(static_cast<std::uint8_t>(std::clamp(std::lround(s * 128 + 128), 0L, 255L)));
    return bytes;
}

struct Listening final : ListenerHost {
    explicit Listening(std::uint32_t rate) : listener(families, rate, *this) {}
    void received(ReceivedPicture picture) override { pictures.push_back(std::move(picture)); }
    void feed(std::span<const std::uint8_t> stream)
    {
        for (std::size_t at = 0; at < stream.size(); at += 4410)
            listener.feed(stream.subspan(at, std::min<std::size_t>(4410, stream.size() - at)));
    }

    DecoderControls controls;
    DecodeSettings settings{.normlevel = 3};
    OwnFinder own{controls, settings, {}};
    StandardFinder standard;
    TransmissionFinder* families[2] = {&own, &standard};
    std::vector<ReceivedPicture> pictures;
    Listener listener;
};

// Robot 36 and Martin 4 each with an FSK identification, and a Robot 36 joined
// five seconds in, among silence and noise: each kept with the rows that
// arrived, its mode, how it was found and the callsign read.
TEST(StandardFinder, TransmissionsAmongSilenceAndNoiseOneJoinedLateAreEachReceived)
{
    constexpr std::uint32_t kRate = 44100;
    const struct {
        const char* mode;
        const char* callsign;
        double skipSeconds;
    } sent[] = {{"R36", "DL1ABC", 0}, {"M4", "XX1TB", 0}, {"R36", "", 5}};
    channel::Samples stream(2 * kRate, 0.0f);
    std::vector<WorkingPicture> pictures;
    for (const auto& s : sent) {
        const StandardMode& mode = *findMode(s.mode);
        pictures.push_back(standardtest::photoCard(mode));
        SendOptions options;
        options.callsign = s.callsign;
        const channel::Samples t = standardtest::transmission(mode, pictures.back(), options);
        stream.insert(stream.end(), t.begin() + static_cast<std::ptrdiff_t>(s.skipSeconds * kRate), t.end());
        channel::Samples gap(3 * kRate, 0.0f), noise(3 * kRate, 0.0f);
        channel::addNoise(noise, kRate, 0, 0.1, 3);
        stream.insert(stream.end(), gap.begin(), gap.end());
        stream.insert(stream.end(), noise.begin(), noise.end());
    }
    Listening listening(kRate);
    listening.feed(eightBit(stream));
    listening.listener.finish();
    ASSERT_EQ(listening.pictures.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const ReceivedPicture& r = listening.pictures[i];
        SCOPED_TRACE(r.report);
        EXPECT_EQ(std::tuple(r.family, r.mode, r.namePart), std::tuple("Standard", findMode(sent[i].mode)->name, sent[i].callsign));
        EXPECT_EQ(r.report.find(i < 2 ? ", VIS," : ", lines,") != std::string::npos, true);
        // The late one lost its first 28 lines to the join: its rows from 40 on are compared.
        EXPECT_GE(standardtest::psnr(pictures[i], r.picture, i < 2 ? 0 : 40), 30);
    }
}

// A whistle sweeping over the tones and back every two seconds, then a voice's
// buzz (harmonics of 130 Hz to 3 kHz, its loudness rising and falling four
// times a second), each for 20 s.
channel::Samples whistleThenVoice(std::uint32_t rate)
{
    channel::Samples sound(static_cast<std::size_t>(40 * rate));
    double phase = 0;
    for (std::size_t n = 0; n < sound.size() / 2; ++n) {
        const double t = static_cast<double>(n) / rate;
        phase += 2 * M_PI * (1000 + 1500 * std::abs(std::fmod(t, 2.0) - 1)) / rate;
        sound[n] = static_cast<float>(0.5 * std::sin(phase));
    }
    for (std::size_t n = sound.size() / 2; n < sound.size(); ++n) {
        const double t = static_cast<double>(n) / rate;
        double buzz = 0;
        for (int h = 1; h * 130 < 3000; ++h)
            buzz += std::sin(2 * M_PI * 130 * h * t) / h;
        sound[n] = static_cast<float>(0.25 * buzz * (0.6 + 0.4 * std::sin(2 * M_PI * 4 * t)));
    }
    return sound;
}

// Two Robot 36 back to back, the second cut off 20 s in (its 127th line), then
// a whistle and a voice: both transmissions kept, the cut one with the rows
// that arrived; the whistle and the voice not.
TEST(StandardFinder, BackToBackBothKeptACutOneWithItsRowsAWhistleAndAVoiceNot)
{
    constexpr std::uint32_t kRate = 44100;
    const StandardMode& mode = *findMode("R36");
    const WorkingPicture picture = standardtest::photoCard(mode);
    const channel::Samples sent = standardtest::transmission(mode, picture, {});
    channel::Samples stream(kRate, 0.0f);
    stream.insert(stream.end(), sent.begin(), sent.end());
    stream.insert(stream.end(), sent.begin(), sent.begin() + 20 * kRate);
    stream.insert(stream.end(), 3 * kRate, 0.0f);
    const channel::Samples sounds = whistleThenVoice(kRate);
    stream.insert(stream.end(), sounds.begin(), sounds.end());
    stream.insert(stream.end(), 3 * kRate, 0.0f);
    Listening listening(kRate);
    listening.feed(eightBit(stream));
    listening.listener.finish();
    ASSERT_EQ(listening.pictures.size(), 2u);
    const ReceivedPicture &whole = listening.pictures[0], &cut = listening.pictures[1];
    EXPECT_EQ(std::tuple(whole.complete, cut.tookLine, cut.complete), std::tuple(true, true, false));
    EXPECT_GE(standardtest::psnr(picture, whole.picture), 30);
    EXPECT_GE(standardtest::psnr(picture, cut.picture, 0, 120), 30);
}

// A Robot 36 through a fade 15 s in, where only the band's noise is heard:
// one second (its lines 94 to 100) and four (94 to 120), as HF fades last.
// The picture goes on through it, one picture, whole, and read as clean
// around the fade (the fade's noise is not the picture's).
TEST(StandardFinder, AFadeOfUpToFourSecondsDoesNotSplitThePicture)
{
    constexpr std::uint32_t kRate = 44100;
    const StandardMode& mode = *findMode("R36");
    const WorkingPicture picture = standardtest::photoCard(mode);
    const channel::Samples sent = standardtest::transmission(mode, picture, {});
    for (const auto& [seconds, firstRowAfter] : {std::pair(1u, 105), std::pair(4u, 125)}) {
        SCOPED_TRACE(seconds);
        channel::Samples stream(kRate, 0.0f), fade(seconds * kRate, 0.0f);
        stream.insert(stream.end(), sent.begin(), sent.end());
        channel::addNoise(fade, kRate, 0, 0.1, 5);
        std::copy(fade.begin(), fade.end(), stream.begin() + 16 * kRate);
        stream.insert(stream.end(), 3 * kRate, 0.0f);
        Listening listening(kRate);
        listening.feed(eightBit(stream));
        listening.listener.finish();
        ASSERT_EQ(listening.pictures.size(), 1u);
        const ReceivedPicture& r = listening.pictures[0];
        SCOPED_TRACE(r.report);
        EXPECT_TRUE(r.complete);
        EXPECT_GE(standardtest::psnr(picture, r.picture, 0, 90), 38);
        EXPECT_GE(standardtest::psnr(picture, r.picture, firstRowAfter), 35);
    }
}

} // namespace
} // namespace tonobild
