#include "family/own_controls.h"

#include "common/signal_format.h"
#include "settings/option_choices.h"

namespace tonobild {

namespace {

constexpr int kRbHalfXCheck = 7;

constexpr DecoderCheck kDecoderChecks[] = {
    {1, &DecoderControls::hsync},       {3, &DecoderControls::useLic},  {5, &DecoderControls::licLock},
    {4, &DecoderControls::dynamicSync}, {8, &DecoderControls::idler},   {kCompandCheck, &DecoderControls::compand},
    {11, &DecoderControls::third},
};

std::optional<ResolutionSize> selectedSize(const NumberedControls& controls)
{
    const auto chosen = chosenResolution([&](int option) { return controls.selected(option); });
    return chosen ? std::optional(resolutionSize(*chosen)) : std::nullopt;
}

} // namespace

std::span<const DecoderCheck> decoderChecks() noexcept
{
    return kDecoderChecks;
}

DecodeSetup numberedDecodeSetup(const NumberedControls& controls)
{
    const auto selected = [&](int option) { return controls.selected(option); };
    DecodeSetup setup;
    for (const auto& [check, field] : kDecoderChecks)
        setup.controls.*field = controls.ticked(check);
    setup.controls.licInset = chosenLicInset(selected).value_or(0);
    const std::optional<ResolutionSize> size = selectedSize(controls);
    setup.settings.pictureWidth = size ? size->width : 0;
    setup.settings.pictureHeight = size ? size->height : 0;
    setup.settings.halfX = controls.ticked(kHalfXCheck);
    setup.rbHalfX = controls.ticked(kRbHalfXCheck);
    setup.settings.normlevel = chosenNormalisingLevel(selected).value_or(0);
    setup.settings.syncOffset = chosenSyncOffset(selected).value_or(0);
    return setup;
}

std::optional<EncoderSettings> numberedEncoderSettings(const NumberedControls& controls)
{
    const std::optional<ResolutionSize> size = selectedSize(controls);
    if (!size)
        return std::nullopt;
    EncoderSettings settings;
    settings.pictureWidth = size->width;
    settings.pictureHeight = size->height;
    settings.columnStep = controls.ticked(kHalfXCheck) ? 2 : 1;
    settings.mono = controls.selected(kMonoImageOption);
    settings.leaderSeconds = (controls.selected(kCbModeOption) && controls.ticked(kSlowCheck)) ? 1 : 5;
    return settings;
}

EncoderControls numberedEncoderControls(const NumberedControls& controls)
{
    return EncoderControls{controls.ticked(kCompandCheck)};
}

std::uint32_t numberedTransmissionRate(const NumberedControls& controls)
{
    return static_cast<std::uint32_t>(controls.ticked(kSlowCheck) ? kSlowRate : kTransmissionRate);
}

} // namespace tonobild
