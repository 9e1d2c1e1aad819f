// The transmissions the benchmarks read: a picture of steady gradients in all
// three colours, encoded by the station's own encoder.
#pragma once

#include <cstdint>
#include <vector>

#include "encoder/encoder.h"
#include "picture/colour.h"

namespace tonobild::bench {

inline std::vector<std::uint8_t> encodedStream(int width, int height, bool mono = false)
{
    WorkingPicture picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setColour(x, y, colourNumber((5 * x + 3 * y) % 256, (7 * y + x) % 256, (x * y) % 256));
    EncoderSettings settings;
    settings.pictureWidth = width;
    settings.pictureHeight = height;
    settings.mono = mono;
    EncoderControls controls;
    WorkingState state;
    MemorySink sink;
    Encoder(picture, controls, state, sink).run(settings);
    return std::move(sink.bytes);
}

} // namespace tonobild::bench
