// The sender: the length of every transmission, its header's tones, a tone
// without clicks, the FSK identification's bits and the picture fitted to a mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "standard/fsk_id.h"
#include "standard/mode_figures.h"
#include "standard/standard_support.h"

using namespace tonobild;
using namespace tonobild::standard;

namespace {

// The frequency of a stretch of samples from its zero crossings.
double frequencyOf(const channel::Samples& s, double rate, double fromMs, double toMs)
{
    const auto first = static_cast<std::size_t>(fromMs * rate / 1000), last = static_cast<std::size_t>(toMs * rate / 1000);
    int crossings = 0;
    double firstCrossing = 0, lastCrossing = 0;
    for (std::size_t n = first; n < last; ++n)
        if ((s[n] < 0) != (s[n + 1] < 0)) {
            const double at = static_cast<double>(n) + s[n] / (s[n] - s[n + 1]);
            (crossings++ == 0 ? firstCrossing : lastCrossing) = at;
        }
    return (crossings - 1) / 2.0 * rate / (lastCrossing - firstCrossing);
}

} // namespace

// Header (910 ms), lead-in sync and every line at the period of the definition,
// with no drift from rounding each part to whole samples.
TEST(StandardSender, EveryTransmissionLastsItsHeaderAndLinesToWithinOneSample)
{
    for (const auto& figures : standardtest::kModeFigures) {
        const StandardMode& mode = *findMode(figures.name);
        const int lines = figures.height / (mode.family == ColourFamily::TwoRows ? 2 : 1);
        for (const std::uint32_t rate : {44100u, 48000u}) {
            if (rate == 48000u && figures.lineMs < 400) // the short modes at one rate keep the test quick
                continue;
            std::uint64_t samples = 0;
            SendOptions options;
            options.sampleRate = rate;
            sendPicture(mode, WorkingPicture(mode.width, mode.height), options,
                        [&](std::span<const std::int16_t> block) { samples += block.size(); });
            const double expected = (910 + figures.leadInMs + lines * figures.lineMs) * rate / 1000;
            EXPECT_NEAR(static_cast<double>(samples), expected, 1.0) << figures.name << " at " << rate;
            EXPECT_NEAR(transmissionSeconds(mode, options) * rate, expected, 1.0) << figures.name;
        }
    }
}

// Robot 36 is VIS 8: bits 0001000, least significant first, and parity 1;
// 1100 Hz is a one, 1300 Hz a zero, each bit 30 ms after a 30 ms start bit.
TEST(StandardSender, TheHeaderIsLeaderBreakLeaderStartBitsParityAndStopAtTheirTones)
{
    const StandardMode& mode = *findMode("R36");
    SendOptions options;
    options.sampleRate = 48000;
    const channel::Samples s = standardtest::transmission(mode, WorkingPicture(320, 240), options);
    const double expected[] = {1900, 1200, 1900, 1200, 1300, 1300, 1300, 1100, 1300, 1300, 1300, 1100, 1200};
    const double starts[] = {0, 300, 310, 610, 640, 670, 700, 730, 760, 790, 820, 850, 880};
    const double ends[] = {300, 310, 610, 640, 670, 700, 730, 760, 790, 820, 850, 880, 910};
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_NEAR(frequencyOf(s, 48000, starts[i] + 2, ends[i] - 2), expected[i], 15) << "part " << i;
    // A phase-continuous tone moves by at most one step of its highest frequency from sample to sample.
    float largest = 0;
    for (std::size_t n = 1; n < s.size(); ++n)
        largest = std::max(largest, std::abs(s[n] - s[n - 1]));
    EXPECT_LT(largest, 0.7 * 2 * M_PI * 2300 / 48000 * 1.01);
}

TEST(StandardSender, RefusesAPictureOfAnotherSizeAndRatesBelowEightThousand)
{
    const StandardMode& mode = *findMode("M1");
    const auto nothing = [](std::span<const std::int16_t>) {};
    EXPECT_THROW(sendPicture(mode, WorkingPicture(320, 240), {}, nothing), std::invalid_argument);
    SendOptions slow;
    slow.sampleRate = 4000;
    EXPECT_THROW(sendPicture(mode, WorkingPicture(320, 256), slow, nothing), std::invalid_argument);
}

// "XX1TB" framed by 0x20 0x2A and 0x01, six bits a character, least significant first.
TEST(FskId, TheCallsignIsFramedSixBitsACharacterAndReadBackWithOrWithoutChecksum)
{
    const char* framed = "000001" "010101" "000111" "000111" "100010" "001011" "010001" "100000";
    std::vector<bool> bits;
    for (const char* c = framed; *c; ++c)
        bits.push_back(*c == '1');
    EXPECT_EQ(fskBits("XX1TB"), bits);
    EXPECT_EQ(fskTextOfBits(bits), "XX1TB");
    // A checksum before the end (the XOR of the characters' codes) is taken off.
    std::vector<bool> checked(bits.begin(), bits.end() - 6);
    const int checksum = (0x38 ^ 0x38 ^ 0x11 ^ 0x34 ^ 0x22);
    for (int bit = 0; bit < 6; ++bit)
        checked.push_back((checksum >> bit) & 1);
    checked.insert(checked.end(), bits.end() - 6, bits.end());
    EXPECT_EQ(fskTextOfBits(checked), "XX1TB");
    // Bits after noise are found; a frame without its end gives nothing.
    std::vector<bool> late = {true, false, true};
    late.insert(late.end(), bits.begin(), bits.end());
    EXPECT_EQ(fskTextOfBits(late), "XX1TB");
    EXPECT_EQ(fskTextOfBits(std::vector<bool>(bits.begin(), bits.end() - 6)), std::nullopt);
    EXPECT_EQ(fskText("dl1abc/p x"), "DL1ABC/PX");
}

// A 640 x 480 picture scaled to Martin 1's 320 x 256 keeps its shape between
// black bars of 8 rows, or fills every row when cropped.
TEST(PictureFitting, BarsKeepTheWholePictureAndCroppingFillsTheMode)
{
    WorkingPicture picture(640, 480);
    picture.fillBox(0, 0, 319, 479, kWhite); // white on the left half, black on the right
    const WorkingPicture bars = fitPicture(picture, 320, 256, Fit::Bars);
    for (const auto& [x, y, colour] : {std::tuple{10, 7, kBlack}, {10, 8, kWhite}, {10, 247, kWhite},
                                       {10, 248, kBlack}, {158, 100, kWhite}, {161, 100, kBlack}})
        EXPECT_EQ(bars.colour(x, y), colour) << x << "," << y;
    const WorkingPicture cropped = fitPicture(picture, 320, 256, Fit::Crop);
    for (const auto& [x, y, colour] : {std::tuple{10, 0, kWhite}, {10, 255, kWhite}, {158, 100, kWhite},
                                       {161, 100, kBlack}, {319, 0, kBlack}})
        EXPECT_EQ(cropped.colour(x, y), colour) << x << "," << y;
}
