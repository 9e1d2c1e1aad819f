// Whole decodes of clean streams from the station's own encoder, and of
// streams changed the way a recording changes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

#include "audio/wav_header.h"
#include "common/file_error.h"
#include "decode_support.h"

using namespace tonobild;
using namespace tonobild::decodetest;

namespace {

// Which decoded pixels must equal the source's, and how.
struct Region {
    int firstColumn = 0;
    int lastColumn = 0;
    int firstRow = 2;
    int lastRow = 0;
    std::function<int(int)> sourceColumn;            // decoded column -> source column
    std::vector<int> rowsWithoutBlue;                // rows whose blue line was never filed
    std::function<ColourComponents(ColourComponents)> passes = [](ColourComponents c) { return c; };
};

int countDiffering(const WorkingPicture& decoded, const WorkingPicture& source, const Region& region, int normlevel,
                   bool compand)
{
    int differing = 0;
    for (int y = region.firstRow; y <= region.lastRow; ++y) {
        const bool noBlue = std::ranges::count(region.rowsWithoutBlue, y) > 0;
        for (int x = region.firstColumn; x <= region.lastColumn; ++x) {
            ColourComponents expected =
                region.passes(receivedColour(source.colour(region.sourceColumn(x), y), normlevel, compand));
            if (noBlue)
                expected.blue = 0;
            const ColourComponents got = splitColour(decoded.colour(x, y));
            if (got != expected && ++differing <= 3)
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): got " << got.red << "/" << got.green << "/"
                              << got.blue << ", expected " << expected.red << "/" << expected.green << "/"
                              << expected.blue;
        }
    }
    return differing;
}

int sameColumn(int x)
{
    return x;
}

struct ModeCase {
    const char* name;
    int width;
    int height;
    bool halfX;
    bool compand;
    bool mono;
    int normlevel;
    bool idler;
    std::vector<int> rowsWithoutBlue;
    bool shortGreenRow2 = false;
};

std::ostream& operator<<(std::ostream& out, const ModeCase& c)
{
    return out << c.name;
}

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
Region identifiedRegion(const ModeCase& c)
{
    Region region;
    region.lastRow = c.height - 1;
    const int groups = c.halfX ? c.width / 2 : c.width;
    if (c.halfX) {
        region.firstColumn = 30;
        region.lastColumn = 2 * (groups - 13) + 1;
        region.sourceColumn = [](int x) { return x - x % 2; };
    } else {
        region.firstColumn = 18;
        region.lastColumn = groups - 10;
        region.sourceColumn = [](int x) { return x - 3; };
    }
    region.rowsWithoutBlue = c.rowsWithoutBlue;
    if (c.shortGreenRow2)
        region.firstRow = 3;
    if (c.mono) // two passes only: the rebuild takes green as blue and red as green
        region.passes = [](ColourComponents r) { return ColourComponents{0, r.red, r.green}; };
    return region;
}

// Blue rows 120 and 121 lie outside the picture and go out as transmit value
// -1, which normalises to -85 at level 2, below the threshold of -64 that the
// syncs have set: with "Idler" both lines are taken at column counter 153,
// seven groups early, so the first green line's buffer is 14 groups short. It
// ends at column W - 23 (the kept blank 1 after it); with "Half X" it has only
// 56 characters and counts as missing, leaving row 2's green at 0.
void expectShortGreenRow2(const WorkingPicture& decoded, const WorkingPicture& source, const ModeCase& c)
{
    Region region = identifiedRegion(c);
    region.firstRow = 2;
    region.lastRow = 2;
    const int groups = c.halfX ? c.width / 2 : c.width;
    if (!c.halfX)
        region.lastColumn = groups - 24;
    region.passes = [&](ColourComponents r) { return ColourComponents{r.red, c.halfX ? 0 : r.green, r.blue}; };
    EXPECT_EQ(countDiffering(decoded, source, region, c.normlevel, c.compand), 0);
    if (!c.halfX) {
        EXPECT_EQ(splitColour(decoded.colour(groups - 23, 2)).green, 1);
    }
}

class IdentifiedLines : public testing::TestWithParam<ModeCase> {};

TEST_P(IdentifiedLines, RowsAndColumnsComeBackAtTheirPlaces)
{
    const ModeCase c = GetParam();
    const WorkingPicture source = testPicture(c.width, c.height);
    Transmission transmission;
    transmission.settings.pictureWidth = c.width;
    transmission.settings.pictureHeight = c.height;
    transmission.settings.columnStep = c.halfX ? 2 : 1;
    transmission.settings.mono = c.mono;
    transmission.compand = c.compand;
    const auto stream = encodeStream(source, transmission);

    DecodeSettings settings;
    settings.pictureWidth = c.width;
    settings.pictureHeight = c.height;
    settings.halfX = c.halfX;
    settings.normlevel = c.normlevel;
    DecoderControls controls;
    controls.idler = c.idler;
    controls.compand = c.compand;
    const DecodeResult result = decodeStream(stream, settings, controls);

    EXPECT_EQ(result.end, DecodeEnd::EndOfFile);
    EXPECT_EQ(result.licLockChanges, (std::vector<bool>{false, true}));
    EXPECT_EQ(countDiffering(result.picture, source, identifiedRegion(c), c.normlevel, c.compand), 0);
    // Rows 0 and 1 are never painted; the first 12 positions are blanked to code 1.
    for (int x = 0; x < c.width; ++x) {
        EXPECT_EQ(result.picture.colour(x, 0), kBlack);
        EXPECT_EQ(result.picture.colour(x, 1), kBlack);
    }
    if (c.shortGreenRow2)
        expectShortGreenRow2(result.picture, source, c);
    const int blank = c.compand ? 0 : 1;
    const int blankColumn = c.halfX ? 20 : 13;
    EXPECT_EQ(splitColour(result.picture.colour(blankColumn, c.height / 2)),
              (ColourComponents{c.mono ? 0 : blank, blank, blank}));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, IdentifiedLines,
    testing::Values(ModeCase{"Level3", 160, 120, false, false, false, 3, false, {2, 3}},
                    ModeCase{"Level3HalfX", 160, 120, true, false, false, 3, false, {2, 3}},
                    ModeCase{"Level3Compand", 160, 120, false, true, false, 3, false, {2, 3}},
                    ModeCase{"Level3Mono", 160, 120, false, false, true, 3, false, {2, 3}},
                    ModeCase{"Level3At320x240", 320, 240, false, false, false, 3, false, {2, 3}},
                    ModeCase{"Level3At640x480", 640, 480, false, false, false, 3, false, {2, 3}},
                    ModeCase{"Level2Idler", 160, 120, false, false, false, 2, true, {2}, true},
                    ModeCase{"Level2IdlerHalfX", 160, 120, true, false, false, 2, true, {2}, true},
                    // Companded zeros normalise to 85 at level 2: no early syncs, as at level 3.
                    ModeCase{"Level2IdlerCompand", 160, 120, false, true, false, 2, true, {2, 3}},
                    ModeCase{"Level2IdlerMono", 160, 120, false, false, true, 2, true, {2}},
                    ModeCase{"Level2IdlerAt320x240", 320, 240, false, false, false, 2, true, {2}, true}),
    [](const testing::TestParamInfo<ModeCase>& modeCase) { return std::string(modeCase.param.name); });

struct Clean160 {
    Clean160() : source(testPicture(160, 120)) { stream = encodeStream(source, {}); }
    WorkingPicture source;
    std::vector<std::uint8_t> stream;
};

DecodeSettings level3()
{
    DecodeSettings settings;
    settings.normlevel = 3;
    return settings;
}

TEST(Decoder, Level2WithTheStartUpControlsIsBlack)
{
    // The code's 0 digits and the guards normalise to -85 and are taken as
    // syncs, and so are the gradient's dark pixels: every line is cut into
    // pieces, and none of 70 characters or more is filed under rows 1 to 360.
    WorkingPicture gradient(160, 120);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x)
            gradient.setColour(x, y, colourNumber((5 * x + 3 * y) % 256, (7 * y + x) % 256, (x * y) % 256));
    const DecodeResult result = decodeStream(encodeStream(gradient, {}), DecodeSettings{}, DecoderControls{});
    EXPECT_EQ(result.end, DecodeEnd::EndOfFile);
    EXPECT_TRUE(std::ranges::all_of(result.picture.pixels(), [](ColourNumber c) { return c == kBlack; }));
    for (std::size_t slot = 1; slot <= 360; ++slot)
        EXPECT_LT(result.state.linestore[slot].size(), 70u) << slot;
}

TEST(Decoder, BufferedLinesPaintGroupKAtColumnKPlus7)
{
    // Syncs are accepted at the first group of each run; the buffer then holds
    // the previous line's last value, six syncs, the marker, the code, the
    // guards and groups 15 to 148, painted at columns 1 to 155.
    const Clean160 clean;
    DecoderControls controls;
    controls.useLic = false;
    const DecodeResult result = decodeStream(clean.stream, level3(), controls);
    EXPECT_EQ(result.end, DecodeEnd::ThirdPass);
    Region region{22, 155, 2, 119, [](int x) { return x - 7; }, {}};
    EXPECT_EQ(countDiffering(result.picture, clean.source, region, 3, false), 0);
    EXPECT_EQ(result.picture.colour(8, 60), kWhite); // the start marker
    EXPECT_EQ(result.picture.colour(156, 60), kBlack);
}

TEST(Decoder, DirectPaintingLinedUpByXShiftAndYShift)
{
    // 13781 leader groups = 86 lines of 160 + 21: XShift 21 starts the counter
    // so that group k lands at column k, YShift 86 clears the leader's lines.
    const Clean160 clean;
    DecodeSettings settings = level3();
    settings.xshift = 21;
    settings.yshift = 86;
    DecoderControls controls;
    controls.hsync = false;
    controls.useLic = false;
    const DecodeResult result = decodeStream(clean.stream, settings, controls);
    EXPECT_EQ(result.end, DecodeEnd::ThirdPass);
    Region region{15, 153, 2, 119, sameColumn, {}};
    EXPECT_EQ(countDiffering(result.picture, clean.source, region, 3, false), 0);
    EXPECT_EQ(result.picture.colour(1, 60), kWhite);
}

TEST(Decoder, DirectPaintingHalfXAndMono)
{
    // 13781 = 172 lines of 80 + 21. Group k goes to columns 2k and 2k - 1.
    const WorkingPicture source = testPicture(160, 120);
    Transmission transmission;
    transmission.settings.columnStep = 2;
    transmission.settings.mono = true;
    const auto stream = encodeStream(source, transmission);
    DecodeSettings settings = level3();
    settings.halfX = true;
    settings.xshift = 21;
    settings.yshift = 172;
    DecoderControls controls;
    controls.hsync = false;
    controls.useLic = false;
    const DecodeResult result = decodeStream(stream, settings, controls);
    // The 172 leader lines already wrap the row counter once, so the red
    // pass's last line (row 121) wraps it the third time.
    EXPECT_EQ(result.end, DecodeEnd::ThirdPass);
    // Green is painted first, red second: blue stays 0.
    Region region{29, 146, 2, 119, [](int x) { return x + x % 2; }, {}};
    region.passes = [](ColourComponents r) { return ColourComponents{r.red, r.green, 0}; };
    EXPECT_EQ(countDiffering(result.picture, source, region, 3, false), 0);
}

TEST(Decoder, UpsampledStreamDecodesExactlyAsTheOriginal)
{
    const Clean160 clean;
    std::vector<std::uint8_t> upsampled;
    for (std::uint8_t s : clean.stream)
        upsampled.insert(upsampled.end(), 4, s);
    for (bool useLic : {true, false}) {
        DecoderControls controls;
        controls.useLic = useLic;
        const DecodeResult original = decodeStream(clean.stream, level3(), controls);
        const DecodeResult slow = decodeStream(upsampled, level3(), controls);
        EXPECT_TRUE(slow.picture == original.picture) << useLic;
    }
}

TEST(Decoder, HalfVolumeStaysWithinFourLevels)
{
    const Clean160 clean;
    std::vector<std::uint8_t> quiet;
    for (std::uint8_t s : clean.stream)
        quiet.push_back(static_cast<std::uint8_t>(roundHalfEven((s - 127.5) / 2 + 127.5)));
    const DecodeResult loud = decodeStream(clean.stream, level3(), DecoderControls{});
    const DecodeResult soft = decodeStream(quiet, level3(), DecoderControls{});
    // Same lines in the same places; halved swings are rounded to whole
    // samples, which moves a value by at most 255 / 64 * 1 (measured: 4).
    int largest = 0;
    for (int y = 2; y < 120; ++y)
        for (int x = 18; x <= 150; ++x) {
            const ColourComponents a = splitColour(loud.picture.colour(x, y));
            const ColourComponents b = splitColour(soft.picture.colour(x, y));
            largest = std::max({largest, std::abs(a.red - b.red), std::abs(a.green - b.green),
                                std::abs(a.blue - b.blue)});
        }
    EXPECT_LE(largest, 4);
    EXPECT_GT(largest, 0);
}

TEST(Decoder, RecordingHeaderInFrontDoesNotDisturbThePicture)
{
    const Clean160 clean;
    const auto header = recordingHeader();
    std::vector<std::uint8_t> recorded(header.begin(), header.end());
    recorded.insert(recorded.end(), clean.stream.begin(), clean.stream.end());
    const DecodeResult plain = decodeStream(clean.stream, level3(), DecoderControls{});
    const DecodeResult withHeader = decodeStream(recorded, level3(), DecoderControls{});
    EXPECT_TRUE(withHeader.picture == plain.picture);
    // Buffered lines paint the leader's first values into row 1, where the
    // header's bytes show; rows 2 on are the same.
    DecoderControls buffered;
    buffered.useLic = false;
    const DecodeResult plainBuffered = decodeStream(clean.stream, level3(), buffered);
    const DecodeResult headerBuffered = decodeStream(recorded, level3(), buffered);
    const auto& a = plainBuffered.picture.pixels();
    const auto& b = headerBuffered.picture.pixels();
    EXPECT_TRUE(std::equal(a.begin() + 2 * 160, a.end(), b.begin() + 2 * 160));
}

// The stream cut into its leader and its lines of 160 groups.
struct Lines {
    explicit Lines(const std::vector<std::uint8_t>& stream)
    {
        const std::size_t leader = 4 * static_cast<std::size_t>(leaderGroups(5));
        head.assign(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(leader));
        for (std::size_t at = leader; at + 640 <= stream.size(); at += 640)
            lines.emplace_back(stream.begin() + static_cast<std::ptrdiff_t>(at),
                               stream.begin() + static_cast<std::ptrdiff_t>(at + 640));
        tail.assign(stream.end() - 4, stream.end());
    }
    std::vector<std::uint8_t> join() const
    {
        std::vector<std::uint8_t> out = head;
        for (const auto& line : lines)
            out.insert(out.end(), line.begin(), line.end());
        out.insert(out.end(), tail.begin(), tail.end());
        return out;
    }
    std::vector<std::uint8_t> head;
    std::vector<std::vector<std::uint8_t>> lines;
    std::vector<std::uint8_t> tail;
};

TEST(Decoder, LinesOutOfOrderAreFiledByTheirCode)
{
    const Clean160 clean;
    Lines lines(clean.stream);
    ASSERT_EQ(lines.lines.size(), 361u);
    // The first lines set the lock going; all later ones arrive in reverse.
    std::reverse(lines.lines.begin() + 5, lines.lines.end());
    const DecodeResult inOrder = decodeStream(clean.stream, level3(), DecoderControls{});
    const DecodeResult shuffled = decodeStream(lines.join(), level3(), DecoderControls{});
    EXPECT_TRUE(shuffled.picture == inOrder.picture);
}

TEST(Decoder, MissingLinesAreTakenFromTheRowAbove)
{
    const Clean160 clean;
    Lines lines(clean.stream);
    // Line 50 is the blue of row 51, line 190 the green of row 71.
    lines.lines.erase(lines.lines.begin() + 190);
    lines.lines.erase(lines.lines.begin() + 50);
    const DecodeResult whole = decodeStream(clean.stream, level3(), DecoderControls{});
    const DecodeResult gaps = decodeStream(lines.join(), level3(), DecoderControls{});
    int differing = 0;
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 160; ++x) {
            ColourComponents expected = splitColour(whole.picture.colour(x, y));
            if (y == 51)
                expected.blue = splitColour(whole.picture.colour(x, 50)).blue;
            if (y == 71)
                expected.green = splitColour(whole.picture.colour(x, 70)).green;
            differing += splitColour(gaps.picture.colour(x, y)) != expected;
        }
    EXPECT_EQ(differing, 0);
    EXPECT_NE(whole.picture.colour(80, 51), gaps.picture.colour(80, 51));
}

TEST(Decoder, ProgressEvery1001TicksTwoTicksPerGroup)
{
    const Clean160 clean;
    const std::int64_t ticks = 2 * static_cast<std::int64_t>(clean.stream.size() / 4);
    const DecodeResult result = decodeStream(clean.stream, level3(), DecoderControls{});
    EXPECT_EQ(result.progressSteps, ticks / 1001);
    EXPECT_EQ(result.state.pixcount, ticks % 1001);
}

TEST(Decoder, StopEndsAtTheProgressStepAndStillRebuilds)
{
    const Clean160 clean;
    WorkingPicture picture(160, 120);
    WorkingState state;
    state.pixcount = 990; // left over from an earlier command: the first step comes early
    DecoderControls controls;
    RecordingHost host(controls);
    host.onProgress = [&](int step) {
        if (step == 2)
            requestStop(state);
        return true;
    };
    Decoder decoder(picture, state, controls, host);
    decoder.begin(level3());
    MemorySamples samples(clean.stream);
    EXPECT_EQ(decoder.run(samples), DecodeEnd::Stopped);
    EXPECT_EQ(host.progressSteps, 2);
    EXPECT_EQ(state.pixcount, 1001);
    EXPECT_EQ(state.stopreq, -1);
    // Stopped inside the leader, before any code: the rebuild still runs, and
    // "LIC Lock", unticked by the decode, is ticked again at the end.
    EXPECT_TRUE(decoder.finish());
    EXPECT_EQ(host.rebuiltRows, 120);
    EXPECT_EQ(host.licLockChanges, (std::vector<bool>{false, true}));
    EXPECT_TRUE(controls.licLock);
    // The next decode clears the stop request.
    decoder.begin(level3());
    EXPECT_EQ(state.stopreq, 0);
}

TEST(Decoder, AbandonedByTheHostRunsNoEndSteps)
{
    const Clean160 clean;
    WorkingPicture picture(160, 120);
    WorkingState state;
    DecoderControls controls;
    RecordingHost host(controls);
    host.onProgress = [](int) { return false; };
    Decoder decoder(picture, state, controls, host);
    decoder.begin(level3());
    MemorySamples samples(clean.stream);
    EXPECT_EQ(decoder.run(samples), DecodeEnd::Abandoned);
    EXPECT_EQ(host.progressSteps, 1);
}

TEST(Decoder, UseLicUntickedDuringTheDecodeSkipsTheRebuild)
{
    const Clean160 clean;
    WorkingPicture picture(160, 120);
    WorkingState state;
    DecoderControls controls;
    RecordingHost host(controls);
    // "HSync" unticked at a progress step: from then on values are painted
    // directly, and "Use LIC" is no longer enabled at the end.
    host.onProgress = [&](int step) {
        if (step == 20)
            controls.hsync = false;
        return true;
    };
    Decoder decoder(picture, state, controls, host);
    decoder.begin(level3());
    MemorySamples samples(clean.stream);
    decoder.run(samples);
    EXPECT_TRUE(decoder.finish());
    EXPECT_EQ(host.rebuiltRows, 0);
}

TEST(Decoder, SettingsTakenAtTheStart)
{
    WorkingPicture picture(320, 240);
    WorkingState state;
    state.synclevel = 8;
    state.linestore[7] = "old line";
    DecoderControls controls;
    RecordingHost host(controls);
    Decoder decoder(picture, state, controls, host);
    DecodeSettings settings;
    settings.pictureWidth = 320;
    settings.pictureHeight = 240;
    settings.halfX = true;
    settings.syncOffset = 0; // no Dynamic Sync option: synclevel stays
    settings.syncLevel = -20;
    settings.xshift = 3;
    decoder.begin(settings);
    EXPECT_EQ(decoder.xsiz(), 160);
    EXPECT_EQ(decoder.rows(), 240);
    EXPECT_EQ(state.xmult, 2);
    EXPECT_EQ(state.xpos, -3);
    EXPECT_EQ(state.ypos, 1);
    EXPECT_EQ(state.synclevel, 8);
    EXPECT_EQ(state.syncthresh, -20);
    EXPECT_EQ(state.normlevel, 2);
    EXPECT_EQ(state.linebuf, "        ");
    EXPECT_TRUE(state.linestore[7].empty());
    EXPECT_EQ(state.liclockcount, 0);
    EXPECT_FALSE(controls.licLock);

    controls.licLock = false;
    host.licLockChanges.clear();
    decoder.begin(settings);
    EXPECT_EQ(state.liclockcount, 3);
    EXPECT_TRUE(host.licLockChanges.empty());
    decoder.finish();
    EXPECT_FALSE(controls.licLock); // unticked by the user: it stays so
}

TEST(Decoder, MissingChoicesAreNamed)
{
    DecoderControls controls;
    DecodeSettings settings;
    EXPECT_EQ(missingDecodeChoice(settings, controls), "");
    settings.normlevel = 0;
    EXPECT_EQ(missingDecodeChoice(settings, controls), "Active Normalising level");
    settings.normlevel = 3;
    controls.licInset = 0;
    EXPECT_EQ(missingDecodeChoice(settings, controls), "LIC Inset");
    controls.useLic = false;
    EXPECT_EQ(missingDecodeChoice(settings, controls), "");
    settings.pictureWidth = 0;
    settings.pictureHeight = 0;
    EXPECT_EQ(missingDecodeChoice(settings, controls), "resolution");

    WorkingPicture picture;
    WorkingState state;
    RecordingHost host(controls);
    Decoder decoder(picture, state, controls, host);
    controls.licLock = true;
    EXPECT_THROW(decoder.begin(settings), std::invalid_argument);
    EXPECT_TRUE(host.licLockChanges.empty()); // nothing changed
}

TEST(SampleFile, ReadsAFileInBlocksLikeMemory)
{
    const Clean160 clean;
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tonobild-decoder-test.raw";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(clean.stream.data()), static_cast<std::streamsize>(clean.stream.size()));
    }
    WorkingPicture picture(160, 120);
    WorkingState state;
    DecoderControls controls;
    RecordingHost host(controls);
    Decoder decoder(picture, state, controls, host);
    SampleFile file(path.string());
    decoder.begin(level3());
    EXPECT_EQ(decoder.run(file), DecodeEnd::EndOfFile);
    decoder.finish();
    std::filesystem::remove(path);
    const DecodeResult fromMemory = decodeStream(clean.stream, level3(), DecoderControls{});
    EXPECT_TRUE(picture == fromMemory.picture);
}

TEST(SampleFile, MissingFileIsAnErrorAndIsNotCreated)
{
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tonobild-no-such-recording.wav";
    std::filesystem::remove(path);
    try {
        SampleFile file(path.string());
        FAIL() << "opened a file that does not exist";
    } catch (const FileError& error) {
        EXPECT_EQ(error.path(), path.string());
        EXPECT_FALSE(error.reason().empty());
    }
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_THROW(SampleFile(std::filesystem::temp_directory_path().string()), FileError);
}

TEST(SampleFile, ShortFileEndsBeforeTheLockAndTicksLicLockAgain)
{
    const Clean160 clean;
    const std::span<const std::uint8_t> start(clean.stream.data(), 60000);
    const DecodeResult result = decodeStream(start, level3(), DecoderControls{});
    EXPECT_EQ(result.end, DecodeEnd::EndOfFile);
    EXPECT_EQ(result.licLockChanges, (std::vector<bool>{false, true}));
    EXPECT_TRUE(result.controlsAfter.licLock);
}

} // namespace
