// Line identification and rebuild: at every accepted sync the line buffer is
// aligned on the line's start marker ("LIC Lock"), its identification code is
// read and the whole buffer is filed in the line store under that number; when
// the file has been read the picture is rebuilt from the line store, each row
// taking blue, green and red from the three passes' lines of that row.
#pragma once

#include <cstdint>
#include <string>

#include "common/working_state.h"
#include "common/compand.h"
#include "decoder/decoder_controls.h"
#include "picture/working_picture.h"

namespace tonobild {

// The line number carried by identification digits, least significant first:
// a digit counts as 1 when its value is at least firstOne.
template <typename Digits>
std::int32_t lineNumberOf(const Digits& digits, unsigned firstOne) noexcept
{
    std::int32_t n = 0;
    int weight = 0;
    for (const auto digit : digits) {
        if (static_cast<unsigned char>(digit) >= firstOne)
            n += std::int32_t{1} << weight;
        ++weight;
    }
    return n;
}

// The line number of the code read from the line buffer: a character counts
// as 1 only when its code is above 128, also with compand on.
void getdec(const std::string& code, std::int32_t& n);

// The bit threshold of the start-marker search: a character at or above it is high.
constexpr unsigned markerThreshold(bool compand) noexcept
{
    return static_cast<unsigned>(readingThreshold(compand));
}

class LineIdentification {
public:
    LineIdentification(WorkingState& state, const DecoderControls& controls, DecoderHost& host)
        : state_(state), controls_(controls), host_(host)
    {
    }

    // Reads the code of linebuf and files linebuf under it. Answers whether the
    // sync is taken; what the alignment removed stays removed either way.
    bool identifyAndFile();

    // True once the third code of this decode has ticked "LIC Lock" again.
    bool relocked() const noexcept { return relocked_; }
    void begin() noexcept { relocked_ = false; }

private:
    bool alignOnStartMarker(int inset);
    void countCode();

    WorkingState& state_;
    const DecoderControls& controls_;
    DecoderHost& host_;
    bool relocked_ = false;
};

// Composes rows 2 to rows + 1 of the picture from the line store: slot i, rows
// + i and 2 * rows + i give blue, green and red of row i + 1; a missing or
// short line is replaced by the previous row's line of its pass. A mono
// transmission has no blue pass: slot i gives green and blue, slot rows + i
// red. Calls host.rebuildRow() once per row; answers false when the host
// abandoned it.
bool rebuildFromLineStore(WorkingPicture& picture, const WorkingState& state, const DecoderControls& controls,
                          DecoderHost& host, int xsiz, int rows, bool mono = false);

} // namespace tonobild
