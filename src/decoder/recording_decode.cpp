#include "decoder/recording_decode.h"

#include <algorithm>

namespace tonobild {

DecodeEnd decodeRecording(Decoder& decoder, const DecodeSettings& settings, SampleSource& samples)
{
    decoder.begin(settings);
    const DecodeEnd end = decoder.run(samples);
    if (end == DecodeEnd::Abandoned || !decoder.finish())
        return DecodeEnd::Abandoned;
    return end;
}

DecodedRecording decodeUnattended(SampleSource& samples, DecoderControls controls, const DecodeSettings& settings)
{
    DecodedRecording decoded{WorkingPicture(settings.pictureWidth, settings.pictureHeight), {}, {}, false, false};
    startUp(decoded.state);
    const DecoderControls filing = controls; // as they stood when the decode began
    UnattendedDecoderHost host(controls);
    Decoder decoder(decoded.picture, decoded.state, controls, host);
    decoded.end = decodeRecording(decoder, settings, samples);
    decoded.tookLine = tookAnyLine(decoded.state, decoder, filing);
    decoded.complete = lastLineIn(decoded.state, decoder, settings.mono, decoded.end);
    return decoded;
}

bool tookAnyLine(const WorkingState& state, const Decoder& decoder, const DecoderControls& controls)
{
    if (controls.hsync && controls.useLic)
        return std::any_of(state.linestore.begin(), state.linestore.end(),
                           [](const std::string& line) { return !line.empty(); });
    return state.ypos > 1 || decoder.passCount() > 0;
}

bool lastLineIn(const WorkingState& state, const Decoder& decoder, bool mono, std::optional<DecodeEnd> end)
{
    const int lastSlot = std::min((mono ? 2 : 3) * decoder.rows(), kLineStoreSlots);
    return end == DecodeEnd::ThirdPass || !state.linestore[static_cast<std::size_t>(lastSlot)].empty();
}

} // namespace tonobild
