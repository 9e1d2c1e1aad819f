// Recordings of every kind read through libsndfile, and the station's own
// headerless samples beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "common/file_error.h"
#include "soundfile/recording.h"
#include "support/test_data.h"

using namespace tonobild;

namespace {

struct Folder {
    Folder() { std::filesystem::create_directories(path); }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path = std::filesystem::temp_directory_path() / ("tonobild-recording-" + std::to_string(::getpid()));
};

std::vector<float> everySample(Recording& recording)
{
    std::vector<float> samples;
    for (auto block = recording.nextBlock(); !block.empty(); block = recording.nextBlock())
        samples.insert(samples.end(), block.begin(), block.end());
    return samples;
}

} // namespace

// What a file holds and how it is named decide how it is read: its kind, rate
// and samples, the levels s of the station's own samples as (s - 128) / 128.
TEST(Recording, EveryKindIsReadWithItsRateAndTheStationsOwnSamplesAsTheyAre)
{
    const Folder folder;
    // 16-bit samples of a ramp over a quarter of the scale, exactly as the 16-bit kinds keep them.
    std::vector<float> ramp(30000);
    for (std::size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = static_cast<float>(static_cast<int>(i % 16384) - 8192) / 32768.0F;
    const std::vector<std::uint8_t> bytes = {0, 1, 127, 128, 129, 255};
    const std::vector<float> bytesRead = {-1.0F, -127.0F / 128, -1.0F / 128, 0.0F, 1.0F / 128, 127.0F / 128};
    testdata::writeFileBytes(folder.file("own.RAW"), bytes);
    testdata::writeFileBytes(folder.file("headerless.wav"), bytes);
    testdata::writeFileBytes(folder.file("empty.wav"), {});
    const auto encoderWav = testdata::wavBytes(1, 1, 8000, 8, bytes, 6);
    testdata::writeFileBytes(folder.file("encoder.wav"), encoderWav);
    for (const char* name : {"ramp.wav", "ramp.flac", "ramp.ogg", "ramp.mp3"})
        writeRecording(folder.file(name), ramp, 44100);
    const struct { const char* name; const char* kind; double rate; const std::vector<float>* exact; } files[] = {
        {"own.RAW", "", 11025, &bytesRead},       {"headerless.wav", "", 11025, &bytesRead},
        {"empty.wav", "", 11025, nullptr},        {"encoder.wav", "WAV", 8000, &bytesRead},
        {"ramp.wav", "WAV", 44100, &ramp},        {"ramp.flac", "FLAC", 44100, &ramp},
        {"ramp.ogg", "OGG", 44100, nullptr},      {"ramp.mp3", "MP3", 44100, nullptr}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        Recording recording(folder.file(f.name));
        EXPECT_EQ(std::tuple(recording.kind(), recording.headerless(), recording.sampleRate(), recording.channels()),
                  std::tuple(std::string(f.kind), *f.kind == '\0', f.rate, 1));
        const std::vector<float> samples = everySample(recording);
        if (f.exact) {
            EXPECT_EQ(samples, *f.exact);
        } else if (std::string(f.name) != "empty.wav") {
            // Lossy kinds keep the length within a frame of the coder and the ramp within a few hundredths.
            ASSERT_NEAR(static_cast<double>(samples.size()), static_cast<double>(ramp.size()), 2048.0);
            EXPECT_NEAR(samples[15000], ramp[15000], 0.05);
        } else {
            EXPECT_TRUE(samples.empty());
        }
    }
}

// A file that is not there, a folder and a kind libsndfile knows but cannot read are named with the reason.
TEST(Recording, WhatCannotBeReadIsNamedWithTheReason)
{
    const Folder folder;
    // A RIFF/WAVE header of a format no reader knows (tag 0x1234): libsndfile knows the kind, not the format.
    testdata::writeFileBytes(folder.file("odd.wav"), testdata::wavBytes(0x1234, 1, 8000, 8, {1, 2, 3, 4}, 4));
    const struct { std::string path; const char* reason; } cases[] = {
        {folder.file("missing.wav"), "No such file or directory"},
        {folder.path.string(), "Is a directory"},
        {folder.file("odd.wav"), "Malformed 'fmt ' chunk"}};
    for (const auto& c : cases) {
        try {
            Recording recording(c.path);
            ADD_FAILURE() << c.path << " was read";
        } catch (const FileError& error) {
            EXPECT_EQ(error.path(), c.path);
            EXPECT_NE(error.reason().find(c.reason), std::string::npos) << error.what();
        }
    }
}
