// Random recordings through the receiving front end, with or without a header
// that libsndfile reads. Whatever the bytes, it answers samples or a file error
// naming why the recording cannot be read; of the station's own headerless
// samples never more than the recording holds (a coded kind, MP3 or FLAC,
// rightly gives many samples for each byte).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "common/file_error.h"
#include "frontend/receiving_front_end.h"

using namespace tonobild;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> recording(data, size);
    try {
        ConditionReport report;
        const std::vector<std::uint8_t> samples = conditionRecording(recording, &report);
        const bool headerless = report.kind.empty();
        if ((headerless && samples.size() > recording.size() + 4) || (report.resampled && report.samplesPerSymbol < 1.0))
            std::abort();
        (void)describe(report);
    } catch (const FileError&) {
        // a header libsndfile knows but cannot read: said to the user
    }
    return 0;
}
