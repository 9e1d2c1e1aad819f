// tonobild-cli-sound: the commands of tonobild-cli that use the sound devices
// and the rig. tonobild-cli starts it for "play", "record" and "listen" with its own
// arguments; started by hand it takes them the same way.
#include <QCoreApplication>

#include "audio/sound_program_end.h"
#include "cli/cli_support.h"
#include "cli/commands.h"

namespace {

int runCommand(QStringList arguments)
{
    const QString usage = QStringLiteral("tonobild-cli-sound plays, records and listens: use \"play\", \"record\" "
                                          "or \"listen\"");
    if (arguments.size() < 2)
        return tonobild::cli::fail(usage);
    const QString name = arguments.at(1);
    arguments.removeAt(1); // the parser takes the program name first, then the command's own arguments
    if (name == QLatin1String("play"))
        return tonobild::cli::playCommand(arguments);
    if (name == QLatin1String("record"))
        return tonobild::cli::recordCommand(arguments);
    if (name == QLatin1String("listen"))
        return tonobild::cli::listenCommand(arguments);
    return tonobild::cli::fail(usage);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tonobild-cli"));
    // The command has closed its files, released the rig and stopped its sound by now.
    tonobild::endSoundProgram(runCommand(QCoreApplication::arguments()));
}
