// Whole decodes of clean streams from the station's own encoder, and of
// streams changed the way a recording changes them.
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <thread>

#include "soundfile/wav_header.h"
#include "common/file_error.h" // with std::invalid_argument
#include "decode_support.h"
#include "support/test_data.h" // with std::ofstream

using namespace tonobild;
using namespace tonobild::decodetest;

namespace {

// Counts the pixels in columns x0..x1 of rows y0..y1 that differ from expected(x, y), naming the first three.
int countDiffering(const WorkingPicture& decoded, int x0, int x1, int y0, int y1,
                   const std::function<ColourComponents(int, int)>& expected)
{
    int differing = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (const ColourComponents want = expected(x, y), got = splitColour(decoded.colour(x, y));
                got != want && ++differing <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << got.red << "/" << got.green << "/"
                              << got.blue << ", expected " << want.red << "/" << want.green << "/" << want.blue;
    return differing;
}

const DecodeSettings kLevel3{.normlevel = 3};

// A clean 160x120 stream at the default settings, and the picture it was made from.
const WorkingPicture kSource160 = testPicture(160, 120);
const std::vector<std::uint8_t>& stream160()
{
    static const std::vector<std::uint8_t> stream = encodeStream(kSource160);
    return stream;
}

// Level 2 decodes with "Idler"; rows 2 up to lastRowWithoutBlue keep the first pass at 0.
struct ModeCase { const char* name; int width, height; bool halfX, compand, mono, knownMono;
                  int normlevel, lastRowWithoutBlue; bool shortGreenRow2; };

} // namespace

// Identified lines: after "LIC Lock" aligns a line, buffer position j holds
// group j - 2 and lands at column (j - 5) * xmult + 6. Groups 15 to W - 13 come
// back (the line's last character is blanked), so source column k shows at
// column k + 3, or with "Half X" group k at columns 2k and 2k + 1. Rows 2 to
// H - 1 come back (row 1 is never sent, row H + 1 lies outside). The first
// lines are read before the lock engages and filed in wrong slots, which later
// lines overwrite, so their own slots stay empty: slots 1 and 2 at level 3
// (syncs at the first group of each sync run) or slot 1 alone at level 2 with
// "Idler" (the first syncs come one group late there). An empty slot leaves
// that row's blue at 0.
//
// Blue rows H and H + 1 lie outside the picture and go out as transmit value
// -1, which normalises to -85 at level 2, below the threshold of -64 the syncs
// have set: with "Idler" both lines are taken seven groups early, so the first
// green line's buffer is 14 groups short. It ends at column W - 24, the blank 1
// after it kept to the right; with "Half X" it has only 56 characters and
// counts as missing, leaving row 2's green at 0.
//
// A mono stream sends green and red only. Not known as mono, the rebuild takes
// them as blue and green; known as mono, as green and red, with blue taken from
// green (a grey picture comes back grey).
class IdentifiedLines : public testing::TestWithParam<ModeCase> {};

TEST_P(IdentifiedLines, RowsAndColumnsComeBackAtTheirPlaces)
{
    const ModeCase c = GetParam();
    const WorkingPicture source = testPicture(c.width, c.height);
    const auto stream = encodeStream(source, {.pictureWidth = c.width, .pictureHeight = c.height,
                                              .columnStep = c.halfX ? 2 : 1, .mono = c.mono}, c.compand);
    const auto result = decodeStream(stream, {.pictureWidth = c.width, .pictureHeight = c.height, .halfX = c.halfX,
                                              .normlevel = c.normlevel, .mono = c.knownMono},
                                     {.idler = c.normlevel == 2, .compand = c.compand});

    const std::int64_t ticks = 2 * static_cast<std::int64_t>(stream.size() / 4); // two per group
    EXPECT_EQ(std::tuple(result->end, result->host.licLockChanges, result->host.progressSteps, result->state.pixcount),
              std::tuple(DecodeEnd::EndOfFile, std::vector<bool>{false, true}, ticks / 1001, ticks % 1001));

    const int groups = c.halfX ? c.width / 2 : c.width;
    const auto expected = [&](int x, int y) {
        ColourComponents e = receivedColour(source.colour(c.halfX ? x - x % 2 : x - 3, y), c.normlevel, c.compand);
        if (c.mono) // green and red, sent as the first two passes
            e = c.knownMono ? ColourComponents{e.red, e.green, e.green} : ColourComponents{0, e.red, e.green};
        if (y <= c.lastRowWithoutBlue) // the first pass: blue, or green and blue when known as mono
            e = {e.red, c.knownMono ? 0 : e.green, 0};
        if (y == 2 && c.shortGreenRow2 && (c.halfX || x > groups - 24))
            e.green = c.halfX ? 0 : 1;
        return e;
    };
    const int lastColumn = c.halfX ? 2 * (groups - 13) + 1 : groups - 10;
    EXPECT_EQ(countDiffering(result->picture, c.halfX ? 30 : 18, lastColumn, 2, c.height - 1, expected), 0);
    // Rows 0 and 1 are never painted; the first 12 positions are blanked to code 1.
    EXPECT_EQ(countDiffering(result->picture, 0, c.width - 1, 0, 1, [](int, int) { return ColourComponents{}; }), 0);
    const int blank = c.compand ? 0 : 1;
    EXPECT_EQ(splitColour(result->picture.colour(c.halfX ? 20 : 13, c.height / 2)),
              (ColourComponents{c.mono && !c.knownMono ? 0 : blank, blank, blank}));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, IdentifiedLines,
    // Level 3 at 160 x 120 is the reference decode of the signed gradient (decoder_vectors_test.cpp).
    testing::Values(ModeCase{"Level3At640x480", 640, 480, false, false, false, false, 3, 3, false},
                    ModeCase{"Level2IdlerAt320x240", 320, 240, false, false, false, false, 2, 2, true},
                    ModeCase{"Level2IdlerHalfX", 160, 120, true, false, false, false, 2, 2, true},
                    // Companded zeros normalise to 85 at level 2: no early syncs, as at level 3.
                    ModeCase{"Level2IdlerCompand", 160, 120, false, true, false, false, 2, 3, false},
                    ModeCase{"Level2IdlerMono", 160, 120, false, false, true, false, 2, 2, false},
                    ModeCase{"Level3KnownMono", 160, 120, false, false, true, true, 3, 3, false},
                    ModeCase{"Level3KnownMonoCompand", 160, 120, false, true, true, true, 3, 3, false}),
    [](const testing::TestParamInfo<ModeCase>& modeCase) { return std::string(modeCase.param.name); });

// Buffered: syncs are accepted at the first group of each run; the buffer then holds the
// previous line's last value, six syncs, the marker, the code, the guards and groups 15 to 148,
// painted at columns 1 to 155. Companded, the marker (255 sent as 255) comes back 254. Buffered
// and direct painting of a plain stream are the reference decodes of decoder_vectors_test.cpp.
TEST(Decoder, BufferedPaintingOfACompandedStreamPlacesEveryColumn)
{
    const auto result = decodeStream(encodeStream(kSource160, {}, true), kLevel3, {.useLic = false, .compand = true});
    EXPECT_EQ(result->end, DecodeEnd::ThirdPass);
    EXPECT_EQ(countDiffering(result->picture, 22, 155, 2, 119,
                             [](int x, int y) { return receivedColour(kSource160.colour(x - 7, y), 3, true); }),
              0);
    EXPECT_EQ(std::pair(result->picture.colour(8, 60), result->picture.colour(156, 60)),
              std::pair(colourNumber(254, 254, 254), kBlack));
}

// Held samples, a recording's header before the stream, the lines in another
// order and half the volume.
TEST(Decoder, HeldRecordedReorderedAndHalfVolumeStreamsDecodeAsTheOriginal)
{
    const auto& stream = stream160();
    const auto header = recordingHeader();
    std::vector<std::uint8_t> recorded(header.begin(), header.end());
    recorded.insert(recorded.end(), stream.begin(), stream.end());
    // The stream cut into its leader, its 361 lines of 160 groups and the closing group; the
    // first lines set the lock going, all later ones follow in reverse.
    const std::ptrdiff_t leader = 4 * leaderGroups(5);
    ASSERT_EQ(stream.size(), static_cast<std::size_t>(leader + 361 * 640 + 4));
    std::vector<std::uint8_t> reversed(stream.begin(), stream.begin() + leader + 5 * 640);
    for (std::ptrdiff_t line = 360; line >= 5; --line)
        reversed.insert(reversed.end(), stream.begin() + leader + line * 640, stream.begin() + leader + (line + 1) * 640);
    reversed.insert(reversed.end(), stream.end() - 4, stream.end());
    for (bool useLic : {true, false}) {
        const DecoderControls controls{.useLic = useLic};
        const auto plain = decodeStream(stream, kLevel3, controls);
        EXPECT_TRUE(decodeStream(testdata::held(stream, 4), kLevel3, controls)->picture == plain->picture) << useLic;
        // Buffered lines paint the leader's first values into row 1, where the header's bytes show.
        const auto withHeader = decodeStream(recorded, kLevel3, controls)->picture.pixels();
        EXPECT_TRUE(std::equal(plain->picture.pixels().begin() + 2 * 160, plain->picture.pixels().end(),
                               withHeader.begin() + 2 * 160)) << useLic;
        // Identified lines are filed by their code, so each still lands in its row. (A missing or
        // short line taken from the row above: Rebuild.ALineOf69CharactersIsMissingAndOneOf70IsUsed.)
        EXPECT_TRUE(!useLic || decodeStream(reversed, kLevel3, controls)->picture == plain->picture);
    }
    // Same lines in the same places; halved swings are rounded to whole
    // samples, which moves a value by at most 255 / 64 * 1 (measured: 4).
    std::vector<std::uint8_t> quiet;
    for (std::uint8_t s : stream)
        quiet.push_back(static_cast<std::uint8_t>(roundHalfEven((s - 127.5) / 2 + 127.5)));
    const auto loud = decodeStream(stream, kLevel3), soft = decodeStream(quiet, kLevel3);
    int largest = 0;
    for (int y = 2; y < 120; ++y)
        for (int x = 18; x <= 150; ++x) {
            const ColourComponents a = splitColour(loud->picture.colour(x, y)), b = splitColour(soft->picture.colour(x, y));
            largest = std::max({largest, std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
        }
    EXPECT_TRUE(largest > 0 && largest <= 4) << largest;
}

TEST(Decoder, StopEndsAtTheProgressStepAndStillRebuilds)
{
    DecoderBench b;
    b.state.pixcount = 990; // left over from an earlier command: the first step comes early
    b.host.onProgress = [&](int step) { if (step == 2) requestStop(b.state); return true; };
    b.decoder.begin(kLevel3);
    MemorySamples samples(stream160());
    EXPECT_EQ(b.decoder.run(samples), DecodeEnd::Stopped);
    EXPECT_EQ(std::tuple(b.host.progressSteps, b.state.pixcount, b.state.stopreq), std::tuple(2, 1001, -1));
    // Stopped inside the leader, before any code: the rebuild still runs, and
    // "LIC Lock", unticked by the decode, is ticked again at the end.
    EXPECT_TRUE(b.decoder.finish() && b.controls.licLock);
    EXPECT_EQ(std::tuple(b.host.rebuiltRows, b.host.licLockChanges), std::tuple(120, std::vector<bool>{false, true}));
    b.decoder.begin(kLevel3); // the next decode clears the stop request
    EXPECT_EQ(b.state.stopreq, 0);
}

// A steady tone of one low and one high sample per cycle: the first cycle is
// flat (swing -1) and leaves the pair unstarted, every later one swings 254, so
// each two cycles after it give a value of 255. With "HSync" the values join
// the eight spaces that open the line buffer, and the column counter counts
// them, by each progress step and the end of each block; "HSync", changed at
// a step or between blocks, counts from the next value on (unticked, the
// values are painted at once).
TEST(Decoder, LineBufferAndColumnAreWholeAtEachStepAndBlockEndAndHSyncCountsFromTheNextValue)
{
    DecoderBench b;
    b.state.pixcount = 990; // the first step comes at the 11th tick, after 4 values
    std::tuple<std::string, int> atStep;
    b.host.onProgress = [&](int) {
        atStep = {b.state.linebuf, b.state.xpos};
        b.controls.hsync = false;
        return true;
    };
    b.decoder.begin(kLevel3);
    std::vector<std::uint8_t> cycles;
    for (int i = 0; i < 21; ++i)
        cycles.insert(cycles.end(), {0, 255});
    const std::string spaces(8, ' ');
    // In turn: "HSync" before the block, its cycles, then the white values in the buffer and the column.
    for (const auto& [hsync, n, white, xpos] : {std::tuple{true, 21, 4, 10}, {true, 20, 14, 20}, {false, 20, 14, 30}}) {
        b.controls.hsync = hsync;
        EXPECT_FALSE(b.decoder.feed(std::span(cycles).first(2 * n)));
        EXPECT_EQ(std::tuple(b.state.linebuf, b.state.xpos), std::tuple(spaces + std::string(white, char(255)), xpos));
    }
    // The first block's 10 values: 4 before the step, 6 painted after it.
    EXPECT_EQ(std::tuple(atStep, b.host.progressSteps), std::tuple(std::tuple(spaces + std::string(4, char(255)), 4), 1));
}

// A host that answers false (the window is closing) at the second progress step
// ends the decode there, not at the end of the block; answering false at the
// second rebuilt row ends the rebuild.
TEST(Decoder, AProgressStepOrRebuildRowAnsweredFalseAbandonsTheDecode)
{
    for (const bool atProgress : {true, false}) {
        DecoderBench b;
        (atProgress ? b.host.onProgress : b.host.onRebuild) = [](int n) { return n < 2; };
        b.decoder.begin(kLevel3);
        MemorySamples samples(stream160(), 4096);
        EXPECT_EQ(b.decoder.run(samples), atProgress ? DecodeEnd::Abandoned : DecodeEnd::EndOfFile);
        // Abandoned at the step, the count stands at 1001 there; not abandoned, the run
        // ends with 143084 ticks, 142 steps and 942 ticks over.
        EXPECT_EQ(std::tuple(b.host.progressSteps, b.state.pixcount),
                  atProgress ? std::tuple(2, 1001) : std::tuple(142, 942));
        EXPECT_TRUE(atProgress || (!b.decoder.finish() && b.host.rebuiltRows == 2)) << b.host.rebuiltRows;
    }
}

// A regular file of 2 MiB and 100 bytes, an empty file and a named pipe give
// every byte, in blocks of 64 KiB and a shorter last one; a missing file (which
// is not created) and a folder are errors.
TEST(SampleFile, FilesAndPipesGiveEveryByteInBlocksAndAMissingFileIsAnError)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tonobild-sample-blocks.raw";
    std::filesystem::remove(path);
    // A missing file (not created) and one that opens but cannot be read: the start of the
    // process's own memory is never mapped.
    for (const auto& [bad, opens] : {std::pair{path.string(), false}, {std::string("/proc/self/mem"), true}}) {
        bool opened = false;
        try {
            SampleFile file(bad);
            opened = true;
            file.nextBlock();
            ADD_FAILURE() << "read " << bad;
        } catch (const FileError& error) {
            EXPECT_EQ(std::tuple(opened, error.path(), error.reason().empty()), std::tuple(opens, bad, false));
        }
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_THROW(SampleFile(std::filesystem::temp_directory_path().string()), FileError);
    std::vector<std::uint8_t> large(2 * 1048576 + 100);
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<std::uint8_t>(i * 7 + (i >> 16) * 31); // each block differs
    std::vector<std::size_t> largeBlocks(32, 65536);
    largeBlocks.push_back(100);
    const struct { std::vector<std::uint8_t> bytes; std::vector<std::size_t> blocks; bool pipe; } cases[] = {
        {large, largeBlocks, false}, {{}, {}, false}, {{208, 47, 224, 31, 128, 0, 255}, {7}, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(!c.pipe || ::mkfifo(path.c_str(), 0600) == 0);
        std::thread writer([&] {
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
        });
        if (!c.pipe) // a named pipe opens only while its writer has it open
            writer.join();
        SampleFile file(path.string());
        std::vector<std::uint8_t> bytes;
        std::vector<std::size_t> sizes;
        for (auto block = file.nextBlock(); !block.empty(); block = file.nextBlock()) {
            sizes.push_back(block.size());
            bytes.insert(bytes.end(), block.begin(), block.end());
        }
        // Every byte, in those blocks, and the file stays at its end.
        EXPECT_EQ(std::tuple(bytes, sizes, file.nextBlock().empty()), std::tuple(c.bytes, c.blocks, true));
        if (writer.joinable())
            writer.join();
        std::filesystem::remove(path);
    }
}

// Started with "LIC Lock" unticked, the decode leaves it so and never aligns:
// "8 (Norm)" then reads the marker (a 1) and the first ten digits of the code,
// as the syncs come at the first group of each run. The buffer after line k's
// sync run holds line k + 1, so lines 1 to 360 are filed under 2k + 1, slots 3
// to 721; line 0 lies in the first buffer with the leader, read as
// 0 + 2046 (a space and ten leader values), which files nothing.
TEST(Decoder, WithLicLockUntickedAtTheStartNoCodeIsAligned)
{
    const auto result = decodeStream(stream160(), kLevel3, {.licLock = false, .licInset = 8});
    EXPECT_EQ(std::tuple(result->host.licLockChanges.empty(), result->state.liclockcount), std::tuple(true, 3));
    for (int slot = 1; slot <= 1440; ++slot)
        EXPECT_EQ(!result->state.linestore[static_cast<std::size_t>(slot)].empty(),
                  slot >= 3 && slot <= 721 && slot % 2 == 1) << slot;
}

// The choices a decode cannot start without, the sizes it accepts (the three
// of 4 : 3) and the Dynamic Sync offset: none selected (0) keeps the one before.
TEST(Decoder, RefusesToStartWithoutResolutionLevelOrInset)
{
    const struct { DecodeSettings settings; DecoderControls controls; const char* missing; } cases[] = {
        {{.pictureWidth = 0}, {}, "resolution"},    {{.pictureHeight = 0}, {}, "resolution"},
        {{.normlevel = 0}, {}, "Active Normalising level"}, {{.normlevel = 4}, {}, "Active Normalising level"},
        {{}, {.licInset = 0}, "LIC Inset"},         {{}, {.licInset = 1}, ""},
        // The inset matters only for identified lines.
        {{}, {.useLic = false, .licInset = 0}, ""}, {{}, {.hsync = false, .licInset = 0}, ""},
        {{.normlevel = 3}, {}, ""}};
    for (const auto& c : cases)
        EXPECT_EQ(missingDecodeChoice(c.settings, c.controls), c.missing) << "case " << &c - cases;
    for (const int width : {160, 320, 640})
        for (const int height : {120, 240, 480}) {
            DecoderBench b(width, height);
            const DecodeSettings settings{.pictureWidth = width, .pictureHeight = height};
            if (3 * width == 4 * height)
                EXPECT_NO_THROW(b.decoder.begin(settings)) << width << "x" << height;
            else
                EXPECT_THROW(b.decoder.begin(settings), std::invalid_argument) << width << "x" << height;
        }
    for (const auto& [before, option, after] : {std::tuple{8, 0, 8}, {8, 32, 32}, {32, 16, 16}}) {
        DecoderBench b;
        b.state.synclevel = static_cast<std::int16_t>(before);
        b.decoder.begin({.syncOffset = option});
        EXPECT_EQ(b.state.synclevel, after) << before << " then " << option;
    }
}
