#include "decoder/picture_assembler.h"

#include "common/compand.h"
#include "common/numbers.h"
#include "picture/colour.h"

namespace tonobild {

namespace {

constexpr int kSyncFloor = -64;   // Dynamic Sync keeps the threshold within -64..32
constexpr int kSyncCeiling = 32;
constexpr int kFewestBeforeSync = 10; // without "Idler" a line needs 10 values before a sync
constexpr int kIdlerSyncRun = 7;      // with "Idler" a sync comes in the last 7 positions
constexpr std::size_t kLongestLine = 1000;
constexpr int kPassesWithoutLic = 3;
constexpr ColourNumber kBlueByteSet = 65535;

std::int16_t as16(int value) noexcept
{
    return static_cast<std::int16_t>(value);
}

} // namespace

void PictureAssembler::begin(int xsiz, int rows, int yshift) noexcept
{
    xsiz_ = xsiz;
    rows_ = rows;
    yshiftCountdown_ = -yshift;
    passCount_ = 0;
    pendingCount_ = 0;
    // Nothing pends before the options are read: the first value is placed the long way.
    pendingFrom_ = kNothingPends;
    pendingRoom_ = 0;
}

void PictureAssembler::watchForPending() noexcept
{
    // A value pends while the column counter, counting the values pending
    // before it, stays clear of the line's last groups.
    const bool buffering = controls_.hsync && state_.ypos <= rows_;
    pendingFrom_ = buffering ? state_.syncthresh : kNothingPends;
    pendingRoom_ = buffering ? std::clamp(xsiz_ - kLineTail - state_.xpos, 0, static_cast<int>(pending_.size())) : 0;
}

bool PictureAssembler::placeOtherValue(int value)
{
    handOverPending();
    if (value < pendingFrom_) { // a sync, or no buffered line to pend in
        const bool goOn = placeAnyValue(value);
        watchForPending();
        return goOn;
    }
    // A picture value of a buffered line after a full hand-over, or past the line's end (dropped).
    const auto picture = static_cast<std::int16_t>(value);
    pendValues(std::span<const std::int16_t>(&picture, 1));
    return true;
}

bool PictureAssembler::placeAnyValue(int value)
{
    int synched = 0;
    checklinesync(value, state_.xpos, xsiz_, synched);
    if (synched == 1) {
        countDownYShift();
        state_.xpos = 0;
    }
    value = clampToRange(value, 0, 255);
    if (!controls_.hsync && state_.xpos + kLineTail == xsiz_) {
        state_.xpos = -kLineTail;
        state_.ypos = as16(state_.ypos + 1);
        countDownYShift();
    }
    if (state_.xpos + kLineTail >= xsiz_)
        return true; // past the line's end: dropped until the next sync
    state_.xpos = as16(state_.xpos + 1);
    if (state_.ypos > rows_) {
        ++passCount_;
        state_.ypos = as16(state_.ypos - rows_);
        if (!controls_.useLic && passCount_ == kPassesWithoutLic)
            return false;
    }
    if (controls_.hsync)
        state_.linebuf.push_back(static_cast<char>(value));
    else
        paint(value, state_.xmult * state_.xpos, state_.ypos);
    return true;
}

// YShift: the first lines are thrown away by clearing the picture and starting
// again at row 1 once the countdown reaches 0.
void PictureAssembler::countDownYShift()
{
    if (yshiftCountdown_ >= 0)
        return;
    ++yshiftCountdown_;
    if (yshiftCountdown_ == 0) {
        picture_.clear(kBlack);
        state_.ypos = 1;
    }
}

void PictureAssembler::checklinesync(int& luma, std::int16_t& xcount, int xsiz, int& synched)
{
    synched = 0;
    if (!controls_.hsync || luma >= state_.syncthresh)
        return;
    if (!controls_.idler && xcount < kFewestBeforeSync)
        return;
    if (controls_.idler && xcount < xsiz - kIdlerSyncRun)
        return;
    if (controls_.dynamicSync)
        state_.syncthresh = as16(clampToRange(luma + state_.synclevel, kSyncFloor, kSyncCeiling));
    if (state_.linebuf.size() > kLongestLine)
        state_.linebuf.resize(kLongestLine);
    if (!controls_.useLic) {
        synched = 1;
        paintBufferedLine(luma);
    } else if (!identification_.identifyAndFile()) {
        return; // not taken: buffer, row and column stay
    }
    state_.linebuf.clear();
    state_.ypos = as16(state_.ypos + 1);
    xcount = 0;
}

// Character i of the buffer goes to column i * xmult; luma is left holding the
// last character's value, companded when it was painted with "Compand".
void PictureAssembler::paintBufferedLine(int& luma)
{
    const std::string& buffer = state_.linebuf;
    for (std::size_t i = 0; i < buffer.size(); ++i) {
        luma = static_cast<unsigned char>(buffer[i]);
        paint(luma, static_cast<int>(i + 1) * state_.xmult, state_.ypos);
    }
}

void PictureAssembler::paint(int& v, int x, int y)
{
    const ColourNumber c = picture_.colour(x, y);
    if (c > kBlueByteSet)
        return;
    if (controls_.compand)
        v = expandCompanded(v);
    // A pixel left of the picture's edge that was painted from outside can hold
    // a negative number; the shift keeps the low 32 bits rather than overflow.
    const auto shifted = static_cast<ColourNumber>(static_cast<std::uint32_t>(c) * 256u + static_cast<std::uint32_t>(v));
    picture_.setColour(x, y, shifted);
    if (state_.xmult == 2)
        picture_.setColour(x - 1, y, shifted);
}

} // namespace tonobild
