#include "encoder/pass_order.h"

#include <algorithm>
#include <array>

#include "encoder/encoder.h"
#include "common/signal_format.h"

namespace tonobild {

namespace {

constexpr int kLineOpening = 14; // groups 0..14 after a wrap: the start marker and the code digits

// The colour component a pass sends: blue, then green, then red.
inline int passComponent(ColourNumber c, int pass) noexcept
{
    constexpr std::array<int, 4> kShift = {16, 8, 0, 0}; // the closing group (pass 3) is read as red
    if (c >= 0)
        return (c >> kShift[static_cast<std::size_t>(pass)]) & 0xFF;
    const ColourComponents parts = splitColour(c);
    if (pass == 0)
        return parts.blue;
    if (pass == 1)
        return parts.green;
    return parts.red;
}

} // namespace

PassOrder::PassOrder(const EncoderSettings& settings, PixelGrid grid, const EncoderControls& controls)
    : width_(settings.groupsPerLine()), height_(settings.pictureHeight), step_(settings.columnStep),
      pass_(settings.mono ? 1 : 0), grid_(grid), controls_(controls)
{
}

std::size_t PassOrder::fill(std::span<std::int16_t> values)
{
    std::size_t filled = 0;
    while (filled < values.size() && pass_ != kClosed) {
        const std::size_t plain = std::min(plainGroupsAhead(), values.size() - filled);
        if (plain > 0) {
            fillPlain(values.subspan(filled, plain));
            filled += plain;
        } else {
            values[filled++] = nextValue();
        }
    }
    return filled;
}

// The value of the next group, whatever it is. The colour is read before the
// pass change, so the start marker of a line may carry a colour from the row
// before; it never shows.
std::int16_t PassOrder::nextValue()
{
    const ColourNumber c = grid_.colour((xpos_ + 1) * step_, ypos_ + 1);
    if (ypos_ > height_) {
        ypos_ -= height_;
        ++pass_;
    }
    int value = passComponent(c, pass_);
    ++xpos_;
    const bool sync = xpos_ + kSyncRunGroups - 1 >= width_;
    if (xpos_ == width_) {
        xpos_ = 0;
        ++ypos_;
        ++line_;
        getbin(line_, code_);
    }
    if (xpos_ <= kLineOpening)
        value = lineOpening(xpos_);
    if (controls_.compand)
        value = compandValue(value);
    if (sync)
        value = kSyncValue;
    return static_cast<std::int16_t>(value);
}

// The start marker (a black and a white group) and the line's code digits.
int PassOrder::lineOpening(int x) const noexcept
{
    if (x == 0)
        return kBlackValue;
    if (x == 1)
        return kWhiteValue;
    const auto digit = static_cast<std::size_t>(x - 2);
    return digit < code_.size() && code_[digit] == '1' ? kWhiteValue : kBlackValue;
}

// How many of the next groups are plain picture groups of this line: no start
// marker, code digit, sync run or wrap (nor a pass change, which comes at a
// line's first group), and every pixel inside the picture. nextValue() gives
// each of them the pass's component of its pixel, companded with "Compand".
std::size_t PassOrder::plainGroupsAhead() const noexcept
{
    const int lastPlain = width_ - kSyncRunGroups - 1; // the sync run starts at the group after it
    if (xpos_ < kLineOpening || xpos_ > lastPlain)
        return 0;
    const int groups = lastPlain - xpos_ + 1;
    const int y = ypos_ + 1;
    if (!grid_.contains((xpos_ + 1) * step_, y) || !grid_.contains((xpos_ + groups) * step_, y))
        return 0;
    return static_cast<std::size_t>(groups);
}

void PassOrder::fillPlain(std::span<std::int16_t> values) noexcept
{
    // In locals, which the values written cannot touch; plainGroupsAhead()
    // found every pixel inside.
    const ColourNumber* const row = grid_.row(ypos_ + 1);
    const bool compand = controls_.compand;
    const int pass = pass_;
    const int step = step_;
    int x = (xpos_ + 1) * step;
    for (std::int16_t& value : values) {
        const int component = passComponent(row[x], pass);
        value = static_cast<std::int16_t>(compand ? compandValue(component) : component);
        x += step;
    }
    xpos_ += static_cast<int>(values.size());
}

} // namespace tonobild
