// tonobild-cli: the station's codecs without a window.
#include <QCoreApplication>
#include <QTextStream>
#include <functional>
#include <map>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/helper_program.h"

namespace {

using Command = std::function<int(const QStringList&)>;

// The commands that run in a program of their own (see helper_program.h).
Command inHelperProgram(tonobild::cli::HelperProgram helper, const QString& name)
{
    return [helper, name](const QStringList& arguments) {
        return tonobild::cli::runInHelperProgram(helper, name, arguments);
    };
}

const std::map<QString, std::pair<Command, QString>>& commands()
{
    using namespace tonobild::cli;
    const auto inPictures = [](const char* name) { return inHelperProgram(HelperProgram::Pictures, QString::fromLatin1(name)); };
    const auto inSound = [](const char* name) { return inHelperProgram(HelperProgram::Sound, QString::fromLatin1(name)); };
    static const std::map<QString, std::pair<Command, QString>> table = {
        {QStringLiteral("encode"), {encodeCommand, QStringLiteral("encode [--standard MODE] PICTURE AUDIO.wav   picture file to transmission")}},
        {QStringLiteral("decode"), {decodeCommand, QStringLiteral("decode [--standard] AUDIO PICTURE   recorded transmission to picture file")}},
        {QStringLiteral("modes"), {modesCommand, QStringLiteral("modes   list the standard slow-scan modes")}},
        {QStringLiteral("condition"), {conditionCommand, QStringLiteral("condition AUDIO RAW   a sound card's recording to the samples that were sent")}},
        {QStringLiteral("detect"), {detectCommand, QStringLiteral("detect AUDIO   print the sender's settings as decode options")}},
        {QStringLiteral("digital-encode"), {inPictures("digital-encode"), QStringLiteral("digital-encode IN OUT   picture file to digitally coded picture file")}},
        {QStringLiteral("digital-decode"), {inPictures("digital-decode"), QStringLiteral("digital-decode IN OUT   digitally coded picture file back to colours")}},
        {QStringLiteral("signature"), {inPictures("signature"), QStringLiteral("signature PICTURE   print the signature read-out of a picture file")}},
        {QStringLiteral("play"), {inSound("play"), QStringLiteral("play FILE   play a WAV file through the output device")}},
        {QStringLiteral("record"), {inSound("record"), QStringLiteral("record FILE --seconds N   record from the input device into a WAV file")}},
        {QStringLiteral("listen"), {inSound("listen"), QStringLiteral("listen --gallery DIR   receive every transmission on the input device into a gallery")}},
        {QStringLiteral("testcards"), {inPictures("testcards"), QStringLiteral("testcards DIR   write the station's test cards into a folder")}},
    };
    return table;
}

void printUsage(QTextStream& out)
{
    out << "Usage: tonobild-cli COMMAND [options] FILES...\n\n"
        << "The codecs of the Tonobild 3 slow-scan picture station without a window.\n\nCommands:\n";
    for (const auto& [name, entry] : commands())
        out << "  " << entry.second << '\n';
    out << "\n\"tonobild-cli COMMAND --help\" describes the options of a command.\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tonobild-cli"));
    QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() < 2 || arguments.at(1) == QLatin1String("--help") || arguments.at(1) == QLatin1String("-h")) {
        QTextStream out(stdout);
        printUsage(out);
        return arguments.size() < 2 ? 1 : 0;
    }
    const QString name = arguments.at(1);
    const auto found = commands().find(name);
    if (found == commands().end())
        return tonobild::cli::fail(QStringLiteral("unknown command \"%1\"; see --help").arg(name));
    arguments.removeAt(1); // the parser takes the program name first, then the command's own arguments
    return found->second.first(arguments);
}
