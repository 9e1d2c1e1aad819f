// The commands that use the sound devices and the rig (play, record, listen) live in
// a program of their own, tonobild-cli-sound, so that tonobild-cli starts
// without loading Qt Multimedia, the sound server's libraries and Hamlib for
// the commands that only read and write files. tonobild-cli hands such a
// command over by replacing itself with that program: the same process, the
// same arguments, output and exit code.
#pragma once

#include <QString>
#include <QStringList>

namespace tonobild::cli {

// Where tonobild-cli-sound is for a tonobild-cli in programFolder: installed
// at installedPath (relative to the folder), else beside it as in the build
// tree. Answers the installed place when neither exists.
QString soundProgramIn(const QString& programFolder, const QString& installedPath);

// Runs COMMAND with the arguments (the program name first, then the
// command's own) in tonobild-cli-sound. Answers only when that program cannot
// be started, with the exit code of the failure.
int runSoundCommand(const QString& command, const QStringList& arguments);

} // namespace tonobild::cli
