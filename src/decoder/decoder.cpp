#include "decoder/decoder.h"

#include <stdexcept>

#include "common/numbers.h"
#include "decoder/decode_option_table.h"

namespace tonobild {

namespace {

constexpr int kTicksPerProgressStep = 1000; // the step comes at the 1001st tick
constexpr std::size_t kLineBufferReserve = 1024;
const char* const kFirstLineStart = "        "; // eight spaces open the first line

bool isResolution(int width, int height) noexcept
{
    return (width == 160 && height == 120) || (width == 320 && height == 240) || (width == 640 && height == 480);
}

} // namespace

std::string missingDecodeChoice(const DecodeSettings& settings, const DecoderControls& controls)
{
    if (settings.pictureWidth == 0 || settings.pictureHeight == 0)
        return std::string(decodeOption("resolution").caption);
    if (settings.normlevel != 2 && settings.normlevel != 3)
        return std::string(decodeOption("level").caption);
    if (controls.hsync && controls.useLic && controls.licInset == 0)
        return std::string(decodeOption("lic-inset").caption);
    return {};
}

Decoder::Decoder(WorkingPicture& picture, WorkingState& state, const DecoderControls& controls, DecoderHost& host)
    : picture_(picture), state_(state), controls_(controls), host_(host), detector_(controls),
      identification_(state, controls, host), assembler_(picture, state, controls, identification_)
{
}

void Decoder::begin(const DecodeSettings& settings)
{
    const std::string missing = missingDecodeChoice(settings, controls_);
    if (!missing.empty())
        throw std::invalid_argument("no " + missing + " chosen");
    if (!isResolution(settings.pictureWidth, settings.pictureHeight))
        throw std::invalid_argument("not a transmission resolution");

    // "LIC Lock" starts unticked and locks on by itself after the third code.
    state_.liclockcount = controls_.licLock ? 0 : 3;
    unlockedLicLock_ = state_.liclockcount == 0;
    if (unlockedLicLock_)
        host_.setLicLock(false);
    identification_.begin();

    state_.linebuf.reserve(kLineBufferReserve);
    state_.linebuf.assign(kFirstLineStart);
    state_.xmult = static_cast<std::int16_t>(settings.halfX ? 2 : 1);
    for (std::string& slot : state_.linestore)
        slot.clear();
    state_.stopreq = 0;
    const int xsiz = groupsPerLine(settings.pictureWidth, state_.xmult);
    assembler_.begin(xsiz, settings.pictureHeight, settings.yshift);
    state_.xpos = clampToInt16(-static_cast<long long>(settings.xshift));
    state_.ypos = 1;
    if (settings.syncOffset != 0)
        state_.synclevel = static_cast<std::int16_t>(settings.syncOffset);
    state_.syncthresh = clampToInt16(settings.syncLevel);
    state_.normlevel = static_cast<std::int16_t>(settings.normlevel);
    detector_.reset(settings.normlevel);
    mono_ = settings.mono;
}

DecodeEnd Decoder::run(SampleSource& samples)
{
    for (auto block = samples.nextBlock(); !block.empty(); block = samples.nextBlock())
        if (const auto end = feed(block))
            return *end;
    return DecodeEnd::EndOfFile;
}

std::optional<DecodeEnd> Decoder::feed(std::span<const std::uint8_t> block)
{
    int ticks = state_.pixcount;
    std::optional<DecodeEnd> end;
    const auto onStep = [this, &ticks, &end] {
        state_.pixcount = static_cast<std::int16_t>(ticks);
        assembler_.handOverPending();
        const bool goOn = progressStep(end);
        assembler_.watchForPending();
        return goOn;
    };
    const auto placeValues = [this, &end](std::span<const std::int16_t> values) {
        std::size_t placed = 0;
        while (placed < values.size()) {
            placed += assembler_.pendValues(values.subspan(placed));
            if (placed < values.size() && !assembler_.placeValue(values[placed++])) {
                end = DecodeEnd::ThirdPass;
                return CycleDetector::ValuesTaken{placed, false};
            }
        }
        return CycleDetector::ValuesTaken{placed, true};
    };
    assembler_.watchForPending();
    detector_.feedBlock(block, ticks, kTicksPerProgressStep, onStep, placeValues);
    assembler_.handOverPending();
    state_.pixcount = static_cast<std::int16_t>(ticks);
    return end;
}

// Every 1001st tick lets the host yield and honours STOP; the count then
// starts again from 0. Answers false with the way the decode ended when it ends here.
bool Decoder::progressStep(std::optional<DecodeEnd>& end)
{
    if (!host_.progressStep()) {
        end = DecodeEnd::Abandoned;
        return false;
    }
    if (state_.stopreq == kStopRequested) {
        end = DecodeEnd::Stopped;
        return false;
    }
    return true;
}

bool Decoder::finish()
{
    if (controls_.useLic && controls_.hsync &&
        !rebuildFromLineStore(picture_, state_, controls_, host_, assembler_.xsiz(), assembler_.rows(), mono_))
        return false;
    if (unlockedLicLock_ && !identification_.relocked() && !controls_.licLock)
        host_.setLicLock(true);
    return true;
}

} // namespace tonobild
