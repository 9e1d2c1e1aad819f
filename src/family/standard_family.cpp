#include "family/standard_family.h"

#include <cmath>
#include <cstdio>

namespace tonobild {

namespace {

using namespace standard;

constexpr std::size_t kBlockSamples = 16384;

// 8-bit unsigned samples as libsndfile reads them from a WAV file: (s - 128) / 128.
void toFloats(std::span<const std::uint8_t> samples, std::vector<float>& out)
{
    out.resize(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        out[i] = (static_cast<float>(samples[i]) - 128.0f) / 128.0f;
}

PassProgress lineProgress(int line, int lines, const StandardMode& mode)
{
    return {line, lines, "line " + std::to_string(line) + " of " + std::to_string(lines) + ", " + mode.name};
}

// The samples' 16-bit values as little-endian bytes, a block at a time.
class BytesOut {
public:
    explicit BytesOut(SampleSink& sink) : sink_(sink) {}
    void operator()(std::span<const std::int16_t> block)
    {
        bytes_.resize(2 * block.size());
        for (std::size_t i = 0; i < block.size(); ++i) {
            const auto value = static_cast<std::uint16_t>(block[i]);
            bytes_[2 * i] = static_cast<std::uint8_t>(value & 0xFF);
            bytes_[2 * i + 1] = static_cast<std::uint8_t>(value >> 8);
        }
        sink_.write(bytes_.data(), bytes_.size());
    }

private:
    SampleSink& sink_;
    std::vector<std::uint8_t> bytes_;
};

} // namespace

StandardSender::StandardSender(const WorkingPicture& picture, StandardSendSettings settings)
    : picture_(picture), settings_(std::move(settings))
{
}

// To within one sample: the tone writer places every part's end from its ideal time.
std::uint64_t StandardSender::sampleCount() const
{
    const double seconds = transmissionSeconds(*settings_.mode, settings_.options);
    return static_cast<std::uint64_t>(std::ceil(seconds * settings_.options.sampleRate - 1e-7));
}

std::string StandardSender::contents() const
{
    return std::to_string(settings_.mode->lines()) + " lines of " + settings_.mode->name;
}

bool StandardSender::send(SampleSink& sink, const SendProgress& progress)
{
    const StandardMode& mode = *settings_.mode;
    const WorkingPicture fitted = fitPicture(picture_, mode.width, mode.height, settings_.fit);
    BytesOut out(sink);
    bool stopped = false;
    sendPicture(mode, fitted, settings_.options, [&](std::span<const std::int16_t> block) { out(block); },
                [&](int line) {
                    stopped = progress && !progress(lineProgress(line, mode.lines(), mode));
                    return !stopped;
                });
    return !stopped;
}

std::string standardDecodeOptions(const StandardReport& report, const ReceiveOptions& options)
{
    std::string text = "--standard";
    if (report.foundBy == FoundBy::Forced && report.mode)
        text += " --standard-mode " + report.mode->shortName;
    char number[64];
    if (options.byHand.ppm) {
        std::snprintf(number, sizeof number, " --ppm %.0f", *options.byHand.ppm);
        text += number;
    }
    if (options.byHand.offsetHz) {
        std::snprintf(number, sizeof number, " --offset %.0f", *options.byHand.offsetHz);
        text += number;
    }
    return text;
}

std::optional<ReceivedPicture> decodeStandardRecording(std::vector<std::uint8_t> samples, std::uint32_t sampleRate,
                                                       const ReceiveOptions& options)
{
    StandardReceiver receiver(sampleRate, options);
    std::vector<float> floats;
    for (std::size_t at = 0; at < samples.size() && !receiver.done(); at += kBlockSamples) {
        toFloats(std::span(samples).subspan(at, std::min(kBlockSamples, samples.size() - at)), floats);
        receiver.feed(floats);
    }
    const std::optional<StandardPicture> decoded = receiver.finish();
    if (!decoded)
        return std::nullopt;
    ReceivedPicture received;
    received.picture = decoded->picture;
    received.recording = std::move(samples);
    received.sampleRate = sampleRate;
    received.tookLine = decoded->report.lines > 0;
    received.complete = decoded->report.complete;
    received.family = kStandardFamily;
    received.mode = decoded->report.mode->name;
    received.namePart = decoded->report.fskId;
    received.report = describe(decoded->report);
    received.decodeOptions = standardDecodeOptions(decoded->report, options);
    return received;
}

// What the finder knows of the transmission its reception is receiving: where
// it began in the stream, and whether its signal has gone.
struct StandardReceiving {
    std::uint64_t start = 0;
    bool gone = false;
    double endSeconds = 0; // from its start
    bool ended = false;    // its reception has finished
    bool watchedAfter = false; // the watcher began anew after it
};

namespace {

ReceiveOptions liveOptions()
{
    ReceiveOptions options;
    options.live = true;
    return options;
}

class StandardReception final : public Reception {
public:
    StandardReception(std::uint32_t sampleRate, std::shared_ptr<StandardReceiving> state)
        : receiver_(sampleRate, liveOptions()), state_(std::move(state))
    {
    }
    void feed(std::span<const std::uint8_t> samples) override
    {
        toFloats(samples, floats_);
        receiver_.feed(floats_);
        state_->gone = receiver_.signalGone();
        state_->endSeconds = receiver_.signalEndSeconds();
    }
    PassProgress progress() const override
    {
        if (!receiver_.mode())
            return {0, 0, "receiving"};
        return lineProgress(receiver_.linesIn(), receiver_.mode()->lines(), *receiver_.mode());
    }
    double secondsLeft() const override { return receiver_.secondsLeft(); }
    void paintLivePicture(WorkingPicture& out) const override
    {
        if (receiver_.found())
            out = receiver_.livePicture();
    }
    bool lastLineIn() const override { return receiver_.lastLineIn(); }
    bool tookLine() const override { return receiver_.linesIn() > 0; }
    ReceivedPicture finish(std::vector<std::uint8_t> recording, std::uint32_t sampleRate) override
    {
        state_->ended = true;
        auto received = decodeStandardRecording(recording, sampleRate);
        if (!received) { // nothing of a standard transmission in it: nothing received
            received.emplace();
            received->recording = std::move(recording);
            received->sampleRate = sampleRate;
            received->family = kStandardFamily;
        }
        return std::move(*received);
    }

private:
    StandardReceiver receiver_;
    std::shared_ptr<StandardReceiving> state_;
    std::vector<float> floats_;
};

} // namespace

ListeningNeeds StandardFinder::listen(std::uint32_t sampleRate)
{
    sampleRate_ = sampleRate;
    position_ = 0;
    receiving_.reset();
    watchFrom(0);
    const auto rate = static_cast<double>(sampleRate);
    double longest = 0;
    for (const StandardMode& mode : modeTable())
        longest = std::max(longest, transmissionSeconds(mode, {}));
    return {static_cast<std::size_t>(kLookBackSeconds * rate), static_cast<std::uint64_t>(kSilenceSeconds * rate),
            static_cast<std::uint64_t>((longest * 1.02 + 10) * rate)};
}

void StandardFinder::watchFrom(std::uint64_t position)
{
    watcher_ = std::make_unique<StandardReceiver>(sampleRate_);
    watchedFrom_ = position;
}

void StandardFinder::watch(std::span<const std::uint8_t> block, std::vector<WatchEvent>& found)
{
    // What the watcher saw of a transmission just received is not found again.
    if (receiving_ && receiving_->ended && !receiving_->watchedAfter) {
        receiving_->watchedAfter = true;
        watchFrom(position_);
    }
    toFloats(block, floats_);
    watcher_->feed(floats_);
    position_ += block.size();
    if (!watcher_->found())
        return;
    const auto where = watchedFrom_ + static_cast<std::uint64_t>(std::max(0.0, watcher_->startSeconds() * sampleRate_));
    const bool receiving = receiving_ && !receiving_->ended && !receiving_->gone;
    if (watcher_->foundBy() != FoundBy::Lines)
        found.push_back({WatchEvent::Kind::OpeningFound, position_, std::min(where, position_)});
    if (watcher_->foundBy() != FoundBy::Lines || !receiving)
        found.push_back({WatchEvent::Kind::SignalBegins, position_, std::min(where, position_)});
    lastFound_ = std::min(where, position_);
    watchFrom(position_);
}

SignalState StandardFinder::signal() const
{
    if (!receiving_ || receiving_->ended)
        return {};
    const auto end = receiving_->start + static_cast<std::uint64_t>(receiving_->endSeconds * sampleRate_);
    return {!receiving_->gone, std::min(end, position_), std::min(end, position_)};
}

std::unique_ptr<Reception> StandardFinder::receive()
{
    if (receiving_)
        receiving_->ended = true;
    receiving_ = std::make_shared<StandardReceiving>();
    receiving_->start = lastFound_;
    return std::make_unique<StandardReception>(sampleRate_, receiving_);
}

} // namespace tonobild
