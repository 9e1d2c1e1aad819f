// The encoder's stream layout: lengths, leader, line framing and the controls
// read while it runs. Every byte of whole streams, companded ones too, is shown
// by the reference vectors.
#include <gtest/gtest.h>

#include <utility>

#include "encoder/encoder.h"
#include "encoder/signal_format.h"

using namespace tonobild;

namespace {

struct Encoded {
    std::vector<std::uint8_t> bytes;
    std::int64_t groups() const { return static_cast<std::int64_t>(bytes.size() / 4); }
    int level(std::int64_t group) const { return bytes[static_cast<std::size_t>(4 * group)]; }
};

Encoded encode(const WorkingPicture& picture, const EncoderSettings& settings, bool compand = false)
{
    EncoderControls controls{.compand = compand};
    WorkingState state;
    MemorySink sink;
    EXPECT_TRUE(Encoder(picture, controls, state, sink).run(settings));
    return {std::move(sink.bytes)};
}

// First group of the line with the given index (lines counted across the
// passes): 13781 leader groups (11025 / 4 * 5 = 13781.25), then 160 groups a
// line at 160 x 120, 640 at 640 x 480.
std::int64_t lineStart(int groupsPerLine, int line)
{
    return 13781 + static_cast<std::int64_t>(line) * groupsPerLine;
}

} // namespace

TEST(Encoder, StreamLengthsFollowResolutionStepMonoAndLeader)
{
    const struct { EncoderSettings settings; std::int64_t groups; } cases[] = {
        {{}, 286168 / 4},
        {{.mono = true}, 209368 / 4},
        {{.columnStep = 2}, 42662},
        {{.pictureWidth = 320, .pictureHeight = 240}, 244502},
        {{.pictureWidth = 640, .pictureHeight = 480}, 936022},
        {{.pictureWidth = 640, .pictureHeight = 480, .leaderSeconds = 1}, 924997}};
    for (const auto& c : cases) {
        const auto stream = encode(WorkingPicture(c.settings.pictureWidth, c.settings.pictureHeight), c.settings);
        EXPECT_EQ(stream.groups(), c.groups) << c.settings.pictureWidth << " " << c.settings.leaderSeconds;
        EXPECT_EQ(c.settings.streamGroups(), c.groups);
        if (c.settings.pictureWidth == 640 && c.settings.leaderSeconds == 5) {
            // The last line carries index 1440, least significant digit first, and one closing group follows.
            const std::int64_t start = lineStart(640, 1440);
            const int digits[] = {0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 1};
            for (int j = 0; j < 11; ++j)
                EXPECT_EQ(stream.level(start + 1 + j), digits[j] ? 224 : 160) << j;
            EXPECT_EQ(stream.groups(), start + 640 + 1);
            EXPECT_EQ(stream.level(stream.groups() - 1), 224);
        }
    }
}

TEST(Encoder, LeaderLineFramingAndRowsOutsideThePicture)
{
    // Grey (level 192) sets the picture apart from black (160) and white (224).
    WorkingPicture picture(160, 120);
    picture.clear(colourNumber(128, 128, 128));
    const EncoderSettings settings;
    const auto stream = encode(picture, settings);
    EXPECT_EQ(std::vector<std::uint8_t>(stream.bytes.begin(), stream.bytes.begin() + 16),
              (std::vector<std::uint8_t>{160, 95, 224, 31, 200, 55, 224, 31, 210, 45, 224, 31, 212, 43, 224, 31}));
    for (int g = 4; g < 13781; ++g)
        ASSERT_EQ(stream.level(g), 213) << g;
    // Line 5: the marker, code 5, two guards, picture groups 15 to 153, a sync run of seven.
    const std::vector<int> head = {224, 224, 160, 224, 160, 160, 160, 160, 160, 160, 160, 160, 160, 160};
    for (int g = 0; g < 160; ++g)
        EXPECT_EQ(stream.level(lineStart(160, 5) + g), g < 14 ? head[g] : (g < 153 ? 192 : 144)) << g + 1;
    // Lines 119 and 120 carry blue rows 120 and 121, outside the picture: black; green and red outside go out white.
    for (int line : {118, 119, 120, 238, 239, 240, 359, 360})
        EXPECT_EQ(stream.level(lineStart(160, line) + 20), line == 118 || line == 238 ? 192 : (line < 121 ? 160 : 224))
            << line;
}

TEST(Encoder, ReadsThePictureAndCompandLiveAndStopsOnRequest)
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
        return steps < 7;
    });
    EXPECT_FALSE(encoder.run(EncoderSettings{}));
    EXPECT_EQ(steps, 7);
    EXPECT_EQ(sink.bytes.size(), 4u * 7 * 10001); // a progress point every 10001 groups
    // The second point comes at group 20002, in line 38. Line 10 (blue, row 11) went
    // out black before it; line 300 (red, row 61) goes out white after it, companded.
    const auto level = [&](int line, int group) { return sink.bytes[static_cast<std::size_t>(4 * (13781 + line * 160 + group))]; };
    EXPECT_EQ(level(10, 60), 160);
    EXPECT_EQ(level(300, 60), 224);
    EXPECT_EQ(level(300, 2), 192); // a companded code digit 0
}
