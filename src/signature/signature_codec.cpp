#include "signature/signature_codec.h"

#include <algorithm>

#include "common/compand.h"

namespace tonobild {

namespace {

constexpr char kStartMarker = 32;
constexpr char kEndMarker = 1;
constexpr int kStampRows = 9;        // the strip covers rows 0 to 9 at scale 1
constexpr int kFirstCellStep = 18;   // character i (counted from 1) sits at step i + 17
constexpr int kCellStepsWide = 4;    // each cell rectangle spans four steps
constexpr int kSearchSteps = 100;    // the start marker is searched over steps 1 to 101
constexpr int kLargestRowShift = 4;  // five passes, moved up by 0 to 4 rows
constexpr int kLastStepBeforeStop = 1024;
constexpr int kUnreadTailGroups = 13; // the sync run and the groups the receiver's line end swallows

// The character code written by the eight cells of the column read at step L.
int readCharacter(const WorkingPicture& picture, int scale, int step, int rowShift, int threshold)
{
    ByteDigits digits{};
    for (int k = 1; k <= 8; ++k) {
        const int green = splitColour(picture.colour(2 * scale * step, scale * k - rowShift)).green;
        digits[static_cast<std::size_t>(k - 1)] = green >= threshold ? '1' : '0';
    }
    return getdec2(digits);
}

std::string className(char letter)
{
    switch (letter) {
    case 'A':
        return "Amateur";
    case 'C':
        return "Commercial";
    case 'T':
        return "Technician";
    case 'P':
        return "Programmer";
    default:
        return {};
    }
}

bool isControlCharacter(unsigned char c)
{
    return c < 32 || (c >= 127 && c < 160);
}

// The code with every control character written as its code in hex, so that a
// read-out never prints a NUL or an escape sequence raw.
std::string printable(const std::string& code)
{
    static const char* const kHex = "0123456789ABCDEF";
    std::string shown;
    for (const char c : code) {
        const auto u = static_cast<unsigned char>(c);
        if (isControlCharacter(u))
            shown += {'<', kHex[u >> 4], kHex[u & 15], '>'};
        else
            shown += c;
    }
    return shown;
}

} // namespace

int longestReadableSignature(int groupsPerLine, int columnStep) noexcept
{
    // The framed text's last character, the end marker, stands at step length + 19, column twice that.
    const int lastReadColumn = (groupsPerLine - kUnreadTailGroups) * columnStep;
    return std::max(0, lastReadColumn / 2 - (kFirstCellStep + 1));
}

std::string getcode(const WorkingPicture& picture, WorkingState& state, bool compand)
{
    const int scale = state.sigscale;
    const int threshold = readingThreshold(compand);
    std::string code;
    state.sigfound = 1;
    int step = 0;
    int rowShift = 0;
    bool found = false;
    int count = 0;
    for (;;) {
        count = found ? count + 1 : 0;
        ++step;
        const int c = readCharacter(picture, scale, step, rowShift, threshold);
        if (c == kStartMarker && !found) {
            found = true;
            count = 1;
        }
        if (found && c == kEndMarker)
            return code;
        if (count > 1)
            code += static_cast<char>(c);
        if (step > kLastStepBeforeStop)
            return code;
        if (count == 0 && step > kSearchSteps) {
            if (rowShift >= kLargestRowShift) {
                state.sigfound = 0;
                return code;
            }
            ++rowShift;
            step = 0;
        }
    }
}

void putcode(WorkingPicture& picture, WorkingState& state, bool compand)
{
    getcode(picture, state, compand);
    if (state.sigfound == 1)
        return;

    const int scale = state.sigscale;
    const std::string framed = kStartMarker + state.signature + kEndMarker;
    picture.fillBox(0, 0, picture.width(), kStampRows * scale, kBlack);
    for (std::size_t index = 0; index < framed.size(); ++index) {
        const long long step = static_cast<long long>(index) + kFirstCellStep;
        const long long left = 2LL * scale * step;
        if (left >= picture.width())
            break; // this and every later cell lie beyond the right edge
        const int right = static_cast<int>(2LL * scale * (step + kCellStepsWide));
        const ByteDigits digits = getbin2(static_cast<unsigned char>(framed[index]));
        for (int k = 1; k <= 8; ++k) {
            const ColourNumber colour = digits[static_cast<std::size_t>(k - 1)] == '1' ? kWhite : kBlack;
            picture.fillBox(static_cast<int>(left), scale * k, right, scale * (k + 1), colour);
        }
    }
}

std::string formatSignatureCaption(const std::string& code)
{
    if (code.size() < 3 || code[0] != ' ')
        return printable(code);
    return "Class of transmitter: " + className(code[1]) + "\r\nIdentification: " + printable(code.substr(2));
}

std::string readSignatureCaption(const WorkingPicture& picture, WorkingState& state, bool compand)
{
    return formatSignatureCaption(getcode(picture, state, compand));
}

std::string oneLineReadOut(std::string_view caption)
{
    std::string line;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption.substr(i, 2) == "\r\n") {
            line += "; ";
            ++i;
        } else {
            line += caption[i];
        }
    }
    return line;
}

std::string codewordOf(std::string_view code)
{
    if (code.size() < 3 || code.front() != ' ')
        return {};
    return std::string(code.substr(2));
}

} // namespace tonobild
