// The picture assembler: takes the normalised values one per pixel group,
// decides which are line syncs and places the others in one of three ways:
// painted at once ("HSync" unticked), collected in the line buffer and painted
// at the next sync (buffered lines), or collected and filed by their
// identification code at the next sync (identified lines, "Use LIC").
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

#include "common/working_state.h"
#include "decoder/decoder_controls.h"
#include "decoder/line_identification.h"
#include "picture/working_picture.h"

namespace tonobild {

class PictureAssembler {
public:
    PictureAssembler(WorkingPicture& picture, WorkingState& state, const DecoderControls& controls,
                     LineIdentification& identification)
        : picture_(picture), state_(state), controls_(controls), identification_(identification)
    {
    }

    // A new decode: xsiz groups per line, H rows, YShift; the pass count starts at 0.
    void begin(int xsiz, int rows, int yshift) noexcept;

    // Places one value. Answers false when the decode ends here: the row
    // counter wrapped for the third time without "Use LIC".
    bool placeValue(std::int16_t value)
    {
        return pendValues(std::span<const std::int16_t>(&value, 1)) == 1 || placeOtherValue(value);
    }

    // Most values are picture values of a buffered line: no sync, no wrap;
    // they only go into the line buffer, or are dropped past the line's end.
    // They wait among the pending values, which join the line buffer before
    // any other value is placed. Takes such values from the start of values
    // while they come, and answers how many; the next is for placeValue().
    std::size_t pendValues(std::span<const std::int16_t> values) noexcept
    {
        // In locals: a character stored may alias the members.
        const int from = pendingFrom_;
        const int room = pendingRoom_;
        int count = pendingCount_;
        std::size_t taken = 0;
        while (taken < values.size() && values[taken] >= from && count < room)
            pending_[static_cast<std::size_t>(count++)] = static_cast<char>(std::clamp<int>(values[taken++], 0, 255));
        pendingCount_ = count;
        return taken;
    }

    // Appends the pending values to the line buffer and counts them in the
    // column counter; then watchForPending(). The decoder calls it before each
    // progress step and at the end of every block, so that the line buffer
    // and the counter are whole whenever the host looks.
    void handOverPending()
    {
        state_.linebuf.append(pending_.data(), static_cast<std::size_t>(pendingCount_));
        state_.xpos = static_cast<std::int16_t>(state_.xpos + static_cast<int>(pendingCount_));
        pendingCount_ = 0;
        watchForPending();
    }

    // Reads what decides which values may pend: "HSync", the sync threshold,
    // the row and the room left in the line. The decoder calls it wherever
    // the host may have changed them: at the start of every block and after
    // each progress step.
    void watchForPending() noexcept;

    // The sync check. luma is the value (the buffered painter leaves the last
    // painted value in it), xcount the column counter; synched becomes 1 when a
    // buffered line was painted.
    void checklinesync(int& luma, std::int16_t& xcount, int xsiz, int& synched);

    // Paints v at (x, y) unless the pixel's blue byte is set: the value is
    // shifted in as the low byte, after compand when "Compand" is ticked.
    void paint(int& v, int x, int y);

    int xsiz() const noexcept { return xsiz_; }
    int rows() const noexcept { return rows_; }
    int passCount() const noexcept { return passCount_; }

private:
    static constexpr int kLineTail = 5; // the last five groups of a line are never placed
    static constexpr int kNothingPends = std::numeric_limits<int>::max(); // a threshold no value reaches

    bool placeOtherValue(int value);
    bool placeAnyValue(int value);
    void countDownYShift();
    void paintBufferedLine(int& luma);

    WorkingPicture& picture_;
    WorkingState& state_;
    const DecoderControls& controls_;
    LineIdentification& identification_;
    int xsiz_ = 0;
    int rows_ = 0;
    int yshiftCountdown_ = 0;
    int passCount_ = 0;
    // Values of the line not yet in the line buffer. Appending to a string
    // costs a capacity check and a terminating zero per character; collecting
    // them here first makes the decode of a long file about 7 % faster.
    std::array<char, 256> pending_{};
    int pendingCount_ = 0;
    // Values from pendingFrom_ up pend while fewer than pendingRoom_ do; a
    // value that does not is placed by placeOtherValue().
    int pendingFrom_ = 0;
    int pendingRoom_ = 0;
};

} // namespace tonobild
