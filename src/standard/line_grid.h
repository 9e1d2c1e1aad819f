// Where the lines of a transmission lie in the track: the start of its first
// line and the sender's true line period, fitted to the syncs of every line
// at once. Two sound cards' clocks differ by up to a percent; a receiver that
// trusted the mode's nominal period would slant the picture by tens of pixels.
#pragma once

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

#include "standard/mode_table.h"
#include "standard/tone_measures.h"

namespace tonobild::standard {

// The share of the track's power in the sync tone over a sync's length from
// each sample on: near 1 where a clean sync begins, small elsewhere.
std::vector<float> syncScore(const TrackView& track, double syncHz, double syncMs);

struct LineGrid {
    double firstLine = 0; // where line 0 begins, in track samples
    double period = 0;    // track samples a line
    double scale = 1;     // the sender's line period over the mode's

    double lineStart(double line) const noexcept { return firstLine + line * period; }
};

// How far the search reaches: the first line's start within +-startSearch
// samples of `expectedFirstLine`, the period within +-maxScaleError of nominal.
struct GridSearch {
    double expectedFirstLine = 0;
    double startSearch = 0;
    double maxScaleError = 0.012;
    std::optional<double> scale; // the sender's line period over the mode's, when it is set by hand
};

// Fits the grid to the score of the mode's syncs; lines past the score's end
// take no part. The fit weighs each line by the strength of its sync and
// leaves out syncs far off the line the others make.
LineGrid fitLineGrid(const std::vector<float>& score, const StandardMode& mode, double trackRate,
                     const GridSearch& search);

// The grid through syncs found at `syncs` (track samples) of `lines`, each
// weighed, leaving out syncs far off the line the others make; `guess` is
// where the fit starts from.
LineGrid fitToSyncs(const StandardMode& mode, double trackRate, const std::vector<double>& lines,
                    const std::vector<double>& syncs, const std::vector<double>& weights, const LineGrid& guess,
                    bool keepScale = false);

// Syncs hold at least this share of the track's power on average where they
// are heard at all, down to a signal-to-noise ratio of about -3 dB in the band.
constexpr double kLeastSyncShare = 0.3;

// A line cut off at the end of the track is read when this much of it is there.
constexpr double kWholeLine = 0.95;

// The lines that came in: the longest run of lines whose syncs stand out of
// the score around them (a few lines, or a fade, lost to noise stay inside the
// run), among lines 0 to lines - 1 of the grid. Empty (first > last) when none did.
struct LineRun {
    int first = 0;
    int last = -1;
    std::vector<std::pair<int, int>> fades; // first and last line of each fade inside the run
    int count() const noexcept { return last - first + 1; }
    bool inFade(int line) const noexcept
    {
        return std::any_of(fades.begin(), fades.end(), [line](auto f) { return line >= f.first && line <= f.second; });
    }
};
LineRun linesPresent(const std::vector<float>& score, const StandardMode& mode, double trackRate,
                     const LineGrid& grid, int lines);

// Which of a transmission's lines were heard, taken line after line: a few
// may go unheard to a burst of noise, and more to a fade on HF of up to five
// seconds, after which the picture goes on (short lines must not end it
// there) once a few lines in a row are heard again: a whistle or a voice
// after a transmission that broke off has a sync-like moment now and then,
// never a few lines' worth in a row. One more unheard and the transmission
// has gone; a run then begins again at the next line heard.
class LinesHeard {
public:
    LinesHeard(double trackRate, const LineGrid& grid);
    // The next line, from line 0 on, was heard or not.
    void next(bool heard);
    // The run so far: from its first line heard to its last, the fades inside it.
    const LineRun& run() const noexcept { return run_; }
    // More lines than a fade's unheard since the run's last (or from line 0,
    // before one was heard), not counting those heard in a row since.
    bool gone() const noexcept { return line_ - 1 - run_.last - inARow_ > longestGap_; }

private:
    int longestGap_;
    int line_ = 0;   // the next line
    int inARow_ = 0; // lines heard in a row after a fade, not yet in the run
    LineRun run_;
};

// The grid fitted again to the ends of the syncs in the run: every mode
// follows its sync with a 1500 Hz porch or gap (or its picture), and where the
// tone crosses halfway up from the sync's tone lies the end of the sync,
// whatever came before it. The grid as it was when too few ends are found.
LineGrid refineBySyncEnds(const FrequencyTrack& frequency, const StandardMode& mode, const LineGrid& grid, const LineRun& run,
                          const ToneCorrection& tones, bool keepScale = false);

// The mean of the score at the syncs of the run, where the grid puts them.
double meanSyncShare(const std::vector<float>& score, const StandardMode& mode, double trackRate, const LineGrid& grid,
                     const LineRun& run);

// The sync's tone as heard, within `reachHz` of `aroundHz`: where the power of
// the middle of every sync in the run, summed, is highest.
double heardSyncHz(const TrackView& track, const StandardMode& mode, const LineGrid& grid, const LineRun& run,
                   double aroundHz, double reachHz = 120);

} // namespace tonobild::standard
