#include "standard/transmission_decode.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <span>
#include <vector>

#include "standard/fsk_id.h"
#include "standard/demodulator.h"
#include "standard/line_grid.h"
#include "standard/noise_reduction.h"
#include "standard/picture_reader.h"
#include "standard/scan_planes.h"

namespace tonobild::standard {

namespace {

constexpr int kFewestLines = 8;            // after a header, the lines that make it a transmission
constexpr double kLongestScaleError = 0.012;
constexpr double kStartSearchMs = 25;      // the first line looked for around where the header puts it
constexpr double kReportBandHz = 3000;
// A studio-range picture's luminance stays above and below these (16 and 235, less noise);
// a full-range one puts some of its colours this far out of gamut when read as studio range.
constexpr float kDarkestStudio = 12;
constexpr float kBrightestStudio = 240;
constexpr double kGamutMargin = 10;
constexpr double kOutOfGamutShare = 0.01;

// Studio-range luminance stays between 16 and 235, and its colours inside what
// RGB can show; a full-range picture read as studio range goes beyond: its
// blacks and whites past the ends, its strong colours out of gamut.
// Only the rows that arrived are looked at, not a fade's.
ColourRange rangeOf(const ScanPlanes& planes, const StandardMode& mode, const LineRun& run, int shift, int lines)
{
    std::vector<float> luma;
    std::size_t outOfGamut = 0;
    const int rows = mode.rowsPerLine();
    const int firstRow = std::max(0, (run.first + shift) * rows);
    const int endRow = std::min((run.first + shift + lines) * rows, planes.height());
    for (int y = firstRow; y < endRow; ++y) {
        if (run.inFade(y / rows - shift))
            continue;
        const auto l = planes.row(0, y), cr = planes.row(1, y), cb = planes.row(2, y);
        luma.insert(luma.end(), l.begin(), l.end());
        for (std::size_t x = 0; x < l.size(); ++x)
            if (studioGamutExcess({l[x], cr[x], cb[x]}) > kGamutMargin)
                ++outOfGamut;
    }
    if (luma.size() < 100)
        return ColourRange::Studio;
    const auto low = luma.begin() + static_cast<std::ptrdiff_t>(luma.size() / 500);
    std::nth_element(luma.begin(), low, luma.end());
    const float darkest = *low;
    const auto high = luma.begin() + static_cast<std::ptrdiff_t>(luma.size() * 499 / 500);
    std::nth_element(luma.begin(), high, luma.end());
    const bool beyond = darkest < kDarkestStudio || *high > kBrightestStudio;
    return beyond || static_cast<double>(outOfGamut) > kOutOfGamutShare * static_cast<double>(luma.size()) ? ColourRange::Full
                                                                                        : ColourRange::Studio;
}

// The share of the track's power that the sync tone holds over the middle of
// each line's sync, turned into a signal-to-noise ratio in a 3 kHz band. A
// fade's lines are left out: the rest of the picture is read as it was heard.
double snrOfSyncs(const TrackView& track, const StandardMode& mode, const LineGrid& grid, const LineRun& run, double syncHz,
                  double noiseBandwidth)
{
    const double ms = track.rate / 1000 * grid.scale;
    double shares = 0;
    int counted = 0;
    for (int line = run.first; line <= run.last; ++line) {
        if (run.inFade(line))
            continue;
        const double from = grid.lineStart(line) + (mode.syncOffsetMs() + 0.1 * mode.syncMs()) * ms;
        shares += toneShare(track, from, 0.8 * mode.syncMs() * ms, syncHz);
        ++counted;
    }
    const double share = counted ? std::clamp(shares / counted, 1e-4, 1 - 1e-6) : 1e-4;
    return 10 * std::log10(share / (1 - share) * noiseBandwidth / kReportBandHz);
}

// How the picture is read at a signal-to-noise ratio (in a 3 kHz band): the
// half width of the band the tone is read in (around 1900 Hz; 1800 or more:
// the track's own), the share of each pixel its value is averaged over (more
// than 1: its neighbours' too; a tone's frequency measured over twice the time
// is known four times better, so this is the cheapest of noise reductions),
// the same for colour differences (which hold little detail), and the noise
// taken out of the values read. Between the rows of the table the plan goes
// from one to the next in proportion.
struct ReadingPlan {
    double bandHz = 0;
    double pixelShare = 0.6;
    double colourShare = 0.6;
    NoiseReduction noise;
    bool keepsEdges = false; // a second, sharp reading gives the edges back
};

struct PlanRow {
    double snrDb, bandHz, pixelShare, colourShare, strength;
};

constexpr PlanRow kReadingPlans[] = {
    // SNR   band    pixel  colour  non-local means
    {40, 1800, 0.6, 0.6, 0.0},
    {30, 1500, 1.0, 1.5, 0.3},
    {20, 1100, 2.5, 4.0, 0.8},
    {10, 675, 3.0, 12.0, 1.2},
    {5, 480, 4.0, 16.0, 1.5},
    {0, 400, 6.0, 24.0, 2.5},
};
constexpr double kClicksBelowDb = 30;
// Below kGuidedBelowDb non-local means takes a second pass, guided by the
// first pass's picture (clear of 10 dB, whose measured SNR may fall a little
// under it: the pass costs about a tenth of the reading's time).
constexpr double kGuidedBelowDb = 8;
// Where a pixel's own stretch of tone is heard less than kWideSearchBelowPixelDb
// above the noise (Robot, PD and Pasokon from 20 dB down; Martin, Scottie and
// Wraase from 10 dB down), non-local means looks for alike neighbourhoods
// within 7 x 7 rather than 5 x 5: the values' noise then hides the finest
// detail anyway, and more neighbours quieten smooth areas.
constexpr double kWideSearchBelowPixelDb = 19.5;
constexpr int kWideSearchRadius = 3;
// Where a pixel's own stretch of tone (the shortest scan's) stands
// kWienerFromPixelDb or more above the noise (Martin 1, Scottie DX, Robot 36,
// PD 120 and 290, Wraase SC2-180 and Pasokon P5 at 20 and 10 dB; Martin 1,
// Scottie DX and Wraase SC2-180 at 5 dB), the values as read are
// Wiener-filtered after non-local means, whose picture leads the filter: the
// clicks are then few enough that the detail the median and the averaging
// took comes back with little noise. Deeper in the noise the filter lets more
// clicks through than detail. Where a pixel stands kSecondWienerFromPixelDb
// above the noise (Martin 1, Scottie DX and Wraase SC2-180 at 20 dB),
// non-local means' picture is a poorer pilot than the filter's own: a second
// pass is led by the first.
constexpr double kWienerFromPixelDb = 6;
constexpr double kSecondWienerFromPixelDb = 20;
// Where the plan reads a pixel over its neighbours' time too, and a pixel's
// own stretch of tone still stands above the noise (its signal-to-noise ratio
// over its own time at least kSharpFromPixelDb), the picture is read a second
// time, sharp: each pixel over its own time, each colour difference over a
// quarter of the plan's; an edge is taken from that reading. Where a pixel of
// brightness stands well above the noise over its own stretch (the sharp
// reading reads colour differences over longer; kSharpOnlyFromPixelDb: Martin
// 1, Scottie DX, Robot 36, PD 290, Wraase SC2-180 and Pasokon P5 at 20 dB,
// not PD 120's shorter pixels), the sharp reading alone is taken, with the
// plan's noise reduction: a pixel read over its neighbours' time would blur
// more than its own noise costs, and the Wiener filter, which runs there,
// tells detail from noise better than that blur does. At 10 dB (and through
// the HF path, measured a little higher) the blur still pays on smooth
// pictures.
constexpr double kSharpPixelShare = 1.0;
constexpr double kSharpColourFraction = 0.25;
constexpr double kSharpFromPixelDb = 1;
constexpr double kSharpOnlyFromPixelDb = 18;

// Where a colour pixel's own stretch of tone (the shortest pixel of Robot and
// PD) stands less than kColourFollowsBelowPixelDb above the noise (Robot 36
// and 72, PD 50, 120, 180 and 290 from 10 dB down, Robot 36 and PD 120
// through an SSB passband at 10 dB too, whose band-limited noise is measured
// a few dB higher; PD 90, 160 and 240 from 5 dB down), non-local means leaves the colour
// differences noisy: they are last made to follow the luminance's shapes
// within 7 x 7, as colour holds little detail of its own. They are then read
// over no more time than the plan gives Robot 36's colour pixels of
// kShortColourPixelMs, the shortest of any mode: PD's longer pixels, read
// over as many of them, would blur colour across the edges the luminance
// gives back. Where a colour pixel is heard better, the filter takes more
// colour detail than noise.
constexpr double kColourFollowsBelowPixelDb = 10.5;
constexpr int kColourFollowsRadius = 3;
constexpr double kShortColourPixelMs = 0.1375;

ReadingPlan planOfRows(double snrDb)
{
    const auto rows = std::span(kReadingPlans);
    const auto below = std::find_if(rows.begin(), rows.end(), [&](const PlanRow& r) { return r.snrDb <= snrDb; });
    const PlanRow& lower = below == rows.end() ? rows.back() : *below;
    const PlanRow& upper = below == rows.begin() ? rows.front() : *(below == rows.end() ? below - 1 : below - 1);
    const double t = upper.snrDb == lower.snrDb ? 0 : std::clamp((upper.snrDb - snrDb) / (upper.snrDb - lower.snrDb), 0.0, 1.0);
    const auto between = [t](double a, double b) { return a + (b - a) * t; };
    ReadingPlan plan;
    const double band = between(upper.bandHz, lower.bandHz);
    plan.bandHz = band >= kPassHz ? 0 : band;
    plan.pixelShare = between(upper.pixelShare, lower.pixelShare);
    plan.colourShare = between(upper.colourShare, lower.colourShare);
    plan.noise.clicks = snrDb < kClicksBelowDb;
    plan.noise.strength = between(upper.strength, lower.strength);
    plan.noise.guided = snrDb < kGuidedBelowDb;
    return plan;
}

ReadingPlan readingPlanFor(const StandardMode& mode, double snrDb)
{
    ReadingPlan plan = planOfRows(snrDb);
    const auto overOwnTimeDb = [snrDb](double pixelMs) { return snrDb + 10 * std::log10(kReportBandHz * pixelMs / 1000); };
    const double pixelSnrDb = overOwnTimeDb(mode.shortestPixelMs());
    if (overOwnTimeDb(mode.shortestBrightnessPixelMs()) >= kSharpOnlyFromPixelDb)
        plan.pixelShare = std::min(plan.pixelShare, kSharpPixelShare);
    plan.keepsEdges = plan.pixelShare > kSharpPixelShare && pixelSnrDb >= kSharpFromPixelDb;
    if (plan.noise.strength > 0 && pixelSnrDb >= kWienerFromPixelDb)
        plan.noise.wienerPasses = pixelSnrDb >= kSecondWienerFromPixelDb ? 2 : 1;
    if (pixelSnrDb < kWideSearchBelowPixelDb)
        plan.noise.searchRadius = kWideSearchRadius;
    if (sendsColourDifferences(mode.family) && plan.noise.strength > 0 && pixelSnrDb < kColourFollowsBelowPixelDb) {
        plan.noise.colourGuideRadius = kColourFollowsRadius;
        const double colourPixelMs = mode.shortestPixelMs();
        plan.colourShare = std::min(plan.colourShare, std::max(1.0, plan.colourShare * kShortColourPixelMs / colourPixelMs));
    }
    return plan;
}

// The tone's frequency the picture is read from: in the plan's band, and kept
// within the tones a picture may hold (and a little more).
FrequencyTrack frequencyForPicture(const TrackView& view, const ReadingPlan& plan, const ToneCorrection& tones)
{
    const double lowest = tones.heard(kSyncHz), highest = tones.heard(kWhiteHz + 300);
    if (plan.bandHz <= 0)
        return FrequencyTrack(view, lowest, highest);
    const NarrowTrack band = narrowed(view.samples, view.rate, tones.heard(kLeaderHz), plan.bandHz);
    return FrequencyTrack(TrackView{band.samples, band.rate}, lowest, highest, band.decimation);
}

} // namespace

const char* foundByName(FoundBy how) noexcept
{
    switch (how) {
    case FoundBy::Vis:
        return "VIS";
    case FoundBy::Lines:
        return "lines";
    case FoundBy::Forced:
        return "forced";
    }
    return "";
}

std::string describe(const StandardReport& r)
{
    char text[200];
    // Rounded first, so that a value below a half shows as 0, not -0.
    std::snprintf(text, sizeof text, "%s, %s, %+.0f ppm, %+.0f Hz", r.mode ? r.mode->name.c_str() : "?",
                  foundByName(r.foundBy), std::round(r.ppm) + 0.0, std::round(r.offsetHz) + 0.0);
    std::string line = text;
    if (!r.fskId.empty())
        line += ", FSK ID " + r.fskId;
    std::snprintf(text, sizeof text, ", SNR %.0f dB, %s range", r.snrDb, colourRangeName(r.range));
    return line + text;
}

// A transmission found by its lines begins, as far as is known, with the line whose sync was seen.
FoundTransmission foundByLines(const LinesFound& seen)
{
    const double lineStart = seen.syncAt - seen.mode->syncOffsetMs() * seen.period / seen.mode->linePeriodMs();
    return {seen.mode, FoundBy::Lines, lineStart, seen.offsetHz, false};
}

namespace {

class TransmissionDecode {
public:
    TransmissionDecode(const TrackBuffer& track, FoundTransmission found, const ByHand& byHand, double noiseBandwidth)
        : track_(track), found_(found), byHand_(byHand), rate_(track.rate()), noiseBandwidth_(noiseBandwidth)
    {
    }

    struct Fit {
        std::vector<float> score;
        LineGrid grid;
        LineRun run;
        ToneCorrection tones;
    };
    LineGrid fitGrid(const std::vector<float>& score) const;
    Fit fitLines(const TrackView& view) const;
    bool plausible(const Fit& fit) const;
    int pictureShift(const LineRun& run, int parityPhase) const;
    StandardPicture readPicture(const TrackView& view, Fit fit) const;
    void take(const FoundTransmission& found) { found_ = found; }
    const FoundTransmission& found() const noexcept { return found_; }

private:
    const TrackBuffer& track_;
    FoundTransmission found_;
    ByHand byHand_;
    double rate_;
    double noiseBandwidth_;
};

LineGrid TransmissionDecode::fitGrid(const std::vector<float>& score) const
{
    const StandardMode& mode = *found_.mode;
    const double rate = rate_;
    GridSearch search;
    search.expectedFirstLine = found_.pictureStart - static_cast<double>(track_.origin());
    if (found_.lineNumbersKnown)
        search.expectedFirstLine += mode.leadInSyncMs * rate / 1000;
    search.startSearch = kStartSearchMs * rate / 1000;
    search.maxScaleError = kLongestScaleError;
    if (byHand_.ppm)
        search.scale = 1 + *byHand_.ppm / 1e6;
    return fitLineGrid(score, mode, rate, search);
}

// How far the picture's lines lie from the grid's: none when the header gave
// line 0; for a transmission found by its lines, a run that ends before the
// track does (the transmission ended) ends at the picture's last line, and one
// that reaches the track's end (the recording ended) begins at its first.
int TransmissionDecode::pictureShift(const LineRun& run, int parityPhase) const
{
    if (found_.lineNumbersKnown)
        return 0;
    const int lines = found_.mode->lines();
    const double runEnd = static_cast<double>(run.last + 2) * found_.mode->linePeriodMs() * rate_ / 1000;
    int shift = -run.first;
    if (runEnd < static_cast<double>(track_.end() - track_.origin()))
        shift = lines - 1 - run.last;
    // Robot 36's pairs of lines begin with the line whose separator says "even".
    if (found_.mode->family == ColourFamily::RobotAlternate && (shift - parityPhase) % 2 != 0)
        shift += shift + run.first > 0 ? -1 : 1;
    return shift;
}

// The grid fitted to the syncs, the lines that came in, and how the tones were
// heard. The leader was heard at 1900 Hz, scaled by the sender's clock and
// shifted by the mistuning; without it, the syncs of every line say the same,
// and the grid is fitted again to syncs heard at their true tone. What is set
// by hand is taken as it is.
TransmissionDecode::Fit TransmissionDecode::fitLines(const TrackView& view) const
{
    const StandardMode& mode = *found_.mode;
    Fit fit;
    fit.score = syncScore(view, kSyncHz + byHand_.offsetHz.value_or(found_.offsetHz), mode.syncMs());
    fit.grid = fitGrid(fit.score);
    fit.run = linesPresent(fit.score, mode, rate_, fit.grid, mode.lines());
    if (byHand_.offsetHz) {
        fit.tones = {*byHand_.offsetHz, fit.grid.scale};
    } else if (found_.lineNumbersKnown) {
        fit.tones = {kLeaderHz + found_.offsetHz - kLeaderHz / fit.grid.scale, fit.grid.scale};
    } else {
        const double syncHz = heardSyncHz(view, mode, fit.grid, fit.run, kSyncHz + found_.offsetHz);
        fit.score = syncScore(view, syncHz, mode.syncMs());
        fit.grid = fitGrid(fit.score);
        fit.run = linesPresent(fit.score, mode, rate_, fit.grid, mode.lines());
        fit.tones = {syncHz - kSyncHz / fit.grid.scale, fit.grid.scale};
    }
    return fit;
}

// Lines of the mode came in after the header: most of those the track has room for, or a few at least,
// and their syncs are heard as syncs: the sync tone holds a good share of the
// power where they stand, as no other signal's regular pattern does.
bool TransmissionDecode::plausible(const Fit& fit) const
{
    const double room = (static_cast<double>(track_.size()) - fit.grid.firstLine) / fit.grid.period;
    const bool enough = fit.run.count() > 0 &&
                        fit.run.count() >= std::min({kFewestLines, found_.mode->lines(), static_cast<int>(room / 2)});
    return enough && meanSyncShare(fit.score, *found_.mode, rate_, fit.grid, fit.run) >= kLeastSyncShare;
}

StandardPicture TransmissionDecode::readPicture(const TrackView& view, Fit fit) const
{
    const StandardMode& mode = *found_.mode;
    const FrequencyTrack wide(view);
    fit.grid = refineBySyncEnds(wide, mode, fit.grid, fit.run, fit.tones, byHand_.ppm.has_value());
    fit.tones.scale = fit.grid.scale;
    StandardReport report;
    report.snrDb = snrOfSyncs(view, mode, fit.grid, fit.run, fit.tones.heard(kSyncHz), noiseBandwidth_);
    const ReadingPlan plan = readingPlanFor(mode, report.snrDb);
    PictureReading reading;
    reading.tones = fit.tones;
    reading.pixelShare = plan.pixelShare;
    reading.colourShare = plan.colourShare;
    reading.bandHz = plan.bandHz;
    reading.parityPhase = parityPhase(wide, mode, fit.grid, reading.tones);
    const int shift = pictureShift(fit.run, reading.parityPhase);
    ScanPlanes planes(mode);
    report.mode = &mode;
    report.foundBy = found_.how;
    report.offsetHz = reading.tones.offsetHz;
    report.ppm = (fit.grid.scale - 1) * 1e6;
    const FrequencyTrack frequency = frequencyForPicture(view, plan, reading.tones);
    report.lines = readLines(frequency, mode, fit.grid, reading, fit.run, shift, planes);
    report.complete = report.lines == mode.lines();
    const int rows = mode.rowsPerLine(), firstRow = (fit.run.first + shift) * rows;
    if (plan.keepsEdges) {
        PictureReading sharp = reading;
        sharp.pixelShare = kSharpPixelShare;
        sharp.colourShare = std::max(kSharpPixelShare, plan.colourShare * kSharpColourFraction);
        ScanPlanes sharpPlanes(mode);
        readLines(frequency, mode, fit.grid, sharp, fit.run, shift, sharpPlanes);
        keepEdges(planes, sharpPlanes, mode, firstRow, firstRow + report.lines * rows);
    }
    reduceNoise(planes, mode, firstRow, firstRow + report.lines * rows, plan.noise);
    planes.placeColourBetweenPairs(mode, firstRow, firstRow + report.lines * rows);
    report.range = sendsColourDifferences(mode.family) ? rangeOf(planes, mode, fit.run, shift, report.lines)
                                                : ColourRange::Studio;
    if (fit.run.last + shift == mode.lines() - 1)
        report.fskId = readFskId(view, fit.grid.lineStart(fit.run.last + 1), reading.tones).value_or("");
    return {planes.picture(mode, report.range), report};
}

} // namespace

std::optional<StandardPicture> decodeTransmission(const TrackBuffer& track, FoundTransmission found,
                                                  const ByHand& byHand, double noiseBandwidth, LineFinder& finder)
{
    const StandardMode* forced = found.how == FoundBy::Forced ? found.mode : nullptr;
    TransmissionDecode decode(track, found, byHand, noiseBandwidth);
    const TrackView view = track.view();
    auto fit = decode.fitLines(view);
    if (!decode.plausible(fit) && !forced) {
        const auto seen = finder.lookFrom(track, static_cast<std::uint64_t>(std::max(0.0, found.pictureStart)));
        if (!seen)
            return std::nullopt;
        decode.take(foundByLines(*seen));
        fit = decode.fitLines(view);
    }
    if (!decode.plausible(fit))
        return std::nullopt;
    return decode.readPicture(view, fit);
}

} // namespace tonobild::standard
