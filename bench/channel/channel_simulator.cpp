// tonobild-channel: a transmission's WAV file through a simulated radio path,
// written as a 16-bit WAV file, for measuring receivers without a radio.
//
//   tonobild-channel IN.wav OUT.wav [--ppm N] [--shift HZ] [--ssb] [--nbfm]
//                    [--snr DB] [--rate HZ] [--seed N] [--kbps N]
//
// OUT ending in .flac, .ogg or .mp3 is written as FLAC (16 bit), OGG Vorbis or
// MP3 at --kbps (128 unless given).
//
// In the order of the path: the sender's clock (--ppm: every time stretched
// by 1 + N/1e6), the NBFM sender's pre-emphasis, the mistuning (--shift), the
// noise (--snr, in a 3 kHz band against the signal's power), the receiver's
// passband (--ssb 300-2700 Hz; --nbfm 300-3000 Hz with de-emphasis), and the
// recording card's rate (--rate).

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "channel/channel_model.h"
#include "common/file_error.h"
#include "soundfile/recording.h"

using namespace tonobild;

namespace {

struct Path {
    double ppm = 0, shiftHz = 0, kbps = 128;
    std::optional<double> snrDb, rate;
    bool ssb = false, nbfm = false;
    std::uint32_t seed = 1;
};

std::optional<Path> parse(int argc, char** argv)
{
    Path p;
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        const bool valued = i + 1 < argc;
        if (a == "--ssb")
            p.ssb = true;
        else if (a == "--nbfm")
            p.nbfm = true;
        else if (a == "--ppm" && valued)
            p.ppm = std::atof(argv[++i]);
        else if (a == "--shift" && valued)
            p.shiftHz = std::atof(argv[++i]);
        else if (a == "--snr" && valued)
            p.snrDb = std::atof(argv[++i]);
        else if (a == "--rate" && valued)
            p.rate = std::atof(argv[++i]);
        else if (a == "--kbps" && valued)
            p.kbps = std::atof(argv[++i]);
        else if (a == "--seed" && valued)
            p.seed = static_cast<std::uint32_t>(std::atol(argv[++i]));
        else
            return std::nullopt;
    }
    return p;
}

channel::Samples through(channel::Samples s, double& rate, const Path& p)
{
    const double power = channel::powerOf(s);
    if (p.ppm != 0)
        s = channel::stretch(s, p.ppm);
    if (p.nbfm)
        s = channel::preEmphasis(channel::bandPass(s, rate, 300, 3000), rate);
    if (p.shiftHz != 0)
        s = channel::shift(s, rate, p.shiftHz);
    if (p.snrDb)
        channel::addNoise(s, rate, *p.snrDb, power, p.seed);
    if (p.ssb)
        s = channel::bandPass(s, rate, 300, 2700);
    if (p.nbfm)
        s = channel::bandPass(channel::deEmphasis(s, rate), rate, 300, 3000);
    if (p.rate && *p.rate != rate)
        s = channel::resample(s, rate, *p.rate), rate = *p.rate;
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    const auto path = argc >= 3 ? parse(argc, argv) : std::nullopt;
    if (!path) {
        std::fputs("usage: tonobild-channel IN.wav OUT.wav|OUT.flac|OUT.ogg|OUT.mp3 [--ppm N] [--shift HZ] [--ssb] "
                   "[--nbfm] [--snr DB] [--rate HZ] [--seed N] [--kbps N]\n", stderr);
        return 2;
    }
    try {
        Recording in(argv[1]);
        channel::Samples samples;
        for (auto block = in.nextBlock(); !block.empty(); block = in.nextBlock())
            samples.insert(samples.end(), block.begin(), block.end());
        double rate = in.sampleRate();
        samples = through(std::move(samples), rate, *path);
        writeRecording(argv[2], samples, static_cast<int>(rate), path->kbps);
    } catch (const FileError& e) {
        std::fprintf(stderr, "tonobild-channel: %s\n", e.what());
        return 1;
    }
    return 0;
}
