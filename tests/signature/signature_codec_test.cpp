#include <gtest/gtest.h>

#include <algorithm>

#include "signature/signature_codec.h"

using namespace tonobild;

namespace {

// A white 160 x 120 picture with the signature stamped at scale 1.
WorkingPicture stamped(const std::string& signature, WorkingState& state)
{
    WorkingPicture picture(160, 120);
    picture.clear(kWhite);
    state.sigscale = 1;
    state.signature = signature;
    putcode(picture, state, false);
    return picture;
}

// A 160 x 120 picture of the given pixels, row by row.
WorkingPicture pictureOf(std::vector<ColourNumber> pixels)
{
    WorkingPicture picture;
    picture.place(160, 120, std::move(pixels));
    return picture;
}

} // namespace

TEST(BinaryDigits, Getdec2ReadsTheFirstEightDigitsWhereOnlyOnesCountAndUndoesGetbin2)
{
    for (const auto& [digits, value] : std::vector<std::pair<std::string, int>>{{"00100000", 32}, {"1", 128},
             {"11", 192}, {"", 0}, {"111111111", 255}, {"0000000011111111", 0}, {"0a1", 32}, {"1 2x0001", 129}})
        EXPECT_EQ(getdec2(digits), value) << '"' << digits << '"';
    for (int code = 0; code <= 255; ++code)
        EXPECT_EQ(getdec2(getbin2(static_cast<unsigned char>(code))), code);
}

// The strip's column-pair layout, pixel for pixel, is SignatureVectors.PutcodeReproducesTheSignedGradient's.
// A huge signature is clipped at the right edge after its 61st character and
// its end marker never drawn: the reading goes on outside the picture (code
// 255) and stops at step 1025. Below the strip the picture stays white.
TEST(Signature, StampsTheFramedTextAndReadsItBack)
{
    const std::string hugeRead = std::string(61, 'Z') + std::string(1025 - 79, '\xff');
    for (const auto& [signature, read, caption] : std::vector<std::tuple<std::string, std::string, std::string>>{
             {" AKLM456", " AKLM456", "Class of transmitter: Amateur\r\nIdentification: KLM456"},
             {"", "", ""},
             // 233 = 11101001: the top cell of the column white
             {" P\xe9", " P\xe9", "Class of transmitter: Programmer\r\nIdentification: \xe9"},
             {std::string(5'000'000, 'Z'), hugeRead, hugeRead}}) {
        WorkingState state;
        const WorkingPicture picture = stamped(signature, state);
        EXPECT_EQ(std::count(picture.pixels().begin() + 160 * 10, picture.pixels().end(), kWhite), 160 * 110);
        EXPECT_EQ((std::tuple{getcode(picture, state, false), state.sigfound}), std::tuple(read, 1)); // read, then found
        EXPECT_EQ(readSignatureCaption(picture, state, false), caption);
    }
}

TEST(Signature, IsFoundAndKeptMovedUpByOneRowButNotByTwoAndCompandRaisesTheThreshold)
{
    WorkingState state;
    const WorkingPicture picture = stamped(" AKLM456", state);
    const auto movedUp = [&](int rows) { // row y shows row y + rows; white enters at the bottom
        std::vector<ColourNumber> pixels(picture.pixels().begin() + 160 * rows, picture.pixels().end());
        pixels.resize(160 * 120, kWhite);
        return pictureOf(pixels);
    };
    state.signature = " CXYZ";
    for (const int rows : {0, 1}) {
        WorkingPicture moved = movedUp(rows);
        putcode(moved, state, false);
        EXPECT_EQ(moved, movedUp(rows)) << rows;
        EXPECT_EQ(getcode(moved, state, false), " AKLM456") << rows;
    }
    // Passes further up sample row -1, which reads white, so no start marker 00100000 appears.
    for (const WorkingPicture& unreadable : {movedUp(2), movedUp(120), WorkingPicture(160, 120)}) {
        state.sigfound = 1;
        EXPECT_TRUE(getcode(unreadable, state, false).empty() && state.sigfound == 0);
    }
    // Compand raises the green threshold from 128 to 192.
    for (const auto& [green, compand, read] : {std::tuple{128, false, true}, std::tuple{127, false, false},
                                               std::tuple{191, true, false}, std::tuple{192, true, true}}) {
        std::vector<ColourNumber> pixels = picture.pixels();
        std::replace(pixels.begin(), pixels.end(), kWhite, colourNumber(255, green, 255));
        EXPECT_TRUE(getcode(pictureOf(pixels), state, compand) == (read ? " AKLM456" : "") && state.sigfound == (read ? 1 : 0))
            << green << " " << compand;
    }
}

// The start marker is searched over steps 1 to 101 in each of the five row
// offsets. A 320-wide black picture with the marker (32: digit 3, row 3) at
// step S, "A" (65: digits 2 and 8) at S + 1 and the end marker (1: digit 8) at
// S + 2, one pixel each at column 2S: found at steps 100 and 101, not at 102
// (row offsets 1 to 4 read the marker as 16, 8, 4 and 2). Moved up by one row,
// the strip is read in the second pass, again from step 1 (row offset -1).
TEST(Signature, StartMarkerIsFoundUpToStep101AndEveryPassStartsAgainAtStep1)
{
    const struct { int step, rowOffset; const char* code; int found; } cases[] = {
        {100, 0, "A", 1}, {101, 0, "A", 1}, {102, 0, "", 0}, {1, 0, "A", 1}, {1, -1, "A", 1}};
    for (const auto& c : cases) {
        WorkingPicture picture(320, 240);
        for (const auto& [step, row] : {std::pair{c.step, 3}, {c.step + 1, 2}, {c.step + 1, 8}, {c.step + 2, 8}})
            picture.setColour(2 * step, row + c.rowOffset, kWhite);
        WorkingState state;
        state.sigscale = 1;
        EXPECT_TRUE(getcode(picture, state, false) == c.code && state.sigfound == c.found)
            << c.step << " moved by " << c.rowOffset;
    }
}

TEST(Signature, CaptionNamesTheClassAndIdentificationOfAFramedCode)
{
    for (const auto& [code, caption] : std::vector<std::pair<std::string, std::string>>{
             {" CX", "Class of transmitter: Commercial\r\nIdentification: X"}, {" A", " A"}, {"AKLM456", "AKLM456"},
             {" aKLM", "Class of transmitter: \r\nIdentification: KLM"}, {"\x07\r", "<07><0D>"},
             {" TX", "Class of transmitter: Technician\r\nIdentification: X"},
             {" PX", "Class of transmitter: Programmer\r\nIdentification: X"},
             // control characters read from the picture are shown by their code, never raw
             {std::string(" AKLM\0\x1b\x7f\x9f\xa0\xff", 11),
              "Class of transmitter: Amateur\r\nIdentification: KLM<00><1B><7F><9F>\xa0\xff"}})
        EXPECT_EQ(formatSignatureCaption(code), caption) << '"' << code << '"';
}

// The room measured by sending codewords of every length through the encoder and decoder with the
// receiver's defaults: the longest codeword read back whole, plus the two characters " A" before it.
TEST(Signature, RoomForTheSignatureTextAtEachTransmissionSize)
{
    const struct { int groupsPerLine, columnStep, longest; } cases[] = {{160, 1, 52 + 2}, {80, 2, 46 + 2},
        {320, 1, 132 + 2}, {160, 2, 126 + 2}, {640, 1, 292 + 2}, {320, 2, 286 + 2}, {40, 1, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(longestReadableSignature(c.groupsPerLine, c.columnStep), c.longest)
            << c.groupsPerLine << " groups, step " << c.columnStep;
}

// The codeword is what follows the space and the class letter of the signature text read.
TEST(Signature, TheCodewordFollowsTheSpaceAndTheClassLetter)
{
    const std::pair<const char*, const char*> rows[] = {{"", ""},        {" A", ""},  {" A5", "5"},
                                                        {" TAB12", "AB12"}, {"xA5", ""}, {"A5X", ""}};
    for (const auto& [code, codeword] : rows)
        EXPECT_EQ(codewordOf(code), codeword) << '"' << code << '"';
}
