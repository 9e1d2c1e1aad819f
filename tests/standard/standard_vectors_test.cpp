// Recordings made by another station's encoder (tests/data/standard): each is
// received as the other station sent it, at least as well as a receiver in
// the field does (40.4 dB for Martin 1, 34.6 for Robot 36, 35.0 for PD 120,
// measured at the best small shift with 2 % of the edges left out).
#include <gtest/gtest.h>

#include <algorithm>

#include "soundfile/recording.h"
#include "standard/standard_support.h"
#include "support/picture_data.h"

using namespace tonobild;
using namespace tonobild::standard;

namespace {

std::optional<StandardPicture> receiveFile(const std::string& path)
{
    Recording recording(path);
    StandardReceiver receiver(recording.sampleRate());
    for (auto block = recording.nextBlock(); !block.empty() && !receiver.done(); block = recording.nextBlock())
        receiver.feed(block);
    return receiver.finish();
}

// PSNR of the received picture moved by up to two pixels either way, 2 % of each edge left out.
double bestPsnr(const WorkingPicture& sent, const WorkingPicture& received)
{
    const int marginX = sent.width() / 50, marginY = sent.height() / 50;
    double best = 0;
    for (int dy = -2; dy <= 2; ++dy)
        for (int dx = -2; dx <= 2; ++dx) {
            WorkingPicture inner(sent.width() - 2 * marginX, sent.height() - 2 * marginY), moved = inner;
            for (int y = 0; y < inner.height(); ++y)
                for (int x = 0; x < inner.width(); ++x) {
                    inner.setColour(x, y, sent.colour(x + marginX, y + marginY));
                    moved.setColour(x, y, received.colour(x + marginX + dx, y + marginY + dy));
                }
            best = std::max(best, standardtest::psnr(inner, moved));
        }
    return best;
}

} // namespace

TEST(StandardVectors, RecordingsOfAnotherStationAreReceivedAtLeastAsWellAsInTheField)
{
    struct Case {
        const char* recording;
        const char* picture;
        const char* mode;
        double fieldPsnr; // the weakest figure of the field where none was given
        const char* fskId;
    };
    for (const Case& c : {Case{"standard/M1-plasma.wav", "standard/plasma-320x256.png", "Martin 1", 40.4, "XX1TB"},
                          Case{"standard/S1-plasma.wav", "standard/plasma-320x256.png", "Scottie 1", 34.6, ""},
                          Case{"standard/R36-plasma.wav", "standard/plasma-320x240.png", "Robot 36", 34.6, ""},
                          Case{"standard/PD120-plasma.wav", "standard/plasma-640x496.png", "PD 120", 35.0, ""},
                          Case{"standard/SC2-180-plasma.wav", "standard/plasma-320x256.png", "Wraase SC2-180", 34.6, ""}}) {
        const auto received = receiveFile(testdata::dataPath(c.recording));
        ASSERT_TRUE(received) << c.recording;
        const StandardReport& r = received->report;
        EXPECT_EQ(std::tuple(r.mode->name, r.foundBy, r.fskId, r.complete), std::tuple(c.mode, FoundBy::Vis, c.fskId, true))
            << c.recording;
        EXPECT_GE(bestPsnr(testdata::reference(c.picture), received->picture), c.fieldPsnr) << c.recording;
    }
    // Robot 36 and PD 120 were sent in the full range many stations use.
    EXPECT_EQ(receiveFile(testdata::dataPath("standard/R36-plasma.wav"))->report.range, ColourRange::Full);
}
