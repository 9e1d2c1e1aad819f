#include "encoder/transmission_files.h"

#include <algorithm>

#include "soundfile/wav_header.h"
#include "common/file_error.h"

namespace tonobild {

namespace {

bool isContinuationByte(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

std::string rawFileNameFor(const std::string& audioFileName)
{
    std::size_t end = audioFileName.size();
    for (int characters = 0; characters < 3; ++characters) {
        if (end == 0)
            return {};
        --end;
        while (end > 0 && isContinuationByte(audioFileName[end]))
            --end;
    }
    return audioFileName.substr(0, end) + "RAW";
}

std::string audioFileNameProblem(const std::string& audioFileName)
{
    const std::string raw = rawFileNameFor(audioFileName);
    if (raw.empty())
        return "the name is shorter than three characters";
    if (raw == audioFileName)
        return "the raw sample file would have the same name as the audio file";
    const std::string replaced = audioFileName.substr(raw.size() - 3); // the characters "RAW" stands for
    if (replaced.find('/') != std::string::npos)
        return "the raw sample file would leave the audio file's folder: the name needs three characters after "
               "its last \"/\"";
    return {};
}

std::string playerWavNameFor(const std::string& audioFileName)
{
    const std::size_t slash = audioFileName.rfind('/');
    const std::size_t dot = audioFileName.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
    if (!hasExtension)
        return audioFileName + "-player";
    return audioFileName.substr(0, dot) + "-player" + audioFileName.substr(dot);
}

PlayerRate playerRateFor(std::uint32_t transmissionRate)
{
    return transmissionRate == 8000 ? PlayerRate{48000, 6} : PlayerRate{44100, 4};
}

TransmissionFiles::TransmissionFiles(const std::string& audioFileName, std::uint32_t sampleRate, PlayerWav player)
    : raw_(rawFileNameFor(audioFileName)), wav_(audioFileName), sampleRate_(sampleRate)
{
    if (player == PlayerWav::With)
        player_.emplace(playerWavNameFor(audioFileName));
}

void TransmissionFiles::open()
{
    const std::string problem = audioFileNameProblem(wav_.path());
    if (!problem.empty())
        throw FileError("Cannot use the audio file name", wav_.path(), problem);
    bytes_ = 0;
    raw_.open();
    wav_.open();
    const auto header = pcm8MonoHeader(sampleRate_, 0);
    wav_.write(header.data(), header.size());
    if (player_) {
        player_->open();
        const auto playerHeader = pcm8MonoHeader(playerRateFor(sampleRate_).rate, 0);
        player_->write(playerHeader.data(), playerHeader.size());
    }
}

void TransmissionFiles::write(const std::uint8_t* samples, std::size_t count)
{
    raw_.write(samples, count);
    wav_.write(samples, count);
    bytes_ += count;
    if (player_) {
        const auto hold = static_cast<std::size_t>(playerRateFor(sampleRate_).hold);
        heldBlock_.resize(count * hold); // grows to the encoder's block size once
        for (std::size_t i = 0; i < count; ++i)
            std::fill_n(heldBlock_.begin() + static_cast<std::ptrdiff_t>(i * hold), hold, samples[i]);
        player_->write(heldBlock_.data(), count * hold);
    }
}

std::string TransmissionFiles::commit()
{
    if (!fitsPcmWav(bytes_))
        throw FileError("Cannot write", wav_.path(), "the transmission is too long for a WAV file");
    const PlayerRate player = playerRateFor(sampleRate_);
    if (player_ && !fitsPcmWav(bytes_ * static_cast<std::uint64_t>(player.hold)))
        throw FileError("Cannot write", player_->path(), "the transmission is too long for a WAV file");
    const auto header = pcm8MonoHeader(sampleRate_, static_cast<std::uint32_t>(bytes_));
    wav_.writeAt(0, header.data(), header.size());
    raw_.finish();
    wav_.finish();
    if (player_) {
        const auto playerHeader = pcm8MonoHeader(player.rate, static_cast<std::uint32_t>(bytes_ * player.hold));
        player_->writeAt(0, playerHeader.data(), playerHeader.size());
        player_->finish();
    }
    AtomicFile::publishBoth(raw_, wav_);
    if (!player_)
        return {};
    try {
        player_->publish();
    } catch (const FileError& error) {
        return error.what();
    }
    return {};
}

void TransmissionFiles::abandon() noexcept
{
    raw_.abandon();
    wav_.abandon();
    if (player_)
        player_->abandon();
}

} // namespace tonobild
