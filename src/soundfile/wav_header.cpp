#include "soundfile/wav_header.h"

#include <cstring>

#include "common/little_endian.h"

namespace tonobild {

namespace {

template <std::size_t N>
class HeaderBuilder {
public:
    void text(const char* fourChars)
    {
        std::memcpy(bytes.data() + at, fourChars, 4);
        at += 4;
    }
    void u32(std::uint32_t v)
    {
        putLittleEndian32(bytes, at, v);
        at += 4;
    }
    void u16(std::uint16_t v)
    {
        putLittleEndian16(bytes, at, v);
        at += 2;
    }
    std::array<std::uint8_t, N> bytes{};
    std::size_t at = 0;
};

} // namespace

std::array<std::uint8_t, kPcmHeaderBytes> pcmMonoHeader(std::uint32_t sampleRate, int bits, std::uint32_t dataBytes)
{
    const auto bytesPerSample = static_cast<std::uint16_t>(bits / 8);
    HeaderBuilder<kPcmHeaderBytes> h;
    h.text("RIFF");
    h.u32(36 + dataBytes);
    h.text("WAVE");
    h.text("fmt ");
    h.u32(16);
    h.u16(1);          // PCM
    h.u16(1);          // mono
    h.u32(sampleRate);
    h.u32(sampleRate * bytesPerSample); // bytes per second
    h.u16(bytesPerSample);              // block alignment
    h.u16(static_cast<std::uint16_t>(bits));
    h.text("data");
    h.u32(dataBytes);
    return h.bytes;
}

std::array<std::uint8_t, kRecordingHeaderBytes> recordingHeader()
{
    HeaderBuilder<kRecordingHeaderBytes> h;
    h.text("RIFF");
    h.u32(50);
    h.text("WAVE");
    h.text("fmt ");
    h.u32(18);
    h.u16(1);     // PCM
    h.u16(1);     // mono
    h.u32(44100);
    h.u32(44100);
    h.u16(1);
    h.u16(8);
    h.u16(0);     // no extra format bytes
    h.text("fact");
    h.u32(4);
    h.u32(0);     // samples
    h.text("data");
    h.u32(0);
    return h.bytes;
}

} // namespace tonobild
