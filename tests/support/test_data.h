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

inline std::string readText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The little-endian number of size bytes at offset at, as a file header holds it.
inline std::uint32_t littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int size = 4)
{
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

} // namespace tonobild::testdata
