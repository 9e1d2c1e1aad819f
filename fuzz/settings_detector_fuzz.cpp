// Random recordings through the settings detector, handed over in blocks of a
// size the first byte chooses. Whatever the bytes, the answer is one of the
// senders' settings or none, and the detector never reads past the end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "detector/settings_detector.h"

using namespace tonobild;

namespace {

bool isResolution(int width, int height)
{
    return (width == 160 && height == 120) || (width == 320 && height == 240) || (width == 640 && height == 480);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::size_t blockBytes = 1 + data[0] * 37u;
    const std::span<const std::uint8_t> recording(data + 1, size - 1);
    MemorySamples samples(recording, blockBytes);
    const DetectedSettings found = detectSettings(samples);
    if (found.bytesRead > recording.size())
        std::abort();
    if (found.found ? !isResolution(found.pictureWidth, found.pictureHeight) || !found.reason.empty()
                    : found.reason.empty() || found.certain)
        std::abort();
    return 0;
}
