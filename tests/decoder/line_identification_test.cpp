// Line identification (getdec, the inset and the start-marker search, LIC Lock
// counting) and the rebuild from the line store.
#include <gtest/gtest.h>

#include <string>

#include "decode_support.h"
#include "decoder/line_identification.h"

using namespace tonobild;
using namespace tonobild::decodetest;

namespace {

// The identification digits of n as characters, least significant first.
std::string codeCharacters(int n, char one = char(255), char zero = char(0))
{
    std::string digits;
    for (int i = 0; i < 11; ++i)
        digits.push_back(((n >> i) & 1) ? one : zero);
    return digits;
}

// A line buffer as a sync at the first group of the sync run leaves it: seven
// sync groups, the start marker, the code, two guards and picture values.
std::string lineBuffer(int n, int pictureValues = 100)
{
    return std::string(7, char(0)) + char(255) + codeCharacters(n) + std::string(2, char(0)) +
           std::string(static_cast<std::size_t>(pictureValues), char(90));
}

struct Identifier {
    Identifier() : host(controls), identification(state, controls, host) {}
    DecoderControls controls;
    WorkingState state;
    RecordingHost host;
    LineIdentification identification;
};

} // namespace

TEST(Getdec, LeastSignificantFirstAndOnlyAbove128)
{
    std::int32_t n = -1;
    getdec(std::string{char(255), 0, char(255), 0, 0, 0, 0, 0, 0, 0, 0}, n);
    EXPECT_EQ(n, 5);
    getdec(std::string(11, char(128)), n);
    EXPECT_EQ(n, 0);
    getdec(std::string(11, char(129)), n);
    EXPECT_EQ(n, 2047);
    getdec(std::string(), n);
    EXPECT_EQ(n, 0);
}

TEST(Identification, WithoutLockReadsAtTheInsetAndFilesTheWholeBuffer)
{
    Identifier id;
    id.controls.licLock = false;
    id.state.liclockcount = 3;
    id.controls.licInset = 8; // "8 (Norm)": the marker at 7, the code from 8
    id.state.linebuf = lineBuffer(300).substr(1);
    const std::string filed = id.state.linebuf;
    EXPECT_TRUE(id.identification.identifyAndFile());
    EXPECT_EQ(id.state.linestore[300], filed);
    EXPECT_TRUE(id.host.licLockChanges.empty());
}

TEST(Identification, FourLockAlignsOnSyncSixSevenAndTheMarker)
{
    Identifier id;
    id.state.liclockcount = 3;
    id.state.linebuf = lineBuffer(1234);
    EXPECT_TRUE(id.identification.identifyAndFile());
    const std::string aligned = lineBuffer(1234).substr(5);
    EXPECT_EQ(id.state.linebuf, aligned);
    EXPECT_EQ(id.state.linestore[1234], aligned);
}

TEST(Identification, InsetSevenFindsTheMarkerAtOnceAndReadsFromTheSecondDigit)
{
    Identifier id;
    id.state.liclockcount = 3;
    id.controls.licInset = 7;
    id.state.linebuf = lineBuffer(1234);
    EXPECT_TRUE(id.identification.identifyAndFile());
    EXPECT_EQ(id.state.linebuf, lineBuffer(1234).substr(6));
    EXPECT_EQ(id.state.linestore[1234 / 2], id.state.linebuf);
}

TEST(Identification, SmallInsetsDropUntilTheMarkerAndPutSyncSixBack)
{
    for (int inset : {1, 5, 6}) {
        Identifier id;
        id.state.liclockcount = 3;
        id.controls.licInset = inset;
        id.state.linebuf = lineBuffer(77);
        EXPECT_TRUE(id.identification.identifyAndFile()) << inset;
        EXPECT_EQ(id.state.linebuf, lineBuffer(77).substr(5)) << inset;
        EXPECT_EQ(id.state.linestore[77], id.state.linebuf) << inset;
    }
}

TEST(Identification, CompandRaisesTheMarkerSearchThresholdTo192)
{
    // Sync, then 150, then 200: at 128 the pair (sync, 150) is the marker, at 192 the pair (150, 200).
    const std::string buffer = std::string(7, char(0)) + char(150) + char(200) + codeCharacters(9) + std::string(60, char(0));
    Identifier plain;
    plain.state.liclockcount = 3;
    plain.state.linebuf = buffer;
    EXPECT_TRUE(plain.identification.identifyAndFile());
    EXPECT_EQ(plain.state.linebuf, buffer.substr(5));

    Identifier companded;
    companded.state.liclockcount = 3;
    companded.controls.compand = true;
    companded.state.linebuf = buffer;
    EXPECT_TRUE(companded.identification.identifyAndFile());
    EXPECT_EQ(companded.state.linebuf, buffer.substr(6));
    EXPECT_EQ(companded.state.linestore[9], companded.state.linebuf);
}

TEST(Identification, UntakenSyncsKeepWhatTheAlignmentRemoved)
{
    Identifier shortForInset;
    shortForInset.state.liclockcount = 3;
    shortForInset.controls.licInset = 10;
    shortForInset.state.linebuf = std::string(9, char(0));
    EXPECT_FALSE(shortForInset.identification.identifyAndFile());
    EXPECT_EQ(shortForInset.state.linebuf.size(), 9u);

    Identifier shortAfterInset;
    shortAfterInset.state.liclockcount = 3;
    shortAfterInset.state.linebuf = std::string(10, char(0));
    EXPECT_FALSE(shortAfterInset.identification.identifyAndFile());
    EXPECT_EQ(shortAfterInset.state.linebuf.size(), 7u); // three leading characters gone

    // No low-high pair: the search drops characters until fewer than 8 are left.
    Identifier noMarker;
    noMarker.state.liclockcount = 3;
    noMarker.state.linebuf = std::string(20, char(200));
    EXPECT_FALSE(noMarker.identification.identifyAndFile());
    EXPECT_EQ(noMarker.state.linebuf, std::string(7, char(200)));
    EXPECT_EQ(noMarker.state.liclockcount, 3);
}

TEST(Identification, ThirdCodeTicksLicLockAgain)
{
    Identifier id;
    id.controls.licLock = false; // as the decode leaves it at its start
    id.state.liclockcount = 0;
    for (int line = 1; line <= 4; ++line) {
        id.state.linebuf = lineBuffer(line);
        EXPECT_TRUE(id.identification.identifyAndFile());
    }
    EXPECT_EQ(id.state.liclockcount, 3);
    EXPECT_EQ(id.host.licLockChanges, (std::vector<bool>{true}));
    EXPECT_TRUE(id.identification.relocked());
    // Unaligned, "4-lock" reads four syncs, the marker and six digits: 16 + 32 * (n mod 64).
    EXPECT_EQ(id.state.linestore[16 + 32 * 1], lineBuffer(1));
    EXPECT_EQ(id.state.linestore[16 + 32 * 3], lineBuffer(3));
    // The fourth code is read aligned, from the marker on.
    EXPECT_EQ(id.state.linestore[4], lineBuffer(4).substr(5));
}

TEST(Identification, NumbersOutsideTheStoreFileNothing)
{
    Identifier id;
    id.state.liclockcount = 3;
    for (int n : {0, 1441, 2047}) {
        id.state.linebuf = lineBuffer(n);
        EXPECT_TRUE(id.identification.identifyAndFile()) << n;
    }
    for (const std::string& slot : id.state.linestore)
        EXPECT_TRUE(slot.empty());
}

TEST(Identification, LongBuffersAreCutAtTheSync)
{
    // Through the sync check: a buffer of 1200 characters is filed with its first 1000.
    Identifier id;
    id.state.liclockcount = 3;
    WorkingPicture picture(160, 120);
    PictureAssembler assembler(picture, id.state, id.controls, id.identification);
    assembler.begin(160, 120, 0);
    id.state.syncthresh = -32;
    id.state.linebuf = lineBuffer(6, 1200 - 21);
    int luma = -64;
    std::int16_t xcount = 155;
    int synched = 0;
    assembler.checklinesync(luma, xcount, 160, synched);
    EXPECT_EQ(id.state.linestore[6].size(), 1000u - 5u);
}

namespace {

struct Rebuild {
    Rebuild() : host(controls), picture(160, 120) { state.xmult = 1; }
    bool run(int xsiz = 160, int rows = 120)
    {
        return rebuildFromLineStore(picture, state, controls, host, xsiz, rows);
    }
    DecoderControls controls;
    WorkingState state;
    RecordingHost host;
    WorkingPicture picture;
};

std::string ramp(std::size_t length, int start)
{
    std::string text;
    for (std::size_t j = 0; j < length; ++j)
        text.push_back(static_cast<char>((start + static_cast<int>(j)) % 256));
    return text;
}

} // namespace

TEST(Rebuild, ColumnsBlanksAndKeptComponents)
{
    Rebuild r;
    r.state.linestore[5] = ramp(100, 0);       // blue of row 6
    r.state.linestore[120 + 5] = ramp(100, 50); // green
    r.state.linestore[240 + 5] = ramp(80, 100); // red, shorter
    ASSERT_TRUE(r.run());
    EXPECT_EQ(r.host.rebuiltRows, 120);
    // Position j lands at column j + 1 of row i + 1.
    EXPECT_EQ(r.picture.colour(31, 6), colourNumber(100 + 29, 50 + 29, 29));
    // The first 12 positions and the last one are blanked to code 1.
    EXPECT_EQ(r.picture.colour(2, 6), colourNumber(1, 1, 1));
    EXPECT_EQ(r.picture.colour(13, 6), colourNumber(1, 1, 1));
    EXPECT_EQ(r.picture.colour(14, 6), colourNumber(100 + 12, 50 + 12, 12));
    // Red ends at position 80 (blanked); later positions keep it.
    EXPECT_EQ(r.picture.colour(81, 6), colourNumber(1, 50 + 79, 79));
    EXPECT_EQ(r.picture.colour(90, 6), colourNumber(1, 50 + 88, 88));
    // Past every text all three components are kept: blanks.
    EXPECT_EQ(r.picture.colour(159, 6), colourNumber(1, 1, 1));
    // Columns 0 and 1 are never painted; rows before the first stored line keep the start values.
    EXPECT_EQ(r.picture.colour(1, 6), kBlack);
    EXPECT_EQ(r.picture.colour(50, 2), kBlack);
}

TEST(Rebuild, ShortOrMissingLinesTakeThePreviousRowsLine)
{
    Rebuild r;
    r.state.linestore[10] = ramp(90, 0);
    r.state.linestore[11] = ramp(69, 200); // too short: row 12 repeats row 11's blue
    r.state.linestore[12] = ramp(70, 100); // 70 characters are used
    ASSERT_TRUE(r.run());
    // Column 40 shows position 39, the character at offset 38.
    EXPECT_EQ(splitColour(r.picture.colour(40, 11)).blue, 38);
    EXPECT_EQ(splitColour(r.picture.colour(40, 12)).blue, 38);
    EXPECT_EQ(splitColour(r.picture.colour(40, 13)).blue, 138);
    // Row 14 (slot 13 missing) repeats row 13's line, its blanked last character included.
    EXPECT_EQ(splitColour(r.picture.colour(40, 14)).blue, 138);
    EXPECT_EQ(splitColour(r.picture.colour(70, 14)).blue, 168);
    EXPECT_EQ(splitColour(r.picture.colour(71, 14)).blue, 1);
}

TEST(Rebuild, HalfXPaintsTwoColumnsPerPosition)
{
    Rebuild r;
    r.state.xmult = 2;
    r.state.linestore[1] = ramp(70, 0);
    ASSERT_TRUE(r.run(80));
    // Position 17 goes to columns 30 and 31 of row 2.
    EXPECT_EQ(splitColour(r.picture.colour(30, 2)).blue, 16);
    EXPECT_EQ(splitColour(r.picture.colour(31, 2)).blue, 16);
    EXPECT_EQ(splitColour(r.picture.colour(32, 2)).blue, 17);
}

TEST(Rebuild, CompandExpandsAndExpandsKeptValuesAgain)
{
    Rebuild r;
    r.controls.compand = true;
    std::string line(80, char(160));
    line[78] = char(140); // the last character is blanked, this one is the last kept
    r.state.linestore[3] = line;
    ASSERT_TRUE(r.run());
    EXPECT_EQ(splitColour(r.picture.colour(40, 4)).blue, (160 - 128) * 2);
    EXPECT_EQ(splitColour(r.picture.colour(80, 4)).blue, (140 - 128) * 2);
    // The blank code 1 expands to 0, and so does everything kept after it.
    EXPECT_EQ(splitColour(r.picture.colour(81, 4)).blue, 0);
    EXPECT_EQ(splitColour(r.picture.colour(5, 4)).blue, 0);
}

TEST(Rebuild, AbandonedByTheHost)
{
    Rebuild r;
    r.host.keepRebuilding = false;
    r.state.linestore[1] = ramp(100, 0);
    EXPECT_FALSE(r.run());
    EXPECT_EQ(r.host.rebuiltRows, 1);
    EXPECT_EQ(r.picture.colour(50, 2), kBlack);
}
