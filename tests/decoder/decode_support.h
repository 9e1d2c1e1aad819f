// Helpers of the decoder tests: a host that records what the decoder asked of
// the window, clean streams from the station's own encoder, and whole decodes.
#pragma once

#include "decoder/decoder.h" // with the working state, the picture and the standard headers used here
#include "encoder/encoder.h"

namespace tonobild::decodetest {

// Keeps "LIC Lock" in the controls as the window's check box would and counts the yields.
struct RecordingHost final : DecoderHost {
    explicit RecordingHost(DecoderControls& controls) : controls_(controls) {}
    bool progressStep() override { ++progressSteps; return !onProgress || onProgress(progressSteps); }
    bool rebuildRow() override { ++rebuiltRows; return !onRebuild || onRebuild(rebuiltRows); }
    void setLicLock(bool ticked) override { licLockChanges.push_back(ticked); controls_.licLock = ticked; }

    int progressSteps = 0, rebuiltRows = 0;
    std::vector<bool> licLockChanges;
    std::function<bool(int)> onProgress, onRebuild; // answer false to abandon
    DecoderControls& controls_;
};

// A decoder on a picture of its own, with its own controls, host and state.
struct DecoderBench {
    explicit DecoderBench(int width = 160, int height = 120, const DecoderControls& c = {})
        : controls(c), picture(width, height) {}
    DecoderControls controls;
    RecordingHost host{controls};
    WorkingPicture picture;
    WorkingState state;
    Decoder decoder{picture, state, controls, host};
    DecodeEnd end = DecodeEnd::EndOfFile;
};

// A whole decode in blocks of 4096 samples, and its end steps (the host never abandons it).
inline std::unique_ptr<DecoderBench> decodeStream(std::span<const std::uint8_t> stream, const DecodeSettings& settings,
                                                  const DecoderControls& controls = {})
{
    auto bench = std::make_unique<DecoderBench>(settings.pictureWidth, settings.pictureHeight, controls);
    bench->decoder.begin(settings);
    MemorySamples samples(stream, 4096);
    bench->end = bench->decoder.run(samples);
    bench->decoder.finish();
    return bench;
}

inline std::vector<std::uint8_t> encodeStream(const WorkingPicture& source, const EncoderSettings& settings = {},
                                              bool compand = false)
{
    EncoderControls controls{.compand = compand};
    WorkingState state;
    MemorySink sink;
    Encoder(source, controls, state, sink).run(settings);
    return std::move(sink.bytes);
}

// Components that differ from column to column and row to row, all at least
// 24 so that none is taken for a sync at level 2 once Dynamic Sync has brought
// the threshold down to -64.
inline WorkingPicture testPicture(int width, int height)
{
    WorkingPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setColour(x, y,
                              colourNumber(24 + (3 * x + 5 * y) % 232, 24 + (x + 7 * y) % 232, 24 + (x * y) % 232));
    return picture;
}

// The colour a clean pixel of the source comes back as. Each component of
// transmit value v is worked out by hand against the reference swing of 192:
// level 160 + q with q = v / 4 rounded half to even, value swing 64 + 2q. Level
// 3 takes a third of 192 (64) off both swings: 255 / 128 * 2q; level 2 takes
// half (96): 255 / 96 * (2q - 32). Limited to 0..255 for the picture. With
// "Compand" the sender first sends floor(v / 2) + 128 and the receiver expands
// (value - 128) * 2. The clean-group values without "Compand" are those of the
// literal table of NormalisedValue.CleanGroupsAtBothLevelsAndTheEdgesOfTheScale;
// the expansion's are those of
// Checklinesync.BufferedLineWithCompandPaintsExpandedValuesAndHandsOnTheLast.
inline ColourComponents receivedColour(ColourNumber source, int normlevel, bool compand)
{
    const auto received = [&](int transmit) {
        const int sent = compand ? (transmit >= 0 ? transmit / 2 : (transmit - 1) / 2) + 128 : transmit;
        const double q = std::nearbyint(sent / 4.0);
        const double value = normlevel == 3 ? 255.0 / 128 * (2 * q) : 255.0 / 96 * (2 * q - 32);
        const int clamped = std::clamp(static_cast<int>(std::nearbyint(value)), 0, 255);
        return compand ? std::clamp((clamped - 128) * 2, 0, 255) : clamped;
    };
    const ColourComponents c = splitColour(source);
    return {received(c.red), received(c.green), received(c.blue)};
}

} // namespace tonobild::decodetest
