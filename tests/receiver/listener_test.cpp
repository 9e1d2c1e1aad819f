// Live reception: transmissions among silence and noise, as a sound card
// delivers them at 44100 or 48000 samples per second, in blocks.
#include <gtest/gtest.h>


#include "receiver/listener.h"
#include "receiver/recordings.h"
#include "signature/signature_codec.h"

namespace tonobild {
namespace {

using decodetest::decodeStream;
using decodetest::encodeStream;
using decodetest::testPicture;

class CollectingHost final : public ListenerHost {
public:
    explicit CollectingHost(DecoderControls& controls) : controls_(controls) {}
    void transmissionBegins() override { ++began; }
    void received(ReceivedPicture picture) override { pictures.push_back(std::move(picture)); }
    void setLicLock(bool ticked) override
    {
        licLockChanges.push_back(ticked);
        controls_.licLock = ticked;
    }

    int began = 0;
    std::vector<ReceivedPicture> pictures;
    std::vector<bool> licLockChanges;

private:
    DecoderControls& controls_;
};

// A 160 x 120 transmission signed with the codeword; the picture differs by the seed.
std::vector<std::uint8_t> signedTransmission(const std::string& codeword, int seed)
{
    WorkingPicture picture = testPicture(160, 120);
    picture.fillBox(0, 20 + seed, 159, 24 + seed, colourNumber(200, 40 + seed, 90));
    WorkingState state;
    state.sigscale = 1;
    state.signature = " A" + codeword;
    putcode(picture, state, false);
    return encodeStream(picture);
}

// A sound card's rate: output sample i is sent sample floor(i * 11025 / rate),
// each held four times at 44100, four or five times at 48000.
std::vector<std::uint8_t> atRate(const std::vector<std::uint8_t>& stream, std::uint32_t rate)
{
    std::vector<std::uint8_t> out(static_cast<std::size_t>(stream.size() * std::uint64_t{rate} / 11025));
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = stream[static_cast<std::size_t>(i * std::uint64_t{11025} / rate)];
    return out;
}

void addSilence(std::vector<std::uint8_t>& stream, std::uint32_t rate, double seconds)
{
    stream.insert(stream.end(), static_cast<std::size_t>(seconds * rate), 128);
}

void addNoise(std::vector<std::uint8_t>& stream, std::uint32_t rate, double seconds, unsigned seed = 7)
{
    const auto noise = recordingtest::randomBytes(static_cast<std::size_t>(seconds * rate), seed);
    stream.insert(stream.end(), noise.begin(), noise.end());
}

// The transmission as a sound card at `rate` records it, after what the stream holds; answers where it begins.
std::size_t addTransmission(std::vector<std::uint8_t>& stream, const std::vector<std::uint8_t>& sent, std::uint32_t rate)
{
    const std::size_t start = stream.size();
    const auto played = atRate(sent, rate);
    stream.insert(stream.end(), played.begin(), played.end());
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

TEST(Listener, ThreeTransmissionsAmongSilenceAndNoiseComeOutAsTheirCleanDecodes)
{
    const std::vector<std::string> codewords = {"KLM456", "DL2ABC", "G4XYZ"};
    for (const std::uint32_t rate : {44100u, 48000u}) {
        SCOPED_TRACE(rate);
        std::vector<std::uint8_t> stream;
        std::vector<std::size_t> starts;
        std::vector<std::vector<std::uint8_t>> sent;
        addNoise(stream, rate, 1.5);
        for (std::size_t i = 0; i < codewords.size(); ++i) {
            sent.push_back(signedTransmission(codewords[i], static_cast<int>(i)));
            starts.push_back(addTransmission(stream, sent.back(), rate));
            addSilence(stream, rate, 3);
            addNoise(stream, rate, 3, static_cast<unsigned>(i));
        }
        Listening listening(rate);
        listening.feed(stream);
        listening.listener.finish();

        ASSERT_EQ(listening.host.pictures.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            SCOPED_TRACE(i);
            const ReceivedPicture& received = listening.host.pictures[i];
            const auto clean = decodeStream(sent[i], {.normlevel = 3});
            EXPECT_TRUE(received.picture == clean.picture);
            EXPECT_EQ(received.codeword(), codewords[i]);
            EXPECT_EQ(received.signatureCaption, "Class of transmitter: Amateur\r\nIdentification: " + codewords[i]);
            EXPECT_TRUE(received.complete);
            EXPECT_EQ(received.sampleRate, rate);
            // The recording begins within the leader's first cycles and ends
            // within a few cycles of the stream's end, before the silence.
            const std::size_t length = sent[i].size() * rate / 11025;
            EXPECT_GE(received.startSample, starts[i]);
            EXPECT_LE(received.startSample, starts[i] + 40);
            EXPECT_NEAR(static_cast<double>(received.startSample + received.recording.size()),
                        static_cast<double>(starts[i] + length), 40.0);
            EXPECT_EQ(received.recording.size() % 2, 0u);
        }
        EXPECT_EQ(listening.host.began, 3);
        // Each live decode unticked "LIC Lock" and ticked it again at the third code.
        EXPECT_EQ(listening.host.licLockChanges, (std::vector<bool>{false, true, false, true, false, true}));
        EXPECT_TRUE(listening.host.pictures[0].controls.licLock);
    }
}

TEST(Listener, ANewLeaderRightAfterAPictureStartsTheNextTransmission)
{
    const auto first = signedTransmission("AAA1", 0);
    const auto second = signedTransmission("BBB2", 3);
    // The second leader follows the first picture's closing group at once.
    std::vector<std::uint8_t> stream = atRate(first, 44100);
    const std::size_t secondStart = addTransmission(stream, second, 44100);
    addSilence(stream, 44100, 3);

    Listening listening(44100);
    listening.controls.useLic = false; // painted at the syncs: complete only at the third wrap
    listening.feed(stream);
    ASSERT_EQ(listening.host.pictures.size(), 2u);
    EXPECT_EQ(listening.host.pictures[0].codeword(), "AAA1");
    EXPECT_EQ(listening.host.pictures[1].codeword(), "BBB2");
    // The leader is found once its swings have settled, ten groups in at most:
    // the split lies there, and the first recording ends where the second begins.
    const auto& firstPicture = listening.host.pictures[0];
    const auto& secondPicture = listening.host.pictures[1];
    EXPECT_GE(secondPicture.startSample, secondStart);
    EXPECT_LE(secondPicture.startSample, secondStart + 40);
    EXPECT_EQ(firstPicture.startSample + firstPicture.recording.size(), secondPicture.startSample);
}

TEST(Listener, ATransmissionJoinedInItsMiddleKeepsTheLinesThatArrived)
{
    const auto sent = signedTransmission("KLM456", 0);
    // Listening begins 40 % in: the blue pass is gone, green half gone, red whole.
    const std::vector<std::uint8_t> tail(sent.begin() + static_cast<std::ptrdiff_t>(sent.size() * 2 / 5), sent.end());
    std::vector<std::uint8_t> stream;
    addNoise(stream, 44100, 1);
    addTransmission(stream, tail, 44100);
    addSilence(stream, 44100, 3);

    Listening listening(44100);
    listening.feed(stream);
    ASSERT_EQ(listening.host.pictures.size(), 1u);
    const ReceivedPicture& received = listening.host.pictures[0];
    const auto clean = decodeStream(sent, {.normlevel = 3});
    // Every red line came in, filed by its code: the red of every row below
    // the first is the clean decode's.
    int redRowsAsSent = 0;
    for (int y = 1; y < 120; ++y) {
        bool same = true;
        for (int x = 0; x < 160; ++x)
            same = same && splitColour(received.picture.colour(x, y)).red ==
                               splitColour(clean.picture.colour(x, y)).red;
        redRowsAsSent += same ? 1 : 0;
    }
    EXPECT_EQ(redRowsAsSent, 119);
    EXPECT_FALSE(received.picture == clean.picture);
}

TEST(Listener, SilenceNoiseAndAWhistleGiveNoPicture)
{
    std::vector<std::uint8_t> stream;
    addNoise(stream, 44100, 5);
    addSilence(stream, 44100, 2);
    // A steady whistle of a square tone, two samples high and two low, for a second.
    for (int i = 0; i < 44100; ++i)
        stream.push_back((i / 2) % 2 ? 40 : 216);
    addNoise(stream, 44100, 3);
    Listening listening(44100);
    listening.feed(stream);
    listening.listener.finish();
    EXPECT_TRUE(listening.host.pictures.empty());
    EXPECT_FALSE(listening.listener.receiving());
}

TEST(Listener, ProgressAndTimeLeftFollowTheTransmission)
{
    const auto sent = signedTransmission("KLM456", 0);
    const auto played = atRate(sent, 44100);
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
    EXPECT_EQ(progress.caption.substr(progress.caption.size() - 5), "green");
    const double secondsLeft = static_cast<double>(played.size() - half) / 44100;
    EXPECT_NEAR(listening.listener.secondsLeft(), secondsLeft, 0.05 * secondsLeft);

    // The live picture shows the rows filed so far: the blue of row 30 as sent.
    WorkingPicture live;
    listening.listener.paintLivePicture(live);
    const auto clean = decodeStream(sent, {.normlevel = 3});
    EXPECT_EQ(splitColour(live.colour(10, 30)).blue, splitColour(clean.picture.colour(10, 30)).blue);

    // Listening ends half way: what arrived is handed out.
    listening.listener.finish();
    ASSERT_EQ(listening.host.pictures.size(), 1u);
    EXPECT_FALSE(listening.host.pictures[0].complete);
}

} // namespace
} // namespace tonobild
