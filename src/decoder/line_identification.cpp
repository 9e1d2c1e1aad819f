#include "decoder/line_identification.h"

#include <algorithm>
#include <array>

#include "picture/colour.h"

namespace tonobild {

namespace {

constexpr std::size_t kCodeDigits = 11;
constexpr std::size_t kShortestSearch = 8;  // the marker search needs 8 characters
constexpr int kAlignedInset = 4;            // after alignment the code follows the marker pair
constexpr int kCodesBeforeLock = 3;
constexpr std::size_t kShortestLine = 70;   // a shorter stored line counts as missing
constexpr std::size_t kBlankRun = 12;
constexpr char kBlankCharacter = 1;

unsigned code(char c) noexcept
{
    return static_cast<unsigned char>(c);
}

} // namespace

void getdec(const std::string& code, std::int32_t& n)
{
    n = lineNumberOf(code, 129);
}

bool LineIdentification::identifyAndFile()
{
    int inset = std::max(controls_.licInset, 1);
    if (controls_.licLock) {
        if (!alignOnStartMarker(inset))
            return false;
        inset = kAlignedInset;
    }
    countCode();
    std::int32_t n = 0;
    const auto from = static_cast<std::size_t>(inset - 1);
    if (from < state_.linebuf.size())
        getdec(state_.linebuf.substr(from, kCodeDigits), n);
    if (n >= 1 && n <= kLineStoreSlots)
        state_.linestore[static_cast<std::size_t>(n)].assign(state_.linebuf);
    return true;
}

// Drops the characters before the code's inset, then searches the start marker:
// a character below the bit threshold followed by one at or above it. The last
// character dropped by the search goes back in front, so the buffer opens with
// one character before the marker pair.
bool LineIdentification::alignOnStartMarker(int inset)
{
    std::string& buffer = state_.linebuf;
    if (buffer.size() < static_cast<std::size_t>(inset))
        return false;
    buffer.erase(0, static_cast<std::size_t>(inset - 1));
    if (buffer.size() < kShortestSearch)
        return false;
    const unsigned threshold = markerThreshold(controls_.compand);
    std::size_t dropped = 0;
    while (!(code(buffer[dropped]) < threshold && code(buffer[dropped + 1]) >= threshold)) {
        if (buffer.size() - dropped < kShortestSearch) {
            buffer.erase(0, dropped);
            return false;
        }
        ++dropped;
    }
    // Everything before the marker pair goes except the character just before it.
    if (dropped > 0)
        buffer.erase(0, dropped - 1);
    return true;
}

// "LIC Lock" ticks itself again once the third code of the decode has been read.
void LineIdentification::countCode()
{
    if (state_.liclockcount >= kCodesBeforeLock)
        return;
    ++state_.liclockcount;
    if (state_.liclockcount == kCodesBeforeLock) {
        relocked_ = true;
        host_.setLicLock(true);
    }
}

namespace {

// One pass's line for the row: the stored line, or the previous row's when it
// is missing or short; blanked at its start and its end.
void takeLine(const std::string& stored, std::string& line)
{
    if (stored.size() >= kShortestLine)
        line.assign(stored);
    if (line.empty())
        return;
    std::fill_n(line.begin(), std::min(kBlankRun, line.size()), kBlankCharacter);
    line.back() = kBlankCharacter;
}

} // namespace

bool rebuildFromLineStore(WorkingPicture& picture, const WorkingState& state, const DecoderControls& controls,
                          DecoderHost& host, int xsiz, int rows, bool mono)
{
    std::array<std::string, 3> lines;     // first, second, third pass; kept from row to row
    std::array<int, 3> components{0, 0, 0}; // kept from pixel to pixel when a line ends early
    const int step = state.xmult;
    for (int i = 1; i <= rows; ++i) {
        for (std::size_t pass = 0; pass < 3; ++pass)
            takeLine(state.linestore[static_cast<std::size_t>(static_cast<int>(pass) * rows + i)], lines[pass]);
        if (!host.rebuildRow())
            return false;
        for (int j = 1; j <= xsiz; ++j) {
            for (std::size_t pass = 0; pass < 3; ++pass) {
                if (static_cast<std::size_t>(j) <= lines[pass].size())
                    components[pass] = static_cast<int>(code(lines[pass][static_cast<std::size_t>(j - 1)]));
                if (controls.compand)
                    components[pass] = expandCompanded(components[pass]);
            }
            const ColourNumber colour = mono ? colourNumber(components[1], components[0], components[0])
                                             : colourNumber(components[2], components[1], components[0]);
            const int column = (j - 5) * step + 6;
            picture.setColour(column, i + 1, colour);
            if (step == 2)
                picture.setColour(column + 1, i + 1, colour);
        }
    }
    return true;
}

} // namespace tonobild
