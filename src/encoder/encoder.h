// The encoder: turns the working picture into the transmission stream. Pixels
// are read from the live working picture and "Compand" is read as the groups
// are worked out, so a change made at a progress point takes effect from the
// next group on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/sample_sink.h"
#include "common/working_state.h"
#include "encoder/pass_order.h"
#include "picture/working_picture.h"

namespace tonobild {

// Settings read once when an encode starts.
struct EncoderSettings {
    int pictureWidth = 160;  // W0: 160, 320 or 640
    int pictureHeight = 120; // H: 120, 240 or 480
    int columnStep = 1;      // 2 with "Half X"
    bool mono = false;       // "Mono Image": the blue pass is left out
    int leaderSeconds = 5;   // 1 for the CB preset at 8000 samples per second

    int groupsPerLine() const noexcept;
    int lineCount() const noexcept;
    std::int64_t streamGroups() const noexcept;
    std::int64_t streamBytes() const noexcept { return 4 * streamGroups(); }
};

// Controls that the encoder reads again after every progress point.
struct EncoderControls {
    bool compand = false;
};

// Called every 10001 groups; answers false to stop the encode.
using EncoderProgress = std::function<bool()>;

class Encoder {
public:
    Encoder(const WorkingPicture& picture, const EncoderControls& controls, WorkingState& state,
            SampleSink& sink);

    void setProgressHandler(EncoderProgress progress) { progress_ = std::move(progress); }

    // Sends the leader, the passes and the closing group. Answers false when the
    // progress handler stopped it; the sink then holds only a part of the stream.
    bool run(const EncoderSettings& settings);

    // The pass being sent: 0 blue, 1 green, 2 red (3 once the closing group is
    // out), or kLeaderPass while the leader goes out.
    static constexpr int kLeaderPass = -1;
    int pass() const noexcept { return order_ ? order_->pass() : kLeaderPass; }
    // The row counter reached within the pass (0 while the leader goes out); it
    // runs one past the picture height in the last line of a pass.
    int ypos() const noexcept { return order_ ? order_->ypos() : 0; }

private:
    void sendLeader(int groups);
    void sendPasses(const EncoderSettings& settings);
    template <typename Source>
    bool sendRun(Source& source);
    void stepIfDue();
    void flush();

    const WorkingPicture& picture_;
    const EncoderControls& controls_;
    WorkingState& state_;
    SampleSink& sink_;
    EncoderProgress progress_;
    std::vector<std::uint8_t> block_;
    std::size_t blockFill_ = 0;
    bool stopped_ = false;
    std::optional<PassOrder> order_; // from the first line of the first pass on
};

} // namespace tonobild
