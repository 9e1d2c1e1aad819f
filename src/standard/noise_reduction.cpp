#include "standard/noise_reduction.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <span>
#include <vector>

namespace tonobild::standard {

namespace {

constexpr int kWidestSearch = 3; // the widest search radius a plan may ask for
constexpr int kPatchRadius = 1;  // neighbourhoods of 3 x 3 (the patch sums below are written for it)
constexpr int kBorder = kWidestSearch + kPatchRadius + 1;
// Two neighbourhoods alike but for their noise differ, value by value, by
// twice a plane's noise squared.
constexpr float kAlikeDifference = 2;
// Deep in the noise a neighbourhood's own noise hides which of its neighbours
// are alike; the first pass's picture shows it better. A guided second pass
// averages the values read again, weighed by how alike the neighbourhoods are
// in the first pass's picture: its noise is a fraction of the values', so
// alike neighbourhoods differ less there and the strength is tighter. The two
// passes' pictures are then averaged, their errors being partly their own.
constexpr float kGuidedAlikeDifference = 0.5f;
constexpr double kGuidedStrength = 0.5;
constexpr float kGuidedShare = 0.5f;

float medianOf(std::vector<float>& values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

int planesSent(const StandardMode& mode)
{
    return mode.family == ColourFamily::Grey ? 1 : 3;
}

// The values of a plane's rows [firstRow, endRow) as one grid, its edges
// repeated kBorder values beyond every side.
struct Grid {
    int width = 0;
    int height = 0;
    int stride = 0;
    std::vector<float> values;

    std::size_t index(int x, int y) const noexcept
    {
        return static_cast<std::size_t>(y + kBorder) * stride + static_cast<std::size_t>(x + kBorder);
    }
    float& at(int x, int y) noexcept { return values[index(x, y)]; }
    float at(int x, int y) const noexcept { return values[index(x, y)]; }
};

Grid gridOf(const ScanPlanes& planes, int plane, int firstRow, int endRow)
{
    Grid g{planes.width(), endRow - firstRow, planes.width() + 2 * kBorder, {}};
    g.values.resize(static_cast<std::size_t>(g.stride) * (g.height + 2 * kBorder));
    for (int y = -kBorder; y < g.height + kBorder; ++y) {
        const auto row = planes.row(plane, firstRow + std::clamp(y, 0, g.height - 1));
        for (int x = -kBorder; x < g.width + kBorder; ++x)
            g.at(x, y) = row[static_cast<std::size_t>(std::clamp(x, 0, g.width - 1))];
    }
    return g;
}

void putBack(const Grid& g, ScanPlanes& planes, int plane, int firstRow)
{
    for (int y = 0; y < g.height; ++y) {
        const auto row = planes.row(plane, firstRow + y);
        for (int x = 0; x < g.width; ++x)
            row[static_cast<std::size_t>(x)] = g.at(x, y);
    }
}

// The median of nine by a network of exchanges, each a minimum and a maximum
// rather than a branch, which noise would leave the processor guessing.
float medianOfNine(float v[9])
{
    const auto order = [&](int a, int b) {
        const float low = std::min(v[a], v[b]);
        v[b] = std::max(v[a], v[b]);
        v[a] = low;
    };
    for (const auto& [a, b] : {std::pair{1, 2}, {4, 5}, {7, 8}, {0, 1}, {3, 4}, {6, 7}, {1, 2}, {4, 5}, {7, 8},
                              {0, 3}, {5, 8}, {4, 7}, {3, 6}, {1, 4}, {2, 5}, {4, 7}, {4, 2}, {6, 4}, {4, 2}})
        order(a, b);
    return v[4];
}

Grid medianOfNine(const Grid& g)
{
    Grid out = g;
    float near[9];
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    near[n++] = g.at(x + dx, y + dy);
            out.at(x, y) = medianOfNine(near);
        }
    return out;
}

// exp(-x) for x >= 0 from a table, as the weights need it: to a few parts in a thousand.
class NegativeExp {
public:
    NegativeExp()
    {
        for (std::size_t i = 0; i < table_.size(); ++i)
            table_[i] = static_cast<float>(std::exp(-static_cast<double>(i) / kSteps));
    }
    float operator()(float x) const noexcept
    {
        const float at = x * kSteps;
        return at >= static_cast<float>(table_.size() - 1) ? 0.0f : table_[static_cast<std::size_t>(at)];
    }

private:
    static constexpr int kSteps = 64;
    std::array<float, 16 * kSteps> table_{};
};

// Non-local means over planes together: each value the weighted mean of the
// values within `searchRadius` either way, weighed by how alike their neighbourhoods
// are in the `guide` (the values themselves, or a first pass's picture of
// them) in every plane at once (each plane's differences counted against its
// own noise), so that a shape seen in one plane keeps its edges in all. Each
// pair of places is compared once: the weight of b for a is the weight of a for b.
// The guide may be the values themselves: they are written only once every
// pair has been weighed.
void nonLocalMeans(std::vector<Grid>& grids, const std::vector<Grid>& guide, const std::vector<double>& noises,
                   double strength, int searchRadius, float alikeDifference)
{
    static const NegativeExp negativeExp;
    const Grid& g = grids.front();
    const auto planeCount = static_cast<float>(grids.size());
    const auto inverseH2 = static_cast<float>(1 / (strength * strength));
    std::vector<float> inverseNoise2;
    for (const double noise : noises)
        inverseNoise2.push_back(static_cast<float>(1 / (noise * noise)));
    std::vector<std::vector<float>> totals;
    for (const Grid& plane : grids)
        totals.push_back(plane.values);
    std::vector<float> weights(g.values.size(), 1.0f);
    std::vector<float> differences(g.values.size(), 0.0f), across(g.values.size(), 0.0f);
    constexpr float patchArea = (2 * kPatchRadius + 1) * (2 * kPatchRadius + 1);
    for (int dy = 0; dy <= searchRadius; ++dy)
        for (int dx = -searchRadius; dx <= searchRadius; ++dx) {
            if (dy == 0 && dx <= 0)
                continue;
            const std::ptrdiff_t offset = static_cast<std::ptrdiff_t>(dy) * g.stride + dx;
            // The squared differences over the rows the patches reach, summed across, then down.
            for (int y = -kPatchRadius; y < g.height + kPatchRadius; ++y)
                for (int x = -kPatchRadius - 1; x < g.width + kPatchRadius + 1; ++x) {
                    const std::size_t i = g.index(x, y);
                    const auto j = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(i) + offset);
                    float sum = 0;
                    for (std::size_t p = 0; p < grids.size(); ++p) {
                        const float d = guide[p].values[i] - guide[p].values[j];
                        sum += d * d * inverseNoise2[p];
                    }
                    differences[i] = sum;
                }
            for (int y = -kPatchRadius; y < g.height + kPatchRadius; ++y)
                for (int x = 0; x < g.width; ++x) {
                    const std::size_t i = g.index(x, y);
                    across[i] = differences[i - 1] + differences[i] + differences[i + 1];
                }
            for (int y = 0; y < g.height; ++y)
                for (int x = 0; x < g.width; ++x) {
                    const std::size_t a = g.index(x, y);
                    const float patch = (across[a - g.stride] + across[a] + across[a + g.stride]) / (patchArea * planeCount);
                    const float w = negativeExp(std::max(0.0f, patch - alikeDifference) * inverseH2);
                    const auto b = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(a) + offset);
                    for (std::size_t p = 0; p < grids.size(); ++p) {
                        totals[p][a] += w * grids[p].values[b];
                        totals[p][b] += w * grids[p].values[a];
                    }
                    weights[a] += w, weights[b] += w;
                }
        }
    for (std::size_t p = 0; p < grids.size(); ++p)
        for (int y = 0; y < g.height; ++y)
            for (int x = 0; x < g.width; ++x)
                grids[p].at(x, y) = totals[p][g.index(x, y)] / weights[g.index(x, y)];
}

// Non-local means twice: the second pass guided by the first's picture, and
// the two pictures averaged.
void guidedNonLocalMeans(std::vector<Grid>& grids, const std::vector<double>& noises, double strength, int searchRadius)
{
    std::vector<Grid> firstPass = grids;
    nonLocalMeans(firstPass, firstPass, noises, strength, searchRadius, kAlikeDifference);
    nonLocalMeans(grids, firstPass, noises, strength * kGuidedStrength, searchRadius, kGuidedAlikeDifference);
    for (std::size_t p = 0; p < grids.size(); ++p)
        for (std::size_t i = 0; i < grids[p].values.size(); ++i)
            grids[p].values[i] += kGuidedShare * (firstPass[p].values[i] - grids[p].values[i]);
}

// Blocks of 8 x 8 values and their cosines (the orthonormal DCT).
constexpr int kBlock = 8;
constexpr int kBlockStep = 4; // blocks overlap by half either way
static_assert(kBorder >= kBlock / 2, "a block half over a grid's edge stays in its repeated border");
using Block = std::array<float, kBlock * kBlock>;

// The cosines of a block's side, row k the k-th, and their transpose.
struct Cosines {
    Block rows{};
    Block columns{};
};

const Cosines& cosines()
{
    static const Cosines basis = [] {
        Cosines b;
        for (int k = 0; k < kBlock; ++k)
            for (int n = 0; n < kBlock; ++n) {
                const auto c = static_cast<float>(std::sqrt((k == 0 ? 1.0 : 2.0) / kBlock) *
                                                  std::cos(M_PI * (2 * n + 1) * k / (2.0 * kBlock)));
                b.rows[k * kBlock + n] = c;
                b.columns[n * kBlock + k] = c;
            }
        return b;
    }();
    return basis;
}

// m x in x m' for 8 x 8 blocks, `mt` being m's transpose; each innermost loop
// runs along a row, so the compiler takes it a vector at a time.
Block sandwiched(const Block& in, const Block& m, const Block& mt)
{
    Block across{}, out{};
    for (int r = 0; r < kBlock; ++r)
        for (int n = 0; n < kBlock; ++n)
            for (int k = 0; k < kBlock; ++k)
                across[r * kBlock + k] += in[r * kBlock + n] * mt[n * kBlock + k];
    for (int k = 0; k < kBlock; ++k)
        for (int n = 0; n < kBlock; ++n)
            for (int col = 0; col < kBlock; ++col)
                out[k * kBlock + col] += m[k * kBlock + n] * across[n * kBlock + col];
    return out;
}

// A block's cosines, or with `back` the block its cosines make.
Block transformed(const Block& in, bool back)
{
    const Cosines& c = cosines();
    return back ? sandwiched(in, c.columns, c.rows) : sandwiched(in, c.rows, c.columns);
}

Block cosinesAt(const Grid& g, int x0, int y0)
{
    Block b;
    for (int r = 0; r < kBlock; ++r)
        for (int n = 0; n < kBlock; ++n)
            b[r * kBlock + n] = g.at(x0 + n, y0 + r);
    return transformed(b, false);
}

// The noise power of each cosine: how far the values' cosines spread about
// the pilot's over blocks side by side (a robust measure, as an edge the
// pilot softened stands far out in a few blocks). The values' noise need not
// be white: a pixel read over its neighbours' time has little of it in the
// finest detail.
Block noiseOfCosines(const Grid& values, const Grid& pilot)
{
    std::vector<std::vector<float>> spreads(kBlock * kBlock);
    for (int y0 = 0; y0 + kBlock <= values.height; y0 += kBlock)
        for (int x0 = 0; x0 + kBlock <= values.width; x0 += kBlock) {
            const Block v = cosinesAt(values, x0, y0), p = cosinesAt(pilot, x0, y0);
            for (std::size_t k = 0; k < v.size(); ++k)
                spreads[k].push_back(std::abs(v[k] - p[k]));
        }
    Block noise{}; // a grid of at least one block, as wienerFiltered asks
    for (std::size_t k = 0; k < noise.size(); ++k) {
        const float deviation = medianOf(spreads[k]) / 0.6745f;
        noise[k] = deviation * deviation;
    }
    return noise;
}

// An empirical Wiener filter: in overlapping blocks each cosine of the values
// is kept by the share of it the pilot's power says is picture rather than
// noise, and the blocks are averaged back, each weighed by how few of its
// cosines it keeps (a flat block, which keeps few, counts for more than a
// busy one). Where the pilot (non-local means' picture) softened an edge that
// stands above the noise, the edge comes back.
Grid wienerFiltered(const Grid& values, const Grid& pilot)
{
    if (values.width < kBlock || values.height < kBlock)
        return pilot; // too few values to tell the noise of each cosine
    const Block noise = noiseOfCosines(values, pilot);
    Grid total = values, weights = values;
    std::fill(total.values.begin(), total.values.end(), 0.0f);
    std::fill(weights.values.begin(), weights.values.end(), 0.0f);
    for (int y0 = -kBlock / 2; y0 <= values.height - kBlock / 2; y0 += kBlockStep)
        for (int x0 = -kBlock / 2; x0 <= values.width - kBlock / 2; x0 += kBlockStep) {
            Block v = cosinesAt(values, x0, y0);
            const Block p = cosinesAt(pilot, x0, y0);
            float passed = 0;
            for (std::size_t k = 0; k < v.size(); ++k) {
                const float power = p[k] * p[k], gain = power / (power + noise[k] + 1e-12f);
                v[k] *= gain;
                passed += gain * gain;
            }
            const Block back = transformed(v, true);
            const float w = 1 / std::max(passed, 1.0f);
            for (int r = 0; r < kBlock; ++r)
                for (int n = 0; n < kBlock; ++n) {
                    total.at(x0 + n, y0 + r) += w * back[r * kBlock + n];
                    weights.at(x0 + n, y0 + r) += w;
                }
        }
    // The blocks reach half a block over the picture's edges: what they give
    // there leads a second pass's blocks, which reach as far.
    for (std::size_t i = 0; i < total.values.size(); ++i)
        if (weights.values[i] > 0)
            total.values[i] /= weights.values[i];
    return total;
}

// The squared difference of the sharp reading from the smooth one at every
// place, as a multiple of what the sharp reading's noise alone gives: about 1
// where the picture is flat, far more at an edge the smooth reading blurred.
// The noise is the differences' median, which is 0.455 times the mean square
// for a gaussian difference. Added to `total`, place by place.
void addExcessOverNoise(const Grid& smooth, const Grid& sharp, Grid& total)
{
    std::vector<float> squares(smooth.values.size()), inside;
    for (std::size_t i = 0; i < squares.size(); ++i)
        squares[i] = (sharp.values[i] - smooth.values[i]) * (sharp.values[i] - smooth.values[i]);
    for (int y = 0; y < smooth.height; ++y)
        for (int x = 0; x < smooth.width; ++x)
            inside.push_back(squares[smooth.index(x, y)]);
    const float noise = std::max(1e-6f, medianOf(inside) / 0.455f);
    for (std::size_t i = 0; i < squares.size(); ++i)
        total.values[i] += squares[i] / noise;
}

// The mean of each value's (2r + 1) x (2r + 1) neighbours, the picture's edge
// values standing for those beyond it, by running sums: along each row, then
// down the rows together.
Grid boxMean(const Grid& g, int r)
{
    Grid along = g, out = g;
    const double area = 2 * r + 1;
    for (int y = 0; y < g.height; ++y) {
        double sum = 0;
        for (int i = -r; i <= r; ++i)
            sum += g.at(std::clamp(i, 0, g.width - 1), y);
        for (int x = 0; x < g.width; ++x) {
            along.at(x, y) = static_cast<float>(sum / area);
            sum += g.at(std::min(x + r + 1, g.width - 1), y) - g.at(std::max(x - r, 0), y);
        }
    }
    std::vector<double> sums(static_cast<std::size_t>(g.width), 0.0);
    const auto addRow = [&](int y, double sign) {
        const float* row = &along.values[along.index(0, std::clamp(y, 0, g.height - 1))];
        for (std::size_t x = 0; x < sums.size(); ++x)
            sums[x] += sign * row[x];
    };
    for (int i = -r; i <= r; ++i)
        addRow(i, 1);
    for (int y = 0; y < g.height; ++y) {
        float* row = &out.values[out.index(0, y)];
        for (std::size_t x = 0; x < sums.size(); ++x)
            row[x] = static_cast<float>(sums[x] / area);
        addRow(y + r + 1, 1);
        addRow(y - r, -1);
    }
    return out;
}

Grid productOf(const Grid& a, const Grid& b)
{
    Grid out = a;
    std::transform(a.values.begin(), a.values.end(), b.values.begin(), out.values.begin(), std::multiplies<>());
    return out;
}

// Below this variance (in levels squared) a window's luminance is taken as
// flat, its variations as the noise non-local means left in it.
constexpr float kFlatLuminanceVariance = 25;

// A guided filter: within every window of (2r + 1) x (2r + 1) each colour
// difference is taken as a straight-line function of the luminance, fitted to
// the values there, and each value is the mean of its windows' fits. Where the
// luminance is flat the colour's noise is averaged over the window; where it
// has an edge the colour's edge is kept with it.
void followLuminance(const Grid& luminance, std::span<Grid> colours, int r)
{
    const Grid meanL = boxMean(luminance, r), meanLL = boxMean(productOf(luminance, luminance), r);
    for (Grid& colour : colours) {
        const Grid meanC = boxMean(colour, r), meanLC = boxMean(productOf(luminance, colour), r);
        Grid slope = colour, offset = colour;
        for (std::size_t i = 0; i < slope.values.size(); ++i) {
            const float covariance = meanLC.values[i] - meanL.values[i] * meanC.values[i];
            const float variance = meanLL.values[i] - meanL.values[i] * meanL.values[i];
            slope.values[i] = covariance / (variance + kFlatLuminanceVariance);
            offset.values[i] = meanC.values[i] - slope.values[i] * meanL.values[i];
        }
        const Grid meanSlope = boxMean(slope, r), meanOffset = boxMean(offset, r);
        for (int y = 0; y < colour.height; ++y)
            for (int x = 0; x < colour.width; ++x)
                colour.at(x, y) = meanSlope.at(x, y) * luminance.at(x, y) + meanOffset.at(x, y);
    }
}

} // namespace

double planeNoise(const ScanPlanes& planes, int plane, int firstRow, int endRow, int rowStep)
{
    std::vector<float> differences;
    for (int y = firstRow; y + rowStep < endRow; ++y) {
        const auto row = planes.row(plane, y), below = planes.row(plane, y + rowStep);
        for (std::size_t x = 0; x < row.size(); ++x)
            differences.push_back(std::abs(row[x] - below[x]));
    }
    if (differences.empty())
        return 0;
    return medianOf(differences) / (0.6745 * std::sqrt(2.0)); // the median of |a - b| for two noisy values, as a deviation
}

void reduceNoise(ScanPlanes& planes, const StandardMode& mode, int firstRow, int endRow,
                 const NoiseReduction& reduction)
{
    firstRow = std::max(firstRow, 0), endRow = std::min(endRow, planes.height());
    if (endRow - firstRow < 4 || (!reduction.clicks && reduction.strength <= 0))
        return;
    const bool pairedColour = sharesColourBetweenRows(mode.family);
    const int planeCount = planesSent(mode);
    // Colour differences are read over many pixels' time: their noise lies
    // where their picture does, and a Wiener filter would give it back.
    const int wienerPlanes = reduction.wienerPasses > 0 ? (sendsColourDifferences(mode.family) ? 1 : planeCount) : 0;
    std::vector<Grid> grids, asRead;
    std::vector<double> noises;
    for (int plane = 0; plane < planeCount; ++plane) {
        noises.push_back(std::max(0.5, planeNoise(planes, plane, firstRow, endRow, pairedColour && plane > 0 ? 2 : 1)));
        grids.push_back(gridOf(planes, plane, firstRow, endRow));
        if (plane < wienerPlanes)
            asRead.push_back(grids.back());
        if (reduction.clicks)
            grids.back() = medianOfNine(grids.back());
    }
    const int searchRadius = std::clamp(reduction.searchRadius, 1, kWidestSearch);
    if (reduction.strength > 0 && reduction.guided)
        guidedNonLocalMeans(grids, noises, reduction.strength, searchRadius);
    else if (reduction.strength > 0)
        nonLocalMeans(grids, grids, noises, reduction.strength, searchRadius, kAlikeDifference);
    for (std::size_t plane = 0; plane < asRead.size(); ++plane)
        for (int pass = 0; pass < reduction.wienerPasses; ++pass)
            grids[plane] = wienerFiltered(asRead[plane], grids[plane]);
    if (reduction.colourGuideRadius > 0 && sendsColourDifferences(mode.family))
        followLuminance(grids.front(), std::span(grids).subspan(1), reduction.colourGuideRadius);
    for (int plane = 0; plane < planeCount; ++plane)
        putBack(grids[static_cast<std::size_t>(plane)], planes, plane, firstRow);
}

void keepEdges(ScanPlanes& smooth, const ScanPlanes& sharp, const StandardMode& mode, int firstRow, int endRow)
{
    firstRow = std::max(firstRow, 0), endRow = std::min(endRow, smooth.height());
    if (endRow - firstRow < 4)
        return;
    const int planeCount = planesSent(mode);
    std::vector<Grid> smooths, sharps;
    Grid excess = gridOf(smooth, 0, firstRow, endRow); // of every plane together
    std::fill(excess.values.begin(), excess.values.end(), 0.0f);
    for (int plane = 0; plane < planeCount; ++plane) {
        smooths.push_back(gridOf(smooth, plane, firstRow, endRow));
        sharps.push_back(medianOfNine(gridOf(sharp, plane, firstRow, endRow)));
        addExcessOverNoise(smooths.back(), sharps.back(), excess);
    }
    for (int y = 0; y < excess.height; ++y)
        for (int x = 0; x < excess.width; ++x) {
            float local = 0; // within 3 x 3, as a multiple of the noise
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    local += excess.at(x + dx, y + dy);
            local /= static_cast<float>(9 * planeCount);
            const float gain = local > 1 ? (local - 1) / local : 0.0f;
            for (int plane = 0; plane < planeCount; ++plane) {
                Grid& m = smooths[static_cast<std::size_t>(plane)];
                m.at(x, y) += gain * (sharps[static_cast<std::size_t>(plane)].at(x, y) - m.at(x, y));
            }
        }
    for (int plane = 0; plane < planeCount; ++plane)
        putBack(smooths[static_cast<std::size_t>(plane)], smooth, plane, firstRow);
}

} // namespace tonobild::standard
