#include "receiver/listener.h"

#include <algorithm>
#include <optional>

#include "common/working_state.h"
#include "soundfile/wav_header.h"
#include "decoder/decoder.h"
#include "decoder/line_identification.h"
#include "decoder/recording_decode.h"
#include "signature/signature_codec.h"

namespace tonobild {

namespace {

// The longest transmission: 640 x 480 in colour, 936022 groups of four samples,
// sent at the slowest sender rate, 8000 samples per second.
constexpr std::uint64_t kLongestGroups = 936022;
constexpr std::uint64_t kSamplesPerSentGroup = 4;
constexpr std::uint64_t kSlowestSenderRate = 8000;

// The live decode hands "LIC Lock" on to the window and never yields: the
// samples come in blocks, and the window repaints between them.
class LiveHost final : public DecoderHost {
public:
    explicit LiveHost(ListenerHost& host) : host_(host) {}
    bool progressStep() override { return true; }
    bool rebuildRow() override { return true; }
    void setLicLock(bool ticked) override { host_.setLicLock(ticked); }

private:
    ListenerHost& host_;
};

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
    std::span<const std::uint8_t> nextBlock() override { return next_ < 2 ? parts_[next_++] : std::span<const std::uint8_t>(); }

private:
    std::span<const std::uint8_t> parts_[2];
    std::size_t next_ = 0;
};

} // namespace

std::string ReceivedPicture::codeword() const
{
    // A signature is a space, a class letter, then the codeword.
    if (signatureCode.size() < 3 || signatureCode.front() != ' ')
        return {};
    return signatureCode.substr(2);
}

ReceivedPicture decodeRecording(std::vector<std::uint8_t> samples, std::uint32_t sampleRate,
                                DecoderControls controls, const DecodeSettings& settings)
{
    const auto header = pcm8MonoHeader(sampleRate, static_cast<std::uint32_t>(samples.size()));
    KeptRecording kept(header, samples);
    DecodedRecording decoded = decodeUnattended(kept, controls, settings);
    ReceivedPicture received;
    received.controls = controls;
    received.settings = settings;
    received.sampleRate = sampleRate;
    received.tookLine = decoded.tookLine;
    received.complete = decoded.complete;
    received.picture = std::move(decoded.picture);
    received.signatureCode = getcode(received.picture, decoded.state, controls.compand);
    received.signatureCaption = formatSignatureCaption(received.signatureCode);
    received.recording = std::move(samples);
    return received;
}

// One transmission coming in: its recording so far, and the live decode of it
// with the window's controls. The settings and the controls as they stood at
// its start are kept for the decode of the recording.
struct Listener::Transmission {
    Transmission(const DecoderControls& controls, const DecodeSettings& startSettings, ListenerHost& host,
                 std::uint64_t firstSample)
        : startControls(controls), settings(startSettings), start(firstSample),
          picture(startSettings.pictureWidth, startSettings.pictureHeight), liveHost_(host),
          decoder(picture, state, controls, liveHost_)
    {
        startUp(state);
        decoder.begin(settings);
    }

    void feed(std::span<const std::uint8_t> samples)
    {
        recording.insert(recording.end(), samples.begin(), samples.end());
        if (!end)
            end = decoder.feed(samples);
    }

    bool complete() const { return lastLineIn(state, decoder, settings.mono, end); }
    bool tookLine() const { return tookAnyLine(state, decoder, startControls); }

    const DecoderControls startControls;
    const DecodeSettings settings;
    const std::uint64_t start;
    std::vector<std::uint8_t> recording;
    WorkingPicture picture;
    WorkingState state;
    LiveHost liveHost_;
    Decoder decoder;
    std::optional<DecodeEnd> end;
};

Listener::Listener(const DecoderControls& controls, const DecodeSettings& settings, std::uint32_t sampleRate,
                   ListenerHost& host)
    : controls_(controls), settings_(settings), sampleRate_(sampleRate), host_(host), watch_(sampleRate)
{
    ring_.reserve(2 * ringLength());
}

Listener::~Listener() = default;

std::size_t Listener::ringLength() const noexcept
{
    return sampleRate_ / 2;
}

void Listener::feed(std::span<const std::uint8_t> block)
{
    // The samples before an event go where they belong before the event is handled.
    std::size_t handed = 0;
    for (std::size_t i = 0; i < block.size(); ++i) {
        const auto event = watch_.feed(block[i]);
        if (event == TransmissionWatch::Event::None)
            continue;
        passOn(block.subspan(handed, i - handed));
        handed = i;
        handle(event);
    }
    passOn(block.subspan(handed));
    checkEnd();
}

void Listener::handle(TransmissionWatch::Event event)
{
    switch (event) {
    case TransmissionWatch::Event::SignalFound:
        if (!current_)
            begin(watch_.runStart());
        break;
    case TransmissionWatch::Event::SignalLost:
        if (current_ && current_->complete())
            end(afterLastSteadyCycle());
        break;
    case TransmissionWatch::Event::LeaderFound:
        // A transmission's own leader comes before its first line; a leader
        // after lines were taken is the next transmission's.
        if (current_ && current_->tookLine() && watch_.leaderStart() > current_->start) {
            const std::uint64_t start = watch_.leaderStart();
            std::vector<std::uint8_t> tail(current_->recording.begin() +
                                               static_cast<std::ptrdiff_t>(start - current_->start),
                                           current_->recording.end());
            end(start);
            begin(start, tail);
        }
        break;
    case TransmissionWatch::Event::None:
        break;
    }
}

void Listener::passOn(std::span<const std::uint8_t> samples)
{
    if (current_)
        current_->feed(samples);
    else
        keepInRing(samples);
    passedOn_ += samples.size();
}

void Listener::keepInRing(std::span<const std::uint8_t> samples)
{
    const std::size_t length = ringLength();
    if (samples.size() >= length) {
        ring_.assign(samples.end() - static_cast<std::ptrdiff_t>(length), samples.end());
        return;
    }
    // The ring's vector holds up to twice its length, and sheds its oldest half at once.
    if (ring_.size() + samples.size() > 2 * length)
        ring_.erase(ring_.begin(), ring_.end() - static_cast<std::ptrdiff_t>(length - samples.size()));
    ring_.insert(ring_.end(), samples.begin(), samples.end());
}

void Listener::begin(std::uint64_t start)
{
    // The ring ends at the last sample passed on; the run began inside it.
    const std::uint64_t ringStart = passedOn_ - ring_.size();
    const std::uint64_t from = std::max(start, ringStart);
    std::vector<std::uint8_t> kept(ring_.begin() + static_cast<std::ptrdiff_t>(from - ringStart), ring_.end());
    ring_.clear();
    begin(from, kept);
}

void Listener::begin(std::uint64_t start, std::span<const std::uint8_t> firstSamples)
{
    host_.transmissionBegins();
    // Without a resolution, a level or an inset nothing can be decoded: the
    // window does not start listening so, and a transmission is not taken then.
    if (!missingDecodeChoice(settings_, controls_).empty())
        return;
    current_ = std::make_unique<Transmission>(controls_, settings_, host_, start);
    current_->feed(firstSamples);
}

void Listener::end(std::uint64_t cut)
{
    std::unique_ptr<Transmission> ended = std::move(current_);
    ended->decoder.finish(); // ticks "LIC Lock" again where the live decode unticked it
    // A WAV file's data is of even length: an odd one is padded with a byte
    // that a decode of the file would read as a sample.
    std::uint64_t length = std::min<std::uint64_t>(cut - ended->start, ended->recording.size());
    length -= length % 2;
    ended->recording.resize(static_cast<std::size_t>(length));
    ReceivedPicture received =
        decodeRecording(std::move(ended->recording), sampleRate_, ended->startControls, ended->settings);
    received.startSample = ended->start;
    if (received.tookLine)
        host_.received(std::move(received));
    else
        host_.nothingReceived();
}

// Where the signal was last in step, with one cycle more, so that the last
// cycle in step ends inside the recording.
std::uint64_t Listener::afterLastSteadyCycle() const noexcept
{
    return watch_.lastSteadyEnd() + static_cast<std::uint64_t>(watch_.cycleLength() + 0.5);
}

void Listener::checkEnd()
{
    if (!current_)
        return;
    const std::uint64_t silence = static_cast<std::uint64_t>(kSilenceSeconds * sampleRate_);
    if (!watch_.steady() && (current_->complete() || passedOn_ - watch_.lastSteadyEnd() >= silence))
        end(afterLastSteadyCycle());
    else if (current_->recording.size() >= longestRecording())
        end(passedOn_);
}

void Listener::finish()
{
    if (current_)
        end(watch_.steady() ? passedOn_ : afterLastSteadyCycle());
}

bool Listener::receiving() const noexcept
{
    return current_ != nullptr;
}

std::uint64_t Listener::longestRecording() const noexcept
{
    return kLongestGroups * kSamplesPerSentGroup * sampleRate_ / kSlowestSenderRate +
           static_cast<std::uint64_t>(kSilenceSeconds * sampleRate_);
}

PassProgress Listener::progress() const
{
    if (!current_)
        return {0, 0, "listening"};
    return passProgress(current_->state.ypos, current_->decoder.rows(), current_->decoder.passCount());
}

double Listener::secondsLeft() const
{
    if (!current_ || watch_.cycleLength() <= 0)
        return 0;
    const Decoder& decoder = current_->decoder;
    const int passes = current_->settings.mono ? 2 : 3;
    const long long linesLeft = static_cast<long long>(passes) * decoder.rows() -
                                (static_cast<long long>(decoder.passCount()) * decoder.rows() + current_->state.ypos);
    // Every group is two cycles.
    const double samplesPerGroup = 2 * watch_.cycleLength();
    return static_cast<double>(std::max(0LL, linesLeft)) * decoder.xsiz() * samplesPerGroup / sampleRate_;
}

void Listener::paintLivePicture(WorkingPicture& out) const
{
    if (!current_)
        return;
    out = current_->picture;
    if (controls_.hsync && controls_.useLic) {
        QuietHost quiet;
        rebuildFromLineStore(out, current_->state, controls_, quiet, current_->decoder.xsiz(),
                             current_->decoder.rows(), current_->settings.mono);
    }
}

} // namespace tonobild
