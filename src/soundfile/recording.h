// A recording of any kind a user has, read through libsndfile: WAV of every
// kind (8, 16, 24, 32 bit, float; mono or stereo), FLAC, OGG, MP3, AIFF and
// the rest libsndfile knows; a headerless ".RAW" file, and any file whose kind
// libsndfile does not know, as the station's own samples (unsigned 8-bit mono,
// at 11025 for want of a header that says otherwise). "-" names standard
// input, read to its end. The channels are mixed to one and handed out in
// blocks of samples from -1 to 1 (the station's level s as (s - 128) / 128), so
// that a long recording is never held whole.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace tonobild {

class Recording {
public:
    static constexpr std::size_t kBlockFrames = 16384;
    static constexpr int kMostChannels = 64;
    static constexpr int kLowestRate = 4000;
    static constexpr int kHighestRate = 768000;
    static constexpr const char* kStandardInput = "-";

    // Opens a recording file, or standard input for "-". Throws FileError naming the file and the reason.
    explicit Recording(const std::string& path);
    // A recording held in memory (bytes under test); `name` names it in messages.
    Recording(std::vector<std::uint8_t> bytes, const std::string& name);
    ~Recording();
    Recording(const Recording&) = delete;
    Recording& operator=(const Recording&) = delete;

    const std::string& name() const noexcept { return name_; }
    double sampleRate() const noexcept { return rate_; }
    int channels() const noexcept { return channels_; }
    // The station's own headerless samples: no header gave the rate.
    bool headerless() const noexcept { return headerless_; }
    // The kind of file as libsndfile names it ("WAV", "FLAC", "OGG", "MP3", ...); empty when headerless.
    const std::string& kind() const noexcept { return kind_; }

    // The next block of samples; empty at the end. Throws FileError on a read failure.
    std::span<const float> nextBlock();

private:
    struct Source;
    void open(const std::string& path);
    bool openAs(int format);
    std::string name_;
    double rate_ = 0;
    int channels_ = 0;
    bool headerless_ = false;
    std::string kind_;
    std::unique_ptr<Source> source_;
    std::vector<float> frames_;
    std::vector<float> mono_;
};

// Whether a path names the station's own headerless samples (".RAW" in any case).
bool isStationRaw(const std::string& path);

// Writes mono samples (-1 to 1) as a recording of the kind its name ends in:
// ".flac" FLAC of 16 bits, ".ogg" OGG Vorbis, ".mp3" MP3 at a constant `kbps`
// (32 to 320), any other a WAV of 16 bits. For measuring what such recordings
// do to a transmission. Throws FileError.
void writeRecording(const std::string& path, std::span<const float> samples, int rate, double kbps = 128);

} // namespace tonobild
