#include "standard/standard_receiver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "standard/demodulator.h"
#include "standard/fsk_id.h"
#include "standard/line_finder.h"
#include "standard/line_grid.h"
#include "standard/picture_reader.h"
#include "standard/scan_planes.h"
#include "standard/track_buffer.h"
#include "standard/vis_reader.h"

namespace tonobild::standard {

namespace {

constexpr double kSearchKeptSeconds = 3;   // the track kept while searching
constexpr double kLookEverySeconds = 2;    // how often the line finder looks
constexpr int kFewestLines = 8;            // after a header, the lines that make it a transmission
constexpr double kLongestScaleError = 0.012;
constexpr double kStartSearchMs = 25;      // the first line looked for around where the header puts it
constexpr double kBeforePictureMs = 50;    // the track kept before the picture
constexpr double kIdentificationSeconds = 3.5; // kept after the picture for an FSK identification
constexpr double kReportBandHz = 3000;
// A studio-range picture's luminance stays above and below these (16 and 235, less noise);
// a full-range one puts some of its colours this far out of gamut when read as studio range.
constexpr float kDarkestStudio = 12;
constexpr float kBrightestStudio = 240;
constexpr double kGamutMargin = 10;
constexpr double kOutOfGamutShare = 0.01;

// Where a transmission begins and what it is.
struct Found {
    const StandardMode* mode = nullptr;
    FoundBy how = FoundBy::Vis;
    double pictureStart = 0; // track samples of the stream: the lead-in sync or line 0
    double offsetHz = 0;
    bool lineNumbersKnown = true; // the header says where line 0 begins; found by its lines, a line of unknown number
};

bool sendsColourDifferences(const StandardMode& mode)
{
    return mode.family == ColourFamily::ColourDiff || mode.family == ColourFamily::RobotAlternate ||
           mode.family == ColourFamily::TwoRows;
}

// Studio-range luminance stays between 16 and 235, and its colours inside what
// RGB can show; a full-range picture read as studio range goes beyond: its
// blacks and whites past the ends, its strong colours out of gamut.
// Only the rows that arrived are looked at.
ColourRange rangeOf(const ScanPlanes& planes, int firstRow, int endRow)
{
    std::vector<float> luma;
    std::size_t outOfGamut = 0;
    for (int y = std::max(0, firstRow); y < std::min(endRow, planes.height()); ++y) {
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
// each line's sync, turned into a signal-to-noise ratio in a 3 kHz band.
double snrOfSyncs(const TrackView& track, const StandardMode& mode, const LineGrid& grid, LineRun run, double syncHz,
                  double noiseBandwidth)
{
    const double ms = track.rate / 1000 * grid.scale;
    double shares = 0;
    int counted = 0;
    for (int line = run.first; line <= run.last; ++line) {
        const double from = grid.lineStart(line) + (mode.syncOffsetMs() + 0.1 * mode.syncMs()) * ms;
        shares += toneShare(track, from, 0.8 * mode.syncMs() * ms, syncHz);
        ++counted;
    }
    const double share = counted ? std::clamp(shares / counted, 1e-4, 1 - 1e-6) : 1e-4;
    return 10 * std::log10(share / (1 - share) * noiseBandwidth / kReportBandHz);
}

// A transmission found by its lines begins, as far as is known, with the line whose sync was seen.
Found foundByLines(const LinesFound& seen)
{
    const double lineStart = seen.syncAt - seen.mode->syncOffsetMs() * seen.period / seen.mode->linePeriodMs();
    return {seen.mode, FoundBy::Lines, lineStart, seen.offsetHz, false};
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
    std::snprintf(text, sizeof text, "%s, %s, %+.0f ppm, %+.0f Hz", r.mode ? r.mode->name.c_str() : "?",
                  foundByName(r.foundBy), r.ppm, r.offsetHz);
    std::string line = text;
    if (!r.fskId.empty())
        line += ", FSK ID " + r.fskId;
    std::snprintf(text, sizeof text, ", SNR %.0f dB, %s range", r.snrDb, colourRangeName(r.range));
    return line + text;
}

struct StandardReceiver::State {
    State(double rate, ReceiveOptions o)
        : options(o), demodulator(rate), track(demodulator.trackRate()), vis(demodulator.trackRate()),
          lineFinder(demodulator.trackRate())
    {
    }

    double samplesOf(double seconds) const { return seconds * demodulator.trackRate(); }
    double transmissionEnd() const
    {
        return found->pictureStart + samplesOf(found->mode->pictureSeconds() * (1 + kLongestScaleError) +
                                               kIdentificationSeconds);
    }
    struct Fit {
        std::vector<float> score;
        LineGrid grid;
        LineRun run;
        ToneCorrection tones;
    };
    void search();
    void take(const Found& transmission);
    LineGrid fitGrid(const std::vector<float>& score) const;
    Fit fitLines(const TrackView& view) const;
    bool plausible(const Fit& fit) const;
    int pictureShift(LineRun run, int parityPhase) const;
    StandardPicture readPicture(const TrackView& view, Fit fit) const;
    std::optional<StandardPicture> decode();

    ReceiveOptions options;
    Demodulator demodulator;
    TrackBuffer track;
    VisReader vis;
    LineFinder lineFinder;
    std::uint64_t lastLook = 0; // where the line finder last looked
    std::optional<Found> found;
};

void StandardReceiver::State::take(const Found& transmission)
{
    found = transmission;
    if (options.mode && options.mode != found->mode)
        found->mode = options.mode, found->how = FoundBy::Forced;
}

void StandardReceiver::State::search()
{
    if (const auto header = vis.read(track))
        take({header->mode, FoundBy::Vis, header->pictureStart(), header->offsetHz, true});
    else if (static_cast<double>(track.end() - lastLook) >= samplesOf(kLookEverySeconds)) {
        lastLook = track.end();
        if (const auto seen = lineFinder.look(track))
            take(foundByLines(*seen));
    }
    if (found) {
        track.dropBefore(static_cast<std::uint64_t>(std::max(0.0, found->pictureStart - samplesOf(kBeforePictureMs / 1000))));
        return;
    }
    const double kept = std::max(kSearchKeptSeconds, LineFinder::kWindowSeconds);
    const auto keepFrom = static_cast<std::uint64_t>(std::max(0.0, static_cast<double>(track.end()) - samplesOf(kept)));
    track.dropBefore(std::min(keepFrom, vis.oldestNeeded()));
}

LineGrid StandardReceiver::State::fitGrid(const std::vector<float>& score) const
{
    const StandardMode& mode = *found->mode;
    const double rate = demodulator.trackRate();
    GridSearch search;
    search.expectedFirstLine = found->pictureStart - static_cast<double>(track.origin());
    if (found->lineNumbersKnown)
        search.expectedFirstLine += mode.leadInSyncMs * rate / 1000;
    search.startSearch = kStartSearchMs * rate / 1000;
    search.maxScaleError = kLongestScaleError;
    return fitLineGrid(score, mode, rate, search);
}

// How far the picture's lines lie from the grid's: none when the header gave
// line 0; for a transmission found by its lines, a run that ends before the
// track does (the transmission ended) ends at the picture's last line, and one
// that reaches the track's end (the recording ended) begins at its first.
int StandardReceiver::State::pictureShift(LineRun run, int parityPhase) const
{
    if (found->lineNumbersKnown)
        return 0;
    const int lines = found->mode->lines();
    const double runEnd = static_cast<double>(run.last + 2) * found->mode->linePeriodMs() * demodulator.trackRate() / 1000;
    int shift = -run.first;
    if (runEnd < static_cast<double>(track.end() - track.origin()))
        shift = lines - 1 - run.last;
    // Robot 36's pairs of lines begin with the line whose separator says "even".
    if (found->mode->family == ColourFamily::RobotAlternate && (shift - parityPhase) % 2 != 0)
        shift += shift + run.first > 0 ? -1 : 1;
    return shift;
}

// The grid fitted to the syncs, the lines that came in, and how the tones were heard.
// The leader was heard at 1900 Hz, scaled by the sender's clock and shifted by
// the mistuning; without it, the syncs of every line say the same, and the
// grid is fitted again to syncs heard at their true tone.
StandardReceiver::State::Fit StandardReceiver::State::fitLines(const TrackView& view) const
{
    const StandardMode& mode = *found->mode;
    const double rate = demodulator.trackRate();
    Fit fit;
    fit.score = syncScore(view, kSyncHz + found->offsetHz, mode.syncMs());
    fit.grid = fitGrid(fit.score);
    fit.run = linesPresent(fit.score, mode, rate, fit.grid, mode.lines());
    if (found->lineNumbersKnown) {
        fit.tones = {kLeaderHz + found->offsetHz - kLeaderHz / fit.grid.scale, fit.grid.scale};
        return fit;
    }
    const double syncHz = heardSyncHz(view, mode, fit.grid, fit.run, kSyncHz + found->offsetHz);
    fit.score = syncScore(view, syncHz, mode.syncMs());
    fit.grid = fitGrid(fit.score);
    fit.run = linesPresent(fit.score, mode, rate, fit.grid, mode.lines());
    fit.tones = {syncHz - kSyncHz / fit.grid.scale, fit.grid.scale};
    return fit;
}

// Lines of the mode came in after the header: most of those the track has room for, or a few at least.
bool StandardReceiver::State::plausible(const Fit& fit) const
{
    const double room = (static_cast<double>(track.size()) - fit.grid.firstLine) / fit.grid.period;
    return fit.run.count() >= std::min({kFewestLines, found->mode->lines(), static_cast<int>(room / 2)}) &&
           fit.run.count() > 0;
}

StandardPicture StandardReceiver::State::readPicture(const TrackView& view, Fit fit) const
{
    const StandardMode& mode = *found->mode;
    const FrequencyTrack frequency(view);
    fit.grid = refineBySyncEnds(frequency, mode, fit.grid, fit.run, fit.tones);
    fit.tones.scale = fit.grid.scale;
    PictureReading reading;
    reading.tones = fit.tones;
    reading.parityPhase = parityPhase(frequency, mode, fit.grid, reading.tones);
    const int shift = pictureShift(fit.run, reading.parityPhase);
    ScanPlanes planes(mode);
    StandardReport report;
    report.mode = &mode;
    report.foundBy = found->how;
    report.offsetHz = reading.tones.offsetHz;
    report.ppm = (fit.grid.scale - 1) * 1e6;
    report.lines = readLines(frequency, mode, fit.grid, reading, fit.run, shift, planes);
    report.complete = report.lines == mode.lines();
    const int rows = mode.rowsPerLine(), firstRow = (fit.run.first + shift) * rows;
    report.range = sendsColourDifferences(mode) ? rangeOf(planes, firstRow, firstRow + report.lines * rows)
                                                : ColourRange::Studio;
    report.snrDb = snrOfSyncs(view, mode, fit.grid, fit.run, reading.tones.heard(kSyncHz), demodulator.noiseBandwidth());
    if (fit.run.last + shift == mode.lines() - 1)
        report.fskId = readFskId(view, fit.grid.lineStart(fit.run.last + 1), reading.tones).value_or("");
    return {planes.picture(mode, report.range), report};
}

// A header not followed by its mode's lines names no mode: the lines after it are looked at instead.
std::optional<StandardPicture> StandardReceiver::State::decode()
{
    const TrackView view = track.view();
    Fit fit = fitLines(view);
    if (!plausible(fit) && found->how != FoundBy::Forced) {
        const auto seen = lineFinder.lookFrom(track, static_cast<std::uint64_t>(std::max(0.0, found->pictureStart)));
        if (!seen)
            return std::nullopt;
        take(foundByLines(*seen));
        fit = fitLines(view);
    }
    if (!plausible(fit))
        return std::nullopt;
    return readPicture(view, fit);
}

namespace {

double checkedRate(double rate)
{
    if (!(rate >= StandardReceiver::kLowestRate))
        throw std::invalid_argument("a rate of " + std::to_string(static_cast<long long>(rate)) +
                                    " samples per second is too low for slow-scan tones");
    return rate;
}

} // namespace

StandardReceiver::StandardReceiver(double sampleRate, ReceiveOptions options)
    : state_(std::make_unique<State>(checkedRate(sampleRate), options))
{
}

StandardReceiver::~StandardReceiver() = default;

void StandardReceiver::feed(std::span<const float> samples)
{
    State& s = *state_;
    if (s.found && done())
        return;
    s.demodulator.feed(samples, s.track.samples());
    if (!s.found)
        s.search();
}

bool StandardReceiver::done() const noexcept
{
    return state_->found && static_cast<double>(state_->track.end()) >= state_->transmissionEnd();
}

std::optional<StandardPicture> StandardReceiver::finish()
{
    State& s = *state_;
    if (!s.found)
        return std::nullopt;
    if (!done())
        s.demodulator.flush(s.track.samples());
    return s.decode();
}

} // namespace tonobild::standard
