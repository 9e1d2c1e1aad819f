// Line identification: getdec, the inset and the start-marker search, LIC Lock
// counting. The rebuild and the picture assembler are shown by whole decodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "decode_support.h"
#include "decoder/line_identification.h"

using namespace tonobild;
using namespace tonobild::decodetest;

namespace {

// A line buffer as a sync at the first group of the sync run leaves it: seven
// sync groups, the start marker, the code (least significant digit first), two
// guards and picture values.
std::string lineBuffer(int n)
{
    std::string line = std::string(7, char(0)) + char(255);
    for (int i = 0; i < 11; ++i)
        line.push_back(((n >> i) & 1) ? char(255) : char(0));
    return line + std::string(2, char(0)) + std::string(100, char(90));
}

struct Identifier {
    Identifier() : host(controls), identification(state, controls, host) {}
    DecoderControls controls;
    WorkingState state;
    RecordingHost host;
    LineIdentification identification;
};

} // namespace

TEST(Getdec, LeastSignificantFirstAndOnlyAbove128)
{
    std::int32_t n = -1;
    getdec(std::string{char(255), 0, char(255), 0, 0, 0, 0, 0, 0, 0, 0}, n);
    EXPECT_EQ(n, 5);
    getdec(std::string(11, char(128)), n);
    EXPECT_EQ(n, 0);
    getdec(std::string(11, char(129)), n);
    EXPECT_EQ(n, 2047);
    getdec(std::string(), n);
    EXPECT_EQ(n, 0);
}

TEST(Identification, InsetsMarkerSearchAndFiling)
{
    // Sync, 150, 200: at threshold 128 the pair (sync, 150) is the marker, with "Compand" (192) the pair (150, 200).
    const std::string twoMarkers = std::string(7, char(0)) + char(150) + char(200) + lineBuffer(9).substr(8);
    const struct {
        int inset;
        bool compand, lock;
        std::string buffer;
        std::size_t cut; // characters dropped from the front
        bool taken;
        int slot; // the one slot filed, -1 for none
    } cases[] = {
        {8, false, false, lineBuffer(300).substr(1), 0, true, 300}, // no lock: the code at the inset, all filed
        {4, false, true, lineBuffer(1234), 5, true, 1234},          // "4-lock": from sync six on
        {7, false, true, lineBuffer(1234), 6, true, 617},           // marker at once, code from the second digit
        {1, false, true, lineBuffer(77), 5, true, 77},              // small insets drop to the marker, put sync six back
        {6, false, true, lineBuffer(77), 5, true, 77},
        {4, false, true, twoMarkers, 5, true, 19},
        {4, true, true, twoMarkers, 6, true, 9},
        {4, false, true, lineBuffer(0), 5, true, -1}, // numbers outside the store
        {4, false, true, lineBuffer(1441), 5, true, -1},
        {10, false, true, std::string(9, char(0)), 0, false, -1}, // too short for the inset
        {4, false, true, std::string(10, char(0)), 3, false, -1}, // too short after it
        {4, false, true, std::string(20, char(200)), 13, false, -1}, // no marker: dropped to fewer than 8
    };
    for (const auto& c : cases) {
        Identifier id;
        id.state.liclockcount = 3;
        id.controls.licInset = c.inset;
        id.controls.compand = c.compand;
        id.controls.licLock = c.lock;
        id.state.linebuf = c.buffer;
        EXPECT_EQ(id.identification.identifyAndFile(), c.taken) << c.inset << " " << c.buffer.size();
        EXPECT_EQ(id.state.linebuf, c.buffer.substr(c.cut)) << c.inset << " " << c.buffer.size();
        EXPECT_EQ(std::ranges::count_if(id.state.linestore, [](const auto& s) { return !s.empty(); }),
                  c.slot >= 0 ? 1 : 0) << c.inset << " " << c.buffer.size();
        if (c.slot >= 0) {
            EXPECT_EQ(id.state.linestore[static_cast<std::size_t>(c.slot)], id.state.linebuf) << c.slot;
        }
        EXPECT_EQ(id.state.liclockcount, 3);
        EXPECT_TRUE(id.host.licLockChanges.empty());
    }
}

TEST(Identification, ThirdCodeTicksLicLockAgain)
{
    Identifier id;
    id.controls.licLock = false; // as the decode leaves it at its start
    id.state.liclockcount = 0;
    for (int line = 1; line <= 4; ++line) {
        id.state.linebuf = lineBuffer(line);
        EXPECT_TRUE(id.identification.identifyAndFile());
    }
    EXPECT_EQ(id.state.liclockcount, 3);
    EXPECT_EQ(id.host.licLockChanges, (std::vector<bool>{true}));
    EXPECT_TRUE(id.identification.relocked());
    // Unaligned, "4-lock" reads four syncs, the marker and six digits: 16 + 32 * (n mod 64).
    EXPECT_EQ(id.state.linestore[16 + 32 * 1], lineBuffer(1));
    EXPECT_EQ(id.state.linestore[16 + 32 * 3], lineBuffer(3));
    EXPECT_EQ(id.state.linestore[4], lineBuffer(4).substr(5)); // the fourth is read aligned
}
