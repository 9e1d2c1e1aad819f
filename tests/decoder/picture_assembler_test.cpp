// The sync check and the line buffer at their boundaries: a value equal to the
// threshold, the fewest values a line needs before a sync, the Dynamic Sync
// limits, the longest line and buffered painting with "Compand".
#include <gtest/gtest.h>

#include "decode_support.h" // with the picture assembler

using namespace tonobild;
using namespace tonobild::decodetest;

namespace {

// An assembler on a black 160 x 120 picture (or one as wide as asked) with
// buffered lines ("Use LIC" unticked), threshold -32, offset 16, row 5.
struct Assembler {
    explicit Assembler(int width = 160) : picture(width, 120)
    {
        state.syncthresh = -32;
        state.synclevel = 16;
        state.xmult = 1;
        state.ypos = 5;
        assembler.begin(160, 120, 0);
    }
    // Runs the sync check with the value at column counter xcount; answers synched.
    int check(int luma, int xcount)
    {
        std::int16_t x = static_cast<std::int16_t>(xcount);
        int synched = -1;
        assembler.checklinesync(luma, x, 160, synched);
        lastLuma = luma;
        lastXcount = x;
        return synched;
    }
    // Ends the buffered line with a sync at column counter 40; answers whether the value was taken.
    bool syncAfter(std::string line)
    {
        state.linebuf = std::move(line);
        state.xpos = 40;
        return assembler.placeValue(-64);
    }

    DecoderControls controls{.useLic = false};
    WorkingState state;
    RecordingHost host{controls};
    LineIdentification identification{state, controls, host};
    WorkingPicture picture;
    PictureAssembler assembler{picture, state, controls, identification};
    int lastLuma = 0, lastXcount = 0;
};

} // namespace

// Threshold, Dynamic Sync offset (0: Dynamic Sync off), value, column counter, "Idler": whether
// the sync is accepted, and the threshold after it. Threshold -32: -32 itself is no candidate,
// -33 is. Without "Idler" a line needs 10 values; with it the sync must come at 160 - 7 = 153 or
// later. Dynamic Sync moves the threshold to value + offset, limited to -64..32: a level-2 sync
// of -170 with +16 gives -154, held at -64; -80 + 16 = -64 exactly; -64 + 16 = -48; with the
// threshold at 32 a value of 20 is a candidate and 20 + 16 = 36 is held at 32; 10 + 16 = 26;
// -90 + 32 = -58; -70 + 8 = -62. 40 is no candidate: the threshold stays.
TEST(Checklinesync, ThresholdFewestValuesIdlerAndDynamicSyncBoundaries)
{
    const struct { int threshold, offset, luma, xcount; bool idler, accepted; int after; } cases[] = {
        {-32, 0, -32, 50, false, false, -32},  {-32, 0, -33, 50, false, true, -32},  {-32, 0, -31, 50, false, false, -32},
        {-32, 0, -64, 10, false, true, -32},   {-32, 0, -64, 9, false, false, -32},  {-32, 0, -64, 153, true, true, -32},
        {-32, 0, -64, 152, true, false, -32},  {-32, 0, -64, 9, true, false, -32},   {-32, 0, -64, 200, true, true, -32},
        {-32, 16, -170, 50, false, true, -64}, {-32, 16, -80, 50, false, true, -64}, {-32, 16, -64, 50, false, true, -48},
        {32, 16, 20, 50, false, true, 32},     {32, 16, 16, 50, false, true, 32},    {32, 16, 10, 50, false, true, 26},
        {-32, 32, -90, 50, false, true, -58},  {-32, 8, -70, 50, false, true, -62},  {32, 16, 40, 50, false, false, 32},
    };
    for (const auto& c : cases) {
        Assembler a;
        a.controls = {.useLic = false, .dynamicSync = c.offset != 0, .idler = c.idler};
        a.state.syncthresh = static_cast<std::int16_t>(c.threshold);
        a.state.synclevel = static_cast<std::int16_t>(c.offset);
        a.state.linebuf = std::string(3, char(40));
        SCOPED_TRACE(testing::Message() << c.luma << " at " << c.xcount << " against " << c.threshold << " + " << c.offset);
        EXPECT_EQ(a.check(c.luma, c.xcount), c.accepted ? 1 : 0);
        EXPECT_EQ(std::tuple(a.state.syncthresh, a.state.ypos, a.lastXcount, a.state.linebuf.empty()),
                  std::tuple(c.after, c.accepted ? 6 : 5, c.accepted ? 0 : c.xcount, c.accepted));
    }
}

TEST(Checklinesync, ABufferOfMoreThan1000IsCutAtTheSyncAndALineWithoutSyncStopsGrowing)
{
    // 1000 characters of 10 and one of 77: the cut leaves the 10s, so the
    // painter ends on 10 and hands 10 on as the next line's first value.
    // Exactly 1000 stays whole and hands on the 77.
    for (const auto& [tens, handedOn] : {std::pair{1000, 10}, {999, 77}}) {
        Assembler a;
        a.state.linebuf = std::string(static_cast<std::size_t>(tens), char(10)) + char(77);
        EXPECT_EQ(a.check(-64, 50), 1);
        EXPECT_EQ(a.lastLuma, handedOn) << tens;
    }

    // 1200 values without a sync after the eight leading spaces: counters 1 to
    // 155 are collected, the rest dropped, 163 characters in all.
    Assembler c;
    c.state.linebuf = std::string(8, ' ');
    c.state.xpos = 0;
    for (int i = 0; i < 1200; ++i)
        EXPECT_TRUE(c.assembler.placeValue(100));
    c.assembler.handOverPending();
    EXPECT_EQ(std::tuple(c.state.linebuf.size(), c.state.xpos, c.state.ypos), std::tuple(163u, 155, 5));
    // There a sync that the identification refuses (three characters are too few
    // for "LIC Lock") is dropped too: the buffer and both counters stay.
    c.controls.useLic = true;
    c.state.linebuf = std::string(3, char(40));
    EXPECT_TRUE(c.assembler.placeValue(-64));
    EXPECT_EQ(std::tuple(c.state.linebuf, c.state.xpos, c.state.ypos), std::tuple(std::string(3, char(40)), 155, 5));
}

TEST(Checklinesync, BufferedLineWithCompandPaintsExpandedValuesAndHandsOnTheLast)
{
    // (v - 128) * 2 limited to 0..255: 200 -> 144, 100 -> 0, 250 -> 244, 128 -> 0, 255 -> 254.
    Assembler a;
    a.controls.compand = true;
    EXPECT_TRUE(a.syncAfter({char(200), char(100), char(250), char(128), char(255)}));
    // Columns 1 to 5 of row 5; the blue and green bytes are still 0.
    const ColourNumber row5[] = {kBlack, 144, 0, 244, 0, 254, kBlack};
    for (int x = 0; x < 7; ++x)
        EXPECT_EQ(a.picture.colour(x, 5), row5[x]) << x;
    // The last companded value opens the next line, row 6.
    EXPECT_EQ(std::tuple(a.state.linebuf, a.state.ypos, a.state.xpos), std::tuple(std::string(1, char(254)), 6, 1));
}

// With "Half X" character i of the buffer goes to column 2i and, as the same
// colour number, to 2i - 1. A pixel of 65536 (blue 1: it holds three values
// already) takes no more; one of 65535 (green and red 255) takes its third,
// 65535 * 256 + 30 = 16776990, which column 5 gets too.
TEST(Checklinesync, BufferedLineWithHalfXFillsTwoColumnsAndAPixelWithBlueTakesNoValue)
{
    Assembler a;
    a.state.xmult = 2;
    a.picture.setColour(4, 5, 65536);
    a.picture.setColour(6, 5, 65535);
    EXPECT_TRUE(a.syncAfter({char(10), char(20), char(30)}));
    const ColourNumber row5[] = {kBlack, 10, 10, kBlack, 65536, 16776990, 16776990, kBlack};
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(a.picture.colour(x, 5), row5[x]) << x;
}

// A line of 300 values, 640 groups long, outgrows the 256 values held back from
// the line buffer; the sync then paints all 300 in order: column x gets
// (x - 1) % 200 + 20, and nothing lands beyond column 300. The 101st value is
// the threshold itself, -32: no sync, it is painted as 0.
TEST(Checklinesync, ALineLongerThanThePendingValuesIsPaintedWholeAndInOrder)
{
    Assembler a(640);
    a.assembler.begin(640, 480, 0);
    a.state.xpos = 0;
    const auto value = [](int x) { return x == 101 ? -32 : (x - 1) % 200 + 20; };
    for (int x = 1; x <= 300; ++x)
        EXPECT_TRUE(a.assembler.placeValue(static_cast<std::int16_t>(value(x))));
    EXPECT_TRUE(a.assembler.placeValue(-64));
    for (int x = 1; x <= 300; ++x)
        ASSERT_EQ(a.picture.colour(x, 5), std::max(value(x), 0)) << x;
    EXPECT_EQ(std::tuple(a.picture.colour(301, 5), a.state.ypos), std::tuple(kBlack, 6));
}

// YShift 2 with buffered lines: the second accepted sync clears the picture
// and starts again at row 1.
TEST(Checklinesync, YShiftCountsAcceptedSyncsOfBufferedLines)
{
    Assembler a;
    a.assembler.begin(160, 120, 2);
    EXPECT_TRUE(a.syncAfter(std::string(3, char(40))));
    EXPECT_EQ(std::tuple(a.state.ypos, a.picture.colour(2, 5)), std::tuple(6, 40));
    EXPECT_TRUE(a.syncAfter(std::string(3, char(60))));
    // The line painted at the second sync, at row 6, is cleared too.
    EXPECT_EQ(std::tuple(a.state.ypos, a.state.xpos, a.picture.colour(2, 5), a.picture.colour(1, 6)),
              std::tuple(1, 1, kBlack, kBlack));
}
