// Small helpers shared by the commands of tonobild-cli.
#pragma once

#include <QCommandLineParser>
#include <QString>
#include <optional>
#include <string>

#include "common/working_state.h"
#include "family/picture_sender.h"
#include "picture/working_picture.h"

namespace tonobild::cli {

// Prints a one-line reason to standard error and answers the failing exit code.
int fail(const QString& reason);

// Parses the arguments; on an error or --help prints and answers the exit code to return.
std::optional<int> parseOrExit(QCommandLineParser& parser, const QStringList& arguments, int positionalCount);

// The working state as the window's start-up leaves it, carrying the Amateur
// signature of the codeword when the option is given. Prints the reason and
// answers nothing for a codeword that is not Latin-1.
std::optional<WorkingState> startState(const QCommandLineParser& parser, const QCommandLineOption& signature);

// The signature read-out on one line ("\r\n" becomes "; "), as the commands print it.
QString readOutLine(const std::string& caption);

// The transmission as a WAV file on standard output, for "-" given as the file
// to write; what was sent goes to standard error. Answers the exit code.
int sendToStandardOutput(PictureSender& sender);

// --input DEVICE: the input device of "record" and "listen".
QCommandLineOption inputDeviceOption();

} // namespace tonobild::cli
