#include <gtest/gtest.h>

#include <string>

#include "signature/signature_codec.h"

using namespace tonobild;

namespace {

std::string digitsText(const ByteDigits& digits)
{
    return {digits.begin(), digits.end()};
}

WorkingState stateWithSignature(std::string signature)
{
    WorkingState state;
    state.sigscale = 1;
    state.signature = std::move(signature);
    return state;
}

WorkingPicture whitePicture(int width, int height)
{
    WorkingPicture picture(width, height);
    picture.clear(kWhite);
    return picture;
}

// The strip as the column-pair layout describes it: rows 0 to 9 black except
// that character i of the framed text shows in columns 36 + 2(i - 1) and the
// next one (the last character up to column 2(n + 21)), digit k in row k and
// digit 8 again in row 9.
ColourNumber expectedStripPixel(const std::string& framed, int x, int y)
{
    if (y == 0 || x < 36)
        return kBlack;
    const int n = static_cast<int>(framed.size());
    int i = (x - 36) / 2 + 1;
    if (i > n) {
        if (x > 2 * (n + 21))
            return kBlack;
        i = n;
    }
    const int k = y == 9 ? 8 : y;
    const auto code = static_cast<unsigned char>(framed[static_cast<std::size_t>(i - 1)]);
    return ((code >> (8 - k)) & 1) ? kWhite : kBlack;
}

// The picture moved up by some rows: row y shows what row y + rows showed; white enters at the bottom.
WorkingPicture movedUp(const WorkingPicture& picture, int rows)
{
    WorkingPicture moved = whitePicture(picture.width(), picture.height());
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.contains(x, y + rows))
                moved.setColour(x, y, picture.colour(x, y + rows));
    return moved;
}

// Repaints every white pixel of the strip with a given green level (red and blue 255).
void repaintWhiteCells(WorkingPicture& picture, int green)
{
    for (int y = 0; y <= 9; ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.colour(x, y) == kWhite)
                picture.setColour(x, y, colourNumber(255, green, 255));
}

} // namespace

TEST(BinaryDigits, Getbin2WritesEightDigitsMostSignificantFirst)
{
    EXPECT_EQ(digitsText(getbin2(0)), "00000000");
    EXPECT_EQ(digitsText(getbin2(32)), "00100000");
    EXPECT_EQ(digitsText(getbin2('A')), "01000001");
    EXPECT_EQ(digitsText(getbin2(200)), "11001000");
    EXPECT_EQ(digitsText(getbin2(255)), "11111111");
}

TEST(BinaryDigits, Getdec2ReadsOnlyTheFirstEightDigitsAndOnlyOnesCount)
{
    EXPECT_EQ(getdec2("00100000"), 32);
    EXPECT_EQ(getdec2("1"), 128);
    EXPECT_EQ(getdec2("11"), 192);
    EXPECT_EQ(getdec2("111111111"), 255);
    EXPECT_EQ(getdec2("0000000011111111"), 0);
    EXPECT_EQ(getdec2("0a1"), 32);
    EXPECT_EQ(getdec2("1 2x0001"), 129);
    EXPECT_EQ(getdec2(""), 0);
}

TEST(BinaryDigits, Getdec2UndoesGetbin2ForEveryCode)
{
    for (int code = 0; code <= 255; ++code)
        EXPECT_EQ(getdec2(getbin2(static_cast<unsigned char>(code))), code);
}

TEST(Putcode, StampsTheFramedSignatureInColumnPairs)
{
    WorkingPicture picture = whitePicture(160, 120);
    WorkingState state = stateWithSignature(" AKLM456");
    putcode(picture, state, false);

    const std::string framed = std::string(" ") + " AKLM456" + '\x01';
    for (int y = 0; y < 120; ++y) {
        for (int x = 0; x < 160; ++x) {
            const ColourNumber expected = y <= 9 ? expectedStripPixel(framed, x, y) : kWhite;
            ASSERT_EQ(picture.colour(x, y), expected) << "column " << x << ", row " << y;
        }
    }
    EXPECT_EQ(state.signature, " AKLM456");
}

TEST(Getcode, ReadsTheStampBackWithItsCaption)
{
    WorkingPicture picture = whitePicture(160, 120);
    WorkingState state = stateWithSignature(" AKLM456");
    putcode(picture, state, false);

    state.sigfound = 0;
    EXPECT_EQ(getcode(picture, state, false), " AKLM456");
    EXPECT_EQ(state.sigfound, 1);
    EXPECT_EQ(readSignatureCaption(picture, state, false), "Class of transmitter: Amateur\r\nIdentification: KLM456");
}

TEST(Getcode, AnEmptySignatureIsStillFoundAndReadsEmpty)
{
    WorkingPicture picture = whitePicture(160, 120);
    WorkingState state = stateWithSignature("");
    putcode(picture, state, false);

    EXPECT_EQ(picture.colour(36, 3), kWhite);  // the start marker's digit 3
    EXPECT_EQ(picture.colour(38, 8), kWhite);  // the end marker's digit 8
    EXPECT_EQ(getcode(picture, state, false), "");
    EXPECT_EQ(state.sigfound, 1);
    EXPECT_EQ(readSignatureCaption(picture, state, false), "");
}

TEST(Getcode, APictureWithoutStartMarkerIsNotSigned)
{
    WorkingPicture picture = whitePicture(160, 120); // every cell reads code 255
    WorkingState state = stateWithSignature(" AKLM456");
    state.sigfound = 1;
    EXPECT_EQ(getcode(picture, state, false), "");
    EXPECT_EQ(state.sigfound, 0);

    picture.clear(kBlack); // every cell reads code 0
    state.sigfound = 1;
    EXPECT_EQ(getcode(picture, state, false), "");
    EXPECT_EQ(state.sigfound, 0);
}

TEST(Putcode, APictureAlreadySignedKeepsItsSignature)
{
    WorkingPicture picture = whitePicture(160, 120);
    WorkingState state = stateWithSignature(" AKLM456");
    putcode(picture, state, false);
    const WorkingPicture signedPicture = picture;

    state.signature = " CXYZ";
    putcode(picture, state, false);
    EXPECT_EQ(picture, signedPicture);
    EXPECT_EQ(readSignatureCaption(picture, state, false), "Class of transmitter: Amateur\r\nIdentification: KLM456");
}

TEST(Getcode, FindsAStampMovedUpByOneRow)
{
    WorkingPicture picture = whitePicture(160, 120);
    WorkingState state = stateWithSignature(" AKLM456");
    putcode(picture, state, false);

    EXPECT_EQ(getcode(movedUp(picture, 1), state, false), " AKLM456");
    EXPECT_EQ(state.sigfound, 1);
}

TEST(Getcode, AStampMovedUpByTwoRowsLosesItsStartMarker)
{
    // The passes that move further up sample row -1, which reads as white, so
    // the first digit of every character reads 1 and no start marker (00100000) appears.
    WorkingPicture picture = whitePicture(160, 120);
    WorkingState state = stateWithSignature(" AKLM456");
    putcode(picture, state, false);

    EXPECT_EQ(getcode(movedUp(picture, 2), state, false), "");
    EXPECT_EQ(state.sigfound, 0);
}

TEST(Getcode, CompandRaisesTheGreenThresholdFrom128To192)
{
    WorkingPicture stamped = whitePicture(160, 120);
    WorkingState state = stateWithSignature(" AKLM456");
    putcode(stamped, state, false);

    WorkingPicture picture = stamped;
    repaintWhiteCells(picture, 128);
    EXPECT_EQ(getcode(picture, state, false), " AKLM456");
    EXPECT_EQ(getcode(picture, state, true), "");
    EXPECT_EQ(state.sigfound, 0);

    picture = stamped;
    repaintWhiteCells(picture, 192);
    EXPECT_EQ(getcode(picture, state, true), " AKLM456");
    EXPECT_EQ(state.sigfound, 1);

    picture = stamped;
    repaintWhiteCells(picture, 127);
    EXPECT_EQ(getcode(picture, state, false), "");
}

TEST(Getcode, ATextTooLongForThePictureReadsOnToStep1025)
{
    // 100 characters: the stamp clips at the right edge, the end marker is never
    // drawn, and steps 80 to 1025 sample outside the picture (code 255).
    WorkingPicture picture = whitePicture(160, 120);
    const std::string text(100, 'Q');
    WorkingState state = stateWithSignature(text);
    putcode(picture, state, false);

    const std::string code = getcode(picture, state, false);
    EXPECT_EQ(state.sigfound, 1);
    ASSERT_EQ(code.size(), 1025u - 18u);
    EXPECT_EQ(code.substr(0, 61), text.substr(0, 61));    // steps 19 to 79 fit in 160 columns
    EXPECT_EQ(code.substr(61), std::string(1025 - 79, '\xff'));
}

TEST(Putcode, AHugeSignatureIsClippedAtTheRightEdge)
{
    WorkingPicture picture = whitePicture(40, 12);
    WorkingState state = stateWithSignature(std::string(5'000'000, 'Z'));
    putcode(picture, state, false);
    EXPECT_EQ(picture.colour(36, 3), kWhite); // start marker 00100000
    EXPECT_EQ(picture.colour(36, 2), kBlack);
    EXPECT_EQ(picture.colour(38, 2), kWhite); // 'Z' 01011010
    EXPECT_EQ(picture.colour(39, 1), kBlack);
    EXPECT_EQ(picture.colour(39, 10), kWhite);
}

TEST(SignatureCaption, NamesTheClassAndTheIdentification)
{
    EXPECT_EQ(formatSignatureCaption(" AKLM456"), "Class of transmitter: Amateur\r\nIdentification: KLM456");
    EXPECT_EQ(formatSignatureCaption(" CX"), "Class of transmitter: Commercial\r\nIdentification: X");
    EXPECT_EQ(formatSignatureCaption(" T1"), "Class of transmitter: Technician\r\nIdentification: 1");
    EXPECT_EQ(formatSignatureCaption(" P "), "Class of transmitter: Programmer\r\nIdentification:  ");
    EXPECT_EQ(formatSignatureCaption(" aKLM"), "Class of transmitter: \r\nIdentification: KLM");
}

TEST(SignatureCaption, ShortOrUnframedCodesShowAsRead)
{
    EXPECT_EQ(formatSignatureCaption(""), "");
    EXPECT_EQ(formatSignatureCaption(" A"), " A");
    EXPECT_EQ(formatSignatureCaption("AKLM456"), "AKLM456");
}
