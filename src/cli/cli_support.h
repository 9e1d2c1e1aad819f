// Small helpers shared by the commands of tonobild-cli.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <optional>

namespace tonobild::cli {

// Prints a one-line reason to standard error and answers the failing exit code.
int fail(const QString& reason);

// Parses the arguments; on an error or --help prints and answers the exit code to return.
std::optional<int> parseOrExit(QCommandLineParser& parser, const QStringList& arguments, int positionalCount);

struct PictureSize {
    int width = 160;
    int height = 120;
};

// "160x120", "320x240" or "640x480".
std::optional<PictureSize> parseResolution(const QString& text);

} // namespace tonobild::cli
