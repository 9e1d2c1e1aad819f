// Reference files of the tests (tests/data) and small helpers to read them.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tonobild::testdata {

inline std::string dataPath(const std::string& name)
{
    return std::string(TONOBILD_TEST_DATA) + "/" + name;
}

inline std::vector<std::uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::string readText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Every sample held `times` times, as a player brings a stream to a sound card's rate.
inline std::vector<std::uint8_t> held(const std::vector<std::uint8_t>& stream, int times)
{
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(times) * stream.size());
    for (const std::uint8_t sample : stream)
        out.insert(out.end(), static_cast<std::size_t>(times), sample);
    return out;
}

// The little-endian number of size bytes at offset at, as a file header holds it.
inline std::uint32_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int size = 4)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

// A WAV image: format tag, channels, rate, bits and the data with its declared
// size; with oddChunk an odd-sized chunk (and its pad byte) comes before "fmt ".
inline std::vector<std::uint8_t> wavBytes(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate,
                                          std::uint16_t bits, const std::vector<std::uint8_t>& data,
                                          std::uint32_t declaredDataSize, bool oddChunk = false)
{
    std::vector<std::uint8_t> b;
    const auto put = [&b](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    const auto id = [&put](const char* s) { put(static_cast<std::uint32_t>(s[0] | s[1] << 8 | s[2] << 16 | s[3] << 24), 4); };
    id("RIFF"); put(static_cast<std::uint32_t>(36 + data.size() + (oddChunk ? 12 : 0)), 4); id("WAVE");
    if (oddChunk) {
        id("LIST"); put(3, 4); put(0x636261, 4); // "abc" and a pad byte
    }
    id("fmt "); put(16, 4); put(tag, 2); put(channels, 2); put(rate, 4); put(rate * channels * bits / 8, 4);
    put(channels * bits / 8u, 2); put(bits, 2); id("data"); put(declaredDataSize, 4);
    b.insert(b.end(), data.begin(), data.end());
    return b;
}

} // namespace tonobild::testdata
