// The working-state record: the counters and decoder state that the encoder,
// the decoder and the signature codec share for the whole life of the window
// (or of one command line run). Every number is a 16-bit signed field, zero when the window opens.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace tonobild {

// Slots 1 to 1440 of the line store; slot 0 is never used.
constexpr int kLineStoreSlots = 1440;

struct WorkingState {
    std::int16_t sigscale = 0;     // cell scale of the signature stamp (1 from start-up on)
    std::int16_t sigfound = 0;     // 1 when the last signature search found a start marker
    std::int16_t xmult = 0;        // column step of the current encode or decode: 1 or 2
    std::int16_t xpos = 0;         // column counter of a decode (pixel group within the line)
    std::int16_t ypos = 0;         // row counter of a decode
    std::int16_t pixcount = 0;     // groups or ticks since the last progress step, carried from one command to the next

    std::int16_t normlevel = 0;    // normalising level of the current decode: 2 or 3
    std::int16_t syncthresh = 0;   // a value below it is a sync candidate
    std::int16_t synclevel = 0;    // Dynamic Sync offset: 8, 16 or 32
    std::int16_t liclockcount = 0; // identification codes read in this decode, up to 3
    std::int16_t stopreq = 0;      // -1 when STOP was pressed

    std::string linebuf;                                   // values since the last accepted sync
    std::array<std::string, kLineStoreSlots + 1> linestore; // identified lines by their code

    std::string signature;         // the signature text: a space, a class letter, the codeword; or empty
};

// Start-up's step on the working state: the signature is stamped and read at scale 1.
inline void startUp(WorkingState& state) noexcept
{
    state.sigscale = 1;
}

} // namespace tonobild
