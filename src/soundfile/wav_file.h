// PCM WAV files as the player reads them (8- or 16-bit, mono or stereo, any
// rate) and the recording file as the recorder saves it: the 58-byte recording
// header with its sizes filled in, followed by the 8-bit samples.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace tonobild {

// A file that is not a PCM WAV file the player can play, with the reason.
class WavFormatError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct WavAudio {
    std::uint32_t sampleRate = 0;
    std::uint16_t channels = 0;      // 1 or 2
    std::uint16_t bitsPerSample = 0; // 8 (unsigned) or 16 (signed, little-endian)
    std::vector<std::uint8_t> data;  // the sample frames, interleaved

    std::size_t frameBytes() const noexcept { return std::size_t{channels} * (bitsPerSample / 8u); }
    std::size_t frameCount() const noexcept { return frameBytes() == 0 ? 0 : data.size() / frameBytes(); }
};

// Reads the "fmt " and "data" chunks of a RIFF/WAVE image; other chunks are
// skipped. A "data" size of 0 or one that runs past the end (a recorder that
// never filled it in) takes the rest of the file. Throws WavFormatError.
WavAudio parseWav(const std::vector<std::uint8_t>& bytes);

// Reads and parses a file. Throws FileError when it cannot be read, WavFormatError
// when it is not a playable PCM WAV file.
WavAudio readWavFile(const std::string& path);

// The recording file of the given 8-bit unsigned mono samples at 44100 samples
// per second: the 58-byte recording header with the RIFF size, the "fact"
// sample count and the "data" size set, the samples, and a pad byte of silence
// when the sample count is odd (RIFF chunks have even lengths).
std::vector<std::uint8_t> recordingFileBytes(const std::vector<std::uint8_t>& samples);

// Writes recordingFileBytes to the path, replacing the file only when the whole
// recording is written. Throws FileError.
void writeRecordingFile(const std::string& path, const std::vector<std::uint8_t>& samples);

} // namespace tonobild
