// tonobild-channel-table: the standard receiver through every path of the
// channel simulator, as a Markdown table for BENCHMARKS.md: PSNR over red,
// green and blue against the picture as fitted to the mode, for each photo
// card, mode and path; whether every mode's VIS header is read right through
// noise; and, at each signal-to-noise ratio, how far above its per-pixel
// bound the receiver comes.
//
//   tonobild-channel-table [--vis | --noise] [MODE...]   (default: a mode of every family;
//   --vis: the VIS table alone; --noise: the clean and noise columns alone)
#include <cmath>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "channel/channel_model.h"
#include "picture/photo_cards.h"
#include "standard/picture_fitting.h"
#include "standard/standard_encoder.h"
#include "standard/standard_receiver.h"

using namespace tonobild;
using namespace tonobild::standard;

namespace {

constexpr double kRate = 44100;

struct Path {
    std::string name;
    std::function<channel::Samples(const channel::Samples&, double power, double& rate)> apply;
};

channel::Samples noisy(channel::Samples s, double snrDb, double power)
{
    channel::addNoise(s, kRate, snrDb, power, 1);
    return s;
}

std::vector<Path> paths(bool noiseOnly)
{
    std::vector<Path> all = {{"clean", [](const auto& s, double, double&) { return s; }}};
    for (const double snr : {20.0, 10.0, 5.0, 0.0})
        all.push_back({std::to_string(static_cast<int>(snr)) + " dB",
                       [snr](const auto& s, double power, double&) { return noisy(s, snr, power); }});
    if (noiseOnly)
        return all;
    for (const double ppm : {100.0, -100.0, 1000.0, -1000.0, 10000.0, -10000.0})
        all.push_back({(ppm > 0 ? "+" : "") + std::to_string(static_cast<int>(ppm)) + " ppm",
                       [ppm](const auto& s, double, double&) { return channel::stretch(s, ppm); }});
    for (const double hz : {50.0, -50.0, 200.0, -200.0})
        all.push_back({(hz > 0 ? "+" : "") + std::to_string(static_cast<int>(hz)) + " Hz",
                       [hz](const auto& s, double, double&) { return channel::shift(s, kRate, hz); }});
    all.push_back({"SSB", [](const auto& s, double, double&) { return channel::bandPass(s, kRate, 300, 2700); }});
    all.push_back({"NBFM", [](const auto& s, double, double&) {
                       return channel::bandPass(channel::deEmphasis(channel::preEmphasis(channel::bandPass(s, kRate, 300, 3000), kRate), kRate), kRate, 300, 3000);
                   }});
    all.push_back({"at 48000", [](const auto& s, double, double& rate) {
                       rate = 48000;
                       return channel::resample(s, kRate, 48000);
                   }});
    all.push_back({"HF 10 dB", [](const auto& s, double power, double&) {
                       channel::Samples t = channel::shift(channel::stretch(s, 100), kRate, 30);
                       channel::addNoise(t, kRate, 10, power, 1);
                       return channel::bandPass(t, kRate, 300, 2700);
                   }});
    return all;
}

double psnrOf(const WorkingPicture& a, const WorkingPicture& b)
{
    double squares = 0, count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const ColourComponents p = splitColour(a.colour(x, y)), q = splitColour(std::max(b.colour(x, y), 0));
            for (const int d : {p.red - q.red, p.green - q.green, p.blue - q.blue})
                squares += d * d, count += 1;
        }
    return squares == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * count / squares);
}

// The PSNR of a value read from one pixel alone at the Cramér-Rao bound of a
// tone's frequency over the mode's shortest luminance (or colour) pixel.
double pixelBoundPsnr(const StandardMode& mode, double snrDb)
{
    const double pixel = mode.shortestBrightnessPixelMs() / 1000;
    const double hz = std::sqrt(3 / (2 * M_PI * M_PI * std::pow(10, snrDb / 10) * 3000 * std::pow(pixel, 3)));
    return 20 * std::log10(255 / (hz * 255 / 800));
}

channel::Samples transmissionOf(const StandardMode& mode, const WorkingPicture& picture)
{
    channel::Samples samples(static_cast<std::size_t>(kRate), 0.0f);
    SendOptions options;
    options.sampleRate = static_cast<std::uint32_t>(kRate);
    sendPicture(mode, picture, options, [&](std::span<const std::int16_t> block) {
        for (const std::int16_t s : block)
            samples.push_back(static_cast<float>(s) / 32768.0f);
    });
    samples.insert(samples.end(), static_cast<std::size_t>(kRate), 0.0f);
    return samples;
}

std::string cell(const StandardMode& mode, const WorkingPicture& sent, const channel::Samples& samples, double rate)
{
    StandardReceiver receiver(rate);
    for (std::size_t at = 0; at < samples.size() && !receiver.done(); at += 16384)
        receiver.feed(std::span(samples).subspan(at, std::min<std::size_t>(16384, samples.size() - at)));
    const auto received = receiver.finish();
    if (!received || received->report.mode != &mode)
        return "none";
    char text[16];
    std::snprintf(text, sizeof text, "%.1f%s", psnrOf(sent, received->picture),
                  received->report.foundBy == FoundBy::Vis ? "" : " (lines)");
    return text;
}

// How the transmission was found through noise of `snrDb` drawn from `seed`:
// the receiver is fed until it has found one (or the recording ends).
struct Finding {
    const StandardMode* mode = nullptr;
    FoundBy by = FoundBy::Lines;
};

Finding findingOf(const channel::Samples& clean, double power, double snrDb, std::uint32_t seed)
{
    channel::Samples samples = clean;
    channel::addNoise(samples, kRate, snrDb, power, seed);
    StandardReceiver receiver(kRate);
    for (std::size_t at = 0; at < samples.size() && !receiver.found(); at += 16384)
        receiver.feed(std::span(samples).subspan(at, std::min<std::size_t>(16384, samples.size() - at)));
    if (!receiver.found())
        receiver.finish();
    return receiver.found() ? Finding{receiver.mode(), receiver.foundBy()} : Finding{};
}

double powerOfTransmission(const channel::Samples& clean)
{
    return channel::powerOf(clean) * static_cast<double>(clean.size()) / (static_cast<double>(clean.size()) - 2 * kRate);
}

// Every mode of the table through noise, each at a few draws: how often its
// VIS was read right, how often it was found by its lines instead, and how
// often a wrong mode was named.
void printVisTable()
{
    constexpr int kDraws = 5;
    const std::vector<double> snrs = {5, 0, -3};
    std::printf("\nThe VIS through noise (%d draws each: read right / found by the lines / wrong mode)\n\n| Mode |", kDraws);
    for (const double snr : snrs)
        std::printf(" %.0f dB |", snr);
    std::printf("\n|---|---|---|---|\n");
    for (const StandardMode& mode : modeTable()) {
        const channel::Samples clean =
            transmissionOf(mode, fitPicture(drawPhotoCard(PhotoCard::Landscape, 1024, 768), mode.width, mode.height, Fit::Crop));
        const double power = powerOfTransmission(clean);
        std::printf("| %s |", mode.name.c_str());
        for (const double snr : snrs) {
            int right = 0, lines = 0, wrong = 0;
            for (std::uint32_t seed = 1; seed <= kDraws; ++seed) {
                const Finding f = findingOf(clean, power, snr, seed);
                right += f.mode == &mode && f.by == FoundBy::Vis;
                lines += f.mode == &mode && f.by != FoundBy::Vis;
                wrong += f.mode != nullptr && f.mode != &mode;
            }
            std::printf(" %d / %d / %d |", right, lines, wrong);
            std::fflush(stdout);
        }
        std::printf("\n");
    }
}

void printPathTables(const std::vector<std::string>& modes, bool noiseOnly)
{
    const std::vector<Path> all = paths(noiseOnly);
    for (const PhotoCard card : photoCards()) {
        std::printf("\n%s\n\n| Mode |", photoCardName(card).c_str());
        for (const Path& p : all)
            std::printf(" %s |", p.name.c_str());
        std::printf("\n|---|");
        for (std::size_t i = 0; i < all.size(); ++i)
            std::printf("---|");
        std::printf("\n");
        for (const std::string& name : modes) {
            const StandardMode& mode = *findMode(name);
            const WorkingPicture sent = fitPicture(drawPhotoCard(card, 1024, 768), mode.width, mode.height, Fit::Crop);
            const channel::Samples clean = transmissionOf(mode, sent);
            const double power = powerOfTransmission(clean);
            std::printf("| %s |", mode.name.c_str());
            for (const Path& p : all) {
                double rate = kRate;
                const channel::Samples through = p.apply(clean, power, rate);
                std::printf(" %s |", cell(mode, sent, through, rate).c_str());
                std::fflush(stdout);
            }
            std::printf("\n");
        }
    }
}

void printBounds(const std::vector<std::string>& modes)
{
    std::printf("\nPer-pixel bound (PSNR of one pixel's value at the Cramér-Rao bound of its tone's frequency)\n\n"
                "| Mode | 20 dB | 10 dB | 5 dB | 0 dB |\n|---|---|---|---|---|\n");
    for (const std::string& name : modes) {
        const StandardMode& mode = *findMode(name);
        std::printf("| %s |", mode.name.c_str());
        for (const double snr : {20.0, 10.0, 5.0, 0.0})
            std::printf(" %.1f |", pixelBoundPsnr(mode, snr));
        std::printf("\n");
    }
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> modes(argv + 1, argv + argc);
    const std::string only = !modes.empty() && modes.front().starts_with("--") ? modes.front() : "";
    if (!only.empty() && only != "--vis" && only != "--noise") {
        std::fprintf(stderr, "tonobild-channel-table: unknown option %s (--vis or --noise)\n", only.c_str());
        return 2;
    }
    if (!only.empty())
        modes.erase(modes.begin());
    if (modes.empty())
        modes = {"M1", "SDX", "R36", "PD120", "PD290", "SC2-180", "P5"};
    for (const std::string& name : modes)
        if (!findMode(name)) {
            std::fprintf(stderr, "tonobild-channel-table: no mode is called %s (see tonobild-cli modes)\n", name.c_str());
            return 2;
        }
    if (only != "--vis")
        printPathTables(modes, only == "--noise");
    if (only.empty() || only == "--vis")
        printVisTable();
    if (only.empty())
        printBounds(modes);
}
