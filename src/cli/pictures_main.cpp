// tonobild-cli-pictures: the commands of tonobild-cli on picture files of any
// format Qt's image support reads and writes, and the test cards it draws.
// tonobild-cli starts it for those with its own arguments; started by hand it
// takes them the same way.
#include <QCoreApplication>
#include <map>

#include "cli/cli_support.h"
#include "cli/commands.h"

namespace {

int runCommand(QStringList arguments)
{
    using namespace tonobild::cli;
    static const std::map<QString, int (*)(const QStringList&)> commands = {
        {QStringLiteral("encode"), encodeCommand},
        {QStringLiteral("decode"), decodeCommand},
        {QStringLiteral("digital-encode"), digitalEncodeCommand},
        {QStringLiteral("digital-decode"), digitalDecodeCommand},
        {QStringLiteral("signature"), signatureCommand},
        {QStringLiteral("testcards"), testCardsCommand},
    };
    const auto found = arguments.size() < 2 ? commands.end() : commands.find(arguments.at(1));
    if (found == commands.end())
        return fail(QStringLiteral("tonobild-cli-pictures reads and writes picture files: use \"encode\", "
                                   "\"decode\", \"digital-encode\", \"digital-decode\", \"signature\" or \"testcards\""));
    arguments.removeAt(1); // the parser takes the program name first, then the command's own arguments
    return found->second(arguments);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tonobild-cli"));
    return runCommand(QCoreApplication::arguments());
}
