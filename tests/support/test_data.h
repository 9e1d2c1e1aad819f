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

} // namespace tonobild::testdata
