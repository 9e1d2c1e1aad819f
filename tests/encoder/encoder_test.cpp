#include <gtest/gtest.h>

#include "encoder/encoder.h"
#include "encoder/signal_format.h"

using namespace tonobild;

namespace {

struct Encoded {
    std::vector<std::uint8_t> bytes;
    std::int64_t groups() const { return static_cast<std::int64_t>(bytes.size() / 4); }
    int level(std::int64_t group) const { return bytes[static_cast<std::size_t>(4 * group)]; }
};

Encoded encode(const WorkingPicture& picture, EncoderSettings settings, bool compand = false)
{
    EncoderControls controls;
    controls.compand = compand;
    WorkingState state;
    MemorySink sink;
    Encoder encoder(picture, controls, state, sink);
    EXPECT_TRUE(encoder.run(settings));
    return {std::move(sink.bytes)};
}

EncoderSettings at(int width, int height)
{
    EncoderSettings settings;
    settings.pictureWidth = width;
    settings.pictureHeight = height;
    return settings;
}

// First group of the line with the given index (lines counted across the passes).
std::int64_t lineStart(const EncoderSettings& settings, int line)
{
    return leaderGroups(settings.leaderSeconds) + static_cast<std::int64_t>(line) * settings.groupsPerLine();
}

} // namespace

TEST(Encoder, StreamLengthsFollowResolutionStepMonoAndLeader)
{
    EXPECT_EQ(encode(WorkingPicture(160, 120), at(160, 120)).bytes.size(), 286168u);

    auto mono = at(160, 120);
    mono.mono = true;
    EXPECT_EQ(encode(WorkingPicture(160, 120), mono).bytes.size(), 209368u);

    auto halfX = at(160, 120);
    halfX.columnStep = 2;
    EXPECT_EQ(encode(WorkingPicture(160, 120), halfX).groups(), 42662);

    EXPECT_EQ(encode(WorkingPicture(320, 240), at(320, 240)).groups(), 244502);
    EXPECT_EQ(encode(WorkingPicture(640, 480), at(640, 480)).groups(), 936022);

    auto shortLeader = at(640, 480);
    shortLeader.leaderSeconds = 1;
    EXPECT_EQ(encode(WorkingPicture(640, 480), shortLeader).groups(), 924997);
    EXPECT_EQ(shortLeader.streamGroups(), 924997);
}

TEST(Encoder, EveryGroupCarriesTheReferenceCycle)
{
    const auto stream = encode(WorkingPicture(160, 120), at(160, 120)).bytes;
    for (std::size_t i = 0; i < stream.size(); i += 4) {
        ASSERT_EQ(stream[i] + stream[i + 1], 255) << "group " << i / 4;
        ASSERT_EQ(stream[i + 2], 224);
        ASSERT_EQ(stream[i + 3], 31);
    }
}

TEST(Encoder, LeaderLevelsClimbTo213)
{
    const auto stream = encode(WorkingPicture(160, 120), at(160, 120));
    EXPECT_EQ(std::vector<std::uint8_t>(stream.bytes.begin(), stream.bytes.begin() + 8),
              (std::vector<std::uint8_t>{160, 95, 224, 31, 200, 55, 224, 31}));
    EXPECT_EQ(stream.level(2), 210);
    EXPECT_EQ(stream.level(3), 212);
    for (int g = 4; g < 13781; ++g)
        ASSERT_EQ(stream.level(g), 213) << g;
    EXPECT_EQ(stream.level(13781), 224); // the first start marker
}

TEST(Encoder, LineOpensWithMarkerCodeAndGuardsAndClosesWithSync)
{
    const auto settings = at(160, 120);
    WorkingPicture picture(160, 120);
    picture.clear(kWhite);
    const auto stream = encode(picture, settings);
    const std::int64_t start = lineStart(settings, 5);
    const std::vector<int> expected = {224, 224, 160, 224, 160, 160, 160, 160, 160, 160, 160, 160, 160, 160};
    for (int g = 0; g < 14; ++g)
        EXPECT_EQ(stream.level(start + g), expected[static_cast<std::size_t>(g)]) << "group " << g + 1;
    for (int g = 14; g < 153; ++g)
        EXPECT_EQ(stream.level(start + g), 224) << "picture group " << g + 1;
    for (int g = 153; g < 160; ++g)
        EXPECT_EQ(stream.level(start + g), 144) << "sync group " << g + 1;
}

TEST(Encoder, LastLineOf640x480CarriesIndex1440)
{
    const auto settings = at(640, 480);
    const auto stream = encode(WorkingPicture(640, 480), settings);
    const std::int64_t start = lineStart(settings, 1440);
    const std::vector<int> digits = {0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1};
    for (int j = 0; j < 11; ++j)
        EXPECT_EQ(stream.level(start + 1 + j), digits[static_cast<std::size_t>(j)] ? 224 : 160) << j;
    EXPECT_EQ(stream.groups(), start + 640 + 1);
    EXPECT_EQ(stream.level(stream.groups() - 1), 224); // the closing group
}

TEST(Encoder, PictureGroupsReadColumnKTimesStepOfTheLineRow)
{
    WorkingPicture picture(160, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            picture.setColour(x, y, colourNumber(4 * (x % 64), 4 * (y % 64), 4 * ((x + y) % 64)));
    for (int step : {1, 2}) {
        auto settings = at(160, 120);
        settings.columnStep = step;
        const int width = settings.groupsPerLine();
        const auto stream = encode(picture, settings);
        // Line 10 is row 11 of the blue pass; line 121 + 9 is row 11 of the green pass.
        for (int k = 15; k <= width - 7; ++k) {
            const auto c = splitColour(picture.colour(k * step, 11));
            ASSERT_EQ(stream.level(lineStart(settings, 10) + k - 1), levelOf(c.blue)) << k;
            ASSERT_EQ(stream.level(lineStart(settings, 130) + k - 1), levelOf(c.green)) << k;
            ASSERT_EQ(stream.level(lineStart(settings, 250) + k - 1), levelOf(c.red)) << k;
        }
    }
}

TEST(Encoder, RowsBelowThePictureGoOutAsOutsideColour)
{
    const auto settings = at(160, 120);
    const auto stream = encode(WorkingPicture(160, 120), settings);
    // Lines 119 and 120 carry rows 120 and 121 of the blue pass; lines 239, 240 those of green.
    for (int line : {119, 120})
        EXPECT_EQ(stream.level(lineStart(settings, line) + 20), 160);
    for (int line : {239, 240, 359, 360})
        EXPECT_EQ(stream.level(lineStart(settings, line) + 20), 224);
    EXPECT_EQ(stream.level(lineStart(settings, 118) + 20), 160); // row 119 is black
}

TEST(Encoder, CompandLiftsBlackAndCodesButNotSync)
{
    const auto settings = at(160, 120);
    const auto stream = encode(WorkingPicture(160, 120), settings, true);
    const std::int64_t start = lineStart(settings, 5);
    EXPECT_EQ(stream.level(start), 224);      // marker 255 stays 255
    EXPECT_EQ(stream.level(start + 2), 192);  // LIC digit 0
    EXPECT_EQ(stream.level(start + 12), 192); // guard
    EXPECT_EQ(stream.level(start + 20), 192); // black picture value
    EXPECT_EQ(stream.level(start + 159), 144);
    EXPECT_EQ(stream.level(1), 200);          // the leader is never companded
}

TEST(Encoder, ReadsTheLivePictureAndCompandAtEveryProgressPoint)
{
    WorkingPicture picture(160, 120);
    EncoderControls controls;
    WorkingState state;
    MemorySink sink;
    Encoder encoder(picture, controls, state, sink);
    int steps = 0;
    encoder.setProgressHandler([&] {
        if (++steps == 2) {
            picture.clear(kWhite);
            controls.compand = true;
        }
        return true;
    });
    ASSERT_TRUE(encoder.run(at(160, 120)));
    // The second progress point comes at group 20002, in line 38. Line 10 (blue, row 11) went
    // out black before it; line 300 (red, row 61) goes out white after it, companded to 255.
    const auto level = [&](int line, int group) { return sink.bytes[static_cast<std::size_t>(4 * (13781 + line * 160 + group))]; };
    EXPECT_EQ(level(10, 60), 160);
    EXPECT_EQ(level(300, 60), 224);
    EXPECT_EQ(level(300, 2), 192); // a companded code digit 0
}

TEST(Encoder, ProgressEvery10001GroupsAndStopOnRequest)
{
    WorkingPicture picture(160, 120);
    EncoderControls controls;
    WorkingState state;
    MemorySink sink;
    Encoder encoder(picture, controls, state, sink);
    int steps = 0;
    encoder.setProgressHandler([&] { return ++steps < 3; });
    EXPECT_FALSE(encoder.run(at(160, 120)));
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(sink.bytes.size(), 4u * 3 * 10001);
}

TEST(Encoder, RefusesAMissingResolution)
{
    WorkingPicture picture(160, 120);
    EncoderControls controls;
    WorkingState state;
    MemorySink sink;
    Encoder encoder(picture, controls, state, sink);
    EXPECT_THROW(encoder.run(at(0, 0)), std::invalid_argument);
    EXPECT_TRUE(sink.bytes.empty());
}
