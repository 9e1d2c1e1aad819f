// WAV headers: the 44-byte header of a transmission (8-bit unsigned mono PCM)
// and the 58-byte header prepared in a file before a recording starts.
#pragma once

#include <array>
#include <cstdint>

namespace tonobild {

constexpr int kPcmHeaderBytes = 44;
constexpr int kRecordingHeaderBytes = 58;

// RIFF/WAVE header for 8-bit unsigned mono PCM at the given rate and data size.
std::array<std::uint8_t, kPcmHeaderBytes> pcm8MonoHeader(std::uint32_t sampleRate, std::uint32_t dataBytes);

// The empty recording file: 8-bit mono PCM at 44100 samples per second, with an
// 18-byte format chunk, a "fact" chunk and an empty "data" chunk.
std::array<std::uint8_t, kRecordingHeaderBytes> recordingHeader();

} // namespace tonobild
