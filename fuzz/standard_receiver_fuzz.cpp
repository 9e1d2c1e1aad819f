// Any bytes as a recording for the standard modes' receiver: read as a sound
// file of any kind (its header may lie about rate, channels and length) and
// received. Whatever the bytes, it answers a picture of the mode's size, no
// picture, or a message about the file; it never holds more than the longest
// mode's track.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <vector>

#include "common/file_error.h"
#include "soundfile/recording.h"
#include "standard/standard_receiver.h"

using namespace tonobild;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        Recording recording(std::vector<std::uint8_t>(data, data + size), "fuzz");
        standard::StandardReceiver receiver(recording.sampleRate());
        for (auto block = recording.nextBlock(); !block.empty() && !receiver.done(); block = recording.nextBlock())
            receiver.feed(block);
        if (const auto received = receiver.finish()) {
            const auto& mode = *received->report.mode;
            if (received->picture.width() != mode.width || received->picture.height() != mode.height)
                std::abort();
        }
    } catch (const FileError&) {
        // not a recording libsndfile reads: said to the user
    } catch (const std::invalid_argument&) {
        // a rate too low for the tones: said to the user
    }
    return 0;
}
