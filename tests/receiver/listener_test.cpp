// Live reception of the station's own format: transmissions among silence and
// noise, as a sound card delivers them at 44100 or 48000 samples per second, in blocks.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "family/own_family.h"
#include "receiver/listener.h"
#include "support/recordings.h"
#include "signature/signature_codec.h"

namespace tonobild {
namespace {

using namespace decodetest;

// A 160 x 120 transmission signed with the codeword; the picture differs by the seed.
std::vector<std::uint8_t> signedTransmission(const std::string& codeword, int seed, bool mono = false)
{
    WorkingPicture picture = testPicture(160, 120);
    picture.fillBox(0, 20 + seed, 159, 24 + seed, colourNumber(200, 40 + seed, 90));
    WorkingState state{.sigscale = 1, .linebuf = {}, .linestore = {}, .signature = " A" + codeword};
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
std::size_t addTransmission(std::vector<std::uint8_t>& stream, std::span<const std::uint8_t> sent, std::uint32_t rate)
{
    const std::size_t start = stream.size();
    for (std::size_t i = 0; i < sent.size() * std::uint64_t{rate} / 11025; ++i)
        stream.push_back(sent[static_cast<std::size_t>(i * std::uint64_t{11025} / rate)]);
    return start;
}

// A listener at `rate` for the station's own format and what it hands out;
// keeps "LIC Lock" in the controls as the window's check box would.
struct Listening final : ListenerHost {
    explicit Listening(std::uint32_t rate) : listener(families, rate, *this) {}
    void transmissionBegins() override { ++began; }
    void received(ReceivedPicture picture) override { pictures.push_back(std::move(picture)); }
    void nothingReceived() override { ++nothing; }

    // The stream in blocks of a tenth of a second, as the input device delivers it.
    void feed(std::span<const std::uint8_t> stream)
    {
        for (std::size_t at = 0; at < stream.size(); at += 4410)
            listener.feed(stream.subspan(at, std::min<std::size_t>(4410, stream.size() - at)));
    }

    DecoderControls controls;
    DecodeSettings settings{.normlevel = 3};
    int began = 0, nothing = 0;
    std::vector<ReceivedPicture> pictures;
    std::vector<bool> licLockChanges;
    OwnFinder own{controls, settings, [this](bool ticked) { licLockChanges.push_back(controls.licLock = ticked); }};
    TransmissionFinder* families[1] = {&own};
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
        Listening listening(rate);
        listening.settings.mono = mono;
        std::vector<std::uint8_t> stream;
        std::vector<std::size_t> starts, ends;
        std::vector<std::vector<std::uint8_t>> sent;
        addNoise(stream, rate, 1.5);
        for (std::size_t i = 0; i < codewords.size(); ++i) {
            sent.push_back(signedTransmission(codewords[i], static_cast<int>(i), mono));
            const auto gap = i == 0 ? sent.back().end() : sent.back().begin() + 143084;
            starts.push_back(addTransmission(stream, {sent.back().begin(), gap}, rate));
            addSilence(stream, rate, i == 1 ? 1 : 0); // the fade
            addNoise(stream, rate, i == 2 ? 1 : 0);   // the burst
            addTransmission(stream, {gap, sent.back().end()}, rate);
            ends.push_back(stream.size());
            addSilence(stream, rate, 3);
            addNoise(stream, rate, 3, static_cast<unsigned>(i));
        }
        // Then a steady whistle of a square tone, two samples high and two low, for a second.
        addSilence(stream, rate, 2);
        for (std::uint32_t i = 0; i < rate; ++i)
            stream.push_back((i / 2) % 2 ? 40 : 216);
        addNoise(stream, rate, 3);
        listening.feed(stream);

        ASSERT_EQ(listening.pictures.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const ReceivedPicture& received = listening.pictures[i];
            // The burst's noise is filed as lines of its own, into a few rows.
            if (i != 2) { EXPECT_TRUE(received.picture == decodeStream(sent[i], listening.settings)->picture); }
            if (!mono) { // the signature is not read without the blue pass
                EXPECT_EQ(received.namePart + "|" + received.report,
                          codewords[i] + "|Class of transmitter: Amateur; Identification: " + codewords[i]);
            }
            EXPECT_EQ(std::pair(received.complete, received.sampleRate), std::pair(true, rate));
            // The recording begins within the leader's first cycles, 40 samples at most
            // after the sent one (never before it), and ends within a few of the
            // stream's end, before the silence.
            EXPECT_LE(received.startSample - starts[i], 40u);
            EXPECT_NEAR(static_cast<double>(received.startSample + received.recording.size()),
                        static_cast<double>(ends[i]), 40.0);
            EXPECT_EQ(received.recording.size() % 2, 0u);
        }
        // The whistle began a transmission that ended, in the noise, with no line taken: said as such.
        EXPECT_EQ(std::tuple(listening.began, listening.nothing, listening.listener.receiving()), std::tuple(4, 1, false));
        // Each live decode unticked "LIC Lock" and ticked it again: at the third code, or
        // (the whistle's, which read none) when it ended, as a decode does.
        EXPECT_EQ(listening.licLockChanges, (std::vector<bool>{false, true, false, true, false, true, false, true}));
        // The kept recording is decoded with the options of the transmission's start: "LIC Lock" ticked.
        EXPECT_EQ(listening.pictures[0].decodeOptions, "--resolution 160x120 --level 3" + std::string(mono ? " --mono" : ""));
    }
}

TEST(Listener, ANewLeaderRightAfterAPictureStartsTheNextTransmission)
{
    // The second leader follows the first picture's closing group at once.
    std::vector<std::uint8_t> stream = testdata::held(signedTransmission("AAA1", 0), 4);
    const std::size_t secondStart = addTransmission(stream, signedTransmission("BBB2", 3), 44100);
    addSilence(stream, 44100, 3);
    Listening listening(44100);
    listening.controls.useLic = false; // painted at the syncs: complete only at the third wrap
    listening.feed(stream);
    ASSERT_EQ(listening.pictures.size(), 2u);
    // The leader is found once its swings have settled, ten groups in at most:
    // the split lies there, and the first recording ends where the second begins.
    const auto& [firstPicture, secondPicture] = std::tie(listening.pictures[0], listening.pictures[1]);
    EXPECT_EQ(firstPicture.namePart + " " + secondPicture.namePart, "AAA1 BBB2");
    EXPECT_LE(secondPicture.startSample - secondStart, 40u); // and never before it
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
    std::vector<std::uint8_t> stream;
    addNoise(stream, 44100, 1);
    addTransmission(stream, std::span<const std::uint8_t>(signedTransmission("KLM456", 0)).subspan(171700), 44100);
    addSilence(stream, 44100, 3);
    Listening listening(44100);
    listening.feed(stream);
    ASSERT_EQ(listening.pictures.size(), 1u);
    // Source column k comes back at column k + 3 (the decoder's identified
    // lines); below the signature strip, rows 20 to 24 hold the box.
    const WorkingPicture source = testPicture(160, 120);
    int wrong = 0;
    for (int y = 10; y < 120; ++y)
        for (int x = 18; x <= 150; ++x) {
            const ColourNumber sentColour = y >= 20 && y <= 24 ? colourNumber(200, 40, 90) : source.colour(x - 3, y);
            const ColourComponents e = receivedColour(sentColour, 3, false);
            const ColourComponents c = splitColour(listening.pictures[0].picture.colour(x, y));
            wrong += c.blue != 0 || c.red != e.red || (y <= 63 && c.green != 0) || (y >= 66 && c.green != e.green);
        }
    EXPECT_EQ(wrong, 0);
}

TEST(Listener, ProgressAndTimeLeftFollowTheTransmission)
{
    const auto sent = signedTransmission("KLM456", 0);
    const auto played = testdata::held(sent, 4); // as a sound card at 44100 records it
    // Half the stream: 13781 leader groups and 361 lines of 160 groups make
    // 71541; at 35770 the row counter is 137 lines past the leader, in green.
    const auto half = std::span(played).first(played.size() / 2);
    Listening listening(44100);
    listening.feed(half);
    ASSERT_TRUE(listening.listener.receiving());
    const PassProgress progress = listening.listener.progress();
    EXPECT_EQ(std::pair(progress.maximum, progress.caption.ends_with("green")), std::pair(360, true)) << progress.caption;
    EXPECT_NEAR(progress.value, 137, 1);
    const double secondsLeft = static_cast<double>(half.size()) / 44100; // the other half
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
        painted.controls = {.hsync = hsync, .useLic = !hsync};
        painted.feed(half);
        painted.listener.paintLivePicture(live);
        const ColourNumber whole = decodeStream(sent, {.normlevel = 3}, painted.controls)->picture.colour(80, 30);
        if (hsync)
            EXPECT_EQ(std::pair(live.colour(80, 30), whole > 65535), std::pair(whole >> 16, true));
        else
            EXPECT_NE(live.colour(80, 30), kBlack);
    }

    listening.listener.finish(); // half way: what arrived is handed out
    ASSERT_EQ(listening.pictures.size(), 1u);
    EXPECT_FALSE(listening.pictures[0].complete);
}

// A second family beside the own format, as the standard modes will come: its
// transmission is a steady level of 90, found only 1.5 s after it began; it
// asks for 2 s of look-back and ends after 1 s without its level.
class LateFamily final : public TransmissionFinder {
public:
    std::string missingChoice() const override { return {}; }
    ListeningNeeds listen(std::uint32_t sampleRate) override
    {
        rate_ = sampleRate;
        return {2 * sampleRate, sampleRate, 10ULL * sampleRate};
    }
    void watch(std::span<const std::uint8_t> block, std::vector<WatchEvent>& found) override
    {
        for (const std::uint8_t sample : block) {
            const bool level = sample == 90;
            if (level && !on_)
                runStart_ = position_;
            if (level && position_ - runStart_ == rate_ * 3 / 2)
                found.push_back({WatchEvent::Kind::SignalBegins, position_, runStart_});
            if (!level && on_)
                found.push_back({WatchEvent::Kind::SignalEnds, position_, position_});
            on_ = level;
            lastLevel_ = level ? position_ : lastLevel_;
            ++position_;
        }
    }
    SignalState signal() const override { return {on_, lastLevel_, lastLevel_ + 1}; }
    std::unique_ptr<Reception> receive() override { return std::make_unique<Kept>(); }

private:
    struct Kept final : Reception {
        void feed(std::span<const std::uint8_t>) override {}
        PassProgress progress() const override { return {}; }
        double secondsLeft() const override { return 0; }
        void paintLivePicture(WorkingPicture&) const override {}
        bool lastLineIn() const override { return false; }
        bool tookLine() const override { return true; }
        ReceivedPicture finish(std::vector<std::uint8_t> recording, std::uint32_t rate) override
        {
            return {.picture = {}, .recording = std::move(recording), .sampleRate = rate, .startSample = 0,
                    .tookLine = true, .complete = false, .family = "late", .mode = {}, .namePart = {}, .report = {},
                    .decodeOptions = {}};
        }
    };
    std::uint32_t rate_ = 0;
    std::uint64_t position_ = 0, runStart_ = 0, lastLevel_ = 0;
    bool on_ = false;
};

// The listener keeps as much as the family that needs the most: the late
// family's transmission is recorded from its first sample, two seconds before
// it was found, to its last, while the own format's watch goes on beside it.
TEST(Listener, AFamilyThatFindsItsTransmissionsLateIsGivenTheLookBackItAsksFor)
{
    Listening listening(44100);
    LateFamily late;
    TransmissionFinder* families[] = {&listening.own, &late};
    Listener listener(families, 44100, listening);
    std::vector<std::uint8_t> stream;
    addSilence(stream, 44100, 3);
    stream.insert(stream.end(), 3 * 44100, 90);
    addSilence(stream, 44100, 3);
    for (std::size_t at = 0; at < stream.size(); at += 4410)
        listener.feed(std::span(stream).subspan(at, std::min<std::size_t>(4410, stream.size() - at)));
    ASSERT_EQ(listening.pictures.size(), 1u);
    const ReceivedPicture& received = listening.pictures[0];
    EXPECT_EQ(std::tuple(received.family, received.startSample, received.recording.size()),
              std::tuple(std::string("late"), 3u * 44100, std::size_t{3 * 44100}));
    EXPECT_TRUE(std::ranges::all_of(received.recording, [](std::uint8_t s) { return s == 90; }));
}

} // namespace
} // namespace tonobild
