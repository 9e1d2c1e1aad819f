// Random recordings through the decoder with random controls and settings.
// The first bytes choose them, the rest is the sample stream; the controls are
// also changed at progress steps, as a user may change them during a decode.
#include <cstddef>
#include <cstdint>
#include <span>

#include "decoder/decoder.h"

using namespace tonobild;

namespace {

constexpr std::size_t kChoiceBytes = 8;

class FuzzHost final : public DecoderHost {
public:
    FuzzHost(DecoderControls& controls, WorkingState& state, std::uint8_t toggles)
        : controls_(controls), state_(state), toggles_(toggles)
    {
    }
    bool progressStep() override
    {
        ++steps_;
        // Flip one control per step, chosen by the toggle byte.
        switch ((toggles_ + steps_) % 8) {
        case 0: controls_.hsync = !controls_.hsync; break;
        case 1: controls_.useLic = !controls_.useLic; break;
        case 2: controls_.idler = !controls_.idler; break;
        case 3: controls_.compand = !controls_.compand; break;
        case 4: controls_.third = !controls_.third; break;
        case 5: controls_.licInset = 1 + steps_ % 10; break;
        case 6: controls_.dynamicSync = !controls_.dynamicSync; break;
        default: break;
        }
        if ((toggles_ & 0x80) && steps_ == 3)
            requestStop(state_);
        return steps_ < 200;
    }
    bool rebuildRow() override { return true; }
    void setLicLock(bool ticked) override { controls_.licLock = ticked; }

private:
    DecoderControls& controls_;
    WorkingState& state_;
    std::uint8_t toggles_;
    int steps_ = 0;
};

bool bit(std::uint8_t byte, int n)
{
    return ((byte >> n) & 1) != 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < kChoiceBytes)
        return 0;
    const std::uint8_t flags = data[0];
    DecoderControls controls;
    controls.hsync = bit(flags, 0);
    controls.useLic = bit(flags, 1);
    controls.licLock = bit(flags, 2);
    controls.dynamicSync = bit(flags, 3);
    controls.idler = bit(flags, 4);
    controls.compand = bit(flags, 5);
    controls.third = bit(flags, 6);
    static constexpr int kInsets[] = {1, 4, 5, 6, 7, 8, 9, 10};
    controls.licInset = kInsets[data[1] % 8];

    // Mostly the small resolution: the larger ones cost a long rebuild per run.
    const int resolution = (data[2] & 7) == 7 ? 2 : ((data[2] & 7) == 6 ? 1 : 0);
    static constexpr int kSizes[][2] = {{160, 120}, {320, 240}, {640, 480}};
    DecodeSettings settings;
    settings.pictureWidth = kSizes[resolution][0];
    settings.pictureHeight = kSizes[resolution][1];
    settings.halfX = bit(data[2], 4);
    settings.mono = bit(data[2], 3);
    settings.normlevel = bit(data[2], 5) ? 3 : 2;
    static constexpr int kOffsets[] = {0, 8, 16, 32};
    settings.syncOffset = kOffsets[(data[2] >> 6) & 3];
    settings.syncLevel = -64 + data[3] % 97;
    settings.xshift = static_cast<std::int8_t>(data[4]) * 4;
    settings.yshift = static_cast<std::int8_t>(data[5]);

    WorkingPicture picture(settings.pictureWidth, settings.pictureHeight);
    WorkingState state;
    state.pixcount = static_cast<std::int16_t>(data[6] * 4);
    FuzzHost host(controls, state, data[7]);
    Decoder decoder(picture, state, controls, host);
    decoder.begin(settings);
    MemorySamples samples(std::span<const std::uint8_t>(data + kChoiceBytes, size - kChoiceBytes), 1024);
    if (decoder.run(samples) != DecodeEnd::Abandoned)
        decoder.finish();
    return 0;
}
