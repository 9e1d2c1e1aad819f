#include "encoder/encoder.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <stdexcept>

#include "common/signal_format.h"
#include "picture/colour.h"

namespace tonobild {

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
constexpr int kGroupsPerProgressStep = 10000; // a step follows when the count exceeds it: every 10001 groups
constexpr std::size_t kBatchGroups = 1024;

// The pixel groups of every value a stream carries (sync -64 up to white 255),
// worked out once so that sending a group is a copy of four bytes.
constexpr int kLowestValue = kSyncValue;
constexpr int kHighestValue = 255;

struct GroupTable {
    GroupTable()
    {
        for (int v = kLowestValue; v <= kHighestValue; ++v)
            groups[static_cast<std::size_t>(v - kLowestValue)] = pixelGroup(levelOf(v));
    }
    std::array<std::array<std::uint8_t, 4>, kHighestValue - kLowestValue + 1> groups{};
};

const GroupTable kGroups;

std::array<std::uint8_t, 4> groupFor(int value) noexcept
{
    if (value >= kLowestValue && value <= kHighestValue)
        return kGroups.groups[static_cast<std::size_t>(value - kLowestValue)];
    return pixelGroup(levelOf(value));
}

// Writes the pixel group of the value at out and moves out past it.
void outpix(std::uint8_t*& out, int value) noexcept
{
    const auto group = groupFor(value);
    std::memcpy(out, group.data(), group.size());
    out += group.size();
}

// The leader's rising levels: each value is the level of the one before (the
// first sample of its group), starting from value 0.
class LeaderValues {
public:
    explicit LeaderValues(int groups) noexcept : left_(groups) {}

    std::size_t fill(std::span<std::int16_t> values) noexcept
    {
        const auto filled = std::min(values.size(), static_cast<std::size_t>(std::max(left_, 0)));
        for (std::int16_t& value : values.first(filled)) {
            value = static_cast<std::int16_t>(value_);
            value_ = levelOf(value_);
        }
        left_ -= static_cast<int>(filled);
        return filled;
    }

private:
    int left_;
    int value_ = kBlackValue;
};

} // namespace

int EncoderSettings::groupsPerLine() const noexcept
{
    return tonobild::groupsPerLine(pictureWidth, columnStep);
}

int EncoderSettings::lineCount() const noexcept
{
    return mono ? 2 * pictureHeight + 1 : 3 * pictureHeight + 1;
}

std::int64_t EncoderSettings::streamGroups() const noexcept
{
    return leaderGroups(leaderSeconds) + static_cast<std::int64_t>(lineCount()) * groupsPerLine() + 1;
}

Encoder::Encoder(const WorkingPicture& picture, const EncoderControls& controls, WorkingState& state,
                 SampleSink& sink)
    : picture_(picture), controls_(controls), state_(state), sink_(sink), block_(kBlockBytes)
{
}

bool Encoder::run(const EncoderSettings& settings)
{
    // The column step first: the groups per line divide by it.
    if (settings.columnStep < 1 || settings.groupsPerLine() < 15 || settings.pictureHeight <= 0)
        throw std::invalid_argument("no transmission resolution selected");
    stopped_ = false;
    blockFill_ = 0;
    state_.xmult = static_cast<std::int16_t>(settings.columnStep);
    order_.reset();
    sendLeader(leaderGroups(settings.leaderSeconds));
    if (!stopped_)
        sendPasses(settings);
    flush();
    return !stopped_;
}

// Writes the groups whose values source.fill() gives, through outpix, until
// the block is full or a progress step is due; answers false when the source
// has no more. The values are worked out in a batch first: a byte written to
// the block may alias any member of the source, which would otherwise be
// loaded again at every group.
template <typename Source>
bool Encoder::sendRun(Source& source)
{
    if (block_.size() - blockFill_ < kSamplesPerGroup)
        flush();
    const std::size_t room = (block_.size() - blockFill_) / kSamplesPerGroup;
    const auto toStep = static_cast<std::size_t>(std::max(1, kGroupsPerProgressStep + 1 - state_.pixcount));
    std::array<std::int16_t, kBatchGroups> batch;
    const std::size_t groups = source.fill(std::span(batch).first(std::min({room, toStep, kBatchGroups})));
    std::uint8_t* out = block_.data() + blockFill_;
    for (const std::int16_t value : std::span(batch).first(groups))
        outpix(out, value);
    blockFill_ += groups * kSamplesPerGroup;
    state_.pixcount = static_cast<std::int16_t>(state_.pixcount + static_cast<int>(groups));
    return groups > 0;
}

// Every 10001st group lets the progress handler run; it may stop the encode.
void Encoder::stepIfDue()
{
    if (state_.pixcount <= kGroupsPerProgressStep)
        return;
    if (progress_ && !progress_())
        stopped_ = true;
    state_.pixcount = 0;
}

void Encoder::sendLeader(int groups)
{
    LeaderValues leader(groups);
    while (!stopped_ && sendRun(leader))
        stepIfDue();
}

void Encoder::sendPasses(const EncoderSettings& settings)
{
    PassOrder& order = order_.emplace(settings, picture_.grid(), controls_);
    while (!stopped_ && sendRun(order)) {
        stepIfDue();
        order.look(picture_.grid()); // the picture may have changed at the step
    }
}

void Encoder::flush()
{
    if (blockFill_ > 0)
        sink_.write(block_.data(), blockFill_);
    blockFill_ = 0;
}

} // namespace tonobild
