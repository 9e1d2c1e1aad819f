#include "standard/standard_receiver.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "standard/demodulator.h"
#include "standard/line_finder.h"
#include "standard/live_reading.h"
#include "standard/track_buffer.h"
#include "standard/vis_reader.h"

namespace tonobild::standard {

namespace {

constexpr double kSearchKeptSeconds = 3;   // the track kept while searching
constexpr double kLookEverySeconds = 2;    // how often the line finder looks
constexpr double kBeforePictureMs = 50;    // the track kept before the picture
constexpr double kIdentificationSeconds = 3.5; // kept after the picture for an FSK identification
constexpr double kLongestScaleError = 0.012;
constexpr double kAfterSignalSeconds = 1;

} // namespace

struct StandardReceiver::State {
    State(double rate, ReceiveOptions o)
        : options(o), demodulator(rate), track(demodulator.trackRate()), vis(demodulator.trackRate()),
          lineFinder(demodulator.trackRate())
    {
    }

    double samplesOf(double seconds) const { return seconds * demodulator.trackRate(); }
    double pictureEnd() const { return found->pictureStart + samplesOf(found->mode->pictureSeconds()); }
    double transmissionEnd() const
    {
        return found->pictureStart + samplesOf(found->mode->pictureSeconds() * (1 + kLongestScaleError) +
                                               kIdentificationSeconds);
    }
    void search();
    void take(const FoundTransmission& transmission);
    ToneCorrection tonesHeard() const;

    ReceiveOptions options;
    Demodulator demodulator;
    TrackBuffer track;
    VisReader vis;
    LineFinder lineFinder;
    std::uint64_t nextLook = 0; // where the line finder's next window ends
    std::optional<FoundTransmission> found;
    std::optional<LiveReading> live;
};

void StandardReceiver::State::take(const FoundTransmission& transmission)
{
    found = transmission;
    if (options.mode && options.mode != found->mode)
        found->mode = options.mode, found->how = FoundBy::Forced;
    track.dropBefore(static_cast<std::uint64_t>(std::max(0.0, found->pictureStart - samplesOf(kBeforePictureMs / 1000))));
    const double firstLine = found->pictureStart - static_cast<double>(track.origin()) +
                             (found->lineNumbersKnown ? samplesOf(found->mode->leadInSyncMs / 1000) : 0);
    if (options.live)
        live.emplace(*found->mode, demodulator.trackRate(), firstLine, tonesHeard());
}

// The tones as heard, before the sender's clock is known: the leader's (or the sync's) shift.
ToneCorrection StandardReceiver::State::tonesHeard() const
{
    return {options.byHand.offsetHz.value_or(found->offsetHz), 1};
}

// The header reader and the line finder take the track in the order of the
// stream, the line finder every kLookEverySeconds of it, so that what is
// found never depends on how the samples were handed in.
void StandardReceiver::State::search()
{
    const auto lookEvery = static_cast<std::uint64_t>(samplesOf(kLookEverySeconds));
    for (;;) {
        const std::uint64_t upTo = std::min(nextLook, track.end());
        if (const auto header = vis.read(track, upTo))
            return take({header->mode, FoundBy::Vis, header->pictureStart(), header->offsetHz, true});
        if (nextLook > track.end())
            break;
        if (const auto seen = lineFinder.lookBefore(track, nextLook))
            return take(foundByLines(*seen));
        nextLook += lookEvery;
    }
    const double kept = std::max(kSearchKeptSeconds, LineFinder::kWindowSeconds);
    const auto keepFrom = static_cast<std::uint64_t>(std::max(0.0, static_cast<double>(track.end()) - samplesOf(kept)));
    track.dropBefore(std::min(keepFrom, vis.oldestNeeded()));
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
    if (s.live)
        s.live->extend(s.track.view());
}

bool StandardReceiver::done() const noexcept
{
    return state_->found && static_cast<double>(state_->track.end()) >= state_->transmissionEnd();
}

bool StandardReceiver::found() const noexcept
{
    return state_->found.has_value();
}

const StandardMode* StandardReceiver::mode() const noexcept
{
    return state_->found ? state_->found->mode : nullptr;
}

FoundBy StandardReceiver::foundBy() const noexcept
{
    return state_->found ? state_->found->how : FoundBy::Vis;
}

double StandardReceiver::startSeconds() const noexcept
{
    if (!state_->found)
        return 0;
    const double headerSamples = state_->found->lineNumbersKnown ? state_->samplesOf(kVisSeconds) : 0;
    return (state_->found->pictureStart - headerSamples - state_->demodulator.delay()) / state_->demodulator.trackRate();
}

int StandardReceiver::linesIn() const noexcept
{
    return state_->live ? state_->live->linesIn() : 0;
}

double StandardReceiver::secondsLeft() const noexcept
{
    const State& s = *state_;
    if (!s.found)
        return 0;
    return std::max(0.0, (s.pictureEnd() - static_cast<double>(s.track.end())) / s.demodulator.trackRate());
}

bool StandardReceiver::lastLineIn() const noexcept
{
    return state_->live && state_->live->linesIn() == state_->found->mode->lines();
}

bool StandardReceiver::signalGone() const noexcept
{
    const State& s = *state_;
    return s.live && (s.live->signalGone() || done());
}

double StandardReceiver::signalEndSeconds() const noexcept
{
    const State& s = *state_;
    if (!s.live)
        return 0;
    // A transmission whose syncs stopped keeps a little of what followed, so
    // that a decode of its recording sees that it ended there.
    const double end = lastLineIn() ? s.transmissionEnd() - static_cast<double>(s.track.origin())
                                    : s.live->lastSyncedLineEnd() + s.samplesOf(kAfterSignalSeconds);
    return (static_cast<double>(s.track.origin()) + end - s.demodulator.delay()) / s.demodulator.trackRate();
}

WorkingPicture StandardReceiver::livePicture() const
{
    const State& s = *state_;
    if (!s.live)
        return {};
    return s.live->planes().picture(*s.found->mode, ColourRange::Studio);
}

std::optional<StandardPicture> StandardReceiver::finish()
{
    State& s = *state_;
    if (!s.found)
        return std::nullopt;
    if (!done())
        s.demodulator.flush(s.track.samples());
    return decodeTransmission(s.track, *s.found, s.options.byHand, s.demodulator.noiseBandwidth(), s.lineFinder);
}

} // namespace tonobild::standard
