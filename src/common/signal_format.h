// The transmission signal: pixel groups of four unsigned 8-bit samples (level,
// mirrored level, 224, 31), a leader, three colour passes of lines that open with
// a start marker and an 11-digit line identification code, and a closing group.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/compand.h"
#include "common/numbers.h"

namespace tonobild {

// Transmit values with a fixed meaning.
constexpr int kWhiteValue = 255; // start marker, LIC digit 1
constexpr int kBlackValue = 0;   // guard groups, LIC digit 0
constexpr int kSyncValue = -64;

constexpr int kSamplesPerGroup = 4;
constexpr int kSyncRunGroups = 7;
constexpr int kLicDigits = 11;
constexpr int kTransmissionRate = 11025;
constexpr int kSlowRate = 8000;

// Level of a transmit value: 160 + v/4 rounded half to even.
constexpr int levelOf(int value) noexcept
{
    return 160 + static_cast<int>(divideRoundHalfEven(value, 4));
}

// Groups per line of a resolution width at a column step: width / step
// rounded half to even (160, 320, 640; with "Half X" 80, 160, 320). Sender and
// receiver count lines alike.
constexpr int groupsPerLine(int pictureWidth, int columnStep) noexcept
{
    return static_cast<int>(divideRoundHalfEven(pictureWidth, columnStep));
}

// The four samples of the pixel group for a level.
constexpr std::array<std::uint8_t, 4> pixelGroup(int level) noexcept
{
    return {static_cast<std::uint8_t>(level), static_cast<std::uint8_t>(255 - level), 224, 31};
}

// Leader groups for a leader of the given seconds, counted at 11025 samples per second.
constexpr int leaderGroups(int seconds) noexcept
{
    return static_cast<int>(divideRoundHalfEven(11025LL * seconds, 4));
}

// The 11 identification digits of a line number, least significant first ("getbin").
void getbin(int number, std::string& digits);

} // namespace tonobild
