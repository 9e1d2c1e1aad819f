// The levels a transmission is sent in, as the front end works with them:
// centred on the decoder's middle level, 127.5.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "common/signal_format.h"

namespace tonobild {

constexpr double kCentreLevel = 127.5;
// The reference cycle every pixel group ends with.
constexpr int kReferenceHigh = pixelGroup(0)[2];
constexpr int kReferenceLow = pixelGroup(0)[3];
constexpr double kCentredReference = kReferenceHigh - kCentreLevel;

// The sent level nearest a centred one.
inline std::uint8_t sentLevel(double centred)
{
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(centred + kCentreLevel), 0.0, 255.0));
}

} // namespace tonobild
