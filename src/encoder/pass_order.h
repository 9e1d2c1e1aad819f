// The order in which the encoder sends the picture: three colour passes (two
// with "Mono Image") of lines that open with a start marker and the line's
// identification code and close with a sync run, then the closing group.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "picture/working_picture.h"

namespace tonobild {

struct EncoderSettings;
struct EncoderControls;

// xpos is the group within the line, ypos the row counter, pass the pass;
// line counts the lines sent, whose code digits getbin gives at every line
// wrap. The pixels and "Compand" are read as the values are worked out.
class PassOrder {
public:
    PassOrder(const EncoderSettings& settings, PixelGrid grid, const EncoderControls& controls);

    // Works out the values of the next groups into values, as many as fit
    // until the closing group is out, and answers how many.
    std::size_t fill(std::span<std::int16_t> values);

    // A new look at the picture, which may change between two fills.
    void look(PixelGrid grid) noexcept { grid_ = grid; }

    int pass() const noexcept { return pass_; }
    int ypos() const noexcept { return ypos_; }

private:
    static constexpr int kClosed = 3; // the pass once the closing group is out

    std::int16_t nextValue();
    int lineOpening(int x) const noexcept;
    std::size_t plainGroupsAhead() const noexcept;
    void fillPlain(std::span<std::int16_t> values) noexcept;

    int width_;
    int height_;
    int step_;
    int pass_;
    int xpos_ = 0;
    int ypos_ = 0;
    int line_ = 0;
    std::string code_;
    PixelGrid grid_;
    const EncoderControls& controls_;
};

} // namespace tonobild
