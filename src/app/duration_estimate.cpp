#include "app/duration_estimate.h"

#include <cmath>

#include "common/numbers.h"

namespace tonobild {

namespace {

std::string seconds(long long value)
{
    return "~" + std::to_string(value) + " Secs";
}

} // namespace

DurationLabels timecalc(bool slow, bool cbSelected, bool halfX, bool rbHalfX)
{
    const double rate = slow ? 8000.0 : 11025.0;
    const long long lead = (cbSelected && slow) ? 1 : 5;
    long long t = roundHalfEven(19200.0 / (rate / 4.0) * 3.0);
    if (rbHalfX)
        t = roundHalfEven(static_cast<double>(t) / 1.5);
    else if (halfX)
        t = roundHalfEven(static_cast<double>(t) / 2.0);
    return {seconds(lead + t), seconds(lead + 4 * t), seconds(lead + 16 * t)};
}

NrMethodResult nrMethodCaptions(bool activeNorm, bool monoImage)
{
    const double k = monoImage ? 1.0 : 3.0;
    double x = 19200.0 / (11025.0 / 2.0) * k;
    if (activeNorm)
        x *= 2.0;
    const long long t = roundHalfEven(x + 2.0);
    const auto minutes = static_cast<long long>(std::floor(static_cast<double>(16 * t) / 60.0));
    NrMethodResult result;
    result.hsync = activeNorm ? 1 : 0;
    result.hsyncEnabled = activeNorm;
    result.option1 = "160x120 (~" + std::to_string(t) + " Seconds)";
    result.option2 = "320x240 (~" + std::to_string(4 * t) + " Seconds)";
    result.option3 = "640x480 (~" + std::to_string(minutes) + " Minutes)";
    return result;
}

} // namespace tonobild
