#include "frontend/line_grid.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/signal_format.h"

namespace tonobild {

namespace {

// The share of levels at the bottom taken as syncs: a line of 640 groups has 7 of them, 1.1 %, and a
// channel that rounds their edges leaves fewer at the sync level.
constexpr double kSyncShare = 0.004;
// A sync run: every half-group step of it below these shares of the sync
// level, at least four groups long. The first that finds the grid of nearly
// every line is taken: a channel that rounds the edges eats into the runs,
// one that lets the tone's low side through alone (a receiver mistuned so far
// that the tone lies on the channel's edge) bends them; lower shares let runs
// of black through, which the grid leaves aside.
constexpr double kRunLevels[] = {0.9, 0.8, 0.7};
constexpr int kShortestRun = 8;
// A grid that numbers this share of the lines between the first and last rise is taken at once.
constexpr double kWholeGrid = 0.9;
// The rise into the start marker is timed where it crosses half the sync level.
constexpr double kRiseLevel = 0.5;
constexpr int kBisections = 30;
// Fewer rises than this make no grid.
constexpr std::size_t kFewestRises = 8;
// Rises this far (a share of a line) from a whole number of lines apart do not count for the spacing.
constexpr double kSpacingTolerance = 0.03;
// Rises whose gap is more lines than this do not count for the spacing.
constexpr int kLongestGap = 4;
// A layout is taken when it explains this share of the gaps the one that explains most does.
constexpr double kExplainedShare = 0.8;
// The rises of this many lines from the first (or of the first 16 rises) are numbered on the spacing alone.
constexpr double kFirstReach = 16.0;
// Rises further than this (in groups) from the grid are left out of the fit: a channel that
// rounds the rise times it by the code digits after it, a stray rise lies whole groups off.
constexpr double kFitTolerance = 2.0;
constexpr int kLineGroups[] = {80, 160, 320, 640};
// Halfway through a line the mean of seven groups comes this near the one at the rises only where a sync
// run ends there: black, the nearest a picture comes, lies a fifth above the syncs.
constexpr double kHalfwaySyncs = 0.9;

double median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The instant between t - step and t where the tone rises through `level`.
double risingCrossing(const ToneBaseband& tone, double t, double step, double level)
{
    double below = t - step;
    double above = t;
    for (int i = 0; i < kBisections; ++i) {
        const double middle = (below + above) / 2.0;
        (tone.inPhase(middle) < level ? below : above) = middle;
    }
    return (below + above) / 2.0;
}

// The rises from a sync run into the start marker, scanned at half-group
// steps: a run is at least four groups whose every step lies below runLevel
// times the sync level, its end where the tone rises through half of it.
std::vector<double> markerRises(const ToneBaseband& tone, double groupLength, double sync, double runLevel)
{
    const double step = groupLength / 2.0;
    std::vector<double> rises;
    int run = 0;
    for (double t = tone.earliest() + step; t <= tone.latest(); t += step) {
        const double level = tone.inPhase(t);
        if (level < runLevel * sync) {
            ++run;
        } else if (level > kRiseLevel * sync) {
            if (run >= kShortestRun)
                rises.push_back(risingCrossing(tone, t, step, kRiseLevel * sync));
            run = 0;
        }
    }
    return rises;
}

struct Spacing {
    double line = 0; // recorded samples per line
    int groups = 0;  // groups per line
};

// The gaps between rises that lie a whole number of lines of `groups` groups apart, each per line.
std::vector<double> linesApart(const std::vector<double>& rises, int groups, double nominalGroupLength)
{
    const double nominalLine = groups * nominalGroupLength;
    std::vector<double> perLine;
    for (std::size_t i = 1; i < rises.size(); ++i) {
        const double gap = rises[i] - rises[i - 1];
        const double lines = std::round(gap / nominalLine);
        if (lines >= 1 && lines <= kLongestGap && std::abs(gap / (lines * nominalLine) - 1.0) < kSpacingTolerance)
            perLine.push_back(gap / lines);
    }
    return perLine;
}

// The longest line that explains nearly as many gaps as the layout that
// explains most: a missing rise makes a gap of two lines, which a layout with
// twice the groups would explain too, but not the gaps of one line.
Spacing gapSpacing(const std::vector<double>& rises, double nominalGroupLength)
{
    std::size_t most = 0;
    for (const int groups : kLineGroups)
        most = std::max(most, linesApart(rises, groups, nominalGroupLength).size());
    if (most < kFewestRises)
        return {};
    Spacing spacing;
    for (const int groups : kLineGroups) {
        const std::vector<double> perLine = linesApart(rises, groups, nominalGroupLength);
        if (static_cast<double>(perLine.size()) >= kExplainedShare * static_cast<double>(most))
            spacing = {median(perLine), groups};
    }
    return spacing;
}

// The tone's mean over the seven groups before t: the sync level where a sync run ends at t.
double runBefore(const ToneBaseband& tone, double t, double groupLength)
{
    const double run = kSyncRunGroups * groupLength;
    return tone.mean(t - run / 2.0, run).real();
}

// Whether the lines of `spacing` have a sync run halfway, too: rises found only
// on every second or fourth line (a channel that blurs a rise into a black code
// digit hides it on the lines whose code starts so) make lines seem longer.
bool syncsHalfway(const ToneBaseband& tone, const std::vector<double>& rises, const Spacing& spacing)
{
    const double groupLength = spacing.line / spacing.groups;
    std::vector<double> atRises, halfway;
    for (const double t : rises) {
        if (t - spacing.line / 2.0 - kSyncRunGroups * groupLength < tone.earliest())
            continue;
        atRises.push_back(runBefore(tone, t, groupLength));
        halfway.push_back(runBefore(tone, t - spacing.line / 2.0, groupLength));
    }
    return !atRises.empty() && median(halfway) < kHalfwaySyncs * median(atRises);
}

// The groups per line and the line's length: from the gaps, then halved while
// there are syncs halfway through the lines.
Spacing lineSpacing(const ToneBaseband& tone, const std::vector<double>& rises, double nominalGroupLength)
{
    Spacing spacing = gapSpacing(rises, nominalGroupLength);
    while (spacing.groups > kLineGroups[0] && syncsHalfway(tone, rises, spacing))
        spacing = {spacing.line / 2.0, spacing.groups / 2};
    return spacing;
}

struct Fit {
    double origin = 0; // where line 0 rises
    double line = 0;   // recorded samples per line
    long first = 0;    // the first and last line whose rise was kept
    long last = -1;
};

// The least-squares line through the rises up to `reach` lines from the
// origin that lie within `tolerance` of the line `fit` numbers them on.
Fit refitted(const std::vector<double>& rises, const Fit& fit, double reach, double tolerance)
{
    double sumJ = 0, sumT = 0, sumJJ = 0, sumJT = 0, count = 0;
    Fit next{fit.origin, fit.line, std::numeric_limits<long>::max(), std::numeric_limits<long>::min()};
    for (const double t : rises) {
        const double offset = t - fit.origin;
        const double j = std::round(offset / fit.line);
        if (std::abs(j) > reach || std::abs(offset - j * fit.line) > tolerance)
            continue;
        sumJ += j, sumT += offset, sumJJ += j * j, sumJT += j * offset, ++count;
        next.first = std::min(next.first, static_cast<long>(j));
        next.last = std::max(next.last, static_cast<long>(j));
    }
    const double spread = count * sumJJ - sumJ * sumJ;
    if (count < static_cast<double>(kFewestRises) || spread <= 0)
        return {};
    next.line = (count * sumJT - sumJ * sumT) / spread;
    next.origin = fit.origin + (sumT - next.line * sumJ) / count;
    return next;
}

// The grid through the rises. The spacing is good for a few dozen lines, not
// for a whole recording: the rises are numbered and fitted over a reach that
// doubles as the fit grows better, starting on the middle of the offsets of
// the first ones (so that a stray rise at the start does not count).
LineGrid fittedGrid(const std::vector<double>& rises, const Spacing& spacing)
{
    Fit fit{rises.front(), spacing.line};
    const std::size_t firstFew = std::min(rises.size(), 2 * kFewestRises);
    const double firstReach = std::max(kFirstReach, std::round((rises[firstFew - 1] - fit.origin) / fit.line));
    std::vector<double> offsets;
    for (const double t : rises)
        if (t - fit.origin <= (firstReach + 0.5) * fit.line)
            offsets.push_back(t - fit.origin - std::round((t - fit.origin) / fit.line) * fit.line);
    fit.origin += median(offsets);
    const double span = rises.back() - rises.front();
    const double tolerance = kFitTolerance * spacing.line / spacing.groups;
    for (double reach = firstReach; fit.line > 0; reach *= 2) {
        fit = refitted(rises, fit, reach, tolerance);
        if (reach * fit.line > span)
            break;
    }
    if (!(fit.line > 0))
        return {};
    LineGrid grid;
    grid.groupsPerLine = spacing.groups;
    grid.groupLength = fit.line / spacing.groups;
    grid.firstMarker = fit.origin + static_cast<double>(fit.first) * fit.line + grid.groupLength / 2.0;
    grid.lines = static_cast<int>(fit.last - fit.first + 1);
    return grid;
}

// The tone's level a group apart over the whole recording, each the mean over `window` samples.
std::vector<double> toneLevels(const ToneBaseband& tone, double nominalGroupLength, double window)
{
    std::vector<double> levels;
    for (double t = tone.earliest(); t <= tone.latest(); t += nominalGroupLength)
        levels.push_back(tone.mean(t, window).real());
    return levels;
}

// The grid through the rises after the sync runs that lie below shares of
// `sync`: the first share that numbers nearly every line, or the one that numbers most.
LineGrid gridAtSyncLevel(const ToneBaseband& tone, double nominalGroupLength, double sync)
{
    if (sync >= 0)
        return {};
    LineGrid best;
    for (const double runLevel : kRunLevels) {
        const std::vector<double> rises = markerRises(tone, nominalGroupLength, sync, runLevel);
        const Spacing spacing = lineSpacing(tone, rises, nominalGroupLength);
        if (spacing.groups == 0)
            continue;
        const LineGrid grid = fittedGrid(rises, spacing);
        if (grid.lines > best.lines)
            best = grid;
        const double span = (rises.back() - rises.front()) / spacing.line + 1.0;
        if (grid.lines >= kWholeGrid * span)
            break;
    }
    return best;
}

} // namespace

double syncLevel(std::vector<double> levels)
{
    if (levels.empty())
        return 0;
    const auto lowest = static_cast<std::ptrdiff_t>(static_cast<double>(levels.size()) * kSyncShare);
    std::nth_element(levels.begin(), levels.begin() + lowest, levels.end());
    const double bottom = levels[static_cast<std::size_t>(lowest)];
    const auto end = std::partition(levels.begin(), levels.end(), [bottom](double s) { return s <= 0.9 * bottom; });
    if (end == levels.begin())
        return bottom;
    return median(std::vector<double>(levels.begin(), end));
}

LineGrid findLineGrid(const ToneBaseband& tone, double nominalGroupLength)
{
    const double instant = syncLevel(toneLevels(tone, nominalGroupLength, tone.period()));
    const LineGrid grid = gridAtSyncLevel(tone, nominalGroupLength, instant);
    if (grid.found())
        return grid;
    // A channel whose edge cuts the tone's own frequency passes its changes
    // better than its steady level: the black of a dark picture then lies
    // little above the syncs, and the ringing after every white group dips
    // below them. Over a sync run's length the ringing averages out and the
    // runs lie lowest again.
    const double overRuns = syncLevel(toneLevels(tone, nominalGroupLength, kSyncRunGroups * nominalGroupLength));
    return gridAtSyncLevel(tone, nominalGroupLength, overRuns);
}

} // namespace tonobild
