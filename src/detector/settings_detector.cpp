#include "detector/settings_detector.h"

#include <algorithm>

#include "common/numbers.h"
#include "decoder/line_identification.h"
#include "encoder/encoder.h"
#include "common/signal_format.h"

namespace tonobild {

namespace {

constexpr int kNormLevel = 3;        // Direct: syncs come out at -64, black at 0, companded black at 128
constexpr int kSyncBelow = -32;      // halfway between sync and black
constexpr int kShortestSyncRun = 5;  // of the seven; noise never breaks a run, a cut may shorten the first
constexpr int kSteadyLines = 3;      // lines of one spacing in a row before it is taken
constexpr int kGuardMiddle = 64;     // between black guards (0) and companded ones (128)
constexpr int kFewestConfirmed = 3;  // codes confirmed by their predecessor before anything is certain
constexpr std::size_t kGuardGroup = 12;

// One way a sender can be set: its groups per line and the index of its last line.
struct Layout {
    int width = 0;
    int height = 0;
    bool halfX = false;
    bool mono = false;
    int groups = 0;
    int lastIndex = 0;
};

constexpr int kLayouts = 12;

std::array<Layout, kLayouts> makeLayouts()
{
    std::array<Layout, kLayouts> layouts{};
    std::size_t i = 0;
    for (const auto& [width, height] : {std::pair{160, 120}, std::pair{320, 240}, std::pair{640, 480}})
        for (const bool halfX : {false, true})
            for (const bool mono : {false, true}) {
                const EncoderSettings sent{
                    .pictureWidth = width, .pictureHeight = height, .columnStep = halfX ? 2 : 1, .mono = mono};
                layouts[i++] = {width, height, halfX, mono, sent.groupsPerLine(), sent.lineCount() - 1};
            }
    return layouts;
}

const std::array<Layout, kLayouts>& layouts()
{
    static const std::array<Layout, kLayouts> all = makeLayouts();
    return all;
}

bool isLineSpacing(int length) noexcept
{
    return std::any_of(layouts().begin(), layouts().end(), [&](const Layout& l) { return l.groups == length; });
}

// The layouts of a line length that could still end at a line index of largestIndex or beyond.
int layoutsReaching(int groups, int largestIndex) noexcept
{
    return static_cast<int>(std::count_if(layouts().begin(), layouts().end(), [&](const Layout& l) {
        return l.groups == groups && l.lastIndex >= largestIndex;
    }));
}

// The layout whose last line is the first at or beyond the largest index read;
// the longest one when the index lies beyond them all.
const Layout& likeliestLayout(int groups, int largestIndex) noexcept
{
    const Layout* chosen = nullptr;
    const Layout* longest = nullptr;
    for (const Layout& l : layouts()) {
        if (l.groups != groups)
            continue;
        if (l.lastIndex >= largestIndex && (!chosen || l.lastIndex < chosen->lastIndex))
            chosen = &l;
        if (!longest || l.lastIndex > longest->lastIndex)
            longest = &l;
    }
    return chosen ? *chosen : *longest;
}

} // namespace

std::string certaintyText(const DetectedSettings& settings)
{
    if (settings.certain)
        return "certain";
    return "guessed from " + std::to_string(settings.linesRead) + (settings.linesRead == 1 ? " line" : " lines");
}

void takeDetected(const DetectedSettings& found, DecodeSetup& setup)
{
    setup.settings.pictureWidth = found.pictureWidth;
    setup.settings.pictureHeight = found.pictureHeight;
    setup.settings.halfX = found.halfX;
    setup.settings.mono = found.mono;
    setup.controls.compand = found.compand;
}

SettingsDetector::SettingsDetector() : cycles_(controls_)
{
    cycles_.reset(kNormLevel);
}

bool SettingsDetector::feed(std::span<const std::uint8_t> block)
{
    if (done_)
        return true;
    for (std::size_t i = 0; i < block.size(); ++i) {
        if (cycles_.feed(block[i]) != CycleDetector::Event::Value)
            continue;
        takeValue(cycles_.value());
        if (done_) {
            bytesRead_ += i + 1;
            return true;
        }
    }
    bytesRead_ += block.size();
    return false;
}

// One value per pixel group. A line ends with its sync run; the first value
// after the run is the next line's start marker.
void SettingsDetector::takeValue(int value)
{
    ++values_;
    if (value < kSyncBelow) {
        ++syncRun_;
        ++lineLength_;
        return;
    }
    if (syncRun_ >= kShortestSyncRun)
        closeLine();
    syncRun_ = 0;
    ++lineLength_;
    if (headCount_ < kHeadGroups)
        head_[headCount_++] = static_cast<std::uint8_t>(clampToRange(value, 0, 255));
}

// The line received so far ends with its sync run: its length and head decide
// what it tells, and the next line starts empty.
void SettingsDetector::closeLine()
{
    const int length = lineLength_;
    lineLength_ = 0;
    syncRun_ = 0;
    if (length == spacing_) {
        ++steadyLines_;
    } else {
        spacing_ = length;
        steadyLines_ = 1;
    }
    if (groupsPerLine_ == 0 && steadyLines_ >= kSteadyLines && isLineSpacing(length))
        groupsPerLine_ = length;

    const bool followsLargest = largestIsLastLine_;
    largestIsLastLine_ = false;
    if (groupsPerLine_ != 0 && length == groupsPerLine_ && headCount_ == kHeadGroups)
        readLine();
    else
        breakContinuity();
    headCount_ = 0;
    if (followsLargest && !largestIsLastLine_)
        endAfterLargest_ = true;
    done_ = decidedEarly();
}

// The guards tell compand; the start marker and the code are read against the
// marker threshold, which lies between black and white with compand as without.
void SettingsDetector::readLine()
{
    const bool plainGuards = head_[kGuardGroup] < kGuardMiddle && head_[kGuardGroup + 1] < kGuardMiddle;
    const bool compandedGuards = head_[kGuardGroup] >= kGuardMiddle && head_[kGuardGroup + 1] >= kGuardMiddle;
    plain_ += plainGuards ? 1 : 0;
    companded_ += compandedGuards ? 1 : 0;
    const unsigned threshold = markerThreshold(compandSeen());
    if ((!plainGuards && !compandedGuards) || head_[0] < threshold) {
        breakContinuity();
        return;
    }
    const int index = lineNumberOf(std::span(head_).subspan(1, kLicDigits), threshold);
    ++linesRead_;
    if (lastIndex_ >= 0 && index == lastIndex_ + 1) {
        ++confirmedLines_;
        if (index > largestIndex_) {
            largestIndex_ = index;
            largestIsLastLine_ = true;
            endAfterLargest_ = false;
        }
    }
    lastIndex_ = index;
}

void SettingsDetector::breakContinuity() noexcept
{
    lastIndex_ = -1;
}

// Certain before the end: a confirmed index that only one layout of this line length reaches.
bool SettingsDetector::decidedEarly() const noexcept
{
    return groupsPerLine_ != 0 && confirmedLines_ >= kFewestConfirmed && (plain_ == 0 || companded_ == 0) &&
           layoutsReaching(groupsPerLine_, largestIndex_) == 1;
}

// Whether the values after the last line begin the line that would follow it:
// a start marker and the first digits of the next index. The closing group is
// a start marker alone.
bool SettingsDetector::tailContinuesLastLine() const noexcept
{
    if (headCount_ <= 1)
        return false;
    const unsigned threshold = markerThreshold(compandSeen());
    const int next = largestIndex_ + 1;
    const std::size_t digits = std::min<std::size_t>(headCount_ - 1, kLicDigits);
    for (std::size_t k = 0; k < digits; ++k)
        if ((head_[k + 1] >= threshold) != (((next >> k) & 1) == 1))
            return false;
    return true;
}

DetectedSettings SettingsDetector::finish()
{
    if (!done_ && syncRun_ >= kShortestSyncRun)
        closeLine();
    DetectedSettings found;
    found.bytesRead = bytesRead_;
    found.linesRead = linesRead_;
    if (bytesRead_ == 0) {
        found.reason = "no samples: the recording is empty";
        return found;
    }
    if (values_ == 0) {
        found.reason = "no pixel groups: the samples never swing across the middle level";
        return found;
    }
    if (groupsPerLine_ == 0) {
        found.reason = "no line syncs at a steady spacing of 80, 160, 320 or 640 groups";
        return found;
    }
    if (linesRead_ == 0) {
        found.reason = "no line opens with a start marker and an identification code";
        return found;
    }
    const Layout& layout = likeliestLayout(groupsPerLine_, largestIndex_);
    found.found = true;
    found.pictureWidth = layout.width;
    found.pictureHeight = layout.height;
    found.halfX = layout.halfX;
    found.mono = layout.mono;
    found.compand = compandSeen();
    const bool endSeen = endAfterLargest_ || (largestIsLastLine_ && !tailContinuesLastLine());
    found.certain = done_ || (layout.lastIndex == largestIndex_ && endSeen && confirmedLines_ >= kFewestConfirmed &&
                              (plain_ == 0 || companded_ == 0));
    return found;
}

DetectedSettings detectSettings(SampleSource& samples)
{
    SettingsDetector detector;
    for (auto block = samples.nextBlock(); !block.empty(); block = samples.nextBlock())
        if (detector.feed(block))
            break;
    return detector.finish();
}

} // namespace tonobild
