// Reading the sender's settings out of a recording for "detect" and "decode --detect".
#pragma once

#include <QCommandLineOption>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "frontend/receiving_front_end.h"
#include "detector/settings_detector.h"

namespace tonobild::cli {

// The settings of the transmission in the file, or in its conditioned samples
// when they are given. Prints the reason and answers nothing when the file
// cannot be read or holds no transmission.
std::optional<DetectedSettings> detectInFile(const QString& path,
                                             const std::vector<std::uint8_t>* conditioned = nullptr);

// --condition: the recording through the receiving front end first, for "decode" and "detect".
QCommandLineOption conditionOption();

// The recording's samples through the receiving front end ("-": standard
// input). Prints the reason and answers nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> conditionFile(const QString& path, ConditionReport& report);

// The bytes of standard input, for a recording named "-" that is read more than
// once. Prints the reason and answers nothing when it cannot be read.
std::optional<std::vector<std::uint8_t>> standardInputSamples();

// The options of "decode" that give these settings, in the order of
// kDetectedOptions: "--resolution WxH", then "--half-x", "--mono" and
// "--compand" as they apply.
QStringList decodeOptionsFor(const DetectedSettings& settings);

// "certain, 286168 of 286168 bytes read" or "guessed from 120 lines, ...".
QString sureness(const DetectedSettings& settings, qint64 fileBytes);

} // namespace tonobild::cli
