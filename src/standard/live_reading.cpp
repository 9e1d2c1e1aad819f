#include "standard/live_reading.h"

#include <algorithm>
#include <cmath>

namespace tonobild::standard {

namespace {

constexpr double kLargestScaleError = 0.012;
constexpr double kLeastLiveSyncShare = 0.2; // one sync alone, heard at all

} // namespace

LiveReading::LiveReading(const StandardMode& mode, double trackRate, double firstLine, const ToneCorrection& tones)
    : mode_(mode), grid_{firstLine, mode.linePeriodMs() * trackRate / 1000, 1}, heard_(trackRate, grid_), tones_(tones),
      frequency_(TrackView{{}, trackRate}), planes_(mode)
{
}

void LiveReading::extend(const TrackView& track)
{
    frequency_.extend(track);
    const double ms = track.rate / 1000;
    const double syncEnd = (mode_.syncOffsetMs() + 2 * mode_.syncMs()) * ms;
    while (!heard_.gone() && syncsLookedFor_ < mode_.lines() && grid_.lineStart(syncsLookedFor_) + syncEnd <= static_cast<double>(track.size()))
        findSync(track, syncsLookedFor_++);
    PictureReading reading;
    reading.tones = tones_;
    reading.tones.scale = grid_.scale;
    while (linesRead_ < std::min(syncsLookedFor_, mode_.lines()) &&
           grid_.lineStart(linesRead_ + 1) + 0.5 * ms <= static_cast<double>(frequency_.size())) {
        reading.parityPhase = parityPhase(frequency_, mode_, grid_, reading.tones);
        readLines(frequency_, mode_, grid_, reading, {linesRead_, linesRead_, {}}, 0, planes_);
        ++linesRead_;
    }
}

// The sync of a line where the tone's share peaks near where the grid puts it;
// the grid is fitted again to every sync found so far in the run of lines
// heard (not to a sync-like moment in a fade).
void LiveReading::findSync(const TrackView& track, int line)
{
    const double ms = track.rate / 1000 * grid_.scale;
    const double predicted = grid_.lineStart(line) + mode_.syncOffsetMs() * ms;
    const double reach = std::max(2.0, mode_.syncMs() * ms / 2), hz = tones_.heard(kSyncHz);
    double best = predicted, bestShare = 0;
    for (double at = std::floor(predicted - reach); at <= predicted + reach; at += 1)
        if (const double share = toneShare(track, at, mode_.syncMs() * ms, hz); share > bestShare)
            best = at, bestShare = share;
    heard_.next(bestShare >= kLeastLiveSyncShare);
    if (heard_.run().last != line)
        return;
    lines_.push_back(line);
    syncs_.push_back(best);
    weights_.push_back(bestShare * bestShare);
    if (lines_.size() < 2)
        return;
    // A few syncs may put the clock far off; a sender's clock is never more than a percent off.
    if (const LineGrid fitted = fitToSyncs(mode_, track.rate, lines_, syncs_, weights_, grid_);
        std::abs(fitted.scale - 1) <= kLargestScaleError)
        grid_ = fitted;
}

} // namespace tonobild::standard
