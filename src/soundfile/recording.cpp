#include "soundfile/recording.h"

#include <sndfile.h>

#include <algorithm>
#include <cstring>

#include "common/file_error.h"

namespace tonobild {

namespace {

constexpr int kStationRawRate = 11025;

// Reads a recording held in memory through libsndfile's virtual input.
struct MemoryFile {
    std::vector<std::uint8_t> bytes;
    sf_count_t at = 0;

    static sf_count_t length(void* self) { return static_cast<sf_count_t>(static_cast<MemoryFile*>(self)->bytes.size()); }
    static sf_count_t seek(sf_count_t offset, int whence, void* self)
    {
        auto& f = *static_cast<MemoryFile*>(self);
        const sf_count_t base = whence == SEEK_CUR ? f.at : whence == SEEK_END ? length(self) : 0;
        f.at = std::clamp<sf_count_t>(base + offset, 0, length(self));
        return f.at;
    }
    static sf_count_t read(void* into, sf_count_t count, void* self)
    {
        auto& f = *static_cast<MemoryFile*>(self);
        const sf_count_t n = std::clamp<sf_count_t>(count, 0, length(self) - f.at);
        std::memcpy(into, f.bytes.data() + f.at, static_cast<std::size_t>(n));
        f.at += n;
        return n;
    }
    static sf_count_t write(const void*, sf_count_t, void*) { return 0; }
    static sf_count_t tell(void* self) { return static_cast<MemoryFile*>(self)->at; }
};

SF_VIRTUAL_IO memoryInput()
{
    return {MemoryFile::length, MemoryFile::seek, MemoryFile::read, MemoryFile::write, MemoryFile::tell};
}

bool endsWithRaw(const std::string& path)
{
    if (path.size() < 4)
        return false;
    std::string tail = path.substr(path.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::toupper(c); });
    return tail == ".RAW";
}

} // namespace

struct Recording::Source {
    std::string path;
    std::unique_ptr<MemoryFile> memory;
    SF_VIRTUAL_IO input{};
    SNDFILE* file = nullptr;
    ~Source()
    {
        if (file)
            sf_close(file);
    }
};

bool isStationRaw(const std::string& path)
{
    return endsWithRaw(path);
}

Recording::Recording(const std::string& path) : name_(path), source_(std::make_unique<Source>())
{
    source_->path = path;
    open(isStationRaw(path) ? SF_FORMAT_RAW | SF_FORMAT_PCM_U8 : 0);
}

Recording::Recording(std::vector<std::uint8_t> bytes, const std::string& name)
    : name_(name), source_(std::make_unique<Source>())
{
    source_->memory = std::make_unique<MemoryFile>();
    source_->memory->bytes = std::move(bytes);
    source_->input = memoryInput();
    open(0);
}

Recording::~Recording() = default;

void Recording::open(int rawFormat)
{
    SF_INFO info{};
    if (rawFormat) {
        info.format = rawFormat;
        info.channels = 1;
        info.samplerate = kStationRawRate;
    }
    Source& s = *source_;
    s.file = s.memory ? sf_open_virtual(&s.input, SFM_READ, &info, s.memory.get())
                      : sf_open(s.path.c_str(), SFM_READ, &info);
    if (!s.file)
        throw FileError("Cannot read", name_, sf_strerror(nullptr));
    if (info.channels < 1 || info.channels > kMostChannels)
        throw FileError("Cannot read", name_, "it has " + std::to_string(info.channels) + " channels");
    if (info.samplerate < kLowestRate || info.samplerate > kHighestRate)
        throw FileError("Cannot read", name_,
                        "its sample rate of " + std::to_string(info.samplerate) + " per second is out of range");
    sf_command(s.file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
    rate_ = info.samplerate;
    channels_ = info.channels;
    frames_.resize(kBlockFrames * static_cast<std::size_t>(channels_));
    mono_.resize(kBlockFrames);
}

std::span<const float> Recording::nextBlock()
{
    const sf_count_t read = sf_readf_float(source_->file, frames_.data(), static_cast<sf_count_t>(kBlockFrames));
    if (read < 0 || sf_error(source_->file) != SF_ERR_NO_ERROR)
        throw FileError("Cannot read", name_, sf_strerror(source_->file));
    const auto frames = static_cast<std::size_t>(read);
    const auto channels = static_cast<std::size_t>(channels_);
    for (std::size_t f = 0; f < frames; ++f) {
        float sum = 0;
        for (std::size_t c = 0; c < channels; ++c)
            sum += frames_[f * channels + c];
        mono_[f] = sum / static_cast<float>(channels);
    }
    return {mono_.data(), frames};
}

} // namespace tonobild
