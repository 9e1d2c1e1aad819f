#include "encoder/encoder.h"

#include <cstring>
#include <stdexcept>

#include "encoder/signal_format.h"
#include "picture/colour.h"

namespace tonobild {

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
constexpr int kGroupsPerProgressStep = 10000; // a step follows when the count exceeds it: every 10001 groups

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

// The colour component a pass sends: blue, then green, then red.
int passComponent(ColourNumber c, int pass) noexcept
{
    if (c >= 0)
        return (c >> (pass == 0 ? 16 : pass == 1 ? 8 : 0)) & 0xFF;
    const ColourComponents parts = splitColour(c);
    if (pass == 0)
        return parts.blue;
    if (pass == 1)
        return parts.green;
    return parts.red;
}

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
    pass_ = kLeaderPass;
    sendLeader(leaderGroups(settings.leaderSeconds));
    if (!stopped_)
        sendPasses(settings);
    flush();
    return !stopped_;
}

// Writes one pixel group and hands back the level it wrote.
inline void Encoder::outpix(int& value)
{
    if (blockFill_ + kSamplesPerGroup > block_.size())
        flush();
    const auto group = groupFor(value);
    std::memcpy(block_.data() + blockFill_, group.data(), group.size());
    blockFill_ += group.size();
    value = group[0];

    ++state_.pixcount;
    if (state_.pixcount > kGroupsPerProgressStep) {
        if (progress_ && !progress_())
            stopped_ = true;
        state_.pixcount = 0;
    }
}

void Encoder::sendLeader(int groups)
{
    // Each leader level is the level of the previous one, starting from value 0:
    // outpix hands the written level back in the same variable.
    int value = kBlackValue;
    for (int i = 0; i < groups && !stopped_; ++i)
        outpix(value);
}

// The reference order of the stream: x is the group within the line, y the row
// counter, p the pass. The colour is read before the pass change, so the start
// marker of a line may carry a colour from the row before; it never shows.
void Encoder::sendPasses(const EncoderSettings& settings)
{
    const int width = settings.groupsPerLine();
    const int height = settings.pictureHeight;
    const int step = settings.columnStep;
    std::string code;
    int line = 0;
    pass_ = settings.mono ? 1 : 0;
    int xpos = 0;
    ypos_ = 0;
    while (pass_ != 3 && !stopped_) {
        const ColourNumber c = picture_.colour((xpos + 1) * step, ypos_ + 1);
        if (ypos_ > height) {
            ypos_ -= height;
            ++pass_;
        }
        int value = passComponent(c, pass_);
        ++xpos;
        const bool sync = xpos + kSyncRunGroups - 1 >= width;
        if (xpos == width) {
            xpos = 0;
            ++ypos_;
            ++line;
            getbin(line, code);
        }
        if (xpos <= 14) {
            const int x = xpos;
            if (x == 0)
                value = kBlackValue;
            else if (x == 1)
                value = kWhiteValue;
            else
                value = (static_cast<std::size_t>(x - 2) < code.size() && code[static_cast<std::size_t>(x - 2)] == '1')
                            ? kWhiteValue
                            : kBlackValue;
        }
        if (controls_.compand)
            value = compandValue(value);
        if (sync)
            value = kSyncValue;
        outpix(value);
    }
}

void Encoder::flush()
{
    if (blockFill_ > 0)
        sink_.write(block_.data(), blockFill_);
    blockFill_ = 0;
}

} // namespace tonobild
