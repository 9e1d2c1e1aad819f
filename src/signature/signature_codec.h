// The digital signature inside the picture: a band of black and white cells in
// the top rows, one column of eight cells per character, that tells the
// receiver the class of transmitter and the sender's codeword.
//
// Texts here are single-byte (Latin-1): one char per character code 0 to 255.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "common/working_state.h"
#include "picture/working_picture.h"

namespace tonobild {

// Eight binary digits '0' / '1' of a character code, most significant first.
using ByteDigits = std::array<char, 8>;

// The eight binary digits of a character code (code 65 gives 01000001), read
// off its bits from the highest down. Inline: the digital coding calls it six
// times per pixel pair.
inline ByteDigits getbin2(unsigned char code) noexcept
{
    ByteDigits digits{};
    for (std::size_t i = 0; i < digits.size(); ++i)
        digits[i] = static_cast<char>('0' + ((code >> (7 - i)) & 1));
    return digits;
}

// The number that the first eight digits of a binary digit string write, most
// significant first; any character other than '1' is a zero digit, a shorter
// string is read as the leading digits ("11" gives 192), an empty one gives 0.
// Digits beyond the eighth would weigh 0.5, 0.25, ... and round to nothing, so
// only the first eight are looked at.
inline int getdec2(std::string_view bin) noexcept
{
    const std::size_t counted = bin.size() < 8 ? bin.size() : 8;
    int dec = 0;
    for (std::size_t i = 0; i < counted; ++i)
        dec |= static_cast<int>(bin[i] == '1') << (7 - i);
    return dec;
}

inline int getdec2(const ByteDigits& bin) noexcept
{
    return getdec2(std::string_view(bin.data(), bin.size()));
}

// Searches the picture for a stamped signature and answers the characters read
// between the start marker (code 32) and the end marker (code 1); sets sigfound
// to 1 when a start marker was found, else to 0 and answers an empty code.
// "Compand" raises the reading threshold of a cell's green component from 128 to 192.
std::string getcode(const WorkingPicture& picture, WorkingState& state, bool compand);

// Stamps the signature text, framed by the start and end markers, into the
// signature strip (rows 0 to 9 at scale 1, full width), unless getcode finds a
// signature already there.
void putcode(WorkingPicture& picture, WorkingState& state, bool compand);

// The read-out for the code read: "Class of transmitter: <class>\r\nIdentification: <codeword>",
// or the code itself when it is shorter than three characters or does not start with a space.
// Control characters read from the picture are shown by their code, as "<00>".
std::string formatSignatureCaption(const std::string& code);

// The read-out on one line: "\r\n" becomes "; ".
std::string oneLineReadOut(std::string_view caption);

// The codeword of a signature text read: what follows its space and class letter; empty without one.
std::string codewordOf(std::string_view code);

// The longest signature text a receiver reads back whole from a transmission
// of groupsPerLine groups a line at the column step: the received picture
// holds the columns up to 13 groups before the end of a line, and the end
// marker's column must be one of them.
int longestReadableSignature(int groupsPerLine, int columnStep) noexcept;

// The signature read-out (Label15_Click): getcode, then formatSignatureCaption.
std::string readSignatureCaption(const WorkingPicture& picture, WorkingState& state, bool compand);

} // namespace tonobild
