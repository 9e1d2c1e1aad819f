// tonobild-cli testcards DIR: writes the station's test cards into a folder.
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "picture/test_cards.h"

namespace tonobild::cli {

int testCardsCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the test cards of the station (colour bars, grey step wedges, resolution "
                       "charts, a portrait and a scene) as bitmap files into a folder, creating it when needed."));
    parser.addPositionalArgument(QStringLiteral("DIR"), QStringLiteral("folder to write the cards into"));
    if (auto exit = parseOrExit(parser, arguments, 1))
        return *exit;

    const QString folder = parser.positionalArguments().at(0);
    const QString problem = writeTestCards(folder);
    if (!problem.isEmpty())
        return fail(QStringLiteral("cannot write the test cards: %1").arg(problem));
    QTextStream out(stdout);
    for (const TestCard& card : testCards())
        out << card.fileName << '\n';
    return 0;
}

} // namespace tonobild::cli
