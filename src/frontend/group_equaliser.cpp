#include "frontend/group_equaliser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>

#include "common/signal_format.h"

namespace tonobild {

namespace {

constexpr int kReadingsPerGroup = 4;
constexpr int kNeighbours = 6; // groups either side that the equaliser reads
constexpr int kInputs = 2 * kReadingsPerGroup * (2 * kNeighbours + 1) + 1; // in and out of phase, and a constant
constexpr int kGuardGroups = 2;
constexpr double kSync = -80.0;          // a - b of each known group, in levels
constexpr double kWhite = 0.0;
constexpr double kBlack = -64.0;
constexpr double kCompandedBlack = -32.0;
// Keeps the fit solvable when some readings never change (a recording of the leader alone).
constexpr double kRidge = 1e-9;
constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
constexpr double kRoundingGroups = 1e-6;

using Inputs = std::array<double, kInputs>;
using Weights = std::array<double, kInputs>;

// Four readings of the tone across every group the recording holds.
struct Readings {
    std::vector<std::complex<float>> values; // kReadingsPerGroup a group
    long firstGroup = 0;
    long groups = 0;
};

Readings readGroups(const ToneBaseband& tone, const LineGrid& grid)
{
    Readings r;
    const double length = grid.groupLength;
    // A group whose window reaches a hair (kRoundingGroups) past an end is read all the same.
    r.firstGroup = static_cast<long>(std::ceil((tone.earliest() - grid.firstMarker) / length - kRoundingGroups));
    const auto last = static_cast<long>(std::floor((tone.latest() - grid.firstMarker) / length + kRoundingGroups));
    r.groups = std::max(0L, last - r.firstGroup + 1);
    r.values.reserve(static_cast<std::size_t>(r.groups * kReadingsPerGroup));
    for (long k = r.firstGroup; k <= last; ++k)
        for (int q = 0; q < kReadingsPerGroup; ++q) {
            const double offset = (q - (kReadingsPerGroup - 1) / 2.0) * length / kReadingsPerGroup;
            r.values.push_back(std::complex<float>(tone.at(grid.centre(k) + offset)));
        }
    return r;
}

// The equaliser's inputs for a group: the readings of it and its neighbours
// (none before the recording begins and after it ends, as in silence) and a constant.
Inputs inputsOf(const Readings& r, long group)
{
    Inputs x{};
    std::size_t i = 0;
    for (long j = group - kNeighbours; j <= group + kNeighbours; ++j) {
        if (j < 0 || j >= r.groups) {
            i += 2 * kReadingsPerGroup;
            continue;
        }
        const auto at = static_cast<std::size_t>(j) * kReadingsPerGroup;
        for (int q = 0; q < kReadingsPerGroup; ++q) {
            x[i++] = r.values[at + static_cast<std::size_t>(q)].real();
            x[i++] = r.values[at + static_cast<std::size_t>(q)].imag();
        }
    }
    x[i] = 1.0;
    return x;
}

double applied(const Weights& w, const Inputs& x)
{
    double sum = 0;
    for (int i = 0; i < kInputs; ++i)
        sum += w[static_cast<std::size_t>(i)] * x[static_cast<std::size_t>(i)];
    return sum;
}

// The normal equations of a least-squares fit, solved by Cholesky.
class NormalEquations {
public:
    void add(const Inputs& x, double target)
    {
        for (std::size_t i = 0; i < kInputs; ++i) {
            rhs_[i] += x[i] * target;
            for (std::size_t j = 0; j <= i; ++j)
                matrix_[i * kInputs + j] += x[i] * x[j];
        }
    }

    std::optional<Weights> solve() const;

private:
    std::vector<double> matrix_ = std::vector<double>(kInputs * kInputs); // lower triangle
    Weights rhs_{};
};

std::optional<Weights> NormalEquations::solve() const
{
    std::vector<double> l = matrix_;
    double trace = 0;
    for (std::size_t i = 0; i < kInputs; ++i)
        trace += l[i * kInputs + i];
    for (std::size_t i = 0; i < kInputs; ++i)
        l[i * kInputs + i] += kRidge * trace / kInputs;
    for (std::size_t j = 0; j < kInputs; ++j) {
        for (std::size_t k = 0; k < j; ++k)
            l[j * kInputs + j] -= l[j * kInputs + k] * l[j * kInputs + k];
        if (!(l[j * kInputs + j] > 0))
            return std::nullopt;
        l[j * kInputs + j] = std::sqrt(l[j * kInputs + j]);
        for (std::size_t i = j + 1; i < kInputs; ++i) {
            for (std::size_t k = 0; k < j; ++k)
                l[i * kInputs + j] -= l[i * kInputs + k] * l[j * kInputs + k];
            l[i * kInputs + j] /= l[j * kInputs + j];
        }
    }
    Weights y{};
    for (std::size_t i = 0; i < kInputs; ++i) {
        double v = rhs_[i];
        for (std::size_t k = 0; k < i; ++k)
            v -= l[i * kInputs + k] * y[k];
        y[i] = v / l[i * kInputs + i];
    }
    Weights w{};
    for (std::size_t i = kInputs; i-- > 0;) {
        double v = y[i];
        for (std::size_t k = i + 1; k < kInputs; ++k)
            v -= l[k * kInputs + i] * w[k];
        w[i] = v / l[i * kInputs + i];
    }
    return w;
}

// The group of each line's start marker, as an index into the readings, for
// every line whose syncs and opening lie inside them.
std::vector<long> markerIndices(const Readings& r, const LineGrid& grid)
{
    std::vector<long> markers;
    for (long line = 0; line < grid.lines; ++line) {
        const long marker = line * grid.groupsPerLine - r.firstGroup;
        if (marker - kSyncRunGroups >= 0 && marker + kLicDigits + kGuardGroups < r.groups)
            markers.push_back(marker);
    }
    return markers;
}

std::optional<Weights> fitted(const Readings& r, const std::vector<double>& targets)
{
    NormalEquations equations;
    for (long k = 0; k < r.groups; ++k)
        if (!std::isnan(targets[static_cast<std::size_t>(k)]))
            equations.add(inputsOf(r, k), targets[static_cast<std::size_t>(k)]);
    return equations.solve();
}

// The syncs and start markers of every line.
std::vector<double> syncsAndMarkers(const Readings& r, const std::vector<long>& markers)
{
    std::vector<double> targets(static_cast<std::size_t>(r.groups), kUnknown);
    for (const long marker : markers) {
        for (long k = marker - kSyncRunGroups; k < marker; ++k)
            targets[static_cast<std::size_t>(k)] = kSync;
        targets[static_cast<std::size_t>(marker)] = kWhite;
    }
    return targets;
}

// Adds the code digits and guards, read through the first fit: black is where
// the guards lie, -64 or with "Compand" -32, and each digit is white or black,
// whichever it lies nearer. Answers whether the guards were companded.
bool addOpenings(std::vector<double>& targets, const Readings& r, const std::vector<long>& markers,
                 const Weights& first)
{
    std::vector<double> guards;
    for (const long marker : markers)
        for (long k = marker + kLicDigits + 1; k <= marker + kLicDigits + kGuardGroups; ++k)
            guards.push_back(applied(first, inputsOf(r, k)));
    const auto middle = guards.begin() + static_cast<std::ptrdiff_t>(guards.size() / 2);
    std::nth_element(guards.begin(), middle, guards.end());
    const bool compand = *middle > (kBlack + kCompandedBlack) / 2.0;
    const double black = compand ? kCompandedBlack : kBlack;
    for (const long marker : markers) {
        for (long k = marker + 1; k <= marker + kLicDigits; ++k)
            targets[static_cast<std::size_t>(k)] = applied(first, inputsOf(r, k)) > black / 2.0 ? kWhite : black;
        for (long k = marker + kLicDigits + 1; k <= marker + kLicDigits + kGuardGroups; ++k)
            targets[static_cast<std::size_t>(k)] = black;
    }
    return compand;
}

} // namespace

EqualisedGroups equaliseGroups(const ToneBaseband& tone, const LineGrid& grid)
{
    const Readings r = readGroups(tone, grid);
    const std::vector<long> markers = markerIndices(r, grid);
    if (markers.empty())
        return {};
    std::vector<double> targets = syncsAndMarkers(r, markers);
    const std::optional<Weights> first = fitted(r, targets);
    if (!first)
        return {};
    EqualisedGroups out;
    out.compand = addOpenings(targets, r, markers, *first);
    const std::optional<Weights> weights = fitted(r, targets);
    if (!weights)
        return {};
    out.firstGroup = r.firstGroup;
    out.values.resize(static_cast<std::size_t>(r.groups));
    for (long k = 0; k < r.groups; ++k)
        out.values[static_cast<std::size_t>(k)] = std::clamp(applied(*weights, inputsOf(r, k)), kSync, kWhite);
    out.known = std::move(targets);
    return out;
}

double knownGroupError(const std::vector<double>& values, const std::vector<double>& known)
{
    double squares = 0;
    std::size_t count = 0;
    for (std::size_t i = 0; i < std::min(values.size(), known.size()); ++i)
        if (!std::isnan(values[i]) && !std::isnan(known[i]))
            squares += (values[i] - known[i]) * (values[i] - known[i]), ++count;
    return count == 0 ? std::numeric_limits<double>::infinity() : std::sqrt(squares / static_cast<double>(count));
}

} // namespace tonobild
