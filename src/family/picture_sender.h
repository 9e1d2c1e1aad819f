// Something that sends a picture as samples: one transmission of one signal
// family, set up and ready to go. It states its sample format and length
// before it is sent, writes its samples into a sink in that format, and
// reports where it stands as it goes. The station's own format sends 8-bit
// unsigned samples at 11025 or 8000 per second (family/own_family.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "common/pass_progress.h"
#include "common/sample_sink.h"

namespace tonobild {

// Where the transmission stands; answers false to stop it.
using SendProgress = std::function<bool(const PassProgress& progress)>;

class PictureSender {
public:
    virtual ~PictureSender() = default;

    virtual SampleFormat format() const = 0;
    // Samples in the whole transmission.
    virtual std::uint64_t sampleCount() const = 0;
    // What the transmission is made of, in the family's words ("71542 groups").
    virtual std::string contents() const = 0;

    // Writes the transmission into the sink, calling progress (when it is
    // given) at the family's steps. Answers false when progress stopped it: the
    // sink then holds only a part of it.
    virtual bool send(SampleSink& sink, const SendProgress& progress) = 0;

    double seconds() const { return static_cast<double>(sampleCount()) / format().rate; }
};

} // namespace tonobild
