// tonobild-cli signature PICTURE: the signature read-out of a picture file.
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "picture/picture_files.h"
#include "signature/signature_codec.h"

namespace tonobild::cli {

int signatureCommand(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Reads the digital signature stamped into a picture file and prints the read-out "
                       "(class of transmitter and identification; nothing when no signature is found)."));
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("picture file to read"));
    const QCommandLineOption compand(QStringLiteral("compand"),
                                     QStringLiteral("a cell reads as 1 from green 192 on instead of 128 (\"Compand\")"));
    parser.addOption(compand);
    if (auto exit = parseOrExit(parser, arguments, 1))
        return *exit;

    const QString path = parser.positionalArguments().at(0);
    const LoadedPicture loaded = loadPictureFile(path);
    if (loaded.image.isNull())
        return fail(QStringLiteral("cannot load %1: %2").arg(path, loaded.problem));
    const WorkingPicture picture = fromImage(loaded.image);
    WorkingState state;
    startUp(state);
    const std::string caption = readSignatureCaption(picture, state, parser.isSet(compand));
    QTextStream(stdout) << QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())) << '\n';
    return 0;
}

} // namespace tonobild::cli
