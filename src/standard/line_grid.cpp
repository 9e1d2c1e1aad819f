#include "standard/line_grid.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <optional>

namespace tonobild::standard {

namespace {

// Running sums are summed afresh this often, so that rounding never piles up.
constexpr std::size_t kFreshSum = 4096;


struct Sums {
    std::complex<double> tone;
    double power = 0;
};

// The track mixed down by the sync tone: at any sample, or walking on sample by sample.
class Mixer {
public:
    Mixer(const TrackView& track, double turn) : track_(track), turn_(turn), step_(std::polar(1.0, -turn)) {}
    std::complex<double> rotor(std::size_t m) const { return std::polar(1.0, -turn_ * static_cast<double>(m)); }
    std::complex<double> at(std::size_t m, std::complex<double> rotor) const
    {
        return std::complex<double>(track_.samples[m]) * rotor;
    }
    std::complex<double> step() const { return step_; }

private:
    const TrackView& track_;
    double turn_;
    std::complex<double> step_;
};

Sums sumsOver(const TrackView& track, const Mixer& mixer, std::size_t first, std::size_t n)
{
    Sums s;
    std::complex<double> rotor = mixer.rotor(first);
    for (std::size_t i = first; i < first + n; ++i, rotor *= mixer.step()) {
        s.tone += mixer.at(i, rotor);
        s.power += std::norm(track.samples[i]);
    }
    return s;
}

struct LineFit {
    double intercept = 0;
    double slope = 0;
};

// A weighted least-squares line through (line, position) pairs.
LineFit weightedLine(const std::vector<double>& lines, const std::vector<double>& positions,
                     const std::vector<double>& weights)
{
    double sw = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double w = weights[i], x = lines[i], y = positions[i];
        sw += w, sx += w * x, sy += w * y, sxx += w * x * x, sxy += w * x * y;
    }
    const double det = sw * sxx - sx * sx;
    if (sw <= 0 || std::abs(det) < 1e-12)
        return {};
    const double slope = (sw * sxy - sx * sy) / det;
    return {(sy - slope * sx) / sw, slope};
}

} // namespace

namespace {

// The share of the track's power that a tone holds over `window` samples from each sample on.
std::vector<float> toneShares(const TrackView& track, double hz, std::size_t window)
{
    std::vector<float> share(track.size(), 0.0f);
    const Mixer mixer(track, 2 * M_PI * (hz - kCentreHz) / track.rate);
    Sums s;
    std::complex<double> entering, leaving; // the rotors of the sample entering the window and the one leaving it
    for (std::size_t m = 0; m + window <= track.size(); ++m) {
        if (m % kFreshSum == 0) {
            s = sumsOver(track, mixer, m, window);
            entering = mixer.rotor(m + window), leaving = mixer.rotor(m);
        } else {
            s.tone += mixer.at(m + window - 1, entering) - mixer.at(m - 1, leaving);
            s.power += std::norm(track.samples[m + window - 1]) - std::norm(track.samples[m - 1]);
            entering *= mixer.step(), leaving *= mixer.step();
        }
        if (s.power > 1e-12)
            share[m] = static_cast<float>(std::norm(s.tone) / (static_cast<double>(window) * s.power));
    }
    return share;
}

// The weights of the pairs near the line; those of pairs lying far off the
// line the others make (four times the median distance, or a sample) are 0.
std::vector<double> weightsNear(const std::vector<double>& lines, const std::vector<double>& positions,
                                const std::vector<double>& weights, const LineFit& line)
{
    std::vector<double> residuals;
    for (std::size_t i = 0; i < lines.size(); ++i)
        residuals.push_back(std::abs(positions[i] - (line.intercept + line.slope * lines[i])));
    std::vector<double> sorted = residuals;
    std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
    const double limit = std::max(1.0, 4 * sorted[sorted.size() / 2]);
    std::vector<double> kept(weights.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        kept[i] = residuals[i] <= limit ? weights[i] : 0;
    return kept;
}

// A line through (line, position) pairs, fitted three times over to the pairs near the last fit.
LineFit robustLine(const std::vector<double>& lines, const std::vector<double>& positions,
                   const std::vector<double>& weights, LineFit line)
{
    for (int round = 0; round < 3 && !lines.empty(); ++round)
        if (const LineFit fitted = weightedLine(lines, positions, weightsNear(lines, positions, weights, line));
            fitted.slope > 0)
            line = fitted;
    return line;
}

// The start of a line of a known slope through (line, position) pairs: the
// weighted mean of where the pairs near it put it, three times over.
LineFit robustStart(const std::vector<double>& lines, const std::vector<double>& positions,
                    const std::vector<double>& weights, LineFit line)
{
    for (int round = 0; round < 3 && !lines.empty(); ++round) {
        const std::vector<double> kept = weightsNear(lines, positions, weights, line);
        double sum = 0, weight = 0;
        for (std::size_t i = 0; i < lines.size(); ++i)
            sum += kept[i] * (positions[i] - line.slope * lines[i]), weight += kept[i];
        if (weight > 0)
            line.intercept = sum / weight;
    }
    return line;
}

} // namespace

std::vector<float> syncScore(const TrackView& track, double syncHz, double syncMs)
{
    const auto window = static_cast<std::size_t>(std::max(1.0, std::round(track.samplesOf(syncMs))));
    return toneShares(track, syncHz, window);
}

namespace {

struct Candidate {
    double start = 0;
    double scale = 1;
    double total = -1;
};

double gridTotal(const std::vector<float>& score, double syncAt, double period, int lines)
{
    double total = 0;
    for (int k = 0; k < lines; ++k) {
        const auto at = static_cast<long long>(std::lround(syncAt + k * period));
        if (at >= 0 && at < static_cast<long long>(score.size()))
            total += score[static_cast<std::size_t>(at)];
    }
    return total;
}

// The grid whose syncs gather the most score, on a lattice fine enough that
// no line's sync is missed by more than a quarter of its length.
Candidate coarseGrid(const std::vector<float>& score, const StandardMode& mode, double rate, const GridSearch& search)
{
    const double nominal = mode.linePeriodMs() * rate / 1000, syncOffset = mode.syncOffsetMs() * rate / 1000;
    const double step = std::max(1.0, mode.syncMs() * rate / 1000 / 4);
    const double scaleStep = step / (mode.lines() * nominal);
    Candidate best;
    const double centre = search.scale.value_or(1), reach = search.scale ? 0 : search.maxScaleError;
    for (double scale = centre - reach; scale <= centre + reach; scale += scaleStep)
        for (double start = search.expectedFirstLine - search.startSearch;
             start <= search.expectedFirstLine + search.startSearch; start += step)
            if (const double t = gridTotal(score, start + syncOffset * scale, nominal * scale, mode.lines());
                t > best.total)
                best = {start, scale, t};
    return best;
}

} // namespace

LineGrid fitLineGrid(const std::vector<float>& score, const StandardMode& mode, double rate, const GridSearch& search)
{
    const Candidate coarse = coarseGrid(score, mode, rate, search);
    const double nominal = mode.linePeriodMs() * rate / 1000, syncOffset = mode.syncOffsetMs() * rate / 1000;
    const double reach = std::max(2.0, mode.syncMs() * rate / 1000 / 2);
    std::vector<double> lines, positions, weights;
    for (int k = 0; k < mode.lines(); ++k) {
        const double predicted = coarse.start + (syncOffset + k * nominal) * coarse.scale;
        const auto first = static_cast<long long>(std::floor(predicted - reach));
        const auto last = static_cast<long long>(std::ceil(predicted + reach));
        if (first < 1 || last + 1 >= static_cast<long long>(score.size()))
            continue;
        auto peak = first;
        for (auto m = first; m <= last; ++m)
            if (score[static_cast<std::size_t>(m)] > score[static_cast<std::size_t>(peak)])
                peak = m;
        const double left = score[static_cast<std::size_t>(peak - 1)], centre = score[static_cast<std::size_t>(peak)],
                     right = score[static_cast<std::size_t>(peak + 1)];
        const double curve = left - 2 * centre + right;
        lines.push_back(k);
        positions.push_back(static_cast<double>(peak) + (curve < 0 ? 0.5 * (left - right) / curve : 0));
        weights.push_back(centre * centre);
    }
    return fitToSyncs(mode, rate, lines, positions, weights, {coarse.start, nominal * coarse.scale, coarse.scale},
                      search.scale.has_value());
}

LineGrid fitToSyncs(const StandardMode& mode, double trackRate, const std::vector<double>& lines,
                    const std::vector<double>& syncs, const std::vector<double>& weights, const LineGrid& guess,
                    bool keepScale)
{
    const double nominal = mode.linePeriodMs() * trackRate / 1000, syncOffset = mode.syncOffsetMs() * trackRate / 1000;
    const LineFit start{guess.firstLine + syncOffset * guess.scale, guess.period};
    const LineFit line = keepScale ? robustStart(lines, syncs, weights, start) : robustLine(lines, syncs, weights, start);
    const double scale = line.slope / nominal;
    return {line.intercept - syncOffset * scale, line.slope, scale};
}

namespace {

constexpr int kLongestBurstGap = 3;   // lines lost to a burst of noise inside a run
constexpr double kLongestFadeSeconds = 5;
constexpr int kResumingLines = 3;     // lines heard in a row that end a fade

float scoreNear(const std::vector<float>& score, double at)
{
    float best = 0;
    for (auto m = static_cast<long long>(at) - 2; m <= static_cast<long long>(at) + 2; ++m)
        if (m >= 0 && m < static_cast<long long>(score.size()))
            best = std::max(best, score[static_cast<std::size_t>(m)]);
    return best;
}

float median(std::vector<float> values)
{
    if (values.empty())
        return 0;
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

} // namespace

double meanSyncShare(const std::vector<float>& score, const StandardMode& mode, double trackRate, const LineGrid& grid,
                     const LineRun& run)
{
    const double syncOffset = mode.syncOffsetMs() * trackRate / 1000 * grid.scale;
    double sum = 0;
    for (int k = run.first; k <= run.last; ++k)
        sum += scoreNear(score, grid.lineStart(k) + syncOffset);
    return run.count() > 0 ? sum / run.count() : 0;
}

LinesHeard::LinesHeard(double trackRate, const LineGrid& grid)
    : longestGap_(std::max(kLongestBurstGap, static_cast<int>(kLongestFadeSeconds * trackRate / grid.period)))
{
}

void LinesHeard::next(bool heard)
{
    if (run_.count() > 0 && gone())
        run_ = {}, inARow_ = 0;
    const int line = line_++;
    const int unheard = line - 1 - run_.last; // since the run's last line, before this one
    if (!heard) {
        inARow_ = 0;
    } else if (run_.count() <= 0) {
        run_.first = run_.last = line;
    } else if (unheard <= kLongestBurstGap) {
        run_.last = line;
    } else if (++inARow_ >= kResumingLines) {
        run_.fades.emplace_back(run_.last + 1, line - kResumingLines);
        run_.last = line, inARow_ = 0;
    }
}

LineRun linesPresent(const std::vector<float>& score, const StandardMode& mode, double trackRate,
                     const LineGrid& grid, int lines)
{
    const double syncOffset = mode.syncOffsetMs() * trackRate / 1000 * grid.scale;
    std::vector<float> atSync, between;
    for (int k = 0; k < lines && grid.lineStart(k + kWholeLine) <= static_cast<double>(score.size()); ++k) {
        atSync.push_back(scoreNear(score, grid.lineStart(k) + syncOffset));
        between.push_back(scoreNear(score, grid.lineStart(k + 0.5) + syncOffset));
    }
    const float floor = median(between);
    std::vector<float> strongest(atSync.begin(), atSync.end());
    std::sort(strongest.begin(), strongest.end());
    const float level = median(std::vector<float>(strongest.begin() + static_cast<std::ptrdiff_t>(strongest.size() / 2), strongest.end()));
    const float threshold = floor + 0.3f * (level - floor);
    LinesHeard heard(trackRate, grid);
    LineRun best;
    for (const float s : atSync) {
        heard.next(level > floor && s > threshold);
        if (heard.run().count() > best.count())
            best = heard.run();
    }
    return best;
}

namespace {

double syncPower(const TrackView& track, const StandardMode& mode, const LineGrid& grid, const LineRun& run, double hz)
{
    const double ms = track.rate / 1000 * grid.scale;
    double power = 0;
    for (int k = run.first; k <= run.last; ++k)
        power += tonePower(track, grid.lineStart(k) + (mode.syncOffsetMs() + 0.1 * mode.syncMs()) * ms,
                           0.8 * mode.syncMs() * ms, hz);
    return power;
}

double strongestSyncTone(const TrackView& track, const StandardMode& mode, const LineGrid& grid, const LineRun& run,
                         double low, double high, double step)
{
    double best = low, bestPower = -1;
    for (double hz = low; hz <= high; hz += step)
        if (const double power = syncPower(track, mode, grid, run, hz); power > bestPower)
            best = hz, bestPower = power;
    return best;
}

} // namespace

double heardSyncHz(const TrackView& track, const StandardMode& mode, const LineGrid& grid, const LineRun& run,
                   double aroundHz, double reachHz)
{
    const double coarse = strongestSyncTone(track, mode, grid, run, aroundHz - reachHz, aroundHz + reachHz, 5);
    return strongestSyncTone(track, mode, grid, run, coarse - 5, coarse + 5, 0.5);
}

namespace {

constexpr double kEndReachMs = 0.5; // a sync's end is looked for this far around where the grid puts it
constexpr int kFewestEnds = 3;

// Where the tone last crosses `level` going up within [from, to], in track positions.
std::optional<double> risingCrossing(const FrequencyTrack& frequency, double from, double to, double level, double near)
{
    std::optional<double> best;
    double previous = frequency.around(std::floor(from));
    for (double at = std::floor(from) + 1; at <= std::ceil(to); at += 1) {
        const double value = frequency.around(at);
        if (previous < level && value >= level) {
            const double crossing = at - 1 + (level - previous) / (value - previous);
            if (!best || std::abs(crossing - near) < std::abs(*best - near))
                best = crossing;
        }
        previous = value;
    }
    return best;
}

} // namespace

LineGrid refineBySyncEnds(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid, const LineRun& run,
                          const ToneCorrection& tones, bool keepScale)
{
    const double ms = frequency.rate() / 1000;
    const double toEnd = (mode.syncOffsetMs() + mode.syncMs()) * ms, reach = kEndReachMs * ms;
    const double level = tones.heard((kSyncHz + kPorchHz) / 2);
    std::vector<double> lines, ends, weights;
    for (int k = run.first; k <= run.last; ++k) {
        const double predicted = grid.lineStart(k) + toEnd * grid.scale;
        if (predicted + reach + 2 >= static_cast<double>(frequency.size()))
            break;
        if (const auto end = risingCrossing(frequency, predicted - reach, predicted + reach, level, predicted)) {
            lines.push_back(k);
            ends.push_back(*end);
            weights.push_back(1);
        }
    }
    if (static_cast<int>(lines.size()) < kFewestEnds)
        return grid;
    const LineFit start{grid.firstLine + toEnd * grid.scale, grid.period};
    const LineFit line = keepScale ? robustStart(lines, ends, weights, start) : robustLine(lines, ends, weights, start);
    const double scale = line.slope / (mode.linePeriodMs() * ms);
    return {line.intercept - toEnd * scale, line.slope, scale};
}

} // namespace tonobild::standard
