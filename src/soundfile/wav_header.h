// WAV headers: the 44-byte header of a transmission (8-bit unsigned mono PCM,
// or 16-bit for the standard modes) and the 58-byte header prepared in a file
// before a recording starts.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

namespace tonobild {

constexpr int kPcmHeaderBytes = 44;
constexpr int kRecordingHeaderBytes = 58;

// Whether a transmission of this many sample bytes fits one WAV file: the header's sizes are 32 bits.
constexpr bool fitsPcmWav(std::uint64_t dataBytes)
{
    return dataBytes <= std::numeric_limits<std::uint32_t>::max() - kPcmHeaderBytes;
}

// RIFF/WAVE header for mono PCM of 8 bits (unsigned) or 16 bits (signed) a
// sample at the given rate and data size.
std::array<std::uint8_t, kPcmHeaderBytes> pcmMonoHeader(std::uint32_t sampleRate, int bits, std::uint32_t dataBytes);

// RIFF/WAVE header for 8-bit unsigned mono PCM at the given rate and data size.
inline std::array<std::uint8_t, kPcmHeaderBytes> pcm8MonoHeader(std::uint32_t sampleRate, std::uint32_t dataBytes)
{
    return pcmMonoHeader(sampleRate, 8, dataBytes);
}

// The empty recording file: 8-bit mono PCM at 44100 samples per second, with an
// 18-byte format chunk, a "fact" chunk and an empty "data" chunk.
std::array<std::uint8_t, kRecordingHeaderBytes> recordingHeader();

} // namespace tonobild
