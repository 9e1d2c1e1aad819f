#include "family/own_family.h"

#include <algorithm>

#include "common/working_state.h"
#include "decoder/decode_option_table.h"
#include "decoder/line_identification.h"
#include "decoder/recording_decode.h"
#include "signature/signature_codec.h"
#include "soundfile/wav_header.h"

namespace tonobild {

namespace {

// The longest transmission: 640 x 480 in colour, 936022 groups of four samples,
// sent at the slowest sender rate, 8000 samples per second.
constexpr std::uint64_t kLongestGroups = 936022;
constexpr std::uint64_t kSamplesPerSentGroup = 4;
constexpr std::uint64_t kSlowestSenderRate = 8000;

// A rebuild for the live picture only: it yields nowhere and changes no control.
class QuietHost final : public DecoderHost {
public:
    bool progressStep() override { return true; }
    bool rebuildRow() override { return true; }
    void setLicLock(bool) override {}
};

// A kept recording behind its WAV header, each handed out whole, as a decode
// of the saved file reads them.
class KeptRecording final : public SampleSource {
public:
    KeptRecording(std::span<const std::uint8_t> header, std::span<const std::uint8_t> samples)
        : parts_{header, samples}
    {
    }
    std::span<const std::uint8_t> nextBlock() override
    {
        return next_ < std::size(parts_) ? parts_[next_++] : std::span<const std::uint8_t>();
    }

private:
    std::span<const std::uint8_t> parts_[2];
    std::size_t next_ = 0;
};

// The recording decoded as "tonobild-cli decode" decodes the WAV file it is
// saved as, with the controls and settings of the transmission's start.
ReceivedPicture decodeKeptRecording(std::vector<std::uint8_t> samples, std::uint32_t sampleRate,
                                    const DecoderControls& controls, const DecodeSettings& settings)
{
    const auto header = pcm8MonoHeader(sampleRate, static_cast<std::uint32_t>(samples.size()));
    KeptRecording kept(header, samples);
    DecodedRecording decoded = decodeUnattended(kept, controls, settings);
    const std::string code = getcode(decoded.picture, decoded.state, controls.compand);
    ReceivedPicture received;
    received.picture = std::move(decoded.picture);
    received.recording = std::move(samples);
    received.sampleRate = sampleRate;
    received.tookLine = decoded.tookLine;
    received.complete = decoded.complete;
    received.family = kOwnFamily;
    received.mode = senderSettingsCaption(settings.pictureWidth, settings.halfX, controls.compand, settings.mono);
    received.namePart = codewordOf(code);
    received.report = oneLineReadOut(formatSignatureCaption(code));
    received.decodeOptions = decodeOptionsText(controls, settings);
    return received;
}

// One transmission coming in, decoded live with the window's controls, which
// hears from the decoder as a decode's host that never yields. The controls
// and settings as they stood at its start are kept for the decode of its recording.
class OwnReception final : public Reception, private DecoderHost {
public:
    OwnReception(const DecoderControls& controls, const DecodeSettings& settings, const LicLockFollower& followLicLock,
                 const TransmissionWatch& watch, std::uint32_t sampleRate)
        : controls_(controls), startControls_(controls), settings_(settings), followLicLock_(followLicLock),
          watch_(watch), sampleRate_(sampleRate), picture_(settings.pictureWidth, settings.pictureHeight),
          decoder_(picture_, state_, controls, *this)
    {
        startUp(state_);
        decoder_.begin(settings_);
    }

    void feed(std::span<const std::uint8_t> samples) override
    {
        if (!end_)
            end_ = decoder_.feed(samples);
    }
    PassProgress progress() const override { return passProgress(state_.ypos, decoder_.rows(), decoder_.passCount()); }
    double secondsLeft() const override;
    void paintLivePicture(WorkingPicture& out) const override;
    bool lastLineIn() const override { return tonobild::lastLineIn(state_, decoder_, settings_.mono, end_); }
    bool tookLine() const override { return tookAnyLine(state_, decoder_, startControls_); }
    ReceivedPicture finish(std::vector<std::uint8_t> recording, std::uint32_t sampleRate) override
    {
        decoder_.finish(); // ticks "LIC Lock" again where the live decode unticked it
        return decodeKeptRecording(std::move(recording), sampleRate, startControls_, settings_);
    }

private:
    bool progressStep() override { return true; }
    bool rebuildRow() override { return true; }
    void setLicLock(bool ticked) override
    {
        if (followLicLock_)
            followLicLock_(ticked);
    }

    const DecoderControls& controls_;
    const DecoderControls startControls_;
    const DecodeSettings settings_;
    const LicLockFollower& followLicLock_;
    const TransmissionWatch& watch_;
    std::uint32_t sampleRate_;
    WorkingPicture picture_;
    WorkingState state_;
    Decoder decoder_;
    std::optional<DecodeEnd> end_;
};

// Seconds until the last line, at the rate the cycles come in.
double OwnReception::secondsLeft() const
{
    if (watch_.cycleLength() <= 0)
        return 0;
    const int passes = settings_.mono ? 2 : 3;
    const long long linesLeft = static_cast<long long>(passes) * decoder_.rows() -
                                (static_cast<long long>(decoder_.passCount()) * decoder_.rows() + state_.ypos);
    // Every group is two cycles.
    const double samplesPerGroup = 2 * watch_.cycleLength();
    return static_cast<double>(std::max(0LL, linesLeft)) * decoder_.xsiz() * samplesPerGroup / sampleRate_;
}

// With identified lines, rebuilt from the lines that have arrived; else as painted so far.
void OwnReception::paintLivePicture(WorkingPicture& out) const
{
    out = picture_;
    if (controls_.hsync && controls_.useLic) {
        QuietHost quiet;
        rebuildFromLineStore(out, state_, controls_, quiet, decoder_.xsiz(), decoder_.rows(), settings_.mono);
    }
}

} // namespace

OwnSender::OwnSender(const WorkingPicture& picture, const EncoderControls& controls, WorkingState& state,
                     const EncoderSettings& settings, std::uint32_t rate)
    : picture_(picture), controls_(controls), state_(state), settings_(settings), rate_(rate)
{
}

std::uint64_t OwnSender::sampleCount() const
{
    return static_cast<std::uint64_t>(settings_.streamBytes());
}

std::string OwnSender::contents() const
{
    return std::to_string(settings_.streamGroups()) + " groups";
}

bool OwnSender::send(SampleSink& sink, const SendProgress& progress)
{
    Encoder encoder(picture_, controls_, state_, sink);
    if (progress)
        encoder.setProgressHandler([&] {
            return progress(passProgress(encoder.ypos(), settings_.pictureHeight, encoder.pass()));
        });
    return encoder.run(settings_);
}

OwnFinder::OwnFinder(const DecoderControls& controls, const DecodeSettings& settings, LicLockFollower followLicLock)
    : controls_(controls), settings_(settings), followLicLock_(std::move(followLicLock))
{
}

// Without a resolution, a level or an inset nothing can be decoded.
std::string OwnFinder::missingChoice() const
{
    return missingDecodeChoice(settings_, controls_);
}

ListeningNeeds OwnFinder::listen(std::uint32_t sampleRate)
{
    sampleRate_ = sampleRate;
    watch_.emplace(sampleRate);
    const auto silence = static_cast<std::uint64_t>(kSilenceSeconds * sampleRate);
    return {sampleRate / 2, silence, kLongestGroups * kSamplesPerSentGroup * sampleRate / kSlowestSenderRate + silence};
}

void OwnFinder::watch(std::span<const std::uint8_t> block, std::vector<WatchEvent>& found)
{
    for (const std::uint8_t sample : block) {
        const TransmissionWatch::Event event = watch_->feed(sample);
        const std::uint64_t at = watch_->position() - 1;
        switch (event) {
        case TransmissionWatch::Event::SignalFound:
            found.push_back({WatchEvent::Kind::SignalBegins, at, watch_->runStart()});
            break;
        case TransmissionWatch::Event::SignalLost:
            found.push_back({WatchEvent::Kind::SignalEnds, at, afterLastSteadyCycle()});
            break;
        case TransmissionWatch::Event::LeaderFound:
            found.push_back({WatchEvent::Kind::OpeningFound, at, watch_->leaderStart()});
            break;
        case TransmissionWatch::Event::None:
            break;
        }
    }
}

SignalState OwnFinder::signal() const
{
    return {watch_->steady(), watch_->lastSteadyEnd(), afterLastSteadyCycle()};
}

std::unique_ptr<Reception> OwnFinder::receive()
{
    if (!missingChoice().empty())
        return nullptr;
    return std::make_unique<OwnReception>(controls_, settings_, followLicLock_, *watch_, sampleRate_);
}

// Where the signal was last in step, with one cycle more, so that the last
// cycle in step ends inside the recording.
std::uint64_t OwnFinder::afterLastSteadyCycle() const noexcept
{
    return watch_->lastSteadyEnd() + static_cast<std::uint64_t>(watch_->cycleLength() + 0.5);
}

} // namespace tonobild
