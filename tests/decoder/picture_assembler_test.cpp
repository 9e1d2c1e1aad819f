// The picture assembler: the sync check, the painting rule and the three ways
// of placing values.
#include <gtest/gtest.h>

#include <string>

#include "decode_support.h"
#include "decoder/picture_assembler.h"

using namespace tonobild;
using namespace tonobild::decodetest;

namespace {

struct Assembly {
    explicit Assembly(int xsiz = 160, int rows = 120, int yshift = 0)
        : host(controls), identification(state, controls, host), picture(160, 120),
          assembler(picture, state, controls, identification)
    {
        state.xmult = 1;
        state.ypos = 1;
        state.syncthresh = -32;
        state.synclevel = 16;
        state.liclockcount = 3;
        assembler.begin(xsiz, rows, yshift);
    }
    // Runs the sync check on a value; answers synched.
    int check(int& luma)
    {
        int synched = 0;
        assembler.checklinesync(luma, state.xpos, assembler.xsiz(), synched);
        return synched;
    }
    DecoderControls controls;
    WorkingState state;
    RecordingHost host;
    LineIdentification identification;
    WorkingPicture picture;
    PictureAssembler assembler;
};

} // namespace

TEST(SyncCheck, NeedsHSyncAValueBelowTheThresholdAndTenValues)
{
    Assembly a;
    a.controls.useLic = false;
    a.state.xpos = 10;
    int luma = -32; // not below -32
    EXPECT_EQ(a.check(luma), 0);
    a.controls.hsync = false;
    luma = -64;
    EXPECT_EQ(a.check(luma), 0);
    a.controls.hsync = true;
    a.state.xpos = 9;
    EXPECT_EQ(a.check(luma), 0);
    EXPECT_EQ(a.state.ypos, 1);
    a.state.xpos = 10;
    EXPECT_EQ(a.check(luma), 1);
    EXPECT_EQ(a.state.xpos, 0);
    EXPECT_EQ(a.state.ypos, 2);
}

TEST(SyncCheck, IdlerTakesSyncsOnlyInTheLastSevenPositions)
{
    Assembly a;
    a.controls.useLic = false;
    a.controls.idler = true;
    int luma = -64;
    a.state.xpos = 152;
    EXPECT_EQ(a.check(luma), 0);
    a.state.xpos = 153;
    EXPECT_EQ(a.check(luma), 1);
}

TEST(SyncCheck, DynamicSyncFollowsTheSyncsWithin64To32)
{
    Assembly a;
    a.controls.useLic = false;
    a.state.xpos = 20;
    int luma = -64;
    a.check(luma);
    EXPECT_EQ(a.state.syncthresh, -48);
    a.state.synclevel = 8;
    a.state.xpos = 20;
    luma = -80;
    a.check(luma);
    EXPECT_EQ(a.state.syncthresh, -64);
    a.controls.dynamicSync = false;
    a.state.syncthresh = 32;
    a.state.xpos = 20;
    luma = 31;
    a.check(luma);
    EXPECT_EQ(a.state.syncthresh, 32);
    a.controls.dynamicSync = true;
    a.state.xpos = 20;
    luma = 31;
    a.check(luma);
    EXPECT_EQ(a.state.syncthresh, 32); // 31 + 16 limited to 32
}

TEST(SyncCheck, UntakenIdentificationLeavesRowAndColumnButNotThreshold)
{
    Assembly a;
    a.state.liclockcount = 0;
    a.state.linebuf = std::string(9, char(200)); // too short to search a marker in
    a.state.xpos = 50;
    int luma = -64;
    EXPECT_EQ(a.check(luma), 0);
    EXPECT_EQ(a.state.xpos, 50);
    EXPECT_EQ(a.state.ypos, 1);
    EXPECT_EQ(a.state.syncthresh, -48);
    EXPECT_EQ(a.state.linebuf.size(), 6u);
    EXPECT_EQ(a.state.liclockcount, 0);
}

TEST(PaintingRule, ShiftsValuesInUntilTheBlueByteIsSet)
{
    Assembly a;
    int v = 10;
    a.assembler.paint(v, 5, 5);
    v = 20;
    a.assembler.paint(v, 5, 5);
    v = 30;
    a.assembler.paint(v, 5, 5);
    EXPECT_EQ(a.picture.colour(5, 5), colourNumber(30, 20, 10));
    v = 40;
    a.assembler.paint(v, 5, 5);
    EXPECT_EQ(a.picture.colour(5, 5), colourNumber(30, 20, 10));
    // A first value of 0 leaves the blue byte clear, so a fourth value still goes in.
    for (int value : {0, 20, 30, 40}) {
        v = value;
        a.assembler.paint(v, 6, 5);
    }
    EXPECT_EQ(a.picture.colour(6, 5), colourNumber(40, 30, 20));
}

TEST(PaintingRule, CompandAndHalfX)
{
    Assembly a;
    a.controls.compand = true;
    a.state.xmult = 2;
    int v = 200;
    a.assembler.paint(v, 14, 3);
    EXPECT_EQ(v, 144);
    EXPECT_EQ(a.picture.colour(14, 3), 144);
    EXPECT_EQ(a.picture.colour(13, 3), 144);
    v = 100;
    a.assembler.paint(v, 14, 3);
    EXPECT_EQ(v, 0);
    EXPECT_EQ(a.picture.colour(14, 3), 144 * 256);
}

TEST(BufferedLines, PaintAtTheSyncAndHandTheLastValueOn)
{
    Assembly a;
    a.controls.useLic = false;
    a.controls.compand = true;
    a.state.linebuf = std::string{char(130), char(140), char(200)};
    a.state.xpos = 12;
    a.state.ypos = 7;
    EXPECT_TRUE(a.assembler.placeValue(-64));
    EXPECT_EQ(a.picture.colour(1, 7), 4);
    EXPECT_EQ(a.picture.colour(2, 7), 24);
    EXPECT_EQ(a.picture.colour(3, 7), 144);
    // The companded last value opens the next line's buffer.
    EXPECT_EQ(a.state.linebuf, std::string(1, char(144)));
    EXPECT_EQ(a.state.ypos, 8);
    EXPECT_EQ(a.state.xpos, 1);
}

TEST(IdentifiedLines, TheSyncValueOpensTheNextBufferLimitedTo0)
{
    Assembly a;
    a.controls.licLock = false;
    a.state.linebuf = std::string(30, char(5));
    a.state.xpos = 30;
    EXPECT_TRUE(a.assembler.placeValue(-64));
    EXPECT_EQ(a.state.linebuf, std::string(1, char(0)));
    EXPECT_EQ(a.state.ypos, 2);
    EXPECT_EQ(a.picture.colour(1, 1), kBlack); // nothing is painted
}

TEST(PlacingValues, ValuesPastTheLineEndAreDropped)
{
    Assembly a;
    a.state.xpos = 154;
    a.state.linebuf.clear();
    EXPECT_TRUE(a.assembler.placeValue(300));
    EXPECT_EQ(a.state.linebuf, std::string(1, char(255)));
    EXPECT_TRUE(a.assembler.placeValue(50));
    EXPECT_EQ(a.state.xpos, 155);
    EXPECT_EQ(a.state.linebuf.size(), 1u);
}

TEST(DirectPainting, LinesOfXsizValuesWrappingToMinusFive)
{
    Assembly a;
    a.controls.hsync = false;
    a.controls.useLic = false;
    a.state.xmult = 2;
    a.assembler.begin(80, 120, 0);
    // The first value lands at column xmult.
    EXPECT_TRUE(a.assembler.placeValue(100));
    EXPECT_EQ(a.picture.colour(2, 1), 100);
    EXPECT_EQ(a.picture.colour(1, 1), 100);
    for (int i = 2; i <= 75; ++i)
        a.assembler.placeValue(i);
    EXPECT_EQ(a.state.xpos, 75);
    EXPECT_EQ(a.picture.colour(150, 1), 75);
    // The next line starts at column counter -4: four values fall left of the picture.
    for (int i = 0; i < 5; ++i)
        a.assembler.placeValue(200);
    EXPECT_EQ(a.state.xpos, 0);
    EXPECT_EQ(a.state.ypos, 2);
    EXPECT_EQ(a.picture.colour(0, 2), 200);
    EXPECT_EQ(a.picture.colour(2, 2), kBlack);
}

TEST(DirectPainting, YShiftClearsThePictureAndRestartsAtRowOne)
{
    Assembly a(160, 120, 2);
    a.controls.hsync = false;
    a.controls.useLic = false;
    for (int i = 0; i < 155; ++i)
        a.assembler.placeValue(9);
    EXPECT_EQ(a.picture.colour(10, 1), 9);
    for (int i = 0; i < 160; ++i)
        a.assembler.placeValue(9);
    EXPECT_EQ(a.state.ypos, 2);
    a.assembler.placeValue(7); // the second line end: cleared, row 1 again
    EXPECT_EQ(a.state.ypos, 1);
    EXPECT_EQ(a.picture.colour(10, 1), kBlack);
    EXPECT_EQ(a.picture.colour(10, 2), kBlack);
}

TEST(DirectPainting, EndsAtTheThirdWrapWithoutUseLic)
{
    Assembly a(160, 4, 0);
    a.controls.hsync = false;
    int placed = 0;
    for (a.controls.useLic = false; a.assembler.placeValue(1); ++placed) {
        if (placed > 10000)
            break;
    }
    // Rows 1 to 4 three times: 155 values, then 160 per line; the first value
    // of line 13 wraps the row counter the third time and ends the decode.
    EXPECT_EQ(placed, 155 + 11 * 160);
    EXPECT_EQ(a.assembler.passCount(), 3);

    Assembly withLic(160, 4, 0);
    withLic.controls.hsync = false;
    for (int i = 0; i < 155 + 20 * 160; ++i)
        ASSERT_TRUE(withLic.assembler.placeValue(1));
    EXPECT_GT(withLic.assembler.passCount(), 3);
}
