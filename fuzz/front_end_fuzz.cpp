// Random recordings through the receiving front end, with or without a WAV
// header of any rate, depth and channel count. Whatever the bytes, it answers
// samples or a WAV format error, never more samples than the recording holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "soundfile/wav_file.h"
#include "frontend/receiving_front_end.h"

using namespace tonobild;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> recording(data, size);
    try {
        ConditionReport report;
        const std::vector<std::uint8_t> samples = conditionRecording(recording, &report);
        if (samples.size() > recording.size() + 4 || (report.resampled && report.samplesPerSymbol < 1.0))
            std::abort();
        (void)describe(report);
    } catch (const WavFormatError&) {
        // a RIFF/WAVE header that is not one of PCM audio: said to the user
    }
    return 0;
}
