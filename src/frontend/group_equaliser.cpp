#include "frontend/group_equaliser.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <optional>

#include "common/signal_format.h"

namespace tonobild {

namespace {

constexpr int kReadingsPerGroup = 4;
// Groups either side that the equaliser reads: a channel that cuts close to the
// tone needs the longer reach, a lossy coder's noise is amplified less by the
// shorter (see steadiestReach).
constexpr int kReaches[] = {3, 6}; // shorter first
constexpr double kShorterReachMargin = 1.1;
constexpr int kLongestReach = 6;
constexpr int kGuardGroups = 2;
constexpr double kSync = -80.0;          // a - b of each known group, in levels
constexpr double kWhite = 0.0;
constexpr double kBlack = -64.0;
constexpr double kCompandedBlack = -32.0;
// Keeps the fit solvable when some readings never change (a recording of the leader alone).
constexpr double kRidge = 1e-9;
constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();
constexpr double kRoundingGroups = 1e-6;

using Inputs = std::vector<double>;
using Weights = std::vector<double>;

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

// How many inputs an equaliser of a reach has: in and out of phase, and a constant.
std::size_t inputCount(int reach)
{
    return static_cast<std::size_t>(2 * kReadingsPerGroup * (2 * reach + 1) + 1);
}

// The equaliser's inputs for a group: the readings of it and its neighbours
// within `reach` (none before the recording begins and after it ends, as in
// silence) and a constant.
Inputs inputsOf(const Readings& r, long group, int reach)
{
    Inputs x(inputCount(reach));
    std::size_t i = 0;
    for (long j = group - reach; j <= group + reach; ++j) {
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

// The reach of an equaliser's weights: the inverse of inputCount.
int reachOf(const Weights& w)
{
    return (static_cast<int>((w.size() - 1) / (2 * kReadingsPerGroup)) - 1) / 2;
}

// The equaliser's reading of a group.
double applied(const Weights& w, const Readings& r, long group)
{
    const Inputs x = inputsOf(r, group, reachOf(w));
    double sum = 0;
    for (std::size_t i = 0; i < x.size(); ++i)
        sum += w[i] * x[i];
    return sum;
}

// The normal equations of a least-squares fit, solved by Cholesky.
class NormalEquations {
public:
    explicit NormalEquations(std::size_t size) : size_(size), matrix_(size * size), rhs_(size) {}

    void add(const Inputs& x, double target)
    {
        for (std::size_t i = 0; i < size_; ++i) {
            rhs_[i] += x[i] * target;
            for (std::size_t j = 0; j <= i; ++j)
                matrix_[i * size_ + j] += x[i] * x[j];
        }
    }

    std::optional<Weights> solve() const;

private:
    std::size_t size_;
    std::vector<double> matrix_; // lower triangle
    Weights rhs_;
};

std::optional<Weights> NormalEquations::solve() const
{
    const std::size_t n = size_;
    std::vector<double> l = matrix_;
    double trace = 0;
    for (std::size_t i = 0; i < n; ++i)
        trace += l[i * n + i];
    for (std::size_t i = 0; i < n; ++i)
        l[i * n + i] += kRidge * trace / static_cast<double>(n);
    for (std::size_t j = 0; j < n; ++j) {
        for (std::size_t k = 0; k < j; ++k)
            l[j * n + j] -= l[j * n + k] * l[j * n + k];
        if (!(l[j * n + j] > 0))
            return std::nullopt;
        l[j * n + j] = std::sqrt(l[j * n + j]);
        for (std::size_t i = j + 1; i < n; ++i) {
            for (std::size_t k = 0; k < j; ++k)
                l[i * n + j] -= l[i * n + k] * l[j * n + k];
            l[i * n + j] /= l[j * n + j];
        }
    }
    Weights y(n);
    for (std::size_t i = 0; i < n; ++i) {
        double v = rhs_[i];
        for (std::size_t k = 0; k < i; ++k)
            v -= l[i * n + k] * y[k];
        y[i] = v / l[i * n + i];
    }
    Weights w(n);
    for (std::size_t i = n; i-- > 0;) {
        double v = y[i];
        for (std::size_t k = i + 1; k < n; ++k)
            v -= l[k * n + i] * w[k];
        w[i] = v / l[i * n + i];
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

// The equaliser of a reach fitted to the targets that are known.
std::optional<Weights> fitted(const Readings& r, const std::vector<double>& targets, int reach)
{
    NormalEquations equations(inputCount(reach));
    for (long k = 0; k < r.groups; ++k)
        if (!std::isnan(targets[static_cast<std::size_t>(k)]))
            equations.add(inputsOf(r, k, reach), targets[static_cast<std::size_t>(k)]);
    return equations.solve();
}

// The equaliser's readings of the groups whose target is known; NaN for the others.
std::vector<double> readingsOfKnown(const Readings& r, const Weights& w, const std::vector<double>& targets)
{
    std::vector<double> values(targets.size(), kUnknown);
    for (std::size_t k = 0; k < values.size(); ++k)
        if (!std::isnan(targets[k]))
            values[k] = applied(w, r, static_cast<long>(k));
    return values;
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

// The code digits and guards added to the syncs and markers for a sender whose
// black is `black` (-64, or -32 with "Compand"): the guards black, each digit
// white or black, whichever the first fit reads it nearer.
std::vector<double> withOpenings(std::vector<double> targets, const Readings& r, const std::vector<long>& markers,
                                 const Weights& first, double black)
{
    for (const long marker : markers) {
        for (long k = marker + 1; k <= marker + kLicDigits; ++k)
            targets[static_cast<std::size_t>(k)] = applied(first, r, k) > black / 2.0 ? kWhite : black;
        for (long k = marker + kLicDigits + 1; k <= marker + kLicDigits + kGuardGroups; ++k)
            targets[static_cast<std::size_t>(k)] = black;
    }
    return targets;
}

struct Fit {
    Weights weights{};
    std::vector<double> targets;
    double error = std::numeric_limits<double>::infinity(); // RMS over the known groups, in levels
};

// The equaliser fitted to every known group of a sender whose black is `black`.
Fit fittedWithBlack(const Readings& r, const std::vector<long>& markers, const std::vector<double>& syncsAndMarkersOnly,
                    const Weights& first, double black)
{
    Fit fit;
    fit.targets = withOpenings(syncsAndMarkersOnly, r, markers, first, black);
    const std::optional<Weights> weights = fitted(r, fit.targets, kLongestReach);
    if (!weights)
        return fit;
    fit.weights = *weights;
    fit.error = knownGroupError(readingsOfKnown(r, fit.weights, fit.targets), fit.targets);
    return fit;
}

// The known groups of every second line (from the first when `odd` is false, else from the second).
std::vector<double> everySecondLine(std::vector<double> targets, const std::vector<long>& markers, bool odd)
{
    for (std::size_t line = odd ? 0 : 1; line < markers.size(); line += 2)
        for (long k = markers[line] - kSyncRunGroups; k <= markers[line] + kLicDigits + kGuardGroups; ++k)
            targets[static_cast<std::size_t>(k)] = kUnknown;
    return targets;
}

// The reach of the equaliser that, fitted to every second line, reads the
// known groups of the others nearest; the shorter one, which amplifies a
// coder's noise less in the picture, unless the longer reads them more than a
// tenth nearer.
int steadiestReach(const Readings& r, const std::vector<long>& markers, const std::vector<double>& targets)
{
    const std::vector<double> fitTo = everySecondLine(targets, markers, false);
    const std::vector<double> checked = everySecondLine(targets, markers, true);
    std::vector<double> errors;
    for (const int reach : kReaches) {
        const std::optional<Weights> w = fitted(r, fitTo, reach);
        errors.push_back(w ? knownGroupError(readingsOfKnown(r, *w, checked), checked)
                           : std::numeric_limits<double>::infinity());
    }
    const double least = *std::min_element(errors.begin(), errors.end());
    std::size_t chosen = 0;
    while (errors[chosen] > kShorterReachMargin * least)
        ++chosen;
    return kReaches[chosen];
}

} // namespace

EqualisedGroups equaliseGroups(const ToneBaseband& tone, const LineGrid& grid)
{
    const Readings r = readGroups(tone, grid);
    const std::vector<long> markers = markerIndices(r, grid);
    if (markers.empty())
        return {};
    const std::vector<double> targets = syncsAndMarkers(r, markers);
    const std::optional<Weights> first = fitted(r, targets, kLongestReach);
    if (!first)
        return {};
    // Black is what fits the known groups better: plain or companded.
    Fit plain = fittedWithBlack(r, markers, targets, *first, kBlack);
    Fit companded = fittedWithBlack(r, markers, targets, *first, kCompandedBlack);
    EqualisedGroups out;
    out.compand = companded.error < plain.error;
    Fit& best = out.compand ? companded : plain;
    const std::optional<Weights> weights =
        std::isinf(best.error) ? std::nullopt : fitted(r, best.targets, steadiestReach(r, markers, best.targets));
    if (!weights)
        return {};
    out.firstGroup = r.firstGroup;
    out.values.resize(static_cast<std::size_t>(r.groups));
    for (long k = 0; k < r.groups; ++k)
        out.values[static_cast<std::size_t>(k)] = std::clamp(applied(*weights, r, k), kSync, kWhite);
    out.known = std::move(best.targets);
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
