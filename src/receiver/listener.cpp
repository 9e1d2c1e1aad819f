#include "receiver/listener.h"

#include <algorithm>

namespace tonobild {

Listener::Listener(std::span<TransmissionFinder* const> families, std::uint32_t sampleRate, ListenerHost& host)
    : sampleRate_(sampleRate), host_(host)
{
    for (TransmissionFinder* finder : families) {
        families_.push_back({finder, finder->listen(sampleRate)});
        ringLength_ = std::max(ringLength_, families_.back().needs.lookBack);
    }
    ring_.reserve(2 * ringLength_);
}

Listener::~Listener() = default;

void Listener::feed(std::span<const std::uint8_t> block)
{
    watchBlock(block);
    // The samples before an event go where they belong before the event is handled.
    const std::uint64_t blockStart = passedOn_;
    std::size_t handed = 0;
    for (const Found& found : found_) {
        const auto at = static_cast<std::size_t>(found.event.at - blockStart);
        passOn(block.subspan(handed, at - handed));
        handed = at;
        handle(found);
    }
    passOn(block.subspan(handed));
    checkEnd();
}

// What every family's watch found in the block, in the order of the stream.
void Listener::watchBlock(std::span<const std::uint8_t> block)
{
    found_.clear();
    for (const Family& family : families_) {
        events_.clear();
        family.finder->watch(block, events_);
        for (const WatchEvent& event : events_)
            found_.push_back({&family, event});
    }
    std::stable_sort(found_.begin(), found_.end(),
                     [](const Found& a, const Found& b) { return a.event.at < b.event.at; });
}

void Listener::handle(const Found& found)
{
    const WatchEvent& event = found.event;
    switch (event.kind) {
    case WatchEvent::Kind::SignalBegins:
        if (!current_)
            begin(*found.family, event.where);
        break;
    case WatchEvent::Kind::SignalEnds:
        if (current_ && &current_->family == found.family && current_->reception->lastLineIn())
            end(event.where);
        break;
    case WatchEvent::Kind::OpeningFound:
        // A transmission's own opening comes before its first line; an opening
        // after lines were taken is the next transmission's.
        if (current_ && current_->reception->tookLine() && event.where > current_->start) {
            const std::vector<std::uint8_t> tail(
                current_->recording.begin() + static_cast<std::ptrdiff_t>(event.where - current_->start),
                current_->recording.end());
            end(event.where);
            begin(*found.family, event.where, tail);
        }
        break;
    }
}

void Listener::passOn(std::span<const std::uint8_t> samples)
{
    if (current_)
        keepInTransmission(samples);
    else
        keepInRing(samples);
    passedOn_ += samples.size();
}

void Listener::keepInTransmission(std::span<const std::uint8_t> samples)
{
    current_->recording.insert(current_->recording.end(), samples.begin(), samples.end());
    current_->reception->feed(samples);
}

void Listener::keepInRing(std::span<const std::uint8_t> samples)
{
    if (samples.size() >= ringLength_) {
        ring_.assign(samples.end() - static_cast<std::ptrdiff_t>(ringLength_), samples.end());
        return;
    }
    // The ring's vector holds up to twice its length, and sheds its oldest half at once.
    if (ring_.size() + samples.size() > 2 * ringLength_)
        ring_.erase(ring_.begin(), ring_.end() - static_cast<std::ptrdiff_t>(ringLength_ - samples.size()));
    ring_.insert(ring_.end(), samples.begin(), samples.end());
}

void Listener::begin(const Family& family, std::uint64_t start)
{
    // The ring ends at the last sample passed on; the transmission began inside it.
    const std::uint64_t ringStart = passedOn_ - ring_.size();
    const std::uint64_t from = std::max(start, ringStart);
    const std::vector<std::uint8_t> kept(ring_.begin() + static_cast<std::ptrdiff_t>(from - ringStart), ring_.end());
    ring_.clear();
    begin(family, from, kept);
}

void Listener::begin(const Family& family, std::uint64_t start, std::span<const std::uint8_t> firstSamples)
{
    host_.transmissionBegins();
    std::unique_ptr<Reception> reception = family.finder->receive();
    if (!reception) // a choice is missing: the window does not start listening so
        return;
    current_.reset(new Transmission{family, std::move(reception), start, {}});
    keepInTransmission(firstSamples);
}

void Listener::end(std::uint64_t cut)
{
    const std::unique_ptr<Transmission> ended = std::move(current_);
    std::uint64_t length = std::min<std::uint64_t>(cut - ended->start, ended->recording.size());
    length -= length % 2;
    ended->recording.resize(static_cast<std::size_t>(length));
    ReceivedPicture received = ended->reception->finish(std::move(ended->recording), sampleRate_);
    received.startSample = ended->start;
    if (received.tookLine)
        host_.received(std::move(received));
    else
        host_.nothingReceived();
}

void Listener::checkEnd()
{
    if (!current_)
        return;
    const ListeningNeeds& needs = current_->family.needs;
    const SignalState signal = current_->family.finder->signal();
    if (!signal.on && (current_->reception->lastLineIn() || passedOn_ - signal.lastInStep >= needs.silence))
        end(signal.end);
    else if (current_->recording.size() >= needs.longest)
        end(passedOn_);
}

void Listener::finish()
{
    if (!current_)
        return;
    const SignalState signal = current_->family.finder->signal();
    end(signal.on ? passedOn_ : signal.end);
}

bool Listener::receiving() const noexcept
{
    return current_ != nullptr;
}

const TransmissionFinder* Listener::receivingFamily() const noexcept
{
    return current_ ? current_->family.finder : nullptr;
}

PassProgress Listener::progress() const
{
    if (!current_)
        return {0, 0, "listening"};
    return current_->reception->progress();
}

double Listener::secondsLeft() const
{
    return current_ ? current_->reception->secondsLeft() : 0;
}

void Listener::paintLivePicture(WorkingPicture& out) const
{
    if (current_)
        current_->reception->paintLivePicture(out);
}

} // namespace tonobild
