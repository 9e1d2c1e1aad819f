// The receiver's building blocks against hand-worked values: the complex
// filter's outputs and decimation, the tone's frequency measured over any
// stretch, and noise reduction that takes out a click and noise but leaves a
// clean picture as it is, and which lines count as heard through a fade.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "standard/complex_fir.h"
#include "standard/line_grid.h"
#include "standard/mode_table.h"
#include "standard/noise_reduction.h"
#include "standard/standard_support.h"
#include "standard/tone_measures.h"

using namespace tonobild;
using namespace tonobild::standard;
using tonobild::standardtest::photoCard;

TEST(ComplexFir, FiltersAcrossBlocksAndKeepsEveryNthOutput)
{
    // Taps 1, 0.5i: y[n] = x[n] + 0.5i x[n-1]; an impulse at 1, then a step of 2 from 3 on.
    const std::complex<float> taps[] = {{1, 0}, {0, 0.5f}};
    const std::vector<std::complex<float>> x = {{0, 0}, {1, 0}, {0, 0}, {2, 0}, {2, 0}, {2, 0}};
    const std::vector<std::complex<float>> expected = {{0, 0}, {1, 0}, {0, 0.5f}, {2, 0}, {2, 1}, {2, 1}};
    ComplexFir whole(taps), split(taps), halves(taps, 2);
    std::vector<std::complex<float>> a, b, c;
    whole.filter(x, a);
    split.filter(std::span(x).first(2), b);
    split.filter(std::span(x).subspan(2), b);
    halves.filter(x, c);
    EXPECT_EQ(a, expected);
    EXPECT_EQ(b, expected);
    EXPECT_EQ(c, (std::vector<std::complex<float>>{expected[0], expected[2], expected[4]}));
}

// A tone of 1700 Hz over 1900 Hz baseband: -200 Hz a sample, read back over any stretch, fractions included.
TEST(FrequencyTrack, ReadsAToneOverAnyStretchAndClampsClicks)
{
    constexpr double rate = 11025;
    std::vector<Baseband> z;
    for (int m = 0; m < 200; ++m)
        z.push_back(std::polar(1.0f, static_cast<float>(2 * M_PI * -200 * m / rate)));
    const FrequencyTrack track(TrackView{z, rate});
    for (const auto& [from, to] : {std::pair{10.0, 20.0}, {10.3, 10.8}, {50.5, 150.25}})
        EXPECT_NEAR(track.mean(from, to), 1700, 0.01) << from;
    // Every fourth sample kept: positions still count in the full track's samples.
    std::vector<Baseband> quarter;
    for (std::size_t m = 0; m < z.size(); m += 4)
        quarter.push_back(z[m]);
    EXPECT_NEAR(FrequencyTrack(TrackView{quarter, rate / 4}, -1e9, 1e9, 4).mean(40, 120), 1700, 0.01);
    // A click: one sample's phase turned half round; clamped to 1500..2300 it costs the mean far less.
    z[100] *= -1.0f;
    const double unclamped = FrequencyTrack(TrackView{z, rate}).mean(96, 106);
    const double clamped = FrequencyTrack(TrackView{z, rate}, 1500, 2300).mean(96, 106);
    EXPECT_GT(std::abs(unclamped - 1700), 500);
    EXPECT_LT(std::abs(clamped - 1700), 200);
}

TEST(NoiseReduction, TakesOutAClickAndNoiseAndLeavesACleanPictureAsItIs)
{
    const StandardMode& mode = *findMode("M1");
    ScanPlanes clean(mode);
    for (int y = 0; y < mode.height; ++y)
        for (int plane = 0; plane < 3; ++plane)
            for (int x = 0; x < mode.width; ++x)
                clean.row(plane, y)[static_cast<std::size_t>(x)] = x < 160 ? 40.0f : 200.0f; // an edge
    ScanPlanes noisy = clean, kept = clean;
    std::mt19937 random(3);
    std::normal_distribution<float> noise(0, 10);
    for (int y = 0; y < mode.height; ++y)
        for (float& v : noisy.row(1, y))
            v += noise(random);
    noisy.row(0, 100)[50] = 255; // a click
    const NoiseReduction reduction{true, 1.0};
    reduceNoise(noisy, mode, 0, mode.height, reduction);
    reduceNoise(kept, mode, 0, mode.height, reduction);
    EXPECT_EQ(noisy.row(0, 100)[50], 40.0f);
    double squares = 0;
    for (int y = 0; y < mode.height; ++y)
        for (int x = 0; x < mode.width; ++x)
            squares += std::pow(noisy.row(1, y)[static_cast<std::size_t>(x)] - clean.row(1, y)[static_cast<std::size_t>(x)], 2);
    EXPECT_LT(std::sqrt(squares / (mode.width * mode.height)), 4.0); // from 10
    for (int y = 0; y < mode.height; y += 37)
        EXPECT_EQ(kept.row(2, y)[159], 40.0f) << y; // the edge stays where it was
    EXPECT_NEAR(planeNoise(noisy, 1, 0, mode.height, 1), 0, 3);

    // Over a flat picture every neighbourhood is alike: searching 7 x 7 rather
    // than 5 x 5 averages about 49 values instead of 25, so the noise left
    // should fall by about sqrt(25 / 49) = 0.71.
    const auto noiseLeft = [&](int searchRadius) {
        ScanPlanes flat(mode);
        std::mt19937 draws(7);
        for (int y = 0; y < mode.height; ++y)
            for (int plane = 0; plane < 3; ++plane)
                for (float& v : flat.row(plane, y))
                    v = 100.0f + noise(draws);
        reduceNoise(flat, mode, 0, mode.height, NoiseReduction{false, 1.0, searchRadius});
        double sum = 0;
        for (int y = 0; y < mode.height; ++y)
            for (const float v : flat.row(0, y))
                sum += (v - 100.0) * (v - 100.0);
        return std::sqrt(sum / (mode.width * mode.height));
    };
    EXPECT_LT(noiseLeft(3), 0.8 * noiseLeft(2));
}

// The market card's busy planes (red, green, blue) with gaussian noise of
// `level` added, and the error left in them after `reduction`, in levels rms.
struct NoisyMarket {
    const StandardMode& mode = *findMode("M1");
    ScanPlanes clean{mode};
    ScanPlanes noisy{mode};

    explicit NoisyMarket(float level)
    {
        const WorkingPicture market = photoCard(mode, PhotoCard::Market);
        std::mt19937 draws(11);
        std::normal_distribution<float> noise(0, level);
        for (int y = 0; y < mode.height; ++y)
            for (int x = 0; x < mode.width; ++x) {
                const ColourComponents c = splitColour(market.colour(x, y));
                const int components[] = {c.red, c.green, c.blue};
                for (int plane = 0; plane < 3; ++plane) {
                    clean.row(plane, y)[static_cast<std::size_t>(x)] = static_cast<float>(components[plane]);
                    noisy.row(plane, y)[static_cast<std::size_t>(x)] = static_cast<float>(components[plane]) + noise(draws);
                }
            }
    }

    double errorLeft(const NoiseReduction& reduction) const
    {
        ScanPlanes reduced = noisy;
        reduceNoise(reduced, mode, 0, mode.height, reduction);
        double squares = 0;
        for (int y = 0; y < mode.height; ++y)
            for (int plane = 0; plane < 3; ++plane)
                for (int x = 0; x < mode.width; ++x)
                    squares += std::pow(reduced.row(plane, y)[static_cast<std::size_t>(x)] - clean.row(plane, y)[static_cast<std::size_t>(x)], 2);
        return std::sqrt(squares / (3.0 * mode.width * mode.height));
    }
};

// Deep in the noise (0 dB's strength and search, noise of 20 levels), the
// market card comes closer when a second pass weighs the neighbours by the
// first pass's picture rather than by the noisy values. Above it (20 dB's
// strength, noise of 8 levels), the Wiener filter led by non-local means'
// picture gives back detail that the median and the averaging took.
TEST(NoiseReduction, AGuidedPassDeepInTheNoiseAndAWienerFilterAboveItBringABusyPictureCloser)
{
    const NoisyMarket deep(20);
    const double once = deep.errorLeft({true, 2.5, 3, false}), guided = deep.errorLeft({true, 2.5, 3, true});
    EXPECT_LT(once, 20.0);
    EXPECT_LT(guided, 0.96 * once); // 13.5 against 12.6 when written

    const NoisyMarket moderate(8);
    const double plain = moderate.errorLeft({true, 0.8, 2, false, 0});
    const double filtered = moderate.errorLeft({true, 0.8, 2, false, 1});
    EXPECT_LT(plain, 8.0);
    EXPECT_LT(filtered, 0.85 * plain); // 6.2 against 4.4 when written
}

// Robot 36's colour differences are read over many pixels' time: the Wiener
// filter leaves them as non-local means gives them and filters the luminance.
TEST(NoiseReduction, TheWienerFilterLeavesColourDifferencesAsNonLocalMeansGivesThem)
{
    const StandardMode& mode = *findMode("R36");
    ScanPlanes planes(mode);
    std::mt19937 draws(5);
    std::normal_distribution<float> noise(0, 8);
    for (int y = 0; y < mode.height; ++y)
        for (int plane = 0; plane < 3; ++plane)
            for (int x = 0; x < mode.width; ++x) // squares of 16 x 16, 100 and 160
                planes.row(plane, y)[static_cast<std::size_t>(x)] = ((x / 16 + y / 16) % 2 ? 160.0f : 100.0f) + noise(draws);
    ScanPlanes plain = planes, filtered = planes;
    reduceNoise(plain, mode, 0, mode.height, {true, 0.8, 2, false, 0});
    reduceNoise(filtered, mode, 0, mode.height, {true, 0.8, 2, false, 1});
    int luminanceRowsFiltered = 0;
    for (int y = 0; y < mode.height; ++y) {
        for (const int plane : {1, 2})
            ASSERT_TRUE(std::ranges::equal(plain.row(plane, y), filtered.row(plane, y))) << plane << " " << y;
        luminanceRowsFiltered += !std::ranges::equal(plain.row(0, y), filtered.row(0, y));
    }
    EXPECT_EQ(luminanceRowsFiltered, mode.height);
}

// Robot 36 deep in the noise: squares of 16 x 16 whose luminance (100 and
// 160) non-local means reads nearly clean and whose colour differences (110
// and 150) stay noisy. Made to follow the luminance within 7 x 7, the colour
// loses most of its noise, keeps its edges where the luminance has them, and
// the luminance is left as it was.
TEST(NoiseReduction, ColourDifferencesFollowTheLuminancesEdgesAndLoseTheirNoise)
{
    const StandardMode& mode = *findMode("R36");
    const auto inSquare = [](int x, int y) { return (x / 16 + y / 16) % 2 == 1; };
    ScanPlanes planes(mode);
    std::mt19937 draws(7);
    std::normal_distribution<float> quiet(0, 2), loud(0, 16);
    for (int y = 0; y < mode.height; ++y)
        for (int x = 0; x < mode.width; ++x) {
            planes.row(0, y)[static_cast<std::size_t>(x)] = (inSquare(x, y) ? 160.0f : 100.0f) + quiet(draws);
            for (const int plane : {1, 2})
                planes.row(plane, y)[static_cast<std::size_t>(x)] = (inSquare(x, y) ? 150.0f : 110.0f) + loud(draws);
        }
    ScanPlanes plain = planes, following = planes;
    reduceNoise(plain, mode, 0, mode.height, {false, 0.8, 2, false, 0, 0});
    reduceNoise(following, mode, 0, mode.height, {false, 0.8, 2, false, 0, 3});
    // Colour error in levels rms, over every value and over those beside an edge.
    const auto colourError = [&](const ScanPlanes& p, bool besideEdges) {
        double squares = 0;
        int count = 0;
        for (int y = 0; y < mode.height; ++y)
            for (int x = 0; x < mode.width; ++x) {
                const bool beside = x % 16 == 0 || x % 16 == 15 || y % 16 == 0 || y % 16 == 15;
                if (besideEdges && !beside)
                    continue;
                for (const int plane : {1, 2}) {
                    const float truth = inSquare(x, y) ? 150.0f : 110.0f;
                    squares += std::pow(p.row(plane, y)[static_cast<std::size_t>(x)] - truth, 2);
                    ++count;
                }
            }
        return std::sqrt(squares / count);
    };
    EXPECT_LT(colourError(following, false), 0.5 * colourError(plain, false)); // 2.0 against 5.3 when written
    EXPECT_LT(colourError(following, true), 0.5 * colourError(plain, true));   // 2.4 against 8.5
    EXPECT_LT(colourError(following, true), 4.0); // a plain 7 x 7 mean leaves 17 there
    for (int y = 0; y < mode.height; ++y)
        ASSERT_TRUE(std::ranges::equal(plain.row(0, y), following.row(0, y))) << y;
}

// A step from 40 to 200 at column 160 in every plane: read smooth, blurred
// over five columns with a little noise, and sharp, with four times the
// noise and a click. The edge comes back from the sharp reading, the flat
// areas keep the smooth reading's quiet and the click stays out.
TEST(NoiseReduction, KeepsTheSharpReadingsEdgeAndTheSmoothReadingsFlats)
{
    const StandardMode& mode = *findMode("SDX");
    const auto truth = [](int x) { return x < 160 ? 40.0f : 200.0f; };
    ScanPlanes smooth(mode), sharp(mode);
    std::mt19937 random(5);
    std::normal_distribution<float> quiet(0, 2), loud(0, 8);
    for (int plane = 0; plane < 3; ++plane)
        for (int y = 0; y < mode.height; ++y)
            for (int x = 0; x < mode.width; ++x) {
                float blurred = 0;
                for (int dx = -2; dx <= 2; ++dx)
                    blurred += truth(std::clamp(x + dx, 0, mode.width - 1)) / 5;
                smooth.row(plane, y)[static_cast<std::size_t>(x)] = blurred + quiet(random);
                sharp.row(plane, y)[static_cast<std::size_t>(x)] = truth(x) + loud(random);
            }
    sharp.row(1, 100)[50] = 255;
    keepEdges(smooth, sharp, mode, 0, mode.height);
    double flat = 0, edge = 0;
    for (int plane = 0; plane < 3; ++plane)
        for (int y = 0; y < mode.height; ++y)
            for (int x = 0; x < mode.width; ++x) {
                const double e = std::pow(smooth.row(plane, y)[static_cast<std::size_t>(x)] - truth(x), 2);
                (x >= 158 && x < 162 ? edge : flat) += e;
            }
    // Smooth alone: 64 and 96 off beside the edge (rms 80); sharp alone: 8 everywhere.
    EXPECT_LT(std::sqrt(edge / (3 * 4 * mode.height)), 12);
    EXPECT_LT(std::sqrt(flat / (3 * (mode.width - 4) * mode.height)), 3.5);
    EXPECT_NEAR(smooth.row(1, 100)[50], 40, 10);
}

// Robot 36 sends pairs of rows (0, 1), (2, 3), (4, 5) the colour differences
// 100, 120 and 140. Each received row is read three parts its pair and one
// part the nearer pair beside it, or its own pair where the one beside was not
// received whole (rows 6 and 7 were not received at all; from row 1 on, the
// first pair was half received). Luminance and the RGB modes are left as read.
TEST(ScanPlanes, PlacesEachPairsColourBetweenItsTwoRows)
{
    const StandardMode& robot = *findMode("R36");
    const auto sent = [](int y) { return y < 6 ? 100.0f + 20.0f * static_cast<float>(y / 2) : 60.0f; };
    const struct {
        int firstRow;
        float expected[8];
    } cases[] = {{0, {100, 105, 115, 125, 135, 140, 60, 60}}, {1, {100, 105, 120, 125, 135, 140, 60, 60}}};
    for (const auto& c : cases) {
        ScanPlanes planes(robot);
        for (int y = 0; y < 8; ++y)
            for (int plane = 0; plane < 3; ++plane)
                std::ranges::fill(planes.row(plane, y), sent(y));
        planes.placeColourBetweenPairs(robot, c.firstRow, 6);
        for (int y = 0; y < 8; ++y) {
            EXPECT_EQ(planes.row(1, y)[17], c.expected[y]) << c.firstRow << " " << y;
            EXPECT_EQ(planes.row(2, y)[300], c.expected[y]) << c.firstRow << " " << y;
            EXPECT_EQ(planes.row(0, y)[17], sent(y)) << y;
        }
    }
    const StandardMode& martin = *findMode("M1");
    ScanPlanes rgb(martin);
    for (int y = 0; y < 4; ++y)
        std::ranges::fill(rgb.row(1, y), 10.0f * static_cast<float>(y));
    rgb.placeColourBetweenPairs(martin, 0, 4);
    EXPECT_EQ(rgb.row(1, 1)[5], 10.0f);
}

// Lines of Robot 36 at 11025 (1653.75 samples each), heard (x) or not (.):
// a fade may last 5 s (33 lines), and ends only where three lines in a row
// are heard; a burst of three lines needs no more than one. Lines heard
// now and then in a fade do not end it, nor keep the transmission from
// having gone 34 lines after its last; a line heard after more than 33
// begins a run of its own.
TEST(LinesHeard, BridgesABurstAndAFadeThatEndsInLinesAndNothingLonger)
{
    const LineGrid grid{0, 1653.75, 1};
    const std::string fade33(33, '.'), fade34(34, '.');
    const struct {
        std::string heard;
        int first, last;
        std::vector<std::pair<int, int>> fades;
        bool gone;
    } cases[] = {
        {"xxx...xx", 0, 7, {}, false},
        {"xxx....x.xxx", 0, 11, {{3, 8}}, false},
        {"xx" + fade33 + "xxx", 0, 37, {{2, 34}}, false},
        {"xx" + fade34 + "xxx", 36, 38, {}, false},
        {"xx" + std::string(10, '.') + "x.x" + std::string(21, '.'), 0, 1, {}, true},
        {fade34, 0, -1, {}, true},
    };
    for (const auto& c : cases) {
        LinesHeard lines(11025, grid);
        for (const char h : c.heard)
            lines.next(h == 'x');
        EXPECT_EQ(std::tuple(lines.run().first, lines.run().last, lines.run().fades, lines.gone()),
                  std::tuple(c.first, c.last, c.fades, c.gone))
            << c.heard;
    }
}
