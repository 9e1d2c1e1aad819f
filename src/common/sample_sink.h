// Where the samples of a transmission go as a sender makes them, and the form
// they take: the rate and the bits of a sample (8: unsigned bytes; 16: signed,
// little-endian, two bytes a sample).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tonobild {

struct SampleFormat {
    std::uint32_t rate = 0; // samples per second
    int bits = 8;           // 8 or 16
};

// Receives the stream in large blocks, as bytes in the sender's format.
class SampleSink {
public:
    virtual ~SampleSink() = default;
    virtual void write(const std::uint8_t* samples, std::size_t count) = 0;
};

// A sink that keeps the stream in memory.
class MemorySink final : public SampleSink {
public:
    void write(const std::uint8_t* samples, std::size_t count) override
    {
        bytes.insert(bytes.end(), samples, samples + count);
    }
    std::vector<std::uint8_t> bytes;
};

} // namespace tonobild
