#include "digital/digital_coding.h"

#include <algorithm>
#include <optional>

#include "common/numbers.h"
#include "signature/signature_codec.h"

namespace tonobild {

namespace {

// The components of a colour number with each negative one read as 0, so a
// position outside the picture reads as red 255, green 255, blue 0. A component
// above 255 (only a colour number beyond white can give one) reads as 255.
ColourComponents readComponents(const WorkingPicture& picture, int x, int y)
{
    const ColourComponents c = splitColour(picture.colour(x, y));
    const auto channel = [](int value) { return std::clamp(value, 0, 255); };
    return {channel(c.red), channel(c.green), channel(c.blue)};
}

ByteDigits digitsOf(int value)
{
    return getbin2(static_cast<unsigned char>(value));
}

// Digits 1, 3, 5, 7 (offset 0) or 2, 4, 6, 8 (offset 1) of a value, above the band filler 0111.
int codedHalf(const ByteDigits& digits, std::size_t offset)
{
    const ByteDigits half{digits[offset], digits[offset + 2], digits[offset + 4], digits[offset + 6],
                          '0', '1', '1', '1'};
    return getdec2(half);
}

struct CodedChannel {
    int left = 0;
    int right = 0;
};

CodedChannel encodeChannel(int value)
{
    const ByteDigits digits = digitsOf(value);
    return {codedHalf(digits, 0), codedHalf(digits, 1)};
}

// Interleaves the top four digits of the left and right values: a1 b1 a2 b2 a3 b3 a4 b4.
int decodeChannel(int left, int right)
{
    const ByteDigits a = digitsOf(left);
    const ByteDigits b = digitsOf(right);
    const ByteDigits interleaved{a[0], b[0], a[1], b[1], a[2], b[2], a[3], b[3]};
    return getdec2(interleaved);
}

int sideAsInt16(int side)
{
    return clampToInt16(side);
}

} // namespace

void digitalEncode(WorkingPicture& picture)
{
    const int width = sideAsInt16(picture.width());
    for (int x = 1; x <= width; x += 2) {
        const int height = sideAsInt16(picture.height());
        for (int y = 1; y <= height; ++y) {
            const ColourComponents source = readComponents(picture, x, y);
            const CodedChannel red = encodeChannel(source.red);
            const CodedChannel green = encodeChannel(source.green);
            const CodedChannel blue = encodeChannel(source.blue);
            picture.setColour(x, y, colourNumber(red.left, green.left, blue.left));
            picture.setColour(x + 1, y, colourNumber(red.right, green.right, blue.right));
        }
    }
    picture.commit();
}

void digitalDecode(WorkingPicture& picture)
{
    const int height = sideAsInt16(picture.height());
    std::optional<ColourComponents> previous;
    ColourComponents blend{0, 0, 0};
    for (int y = 1; y <= height; ++y) {
        const int width = sideAsInt16(picture.width());
        for (int x = 1; x <= width; x += 2) {
            const ColourComponents left = readComponents(picture, x, y);
            const ColourComponents right = readComponents(picture, x + 1, y);
            const ColourComponents decoded{decodeChannel(left.red, right.red),
                                           decodeChannel(left.green, right.green),
                                           decodeChannel(left.blue, right.blue)};
            if (previous) {
                blend = {static_cast<int>(divideRoundHalfEven(decoded.red + previous->red, 2)),
                         static_cast<int>(divideRoundHalfEven(decoded.green + previous->green, 2)),
                         static_cast<int>(divideRoundHalfEven(decoded.blue + previous->blue, 2))};
            }
            picture.setColour(x + 1, y, colourNumber(decoded));
            picture.setColour(x, y, colourNumber(blend));
            previous = decoded;
        }
    }
    picture.commit();
}

} // namespace tonobild
