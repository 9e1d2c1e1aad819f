// The receiving options of "decode" (and of any command that decodes as it
// does): their definitions, and how the given ones, a mode preset and the
// settings read out of a recording combine into the decoder's controls and
// settings. The way back is decodeOptionsText (receiver/gallery_names.h).
#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <optional>

#include "cli/cli_support.h"
#include "decoder/decoder_controls.h"
#include "detector/settings_detector.h"

namespace tonobild::cli {

// What a decode starts with.
struct DecodeChoice {
    DecoderControls controls;
    DecodeSettings settings;
    PictureSize size;
};

class DecodeOptions {
public:
    DecodeOptions();

    // Adds --resolution, --half-x, --rb-half-x, --compand, --mono, --third,
    // --idler, --no-hsync, --no-lic, --no-lic-lock, --no-dynamic-sync,
    // --sync-offset, --lic-inset, --sync-level, --level, --xshift, --yshift and --mode.
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
    QCommandLineOption resolution_;
    QCommandLineOption halfX_;
    QCommandLineOption rbHalfX_;
    QCommandLineOption compand_;
    QCommandLineOption mono_;
    QCommandLineOption third_;
    QCommandLineOption idler_;
    QCommandLineOption noHsync_;
    QCommandLineOption noLic_;
    QCommandLineOption noLicLock_;
    QCommandLineOption noDynamicSync_;
    QCommandLineOption syncOffset_;
    QCommandLineOption licInset_;
    QCommandLineOption syncLevel_;
    QCommandLineOption level_;
    QCommandLineOption xshift_;
    QCommandLineOption yshift_;
    QCommandLineOption mode_;
};

} // namespace tonobild::cli
