// Transmissions made and received in memory, and how far a received picture
// lies from the one sent.
#pragma once

#include <cmath>
#include <optional>
#include <span>

#include "channel/channel_model.h"
#include "picture/photo_cards.h"
#include "standard/picture_fitting.h"
#include "standard/standard_encoder.h"
#include "standard/standard_receiver.h"

namespace tonobild::standardtest {

using namespace tonobild::standard;

// A photograph-like card, drawn larger as a photograph is, fitted to the mode.
inline WorkingPicture photoCard(const StandardMode& mode, PhotoCard card = PhotoCard::Landscape)
{
    return fitPicture(drawPhotoCard(card, 1024, 768), mode.width, mode.height, Fit::Crop);
}

inline channel::Samples transmission(const StandardMode& mode, const WorkingPicture& picture, const SendOptions& options)
{
    channel::Samples samples;
    sendPicture(mode, picture, options, [&](std::span<const std::int16_t> block) {
        for (const std::int16_t s : block)
            samples.push_back(static_cast<float>(s) / 32768.0f);
    });
    return samples;
}

// A second of silence on both sides, as a recording has.
inline channel::Samples recorded(channel::Samples samples, double rate)
{
    channel::Samples silence(static_cast<std::size_t>(rate), 0.0f);
    samples.insert(samples.begin(), silence.begin(), silence.end());
    samples.insert(samples.end(), silence.begin(), silence.end());
    return samples;
}

inline std::optional<StandardPicture> receive(const channel::Samples& samples, double rate, ReceiveOptions options = {})
{
    StandardReceiver receiver(rate, options);
    constexpr std::size_t kBlock = 4096;
    for (std::size_t at = 0; at < samples.size() && !receiver.done(); at += kBlock)
        receiver.feed(std::span(samples).subspan(at, std::min(kBlock, samples.size() - at)));
    return receiver.finish();
}

// PSNR over red, green and blue of rows [firstRow, endRow).
inline double psnr(const WorkingPicture& sent, const WorkingPicture& received, int firstRow = 0, int endRow = -1)
{
    double squares = 0, count = 0;
    for (int y = firstRow; y < (endRow < 0 ? sent.height() : endRow); ++y)
        for (int x = 0; x < sent.width(); ++x) {
            const ColourComponents a = splitColour(sent.colour(x, y)), b = splitColour(received.colour(x, y));
            for (const int d : {a.red - b.red, a.green - b.green, a.blue - b.blue})
                squares += d * d, count += 1;
        }
    return squares == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * count / squares);
}

} // namespace tonobild::standardtest
