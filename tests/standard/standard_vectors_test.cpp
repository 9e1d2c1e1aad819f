// Recordings made by another station's encoder (tests/data/standard): each is
// received as the other station sent it, at least as well as a receiver in
// the field does (40.4 dB for Martin 1, 34.6 for Robot 36, 35.0 for PD 120,
// measured at the best small shift with 2 % of the edges left out).
#include <gtest/gtest.h>

#include <sndfile.h>

#include <QTemporaryDir>
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

namespace {

// The samples written as a sound file of the format through libsndfile; answers its path.
std::string writeSoundFile(const std::string& path, const channel::Samples& samples, int format, double compression)
{
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 1;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
    if (!file)
        return path;
    if ((format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG) {
        int constant = SF_BITRATE_MODE_CONSTANT;
        sf_command(file, SFC_SET_BITRATE_MODE, &constant, sizeof constant);
    }
    if (compression >= 0) // 0 the least, 1 the most compressed; for MP3 at a constant rate, 320 to 32 kbit/s
        sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof compression);
    sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    sf_close(file);
    return path;
}

} // namespace

// Recordings passed around as FLAC, OGG and MP3 (128 kbit/s) are received as
// the WAV is: FLAC bit for bit, the lossy ones within 2 dB.
TEST(StandardVectors, RecordingsInFlacOggAndMp3AreReceived)
{
    const StandardMode& mode = *findMode("R36");
    const WorkingPicture sent = standardtest::photoCard(mode);
    SendOptions options;
    options.callsign = "DL1ABC";
    const channel::Samples samples = standardtest::recorded(standardtest::transmission(mode, sent, options), 44100);
    const QTemporaryDir folder;
    const double clean = standardtest::psnr(sent, receiveFile(writeSoundFile(folder.filePath("r.wav").toStdString(), samples, SF_FORMAT_WAV | SF_FORMAT_PCM_16, -1))->picture);
    for (const auto& [name, format, quality, loss] :
         {std::tuple{"r.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, -1.0, 0.1},
          {"r.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0.3, 2.0},
          {"r.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, (320.0 - 128) / 288, 2.0}}) {
        const auto received = receiveFile(writeSoundFile(folder.filePath(name).toStdString(), samples, format, quality));
        ASSERT_TRUE(received) << name;
        EXPECT_EQ(std::tuple(received->report.mode, received->report.fskId), std::tuple(&mode, "DL1ABC")) << name;
        EXPECT_GE(standardtest::psnr(sent, received->picture), clean - loss) << name;
    }
}
