// Line identification: getdec, the inset and the start-marker search, LIC Lock
// counting. The rebuild and the picture assembler are shown by whole decodes.
#include <gtest/gtest.h>

#include "decode_support.h" // with the line identification

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
    DecoderControls controls;
    WorkingState state{};
    RecordingHost host{controls};
    LineIdentification identification{state, controls, host};
};

} // namespace

TEST(Getdec, LeastSignificantFirstAndOnlyAbove128)
{
    for (const auto& [digits, value] : {std::pair{std::string{char(255), 0, char(255), 0, 0, 0, 0, 0, 0, 0, 0}, 5},
                                        {std::string(11, char(128)), 0}, {std::string(11, char(129)), 2047},
                                        {std::string(), 0}}) {
        std::int32_t n = -1;
        getdec(digits, n);
        EXPECT_EQ(n, value) << digits.size();
    }
}

TEST(Identification, InsetsMarkerSearchAndFiling)
{
    // Sync, 150, 200: at threshold 128 the pair (sync, 150) is the marker, with "Compand" (192) the pair (150, 200).
    const std::string twoMarkers = std::string(7, char(0)) + char(150) + char(200) + lineBuffer(9).substr(8);
    const auto highs = [](int n, char high, std::string rest) { return std::string(std::size_t(n), high) + rest; };
    // cut: characters dropped from the front; slot: the one slot filed, -1 for none.
    const struct { int inset; bool compand, lock; std::string buffer; std::size_t cut; bool taken; int slot; } cases[] = {
        {8, false, false, lineBuffer(300).substr(1), 0, true, 300}, // no lock: the code at the inset, all filed
        {1, false, false, lineBuffer(300).substr(8), 0, true, 300}, // inset 1: the code from the first character
        {8, false, false, std::string(7, char(200)), 0, true, -1},  // the buffer ends where the code would start
        {4, false, true, lineBuffer(1234), 5, true, 1234},          // "4-lock": from sync six on
        {7, false, true, lineBuffer(1234), 6, true, 617},           // marker at once, code from the second digit
        {1, false, true, lineBuffer(77), 5, true, 77},              // small insets drop to the marker, put sync six back
        {6, false, true, lineBuffer(77), 5, true, 77},
        {4, false, true, twoMarkers, 5, true, 19},
        {4, true, true, twoMarkers, 6, true, 9},
        {4, false, true, lineBuffer(1440), 5, true, 1440}, // the last slot; numbers outside the store:
        {4, false, true, lineBuffer(0), 5, true, -1},
        {4, false, true, lineBuffer(1441), 5, true, -1},
        {10, false, true, std::string(9, char(0)), 0, false, -1}, // too short for the inset
        {4, false, true, std::string(10, char(0)), 3, false, -1}, // too short after it
        // No marker: dropped to fewer than 8, from the front.
        {4, false, true, std::string(4, char(200)) + std::string(16, char(150)), 13, false, -1},
        // The character after the eleven digits is high: it is no part of the code.
        {4, false, true, lineBuffer(300).substr(0, 19) + std::string(5, char(255)), 5, true, 300},
        // A buffer exactly as long as the inset passes the first test and is cut to one character.
        {10, false, true, std::string(10, char(0)), 9, false, -1},
        // Exactly 8 characters after the inset: searched; the marker pair opens them, code 1 from position 4.
        {4, false, true, highs(3, char(200), {0, char(255), 0, char(255), 0, 0, 0, 0}), 3, true, 1},
        // 8 characters, the pair one further on: one dropped and put back, code 2.
        {4, false, true, highs(4, char(200), {0, char(255), 0, char(255), 0, 0, 0}), 3, true, 2},
        // 8 characters, the pair two further on: after one drop only 7 are left.
        {4, false, true, highs(5, char(200), {0, char(255), 0, 0, 0, 0}), 4, false, -1},
        // 127 is low and 128 high without "Compand"; 191 low and 192 high with it.
        {4, false, true, highs(3, char(200), {char(127), char(128), 0, char(255), 0, 0, 0, 0, 0, 0, 0}), 3, true, 1},
        {4, true, true, highs(3, char(200), {char(191), char(192), 0, char(255), 0, 0, 0, 0, 0, 0, 0}), 3, true, 1},
        // Without "Compand" 128 is high: (128, 200) is no marker, (0, 255) is; the 200 before it is put back, code 1.
        {4, false, true, highs(3, char(200), {char(128), char(200), 0, char(255), char(255), 0, 0, 0, 0}), 4, true, 1},
        // With "Compand" 128 is low: (0, 128) is no marker, (128, 200) is; the 0 is dropped and put back, code 2.
        {4, true, true, highs(3, char(250), {0, char(128), char(200), 0, char(255), 0, 0, 0, 0, 0, 0, 0}), 3, true, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << &c - cases);
        Identifier id{.controls = {.licLock = c.lock, .compand = c.compand, .licInset = c.inset}};
        id.state.liclockcount = 3;
        id.state.linebuf = c.buffer;
        EXPECT_EQ(id.identification.identifyAndFile(), c.taken);
        EXPECT_EQ(std::pair(id.state.linebuf, std::ranges::count_if(id.state.linestore, [](const auto& s) { return !s.empty(); })),
                  std::pair(c.buffer.substr(c.cut), std::ptrdiff_t{c.slot >= 0 ? 1 : 0}));
        EXPECT_TRUE(c.slot < 0 || id.state.linestore[static_cast<std::size_t>(c.slot)] == id.state.linebuf);
        EXPECT_EQ(std::tuple(id.state.liclockcount, id.host.licLockChanges.empty()), std::tuple(3, true));
    }
}

TEST(Identification, ThirdCodeTicksLicLockAgain)
{
    Identifier id{.controls = {.licLock = false}}; // as the decode leaves it at its start, no code read
    for (int line = 1; line <= 4; ++line) {
        id.state.linebuf = lineBuffer(line);
        EXPECT_TRUE(id.identification.identifyAndFile());
    }
    EXPECT_EQ(std::tuple(id.state.liclockcount, id.host.licLockChanges, id.identification.relocked()),
              std::tuple(3, std::vector<bool>{true}, true));
    // Unaligned, "4-lock" reads four syncs, the marker and six digits: 16 + 32 * (n mod 64).
    // The fourth is read aligned.
    EXPECT_EQ((std::vector{id.state.linestore[16 + 32 * 1], id.state.linestore[16 + 32 * 3], id.state.linestore[4]}),
              (std::vector{lineBuffer(1), lineBuffer(3), lineBuffer(4).substr(5)}));
}

// Stored lines shorter than 70 characters count as missing: the row takes the
// previous row's line of that pass. Two rows of 20 positions: position j lands
// at column j + 1 of rows 2 and 3; positions 1 to 12 are blanked to code 1.
TEST(Rebuild, ALineOf69CharactersIsMissingAndOneOf70IsUsed)
{
    DecoderBench b(30, 5);
    b.state.xmult = 1;
    b.state.linestore[1] = std::string(70, char(50)); // blue, row 2
    b.state.linestore[2] = std::string(69, char(90)); // blue, row 3: short, row 2's is used
    b.state.linestore[3] = std::string(69, char(77)); // green, row 2: short, nothing before it
    b.state.linestore[4] = std::string(70, char(90)); // green, row 3
    ASSERT_TRUE(rebuildFromLineStore(b.picture, b.state, b.controls, b.host, 20, 2));
    EXPECT_EQ(b.host.rebuiltRows, 2);
    // Colour numbers: blue * 65536 + green * 256 + red.
    for (int x = 0; x < 30; ++x) {
        const bool painted = x >= 2 && x <= 21;
        const bool blank = x <= 13;
        EXPECT_EQ(b.picture.colour(x, 2), !painted ? 0 : (blank ? 1 * 65536 : 50 * 65536)) << x;
        EXPECT_EQ(b.picture.colour(x, 3), !painted ? 0 : (blank ? 1 * 65536 + 1 * 256 : 50 * 65536 + 90 * 256)) << x;
        for (int y : {0, 1, 4})
            EXPECT_EQ(b.picture.colour(x, y), 0) << x << "," << y;
    }
}
