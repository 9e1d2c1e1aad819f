// The settings detector: reads the sender's resolution, column step ("Half X"),
// "Mono Image" and "Compand" out of a recorded transmission, which names none
// of them. The signal shows them all the same:
// - the sync runs come once per line, so their spacing gives the groups per
//   line (80, 160, 320 or 640);
// - the largest line identification code gives the number of lines, three
//   passes of H + 1, H and H lines in colour, two in mono, which also tells
//   160 x 120 from 320 x 240 with "Half X" at 160 groups per line;
// - companded values never fall below the middle level except in syncs, so
//   the guard groups after the code are black without compand and mid-grey
//   with it.
// Every byte is a sample, as the decoder takes them: a WAV header, repeated
// samples or a missing beginning change nothing. The stream is read in blocks
// and only as far as needed.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "decoder/cycle_detector.h"
#include "decoder/decode_option_table.h"
#include "decoder/decoder_controls.h"
#include "soundfile/sample_file.h"

namespace tonobild {

struct DetectedSettings {
    bool found = false;      // a transmission was found; the fields below hold its settings
    int pictureWidth = 0;    // 160, 320 or 640
    int pictureHeight = 0;   // 120, 240 or 480
    bool halfX = false;      // column step 2
    bool mono = false;       // no blue pass
    bool compand = false;
    bool certain = false;    // every sign agreed and the last line was seen; else a guess
    int linesRead = 0;       // lines whose identification code was read
    std::uint64_t bytesRead = 0;
    std::string reason;      // when nothing was found: why
};

// "certain", or "guessed from N lines".
std::string certaintyText(const DetectedSettings& settings);

// The decode options that the settings read stand for, in the order "detect" names them.
inline constexpr std::string_view kDetectedOptions[] = {"resolution", "half-x", "mono", "compand"};

// The settings read take the place of the setup's resolution, "Half X", "Compand" and mono.
void takeDetected(const DetectedSettings& found, DecodeSetup& setup);

class SettingsDetector {
public:
    SettingsDetector();
    SettingsDetector(const SettingsDetector&) = delete; // the cycle detector holds on to controls_
    SettingsDetector& operator=(const SettingsDetector&) = delete;

    // Takes the next block of samples. Answers true once the settings are
    // known for certain: no further samples are needed.
    bool feed(std::span<const std::uint8_t> block);

    // The answer from the samples fed so far. A stream that ends in a sync run
    // ends a line: the value of the closing group can be lost with the last
    // incomplete pair of cycles.
    DetectedSettings finish();

private:
    static constexpr std::size_t kHeadGroups = 14; // start marker, 11 code digits, 2 guard groups

    void takeValue(int value);
    void closeLine();
    void readLine();
    void breakContinuity() noexcept;
    bool decidedEarly() const noexcept;
    bool tailContinuesLastLine() const noexcept;
    bool compandSeen() const noexcept { return companded_ > plain_; }

    DecoderControls controls_;
    CycleDetector cycles_;
    std::uint64_t bytesRead_ = 0;
    bool done_ = false;
    long long values_ = 0;

    // The line being received: values since its start, the sync run at its end so far, its head.
    int lineLength_ = 0;
    int syncRun_ = 0;
    std::array<std::uint8_t, kHeadGroups> head_{};
    std::size_t headCount_ = 0;

    // Groups per line: the spacing seen on the last lines and, once steady, the one taken.
    int spacing_ = 0;
    int steadyLines_ = 0;
    int groupsPerLine_ = 0;

    // Guard groups: lines with black guards, lines with mid-grey ones.
    int plain_ = 0;
    int companded_ = 0;

    // Identification codes: the last line's, the largest that its predecessor confirmed.
    int linesRead_ = 0;
    int lastIndex_ = -1;
    int largestIndex_ = -1;
    int confirmedLines_ = 0;
    bool endAfterLargest_ = false; // the line after the largest one did not continue it
    bool largestIsLastLine_ = false;
};

// Runs the samples through a detector until it is certain or they end.
DetectedSettings detectSettings(SampleSource& samples);

} // namespace tonobild
