#include "soundfile/wav_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "soundfile/wav_header.h"
#include "common/atomic_file.h"
#include "common/file_error.h"
#include "common/little_endian.h"

namespace tonobild {

namespace {

bool idAt(const std::vector<std::uint8_t>& b, std::size_t at, const char* id)
{
    return std::memcmp(b.data() + at, id, 4) == 0;
}

} // namespace

WavAudio parseWav(const std::vector<std::uint8_t>& bytes)
{
    if (bytes.size() < 12 || !idAt(bytes, 0, "RIFF") || !idAt(bytes, 8, "WAVE"))
        throw WavFormatError("not a RIFF/WAVE file");
    WavAudio audio;
    bool haveFormat = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint32_t size = littleEndian32(bytes, at + 4);
        const std::size_t body = at + 8;
        const std::size_t available = bytes.size() - body;
        if (idAt(bytes, at, "fmt ")) {
            if (size < 16 || available < 16)
                throw WavFormatError("the format chunk is too short");
            const std::uint16_t tag = littleEndian16(bytes, body);
            audio.channels = littleEndian16(bytes, body + 2);
            audio.sampleRate = littleEndian32(bytes, body + 4);
            audio.bitsPerSample = littleEndian16(bytes, body + 14);
            if (tag != 1)
                throw WavFormatError("the samples are not PCM (format tag " + std::to_string(tag) + ")");
            if (audio.bitsPerSample != 8 && audio.bitsPerSample != 16)
                throw WavFormatError(std::to_string(audio.bitsPerSample) + "-bit samples are not supported");
            if (audio.channels != 1 && audio.channels != 2)
                throw WavFormatError(std::to_string(audio.channels) + " channels are not supported");
            if (audio.sampleRate == 0)
                throw WavFormatError("the sample rate is 0");
            haveFormat = true;
        } else if (idAt(bytes, at, "data")) {
            if (!haveFormat)
                throw WavFormatError("the data chunk comes before the format chunk");
            const std::size_t length = (size == 0 || size > available) ? available : size;
            audio.data.assign(bytes.begin() + static_cast<std::ptrdiff_t>(body),
                              bytes.begin() + static_cast<std::ptrdiff_t>(body + length));
            audio.data.resize(audio.frameCount() * audio.frameBytes()); // no partial frame at the end
            return audio;
        }
        if (size > available)
            break;
        at = body + size + (size & 1u);
    }
    throw WavFormatError(haveFormat ? "there is no data chunk" : "there is no format chunk");
}

WavAudio readWavFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FileError("Cannot open", path, lastSystemError());
    std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw FileError("Cannot read", path, lastSystemError());
    return parseWav(bytes);
}

std::vector<std::uint8_t> recordingFileBytes(const std::vector<std::uint8_t>& samples)
{
    const auto header = recordingHeader();
    const std::size_t pad = samples.size() & 1u;
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    bytes.reserve(header.size() + samples.size() + pad);
    bytes.insert(bytes.end(), samples.begin(), samples.end());
    if (pad)
        bytes.push_back(128);
    const auto count = static_cast<std::uint32_t>(samples.size());
    putLittleEndian32(bytes, 4, static_cast<std::uint32_t>(kRecordingHeaderBytes - 8) + count + static_cast<std::uint32_t>(pad));
    putLittleEndian32(bytes, 46, count); // "fact": number of samples
    putLittleEndian32(bytes, 54, count); // "data": size
    return bytes;
}

void writeRecordingFile(const std::string& path, const std::vector<std::uint8_t>& samples)
{
    const std::vector<std::uint8_t> bytes = recordingFileBytes(samples);
    AtomicFile file(path);
    file.open();
    file.write(bytes.data(), bytes.size());
    file.commit();
}

} // namespace tonobild
