// tonobild-cli detect AUDIO: the sender's settings, read out of the recording.
#include <QFileInfo>
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/detection.h"

namespace tonobild::cli {

int detectCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Reads the sender's resolution, \"Half X\", \"Mono Image\" and \"Compand\" out of a recorded "
        "transmission and prints them one per line as the options of \"decode\". How sure the answer is "
        "goes to standard error. Exits with 1 when the file holds no transmission. \"-\" reads standard input."));
    parser.addPositionalArgument(QStringLiteral("AUDIO"), QStringLiteral("recorded audio or RAW sample file"));
    const QCommandLineOption condition = conditionOption();
    parser.addOption(condition);
    if (auto exit = parseOrExit(parser, arguments, 1))
        return *exit;

    const QString path = parser.positionalArguments().at(0);
    ConditionReport report;
    std::optional<std::vector<std::uint8_t>> conditioned;
    if (parser.isSet(condition) && !(conditioned = conditionFile(path, report)))
        return 1;
    const auto found = detectInFile(path, conditioned ? &*conditioned : nullptr);
    if (!found)
        return 1;
    QTextStream out(stdout);
    for (const QString& option : decodeOptionsFor(*found))
        out << option << '\n';
    QTextStream err(stderr);
    if (conditioned)
        err << "Conditioned: " << QString::fromStdString(describe(report)) << '\n';
    err << path << ": " << sureness(*found, conditioned ? static_cast<qint64>(conditioned->size()) : QFileInfo(path).size())
        << '\n';
    return 0;
}

} // namespace tonobild::cli
