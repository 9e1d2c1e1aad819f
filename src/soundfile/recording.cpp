#include "soundfile/recording.h"

#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <system_error>

#include "common/file_error.h"
#include "soundfile/sample_file.h"

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
        if (n > 0) // an empty recording holds no bytes to copy from
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

// The kind of recording as a user calls it.
std::string kindName(int format)
{
    switch (format & SF_FORMAT_TYPEMASK) {
    case SF_FORMAT_WAV:
    case SF_FORMAT_WAVEX:
    case SF_FORMAT_RF64:
        return "WAV";
    case SF_FORMAT_FLAC:
        return "FLAC";
    case SF_FORMAT_OGG:
        return (format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS ? "Opus" : "OGG";
    case SF_FORMAT_MPEG:
        return "MP3";
    default:
        break;
    }
    SF_FORMAT_INFO info{};
    info.format = format & SF_FORMAT_TYPEMASK;
    if (sf_command(nullptr, SFC_GET_FORMAT_INFO, &info, sizeof info) != 0 || info.name == nullptr)
        return "audio";
    const std::string name = info.name;
    return name.substr(0, name.find(' '));
}

bool endsWith(const std::string& name, const std::string& tail)
{
    return name.size() >= tail.size() && name.compare(name.size() - tail.size(), tail.size(), tail) == 0;
}

int formatOfName(const std::string& name)
{
    if (endsWith(name, ".flac"))
        return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    if (endsWith(name, ".ogg"))
        return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    if (endsWith(name, ".mp3"))
        return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

// libsndfile sets an MP3's bitrate by its compression level: 0 for 320 kbit/s, 1 for 32 kbit/s.
void setBitrate(SNDFILE* file, double kbps)
{
    constexpr double kHighest = 320.0;
    constexpr double kLowest = 32.0;
    int mode = SF_BITRATE_MODE_CONSTANT;
    double level = std::clamp((kHighest - kbps) / (kHighest - kLowest), 0.0, 1.0);
    sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
}

} // namespace

// Where the samples come from: a file, open as a descriptor, or bytes in memory.
struct Recording::Source {
    int descriptor = -1;
    std::unique_ptr<MemoryFile> memory;
    SF_VIRTUAL_IO input{};
    SNDFILE* file = nullptr;
    ~Source()
    {
        if (file)
            sf_close(file);
        if (descriptor >= 0)
            ::close(descriptor);
    }
    // Back to the first byte, for a second try at the samples.
    void rewind()
    {
        if (memory)
            memory->at = 0;
        else
            ::lseek(descriptor, 0, SEEK_SET);
    }
};

bool isStationRaw(const std::string& path)
{
    return endsWithRaw(path);
}

Recording::Recording(const std::string& path)
    : name_(path == kStandardInput ? "standard input" : path), source_(std::make_unique<Source>())
{
    if (path == kStandardInput) {
        source_->memory = std::make_unique<MemoryFile>();
        source_->memory->bytes = readStandardInput();
        source_->input = memoryInput();
    } else {
        source_->descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (source_->descriptor < 0)
            throw FileError("Cannot read", name_, lastSystemError());
        struct stat status {};
        if (::fstat(source_->descriptor, &status) == 0 && S_ISDIR(status.st_mode))
            throw FileError("Cannot read", name_, std::make_error_code(std::errc::is_a_directory).message());
    }
    open(path);
}

Recording::Recording(std::vector<std::uint8_t> bytes, const std::string& name)
    : name_(name), source_(std::make_unique<Source>())
{
    source_->memory = std::make_unique<MemoryFile>();
    source_->memory->bytes = std::move(bytes);
    source_->input = memoryInput();
    open(name);
}

Recording::~Recording() = default;

// A ".RAW" name, or a file of no kind libsndfile knows, is read as the station's own samples.
void Recording::open(const std::string& path)
{
    bool opened = !isStationRaw(path) && openAs(0);
    if (!opened && (isStationRaw(path) || sf_error(nullptr) == SF_ERR_UNRECOGNISED_FORMAT)) {
        source_->rewind();
        opened = openAs(SF_FORMAT_RAW | SF_FORMAT_PCM_U8);
        headerless_ = true;
    }
    if (!opened)
        throw FileError("Cannot read", name_, sf_strerror(nullptr));
    if (channels_ < 1 || channels_ > kMostChannels)
        throw FileError("Cannot read", name_, "it has " + std::to_string(channels_) + " channels");
    if (rate_ < kLowestRate || rate_ > kHighestRate)
        throw FileError("Cannot read", name_,
                        "its sample rate of " + std::to_string(static_cast<long>(rate_)) + " per second is out of range");
    sf_command(source_->file, SFC_SET_SCALE_FLOAT_INT_READ, nullptr, SF_TRUE);
    frames_.resize(kBlockFrames * static_cast<std::size_t>(channels_));
    mono_.resize(kBlockFrames);
}

// Opens the samples as `format` (0: whatever their header says); answers whether libsndfile could.
bool Recording::openAs(int format)
{
    SF_INFO info{};
    if (format != 0) {
        info.format = format;
        info.channels = 1;
        info.samplerate = kStationRawRate;
    }
    Source& s = *source_;
    // libsndfile may close a descriptor it fails to read, so each try gets a copy of its own.
    s.file = s.memory ? sf_open_virtual(&s.input, SFM_READ, &info, s.memory.get())
                      : sf_open_fd(::dup(s.descriptor), SFM_READ, &info, SF_TRUE);
    if (!s.file)
        return false;
    rate_ = info.samplerate;
    channels_ = info.channels;
    kind_ = format != 0 ? "" : kindName(info.format);
    return true;
}

void writeRecording(const std::string& path, std::span<const float> samples, int rate, double kbps)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = formatOfName(path);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file)
        throw FileError("Cannot write", path, sf_strerror(nullptr));
    if ((info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG)
        setBitrate(file, kbps);
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t written = sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    const std::string reason = sf_strerror(file);
    if (sf_close(file) != 0 || written != static_cast<sf_count_t>(samples.size()))
        throw FileError("Cannot write", path, reason);
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
