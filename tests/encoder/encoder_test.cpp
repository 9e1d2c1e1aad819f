// The encoder's stream lengths and the controls read while it runs. Every byte
// of whole streams (leader, line framing, rows outside the picture, companded
// ones too) is shown by the reference vectors.
#include <gtest/gtest.h>

#include <stdexcept>

#include "encoder/encoder.h"

using namespace tonobild;

// The stream of the picture encoded with the start-up controls.
static std::vector<std::uint8_t> encoded(const WorkingPicture& picture, const EncoderSettings& settings = {})
{
    EncoderControls controls;
    WorkingState state;
    MemorySink sink;
    EXPECT_TRUE(Encoder(picture, controls, state, sink).run(settings));
    return std::move(sink.bytes);
}

TEST(Encoder, StreamLengthsFollowResolutionStepMonoAndLeaderAndThePictureAndCompandAreReadLive)
{
    const struct { EncoderSettings settings; std::int64_t groups; } cases[] = {
        {{}, 286168 / 4}, {{.mono = true}, 209368 / 4}, {{.columnStep = 2}, 42662},
        {{.pictureWidth = 320, .pictureHeight = 240}, 244502}, {{.pictureWidth = 640, .pictureHeight = 480, .leaderSeconds = 1}, 924997},
        {{.pictureWidth = 15, .pictureHeight = 1}, 13781 + 4 * 15 + 1}, // the shortest line, one row
        {{.pictureWidth = 640, .pictureHeight = 480}, 936022}};
    std::vector<std::uint8_t> stream; // the last one, at 640 x 480
    for (const auto& c : cases) {
        stream = encoded(WorkingPicture(c.settings.pictureWidth, c.settings.pictureHeight), c.settings);
        EXPECT_EQ(std::pair(static_cast<std::int64_t>(stream.size()), c.settings.streamGroups()),
                  std::pair(4 * c.groups, c.groups)) << c.settings.pictureWidth;
    }
    // A line of 14 groups, no row or no column step is no transmission resolution.
    for (const EncoderSettings refused : {EncoderSettings{.pictureWidth = 14, .pictureHeight = 1},
                                          EncoderSettings{.pictureWidth = 15, .pictureHeight = 0},
                                          EncoderSettings{.columnStep = 0}})
        EXPECT_THROW(encoded(WorkingPicture(15, 1), refused), std::invalid_argument)
            << refused.pictureWidth << " x " << refused.pictureHeight << " step " << refused.columnStep;
    // The last line at 640 x 480, after 13781 leader groups (11025 / 4 * 5 = 13781.25) and 1440 lines of 640,
    // carries index 1440, least significant digit first, and one closing group follows.
    const auto level = [&](std::int64_t group) { return stream[static_cast<std::size_t>(4 * group)]; };
    const std::int64_t start = 13781 + 1440 * 640;
    const int digits[] = {0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1};
    for (int j = 0; j < 11; ++j)
        EXPECT_EQ(level(start + 1 + j), digits[j] ? 224 : 160) << j;
    EXPECT_EQ(level(start + 640), 224);

    // The picture and "Compand" are read while the encoder runs, and it stops on request.
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
        return steps < 7;
    });
    EXPECT_FALSE(encoder.run(EncoderSettings{}));
    EXPECT_EQ(std::pair(steps, sink.bytes.size()), std::pair(7, std::size_t{4 * 7 * 10001})); // a progress point every 10001 groups
    // The second point comes at group 20002, in line 38. Line 10 (blue, row 11) went
    // out black before it; line 300 (red, row 61) goes out white after it, companded.
    const auto at = [&](int line, int group) { return sink.bytes[static_cast<std::size_t>(4 * (13781 + line * 160 + group))]; };
    // A companded code digit 0 goes out at 192.
    EXPECT_EQ((std::vector{at(10, 60), at(300, 60), at(300, 2)}), (std::vector<std::uint8_t>{160, 224, 192}));

    // The progress count is not reset when an encode starts. From 6220 the first
    // step comes at group 3781 (6220 + 3781 = 10001); the leader's 13781 groups
    // end at a count of exactly 10000, no step; the next step comes at group
    // 13782, then one every 10001 groups up to 63787: 7 steps, and the 71542
    // groups of a 160 x 120 stream leave the count at 71542 - 63787 = 7755.
    state.pixcount = 6220;
    steps = 0;
    sink.bytes.clear();
    encoder.setProgressHandler([&] { return ++steps > 0; });
    EXPECT_TRUE(encoder.run(EncoderSettings{}));
    EXPECT_EQ(std::tuple(steps, state.pixcount, sink.bytes.size()), std::tuple(7, 7755, std::size_t{4 * 71542}));
}

// A picture narrower than the line: the groups right of it carry the colour
// read outside the picture, -1, whose blue component is -1 (level 160) and
// whose green and red ones are 255 (level 224). Inside, blue 100, green 40 and
// red 200 give the levels 185, 170 and 210. Column 50 holds -256, as a decode
// can leave at the picture's edge: blue -1, green 255 and red 0 (levels 160,
// 224 and 160).
TEST(Encoder, GroupsRightOfANarrowerPictureCarryTheOutsideColourAndNegativeColoursTheirComponents)
{
    WorkingPicture picture(100, 120);
    picture.clear(colourNumber(200, 40, 100));
    for (int y = 0; y < 120; ++y)
        picture.setColour(50, y, -256);
    const std::vector<std::uint8_t> stream = encoded(picture);
    // Group g of a line shows column g + 1: group 98 the picture's last column, 99 the first outside it.
    // Line 50 is blue (row 51), line 200 green (row 81), line 300 red (row 61).
    const auto at = [&](int line, int group) { return stream[static_cast<std::size_t>(4 * (13781 + line * 160 + group))]; };
    EXPECT_EQ((std::vector{at(50, 98), at(50, 99), at(200, 98), at(200, 99), at(300, 98), at(300, 99)}),
              (std::vector<std::uint8_t>{185, 160, 170, 224, 210, 224}));
    EXPECT_EQ((std::vector{at(50, 49), at(200, 49), at(300, 49)}), (std::vector<std::uint8_t>{160, 224, 160}));
}
