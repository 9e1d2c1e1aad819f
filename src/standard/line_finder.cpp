#include "standard/line_finder.h"

#include "standard/line_grid.h"

#include "common/liquid_dsp.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numeric>

namespace tonobild::standard {

namespace {

constexpr double kBinMs = 1;                // the frequency is read about a millisecond at a time
constexpr double kScaleError = 0.012;       // the clock error a sender may have
constexpr double kLeastLikeness = 0.3;      // lines less alike are no transmission
constexpr double kCloseLikeness = 0.9;      // a shorter period this nearly as alike is the mode
constexpr double kLeastSyncContrastHz = 80; // a sync stands this far below what is beside it
constexpr double kSameRhythm = 0.015;       // modes whose periods lie this close are told apart by their syncs
constexpr double kOffsetReachHz = 250;
constexpr double kHalfPeriodContrast = 0.8;  // of the sync's contrast at the full period
constexpr double kPeriodReach = 0.006;       // how far the syncs' period may lie from the lines' likeness

std::size_t powerOfTwoAtLeast(std::size_t n)
{
    std::size_t size = 1;
    while (size < n)
        size *= 2;
    return size;
}

// The tone's frequency a millisecond at a time: the turn of the phase summed
// over the millisecond, so that noise weighs less than the tone. Silence reads
// as the mean.
std::size_t samplesPerBin(const TrackView& track)
{
    return static_cast<std::size_t>(std::max(1.0, std::round(track.samplesOf(kBinMs))));
}

std::vector<double> frequencyByBin(const TrackView& track)
{
    const std::size_t bin = samplesPerBin(track);
    std::vector<double> hz;
    for (std::size_t first = 1; first + bin <= track.size(); first += bin) {
        std::complex<double> turn = 0;
        for (std::size_t m = first; m < first + bin; ++m)
            turn += std::complex<double>(track.samples[m] * std::conj(track.samples[m - 1]));
        hz.push_back(std::abs(turn) > 0 ? kCentreHz + std::arg(turn) * track.rate / (2 * M_PI) : NAN);
    }
    double sum = 0;
    int counted = 0;
    for (double v : hz)
        if (!std::isnan(v))
            sum += v, ++counted;
    const double mean = counted ? sum / counted : kCentreHz;
    for (double& v : hz)
        v = std::isnan(v) ? mean : v;
    return hz;
}

struct Rhythm {
    const StandardMode* mode = nullptr;
    double periodBins = 0;
    double likeness = -1;
};

// The line's mean tone at each millisecond of its period.
std::vector<double> foldedProfile(const std::vector<double>& hz, double periodBins)
{
    const auto bins = static_cast<std::size_t>(std::floor(periodBins));
    std::vector<double> sum(bins, 0), count(bins, 0);
    for (std::size_t n = 0; n < hz.size(); ++n) {
        const auto at = static_cast<std::size_t>(std::fmod(static_cast<double>(n), periodBins));
        if (at < bins)
            sum[at] += hz[n], count[at] += 1;
    }
    for (std::size_t i = 0; i < bins; ++i)
        sum[i] = count[i] > 0 ? sum[i] / count[i] : 0;
    return sum;
}

struct SyncPlace {
    double startBin = 0;
    double contrastHz = 0;
    double meanHz = 0;
};

// Where in the folded line a sync of the mode's length stands furthest below what lies just beside it.
SyncPlace syncInProfile(const std::vector<double>& profile, double syncBins)
{
    const auto n = profile.size();
    const auto width = static_cast<std::size_t>(std::max(1.0, std::round(syncBins)));
    const auto at = [&](std::size_t i) { return profile[i % n]; };
    SyncPlace best{0, -1e9, 0};
    for (std::size_t start = 0; start < n; ++start) {
        double inside = 0;
        for (std::size_t i = 0; i < width; ++i)
            inside += at(start + i);
        inside /= static_cast<double>(width);
        const double beside = (at(start + n - 2) + at(start + n - 1) + at(start + width) + at(start + width + 1)) / 4;
        if (beside - inside > best.contrastHz)
            best = {static_cast<double>(start), beside - inside, inside};
    }
    return best;
}

} // namespace

struct LineFinder::Transform {
    explicit Transform(std::size_t n) : in(n), out(n)
    {
        forward = fft_create_plan(static_cast<unsigned>(n), in.data(), out.data(), LIQUID_FFT_FORWARD, 0);
        backward = fft_create_plan(static_cast<unsigned>(n), out.data(), in.data(), LIQUID_FFT_BACKWARD, 0);
    }
    ~Transform()
    {
        fft_destroy_plan(forward);
        fft_destroy_plan(backward);
    }
    // The autocorrelation of the values, each lag over as many pairs as it has, 1 at lag 0.
    std::vector<double> likeness(const std::vector<double>& values)
    {
        const double mean = std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
        std::fill(in.begin(), in.end(), Baseband{});
        for (std::size_t i = 0; i < values.size(); ++i)
            in[i] = Baseband(static_cast<float>(values[i] - mean), 0);
        fft_execute(forward);
        for (Baseband& v : out)
            v = Baseband(std::norm(v), 0);
        fft_execute(backward);
        std::vector<double> rho(values.size() / 2, 0);
        const double zero = in[0].real();
        for (std::size_t lag = 0; lag < rho.size() && zero > 0; ++lag)
            rho[lag] = in[lag].real() / zero * static_cast<double>(values.size()) /
                       static_cast<double>(values.size() - lag);
        return rho;
    }
    std::vector<Baseband> in, out;
    fftplan forward, backward;
};

LineFinder::LineFinder(double trackRate) : rate_(trackRate) {}
LineFinder::~LineFinder() = default;

namespace {

// Each mode's strongest repetition within its clock error; the mode whose lines are most alike.
Rhythm strongestRhythm(const std::vector<double>& likeness, double binMs)
{
    std::vector<Rhythm> rhythms;
    for (const StandardMode& mode : modeTable()) {
        const double period = mode.linePeriodMs() / binMs;
        if (3 * period * (1 + kScaleError) >= static_cast<double>(2 * likeness.size()))
            continue;
        Rhythm r{&mode, period, -1};
        const auto low = static_cast<std::size_t>(std::floor(period * (1 - kScaleError)));
        const auto high = std::min(likeness.size() - 2, static_cast<std::size_t>(std::ceil(period * (1 + kScaleError))));
        for (std::size_t lag = low; lag <= high; ++lag)
            if (likeness[lag] > r.likeness) {
                const double left = likeness[lag - 1], centre = likeness[lag], right = likeness[lag + 1];
                const double curve = left - 2 * centre + right;
                // The parabola's top only at a peak: at the edge of the reach a
                // rising flank's vertex may lie anywhere, even below zero.
                const bool peak = curve < 0 && centre >= left && centre >= right;
                r.likeness = centre;
                r.periodBins = static_cast<double>(lag) + (peak ? 0.5 * (left - right) / curve : 0);
            }
        rhythms.push_back(r);
    }
    Rhythm best;
    for (const Rhythm& r : rhythms)
        if (r.likeness > best.likeness)
            best = r;
    // A picture repeats also at twice its period: the shortest period nearly as strong is the mode's.
    for (const Rhythm& r : rhythms)
        if (r.likeness >= kCloseLikeness * best.likeness && r.periodBins < best.periodBins * (1 - kSameRhythm))
            best = r;
    return best;
}

} // namespace

std::optional<LinesFound> LineFinder::lookBefore(const TrackBuffer& track, std::uint64_t end)
{
    const auto window = static_cast<std::uint64_t>(kWindowSeconds * rate_);
    return lookAt(track, end > window ? end - window : 0, end);
}

std::optional<LinesFound> LineFinder::lookFrom(const TrackBuffer& track, std::uint64_t first)
{
    return lookAt(track, first, first + static_cast<std::uint64_t>(kWindowSeconds * rate_));
}

namespace {

// The mode a rhythm of lines belongs to, where its sync stands in the folded
// line, and the period the syncs fold sharpest at (in bins).
struct ModeChoice {
    const StandardMode* mode = nullptr;
    SyncPlace sync{0, -1e9, 0};
    double periodBins = 0;
};

// Modes of nearly the same period are told apart by the length of their sync;
// a picture whose lines alternate (Robot 36) is most like itself two lines on,
// so a mode of half the period whose sync is as clear is the one. Lines alike
// are also alike a little aside (a slanting edge): the syncs fold sharpest at
// the true period.
ModeChoice chooseMode(const std::vector<double>& hz, const Rhythm& rhythm, double binMs)
{
    ModeChoice choice{nullptr, {0, -1e9, 0}, rhythm.periodBins};
    for (const double fold : {rhythm.periodBins, rhythm.periodBins / 2}) {
        const std::vector<double> profile = foldedProfile(hz, fold);
        for (const StandardMode& candidate : modeTable()) {
            if (std::abs(candidate.linePeriodMs() / binMs / fold - 1) > kSameRhythm)
                continue;
            const SyncPlace place = syncInProfile(profile, candidate.syncMs() / binMs);
            const bool shorter = fold < choice.periodBins;
            if (shorter ? place.contrastHz >= kHalfPeriodContrast * choice.sync.contrastHz
                        : place.contrastHz > choice.sync.contrastHz)
                choice = {&candidate, place, fold};
        }
    }
    if (!choice.mode || choice.sync.contrastHz < kLeastSyncContrastHz)
        return {};
    const double step = 0.25 / (static_cast<double>(hz.size()) / choice.periodBins);
    const double centre = choice.periodBins;
    for (double fold = centre * (1 - kPeriodReach); fold <= centre * (1 + kPeriodReach); fold += step)
        if (const SyncPlace place = syncInProfile(foldedProfile(hz, fold), choice.mode->syncMs() / binMs);
            place.contrastHz > choice.sync.contrastHz)
            choice.sync = place, choice.periodBins = fold;
    return choice;
}

// The transmission the choice makes in the window, if its syncs are heard: the
// sync's tone, summed over every sync, says the mistuning, and the
// transmission begins at the first line whose sync is heard (the window may
// begin before it). A regular pattern whose "syncs" hold little of a steady
// tone, or one far off tune, is no transmission.
std::optional<LinesFound> confirmed(const TrackView& view, double first, const ModeChoice& choice, double binMs)
{
    const StandardMode& mode = *choice.mode;
    LinesFound found;
    found.mode = &mode;
    found.period = choice.periodBins * binMs * view.rate / 1000;
    found.syncAt = first + (choice.sync.startBin + 0.5) * binMs * view.rate / 1000;
    const double scale = choice.periodBins * binMs / mode.linePeriodMs();
    const LineGrid grid{found.syncAt - first - mode.syncOffsetMs() * view.rate / 1000 * scale, found.period, scale};
    const LineRun all{0, static_cast<int>((static_cast<double>(view.size()) - grid.firstLine) / found.period) - 1, {}};
    const double syncHz = heardSyncHz(view, mode, grid, all, choice.sync.meanHz, kOffsetReachHz);
    found.offsetHz = syncHz - kSyncHz;
    const std::vector<float> score = syncScore(view, syncHz, mode.syncMs());
    const LineRun heard = linesPresent(score, mode, view.rate, grid, all.count());
    if (std::abs(found.offsetHz) > kOffsetReachHz || heard.count() <= 0 ||
        meanSyncShare(score, mode, view.rate, grid, heard) < kLeastSyncShare)
        return std::nullopt;
    found.syncAt += heard.first * found.period;
    return found;
}

} // namespace

std::optional<LinesFound> LineFinder::lookAt(const TrackBuffer& track, std::uint64_t from, std::uint64_t to)
{
    const auto window = static_cast<std::uint64_t>(kWindowSeconds * rate_);
    const std::uint64_t first = std::max(from, track.origin()), end = std::min(to, track.end());
    if (end < first + window / 2)
        return std::nullopt;
    TrackView view = track.from(first);
    view.samples = view.samples.first(static_cast<std::size_t>(end - first));
    const std::vector<double> hz = frequencyByBin(view);
    const std::size_t size = powerOfTwoAtLeast(2 * hz.size());
    if (!transform_ || transform_->in.size() != size)
        transform_ = std::make_unique<Transform>(size);
    const double binMs = static_cast<double>(samplesPerBin(view)) * 1000 / rate_;
    const Rhythm rhythm = strongestRhythm(transform_->likeness(hz), binMs);
    if (!rhythm.mode || rhythm.likeness < kLeastLikeness)
        return std::nullopt;
    const ModeChoice choice = chooseMode(hz, rhythm, binMs);
    if (!choice.mode)
        return std::nullopt;
    auto found = confirmed(view, static_cast<double>(first), choice, binMs);
    if (found)
        found->likeness = rhythm.likeness;
    return found;
}

} // namespace tonobild::standard
