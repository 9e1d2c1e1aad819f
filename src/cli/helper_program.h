// Some commands of tonobild-cli live in programs of their own, so that
// tonobild-cli starts without loading what only they need:
// - tonobild-cli-sound: play, record and listen, which use the sound devices
//   and the rig (Qt Multimedia, the sound server's libraries and Hamlib);
// - tonobild-cli-pictures: the commands on picture files other than plain
//   bitmaps, and those that draw (Qt Gui and the libraries it brings).
// tonobild-cli hands such a command over by replacing itself with that
// program: the same process, the same arguments, output and exit code.
#pragma once

#include <QString>
#include <QStringList>

namespace tonobild::cli {

enum class HelperProgram { Sound, Pictures };

// The file name of a helper program.
QString helperProgramName(HelperProgram helper);

// Where the helper named `name` is for a tonobild-cli in programFolder:
// installed in installedFolder (relative to the folder), else beside it as in
// the build tree. Answers the installed place when neither exists.
QString helperProgramIn(const QString& programFolder, const QString& installedFolder, const QString& name);

// Runs COMMAND with the arguments (the program name first, then the
// command's own) in the helper program. Answers only when that program cannot
// be started, with the exit code of the failure.
int runInHelperProgram(HelperProgram helper, const QString& command, const QStringList& arguments);

} // namespace tonobild::cli
