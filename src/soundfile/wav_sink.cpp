#include "soundfile/wav_sink.h"

#include "common/file_error.h"
#include "soundfile/wav_header.h"

namespace tonobild {

WavSink::WavSink(std::string path, SampleFormat format) : file_(std::move(path)), format_(format) {}

void WavSink::open()
{
    bytes_ = 0;
    file_.open();
    const auto header = pcmMonoHeader(format_.rate, format_.bits, 0);
    file_.write(header.data(), header.size());
}

void WavSink::write(const std::uint8_t* samples, std::size_t count)
{
    file_.write(samples, count);
    bytes_ += count;
}

void WavSink::commit()
{
    if (!fitsPcmWav(bytes_))
        throw FileError("Cannot write", file_.path(), "the transmission is too long for a WAV file");
    const auto header = pcmMonoHeader(format_.rate, format_.bits, static_cast<std::uint32_t>(bytes_));
    file_.writeAt(0, header.data(), header.size());
    file_.commit();
}

} // namespace tonobild
