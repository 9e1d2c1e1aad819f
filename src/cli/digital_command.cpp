// tonobild-cli digital-encode IN OUT and digital-decode IN OUT: the window's
// "Digital Encode" and "Digital Decode" on picture files. The coding alone by
// default; --prepare adds the window's preparation that follows it.
#include <QTextStream>

#include "cli/cli_support.h"
#include "cli/commands.h"
#include "cli/picture_io.h"
#include "decoder/decode_option_table.h"
#include "digital/digital_coding.h"
#include "signature/preparation.h"
#include "signature/signature_text.h"

namespace tonobild::cli {

namespace {

using Coding = void (*)(WorkingPicture&);

int runDigitalCommand(const QStringList& arguments, const QString& description, Coding coding)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.addPositionalArgument(QStringLiteral("IN"), QStringLiteral("picture file to read"));
    parser.addPositionalArgument(QStringLiteral("OUT"), QStringLiteral("picture file to write (BMP, or PNG / JPEG by name)"));
    const QCommandLineOption prepare(QStringLiteral("prepare"),
                                     QStringLiteral("prepare the result as the window does: choose the resolution "
                                                    "from its width and stamp the signature unless one is found"));
    const QCommandLineOption resolution(QStringLiteral("resolution"),
                                        QStringLiteral("with --prepare: the resolution option selected before "
                                                       "(160x120 default, 320x240 or 640x480)"),
                                        QStringLiteral("WxH"), QStringLiteral("160x120"));
    const QCommandLineOption signature(QStringLiteral("signature"),
                                       QStringLiteral("with --prepare: stamp the Amateur signature with this codeword"),
                                       QStringLiteral("CODEWORD"));
    const QCommandLineOption compand(QStringLiteral("compand"),
                                     QStringLiteral("with --prepare: read the signature cells with \"Compand\""));
    parser.addOptions({prepare, resolution, signature, compand});
    if (auto exit = parseOrExit(parser, arguments, 2))
        return *exit;

    const std::optional<int> width = parseSize(parser.value(resolution).toStdString());
    if (!width)
        return fail(QStringLiteral("unknown resolution \"%1\"").arg(parser.value(resolution)));
    std::optional<WorkingState> started = startState(parser, signature);
    if (!started)
        return 1;
    WorkingState& state = *started;
    const QString inPath = parser.positionalArguments().at(0);
    const QString outPath = parser.positionalArguments().at(1);

    std::optional<WorkingPicture> loaded = loadPicture(inPath);
    if (!loaded)
        return 1;
    WorkingPicture& picture = *loaded;
    coding(picture);
    QString caption;
    if (parser.isSet(prepare)) {
        Resolution selected = *resolutionOfWidth(*width);
        const std::string readOut = p1updat(picture, state, selected, parser.isSet(compand));
        caption = QString::fromLatin1(readOut.data(), static_cast<qsizetype>(readOut.size()));
    }

    const QString problem = savePicture(picture, outPath);
    if (!problem.isEmpty())
        return fail(QStringLiteral("cannot write %1: %2").arg(outPath, problem));
    QTextStream out(stdout);
    out << "Wrote " << outPath << ": " << picture.width() << " x " << picture.height() << '\n';
    if (parser.isSet(prepare))
        out << "Signature read-out: " << caption << '\n';
    return 0;
}

} // namespace

int digitalEncodeCommand(const QStringList& arguments)
{
    return runDigitalCommand(
        arguments,
        QStringLiteral("Codes a picture file digitally: every colour spread over a pixel pair (\"Digital Encode\")."),
        digitalEncode);
}

int digitalDecodeCommand(const QStringList& arguments)
{
    return runDigitalCommand(
        arguments,
        QStringLiteral("Decodes a digitally coded picture file back into colours (\"Digital Decode\")."),
        digitalDecode);
}

} // namespace tonobild::cli
