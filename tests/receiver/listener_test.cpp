// Live reception: transmissions among silence and noise, as a sound card
// delivers them at 44100 or 48000 samples per second, in blocks; and the
// transmission watch that finds them, on hand-made cycles.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "receiver/listener.h"
#include "receiver/recordings.h"
#include "receiver/transmission_watch.h"
#include "signature/signature_codec.h"

namespace tonobild {
namespace {

using namespace decodetest;

// Keeps "LIC Lock" in the controls as the window's check box would.
struct CollectingHost final : ListenerHost {
    explicit CollectingHost(DecoderControls& c) : controls(c) {}
    void transmissionBegins() override { ++began; }
    void received(ReceivedPicture picture) override { pictures.push_back(std::move(picture)); }
    void nothingReceived() override { ++nothing; }
    void setLicLock(bool ticked) override { licLockChanges.push_back(controls.licLock = ticked); }
    DecoderControls& controls;
    int began = 0;
    int nothing = 0;
    std::vector<ReceivedPicture> pictures;
    std::vector<bool> licLockChanges;
};

// A 160 x 120 transmission signed with the codeword; the picture differs by the seed.
std::vector<std::uint8_t> signedTransmission(const std::string& codeword, int seed, bool mono = false)
{
    WorkingPicture picture = testPicture(160, 120);
    picture.fillBox(0, 20 + seed, 159, 24 + seed, colourNumber(200, 40 + seed, 90));
    WorkingState state;
    state.sigscale = 1;
    state.signature = " A" + codeword;
    putcode(picture, state, false);
    return encodeStream(picture, {.mono = mono});
}

void addSilence(std::vector<std::uint8_t>& stream, std::uint32_t rate, double seconds)
{ stream.insert(stream.end(), static_cast<std::size_t>(seconds * rate), 128); }

void addNoise(std::vector<std::uint8_t>& stream, std::uint32_t rate, double seconds, unsigned seed = 7)
{ std::ranges::copy(recordingtest::randomBytes(static_cast<std::size_t>(seconds * rate), seed), back_inserter(stream)); }

// The transmission as a sound card at `rate` records it, after what the stream
// holds: recorded sample i is sent sample floor(i * 11025 / rate), each held
// four times at 44100, four or five times at 48000. Answers where it begins.
std::size_t addTransmission(std::vector<std::uint8_t>& stream, const std::vector<std::uint8_t>& sent, std::uint32_t rate)
{
    const std::size_t start = stream.size();
    const auto length = static_cast<std::size_t>(sent.size() * std::uint64_t{rate} / 11025);
    for (std::size_t i = 0; i < length; ++i)
        stream.push_back(sent[static_cast<std::size_t>(i * std::uint64_t{11025} / rate)]);
    return start;
}

struct Listening {
    explicit Listening(std::uint32_t rate) : host(controls), listener(controls, settings, rate, host) {}

    // The stream in blocks of a tenth of a second, as the input device delivers it.
    void feed(std::span<const std::uint8_t> stream, std::size_t blockBytes = 4410)
    {
        for (std::size_t at = 0; at < stream.size(); at += blockBytes)
            listener.feed(stream.subspan(at, std::min(blockBytes, stream.size() - at)));
    }

    DecoderControls controls;
    DecodeSettings settings{.normlevel = 3};
    CollectingHost host;
    Listener listener;
};

// Three transmissions, in colour at 44100 and 48000 and in mono at 44100. The
// second has a fade and the third a burst of noise of a second 143084 samples
// in, in mid-picture: shorter than the silence that ends a transmission, the
// gap stays inside it: one picture, recorded from the leader to the closing
// group, with every line after the gap. Each is complete (in mono after its
// second pass: the blue pass is left out), and the first two come out as their
// clean decodes. After the last one, silence, noise and a whistle give no picture.
TEST(Listener, ThreeTransmissionsInColourOrMonoAmongSilenceAndNoiseOneWithAFadeOneWithABurstComeOutWhole)
{
    const std::vector<std::string> codewords = {"KLM456", "DL2ABC", "G4XYZ"};
    for (const auto& [rate, mono] : {std::pair{44100u, false}, {48000u, false}, {44100u, true}}) {
        SCOPED_TRACE(testing::Message() << rate << (mono ? " mono" : ""));
        const DecodeSettings settings{.normlevel = 3, .mono = mono};
        std::vector<std::uint8_t> stream;
        std::vector<std::size_t> starts, ends;
        std::vector<std::vector<std::uint8_t>> sent;
        addNoise(stream, rate, 1.5);
        for (std::size_t i = 0; i < codewords.size(); ++i) {
            sent.push_back(signedTransmission(codewords[i], static_cast<int>(i), mono));
            const auto gap = i == 0 ? sent.back().end() : sent.back().begin() + 143084;
            starts.push_back(addTransmission(stream, {sent.back().begin(), gap}, rate));
            if (i == 1)
                addSilence(stream, rate, 1); // the fade
            if (i == 2)
                addNoise(stream, rate, 1); // the burst
            addTransmission(stream, {gap, sent.back().end()}, rate);
            ends.push_back(stream.size());
            addSilence(stream, rate, 3);
            addNoise(stream, rate, 3, static_cast<unsigned>(i));
        }
        Listening listening(rate);
        listening.settings = settings;
        listening.feed(stream);

        ASSERT_EQ(listening.host.pictures.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const ReceivedPicture& received = listening.host.pictures[i];
            // The burst's noise is filed as lines of its own, into a few rows.
            if (i != 2) { EXPECT_TRUE(received.picture == decodeStream(sent[i], settings)->picture); }
            if (!mono) { // the signature is not read without the blue pass
                EXPECT_EQ(received.codeword(), codewords[i]);
                EXPECT_EQ(received.signatureCaption,
                          "Class of transmitter: Amateur\r\nIdentification: " + codewords[i]);
            }
            EXPECT_TRUE(received.complete);
            EXPECT_EQ(received.sampleRate, rate);
            // The recording begins within the leader's first cycles, 40 samples at most
            // after the sent one, and ends within a few of the stream's end, before the silence.
            EXPECT_GE(received.startSample, starts[i]);
            EXPECT_LE(received.startSample, starts[i] + 40);
            EXPECT_NEAR(static_cast<double>(received.startSample + received.recording.size()),
                        static_cast<double>(ends[i]), 40.0);
            EXPECT_EQ(received.recording.size() % 2, 0u);
        }
        EXPECT_EQ(std::pair(listening.host.began, listening.host.nothing), std::pair(3, 0));
        // Each live decode unticked "LIC Lock" and ticked it again at the third code.
        EXPECT_EQ(listening.host.licLockChanges, (std::vector<bool>{false, true, false, true, false, true}));
        EXPECT_TRUE(listening.host.pictures[0].controls.licLock);

        // A steady whistle of a square tone, two samples high and two low, for a second.
        std::vector<std::uint8_t> whistle;
        addSilence(whistle, rate, 2);
        for (std::uint32_t i = 0; i < rate; ++i)
            whistle.push_back((i / 2) % 2 ? 40 : 216);
        addNoise(whistle, rate, 3);
        listening.feed(whistle);
        listening.listener.finish();
        EXPECT_EQ(listening.host.pictures.size(), 3u);
        // The whistle began a transmission that ended with no line taken: said as such.
        EXPECT_EQ(std::pair(listening.host.began, listening.host.nothing), std::pair(4, 1));
        EXPECT_FALSE(listening.listener.receiving());
    }
}

TEST(Listener, ANewLeaderRightAfterAPictureStartsTheNextTransmission)
{
    // The second leader follows the first picture's closing group at once.
    std::vector<std::uint8_t> stream;
    addTransmission(stream, signedTransmission("AAA1", 0), 44100);
    const std::size_t secondStart = addTransmission(stream, signedTransmission("BBB2", 3), 44100);
    addSilence(stream, 44100, 3);

    Listening listening(44100);
    listening.controls.useLic = false; // painted at the syncs: complete only at the third wrap
    listening.feed(stream);
    ASSERT_EQ(listening.host.pictures.size(), 2u);
    // The leader is found once its swings have settled, ten groups in at most:
    // the split lies there, and the first recording ends where the second begins.
    const auto& [firstPicture, secondPicture] = std::tie(listening.host.pictures[0], listening.host.pictures[1]);
    EXPECT_EQ(firstPicture.codeword() + " " + secondPicture.codeword(), "AAA1 BBB2");
    EXPECT_GE(secondPicture.startSample, secondStart);
    EXPECT_LE(secondPicture.startSample, secondStart + 40);
    EXPECT_EQ(firstPicture.startSample + firstPicture.recording.size(), secondPicture.startSample);
}

TEST(Listener, ATransmissionJoinedInItsMiddleKeepsTheLinesThatArrived)
{
    // Listening begins at sample 171700 of 286168 (3/5): group 42925, 29144
    // past the 13781 of the leader, 24 groups into line 182 of 160 groups. A
    // pass sends rows 2 to 121 as its lines 0 to 119, so the blue pass is gone,
    // green is joined in row 64 and red comes whole. Two lines are allowed for
    // the line codes to lock; a row that never came keeps 0.
    // Of 286168 samples, as
    // Encoder.StreamLengthsFollowResolutionStepMonoAndLeaderAndThePictureAndCompandAreReadLive pins.
    const auto sent = signedTransmission("KLM456", 0);
    std::vector<std::uint8_t> stream;
    addNoise(stream, 44100, 1);
    addTransmission(stream, {sent.begin() + 171700, sent.end()}, 44100);
    addSilence(stream, 44100, 3);
    Listening listening(44100);
    listening.feed(stream);
    ASSERT_EQ(listening.host.pictures.size(), 1u);
    // Source column k comes back at column k + 3 (the decoder's identified
    // lines); below the signature strip, rows 20 to 24 hold the box.
    const WorkingPicture source = testPicture(160, 120);
    int wrong = 0;
    for (int y = 10; y < 120; ++y)
        for (int x = 18; x <= 150; ++x) {
            const ColourNumber sentColour = y >= 20 && y <= 24 ? colourNumber(200, 40, 90) : source.colour(x - 3, y);
            const ColourComponents e = receivedColour(sentColour, 3, false);
            const ColourComponents c = splitColour(listening.host.pictures[0].picture.colour(x, y));
            wrong += c.blue != 0 || c.red != e.red || (y <= 63 && c.green != 0) || (y >= 66 && c.green != e.green);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(Listener, ProgressAndTimeLeftFollowTheTransmission)
{
    const auto sent = signedTransmission("KLM456", 0);
    std::vector<std::uint8_t> played;
    addTransmission(played, sent, 44100);
    Listening listening(44100);
    EXPECT_EQ(listening.listener.progress().caption, "listening");
    // Half the stream: 13781 leader groups and 361 lines of 160 groups make
    // 71541; at 35770 the row counter is 137 lines past the leader, in green.
    const std::size_t half = played.size() / 2;
    listening.feed(std::span(played).first(half));
    ASSERT_TRUE(listening.listener.receiving());
    const PassProgress progress = listening.listener.progress();
    EXPECT_EQ(progress.maximum, 360);
    EXPECT_NEAR(progress.value, 137, 1);
    EXPECT_TRUE(progress.caption.ends_with("green")) << progress.caption;
    const double secondsLeft = static_cast<double>(played.size() - half) / 44100;
    EXPECT_NEAR(listening.listener.secondsLeft(), secondsLeft, 0.05 * secondsLeft);

    WorkingPicture live; // the rows filed so far: the blue of row 30 as sent
    listening.listener.paintLivePicture(live);
    EXPECT_EQ(splitColour(live.colour(10, 30)).blue,
              splitColour(decodeStream(sent, {.normlevel = 3})->picture.colour(10, 30)).blue);
    // Painted at the syncs ("Use LIC" unticked), the live picture is the
    // decoder's own: row 30 holds only its blue, as the green pass is at row
    // 17. Painted at once ("HSync" unticked), nothing is rebuilt either: the
    // row keeps what was painted (a rebuild from the empty line store would
    // blacken it).
    for (const bool hsync : {true, false}) {
        Listening painted(44100);
        painted.controls.hsync = hsync;
        painted.controls.useLic = !hsync;
        painted.feed(std::span(played).first(half));
        painted.listener.paintLivePicture(live);
        const ColourNumber whole = decodeStream(sent, {.normlevel = 3}, painted.controls)->picture.colour(80, 30);
        if (hsync)
            EXPECT_EQ(std::pair(live.colour(80, 30), whole > 65535), std::pair(whole >> 16, true));
        else
            EXPECT_NE(live.colour(80, 30), kBlack);
    }

    listening.listener.finish(); // half way: what arrived is handed out
    ASSERT_EQ(listening.host.pictures.size(), 1u);
    EXPECT_FALSE(listening.host.pictures[0].complete);
}

// The transmission watch on a square wave of two low and two high samples from
// sample 0 on: the first
// cycle closes at sample 2 (length 2), every later one four samples on, cycle
// k at 2 + 4 (k - 1). Cycle 2 is not in step with cycle 1 (4 against 2);
// cycles 3 on are, so the run starts at sample 6 and its 64th cycle (cycle 66)
// closes at 262. At 44100 a sender's cycle is at most 2 * 6 + 1 = 13 samples.
using Event = TransmissionWatch::Event;

using Seen = std::pair<Event, std::uint64_t>; // what, and the sample it came at

void square(std::vector<int>& samples, int cycles, int low = 40, int high = 216, std::size_t hold = 2)
{
    for (int i = 0; i < cycles; ++i)
        for (const int level : {low, high})
            samples.insert(samples.end(), hold, level);
}

// After the cycles, 20 samples of the middle level: nothing closes, and 14
// samples after the last close (262) the signal counts as lost. Or, after 70
// cycles (the last closes at 278), one with holds of 3 (length 5, closing at
// 283) stays in step; one with holds of 4 (length 6, closing at 284) is 2
// longer than a quarter of 4 allows. Cycle 2 is the first whose swing (176) a
// later one repeats two on: from cycle 4 (starting at 10) on every cycle has
// the swing of the one two before, and the 4000th of them, cycle 4003, closes at 16010.
TEST(TransmissionWatch, SixtyFourCyclesInStepMakeARunSilenceOrACycleOutOfStepEndItAndOneSwingLongEnoughIsALeader)
{
    const Seen found = {Event::SignalFound, 262};
    const std::vector<Seen> run = {found, {Event::SignalLost, 276}};
    // what, rate, cycles, low, high, then one cycle with this hold (0: 20 samples of 128; -1: nothing) -> events
    const std::tuple<const char*, std::uint32_t, int, int, int, int, std::vector<Seen>> cases[] = {
        {"64 in step", 44100, 66, 40, 216, 0, run},
        {"63 in step", 44100, 65, 40, 216, 0, {}},
        {"swing 16", 44100, 66, 120, 136, 0, run},
        {"swing 15 is hiss", 44100, 66, 121, 136, 0, {}},
        {"cycles of 4 are too long at 8000", 8000, 66, 40, 216, 0, {}},
        {"128 is not low: no cycle begins", 44100, 66, 128, 216, 0, {}},
        {"128 is not high: no cycle ends", 44100, 66, 40, 128, 0, {}},
        {"hold 3 in step", 44100, 70, 40, 216, 3, {found}},
        {"hold 4 out of step", 44100, 70, 40, 216, 4, {found, {Event::SignalLost, 284}}},
        {"3999 of one swing", 44100, 4002, 40, 216, -1, {found}},
        {"4000 of one swing are a leader", 44100, 4003, 40, 216, -1, {found, {Event::LeaderFound, 16010}}},
    };
    for (const auto& [what, rate, cycles, low, high, hold, expected] : cases) {
        SCOPED_TRACE(what);
        std::vector<int> samples;
        square(samples, cycles, low, high);
        if (hold == 0)
            samples.insert(samples.end(), 20, 128);
        square(samples, hold > 0 ? 1 : 0, 40, 216, static_cast<std::size_t>(std::max(hold, 0)));
        TransmissionWatch watcher(rate);
        std::vector<Seen> seen;
        for (const int sample : samples) {
            const std::uint64_t at = watcher.position();
            if (const Event event = watcher.feed(static_cast<std::uint8_t>(sample)); event != Event::None)
                seen.push_back({event, at});
        }
        EXPECT_EQ(seen, expected);
        if (expected == run) {
            EXPECT_EQ(watcher.runStart(), 6u);
            EXPECT_EQ(watcher.lastSteadyEnd(), 262u);
            EXPECT_DOUBLE_EQ(watcher.cycleLength(), 4.0);
        }
        if (hold == 4) { EXPECT_EQ(watcher.lastSteadyEnd(), 278u); }
        if (cycles == 4003) { EXPECT_EQ(watcher.leaderStart(), 10u); }
    }
}

} // namespace

// The codeword is what follows the space and the class letter of the signature text read.
TEST(ReceivedPicture, TheCodewordFollowsTheSpaceAndTheClassLetter)
{
    const std::pair<const char*, const char*> rows[] = {{"", ""},        {" A", ""},  {" A5", "5"},
                                                        {" TAB12", "AB12"}, {"xA5", ""}, {"A5X", ""}};
    for (const auto& [code, codeword] : rows) {
        ReceivedPicture picture;
        picture.signatureCode = code;
        EXPECT_EQ(picture.codeword(), codeword) << '"' << code << '"';
    }
}

} // namespace tonobild
