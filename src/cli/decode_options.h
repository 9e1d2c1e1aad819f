// The receiving options of "decode" (and of any command that decodes as it
// does), as the table of decode options defines them (decoder/decode_option_table.h),
// and how the given ones, a mode preset and the settings read out of a
// recording combine into the decoder's controls and settings. The way back is
// decodeOptionsText in the same table.
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <optional>
#include <vector>

#include "decoder/decode_option_table.h"
#include "detector/settings_detector.h"

namespace tonobild::cli {

// What a decode starts with.
struct DecodeChoice {
    DecoderControls controls;
    DecodeSettings settings;
};

class DecodeOptions {
public:
    DecodeOptions();

    // Adds every option of the table, then --mode.
    void addTo(QCommandLineParser& parser) const;

    // The controls and settings of the parsed options. Without --mode the
    // window's start-up controls apply (with level 3), with it the mode's
    // preset; the options given override either. Settings read out of the
    // recording, when given, take the place of the preset's resolution, "Half
    // X" and "Compand", and add "Mono Image"; given options still win. Answers
    // nothing and the reason, worded for the command line, when an option's
    // value is not one the decoder takes or the preset lacks a choice.
    std::optional<DecodeChoice> resolve(const QCommandLineParser& parser, const DetectedSettings* detected,
                                        QString* error) const;

private:
    std::optional<DecodeSetup> startSetup(const QCommandLineParser& parser, QString& unknownMode) const;
    QString choiceThePresetLacks(const QCommandLineParser& parser, const DecodeSetup& setup) const;
    QString takeGivenOptions(const QCommandLineParser& parser, DecodeSetup& setup) const;

    std::vector<QCommandLineOption> options_; // in the order of decodeOptions()
    QCommandLineOption mode_;
};

} // namespace tonobild::cli
