// Rebuilding a transmission from the quarter-rate tone a resampler leaves of it.
#include <gtest/gtest.h>

#include "receiver/tone_rebuild.h"
#include "support/test_data.h"

using namespace tonobild;

TEST(ToneRebuild, TheToneIsKnownByCrossingsTwiceAsFarApartAsTheHolds)
{
    EXPECT_DOUBLE_EQ(toneOnlyHold(8.0, 44100), 4.0);   // 11025 resampled to 44100
    EXPECT_DOUBLE_EQ(toneOnlyHold(7.7, 44100), 4.0);   // leftovers of the filtered octave add crossings
    EXPECT_DOUBLE_EQ(toneOnlyHold(12.0, 48000), 6.0);  // 8000 resampled to 48000
    EXPECT_NEAR(toneOnlyHold(8.7, 48000), 48000.0 / 11025.0, 1e-12);
    EXPECT_EQ(toneOnlyHold(4.0, 44100), 0.0);          // holds of 11025: the whole signal is there
    EXPECT_EQ(toneOnlyHold(5.5, 44100), 0.0);          // holds of 8000
    EXPECT_EQ(toneOnlyHold(2.0, 11025), 0.0);          // a file at the transmission's rate is never resampled
    EXPECT_EQ(toneOnlyHold(8.0, 0), 0.0);              // no rate known
}

TEST(ToneRebuild, EveryGroupComesBackFromTheToneAlone)
{
    // What is left of a group a, -a, b, -b without its Nyquist half: (a - b) / 2
    // times 1, -1, -1, 1, here at the transmission's own rate (a hold of 1).
    const std::vector<std::uint8_t> sent = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    std::vector<float> tone;
    for (std::size_t g = 0; g + 4 <= sent.size(); g += 4) {
        const float half = (static_cast<float>(sent[g]) - static_cast<float>(sent[g + 2])) / 2.0F;
        tone.insert(tone.end(), {half, -half, -half, half});
    }
    const std::vector<std::uint8_t> back = rebuildFromTone(tone, 1.0);
    // The first and last group lack the room for a group-long window around their centre.
    ASSERT_GE(back.size() + 8, sent.size());
    EXPECT_TRUE(std::equal(back.begin(), back.end(), sent.begin() + 4));
}

TEST(ToneRebuild, SilenceGivesNothing)
{
    EXPECT_TRUE(rebuildFromTone(std::vector<float>(100000, 0.5F), 4.0).empty());
    EXPECT_TRUE(rebuildFromTone({}, 4.0).empty());
}
