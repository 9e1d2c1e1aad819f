// tonobild-cli run as a user runs it, against the reference files.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QtEndian>
#include <QTemporaryDir>
#include <cmath>
#include <tuple>

#include "cli/helper_program.h"
#include "soundfile/recording.h"
#include "support/recordings.h"
#include "support/picture_data.h"

using namespace tonobild;
using namespace tonobild::recordingtest;
using namespace tonobild::testdata;

namespace {

struct CliRun { int exitCode = -1; QString out, err; QByteArray bytesOut; };

const QString kSigned = dataFile("gradient160-signed.RAW");

struct CliTest : ::testing::Test {
    // The programs run with a settings folder of the test's own.
    void SetUp() override { qputenv("XDG_CONFIG_HOME", folder.filePath("config").toUtf8()); }
    CliRun cli(const QStringList& arguments, const QString& input = {})
    {
        return run(QStringLiteral(TONOBILD_CLI), arguments, input);
    }
    // With `input`, the file is the program's standard input.
    CliRun run(const QString& program, const QStringList& arguments, const QString& input = {})
    {
        QProcess process;
        if (!input.isEmpty())
            process.setStandardInputFile(input);
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        const QByteArray out = process.readAllStandardOutput();
        return {process.exitCode(), QString::fromUtf8(out), QString::fromUtf8(process.readAllStandardError()), out};
    }
    QString temp(const QString& name) { return folder.filePath(name); }

    QTemporaryDir folder;
};

} // namespace

// Encode writes the reference stream; each other command with its options the reference picture.
TEST_F(CliTest, CommandsAndTheirOptionsGiveTheReferenceStreamAndPictures)
{
    // The preparation stamps " AKLM456" exactly as the signed reference picture carries it.
    const CliRun encoded = cli({"encode", "--signature", "KLM456", dataFile("gradient160.bmp"), temp("t.wav")});
    ASSERT_EQ(encoded.exitCode, 0) << encoded.err.toStdString();
    EXPECT_TRUE(encoded.out.contains("71542 groups, 286168 bytes, 25.96 seconds"));
    const auto sent = readBytes(dataPath("gradient160-signed.RAW"));
    EXPECT_EQ(readBytes(temp("t.RAW").toStdString()), sent);

    const std::string ini = "[TAPE]\no1=1\no6=1\no14=1\no24=1\nc1=1\nc3=1\nc4=1\nc5=1\n";
    ASSERT_TRUE(QDir().mkpath(temp("config/Tonobild 3")));
    writeBytes(temp("config/Tonobild 3/Tonobild 3.ini"), {ini.begin(), ini.end()});
    // A PNG is written by tonobild-cli-pictures.
    const struct { QStringList given; const char* reference; const char* out; const char* to = "out.bmp"; } cases[] = {
        {{"decode", kSigned}, "gradient160-signed.decode-level3.bmp",
         "Signature: Class of transmitter: Amateur; Identification: KLM456"},
        {{"decode", kSigned}, "gradient160-signed.decode-level3.bmp", "", "out.png"},
        // The TAPE preset decodes at level 2 (black); --level 3 overrides it.
        {{"decode", "--mode", "tape", kSigned}, "gradient160-signed.decode-level2-startup.bmp", ""},
        {{"decode", "--mode", "TAPE", "--level", "3", kSigned}, "gradient160-signed.decode-level3.bmp", ""},
        {{"digital-encode", dataFile("gradient160.bmp")}, "gradient160.digital-encode.bmp", ""},
        {{"digital-decode", dataFile("gradient160.digital-encode.bmp")},
         "gradient160.digital-encode.digital-decode.bmp", ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given.join(' ').toStdString());
        QFile::remove(temp(c.to));
        const CliRun run = cli(c.given + QStringList{temp(c.to)});
        ASSERT_TRUE(run.exitCode == 0 && run.out.contains(c.out)) << run.err.toStdString() << run.out.toStdString();
        EXPECT_EQ(pictureOf(temp(c.to)), pictureOf(dataFile(c.reference)));
    }
    const QString signature = cli({"signature", dataFile("gradient160-signed.bmp")}).out;
    EXPECT_TRUE(signature.contains("Amateur") && signature.contains("KLM456")) << signature.toStdString();

    // A picture that is no plain bitmap is encoded by tonobild-cli-pictures: the same stream.
    ASSERT_TRUE(QImage(dataFile("gradient160.bmp")).save(temp("gradient160.png")));
    ASSERT_EQ(cli({"encode", "--signature", "KLM456", temp("gradient160.png"), temp("p.wav")}).exitCode, 0);
    EXPECT_EQ(readBytes(temp("p.RAW").toStdString()), sent);
}

// Refusals: the exit code 1, one line naming the reason, and nothing created or played.
TEST_F(CliTest, RefusalsGiveTheirExitCodeAndAOneLineReasonAndCreateNothing)
{
    writeBytes(temp("silence.wav"), std::vector<std::uint8_t>(100000, 128));
    writeBytes(temp("empty.wav"), {});
    const QString card = dataFile("gradient160.bmp");
    const struct { QStringList arguments; QString reason; } cases[] = {
        {{"decode", temp("missing.wav"), temp("out.bmp")}, "missing.wav"},
        {{"encode", temp("nothing.bmp"), temp("t.wav")}, "nothing.bmp"},
        {{"encode", "--resolution", "100x100", card, temp("t.wav")}, "unknown resolution \"100x100\""},
        {{"decode", "--mode", "FM", kSigned, temp("out.bmp")}, "the FM preset selects no resolution"},
        {{"frobnicate"}, "unknown command \"frobnicate\"; see --help"},
        // A file that holds no transmission is named, and why (what the detector finds in
        // nothing, silence and noise is SettingsDetector.FindsNoTransmissionInNothingSilenceOrRandomBytes).
        {{"detect", temp("silence.wav")}, temp("silence.wav") + ": no transmission found: "},
        {{"condition", temp("empty.wav"), temp("c.RAW")},
         "cannot condition " + temp("empty.wav") + ": nothing in it could be read as transmitted samples"},
        // Keying options that do not make a rig: said before anything is opened or played.
        {{"play", "--ptt", "rts", card}, "--ptt, --lead and --tail need --rig-model and --rig-port"},
        {{"play", "--rig-model", "2", card}, "--rig-model and --rig-port go together"},
        // A value the rig settings refuse (which ones is TransmitterSettings') is named.
        {{"play", "--rig-model", "2", "--rig-port", "localhost:4532", "--tail", "11", card}, "take seconds from 0 to 10"},
        // play, record and listen run in tonobild-cli-sound: the same messages and exit codes.
        {{"record", "--seconds", "4000", temp("r.wav")}, "--seconds needs a length between 0 and 3600 seconds"},
        {{"play"}, "expected 1 file arguments; see --help"},
        {{"listen", "--seconds", "1"}, "--gallery needs the folder the pictures are kept in"},
        // A gallery that takes no pictures is said before anything is heard.
        {{"listen", "--gallery", temp("silence.wav") + "/gallery", "--seconds", "1"},
         "The received pictures could not be kept: cannot create the gallery folder " + temp("silence.wav") + "/gallery"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const CliRun run = cli(c.arguments);
        EXPECT_EQ(std::tuple(run.exitCode, run.err.count('\n'), run.out), std::tuple(1, qsizetype{1}, QString()));
        EXPECT_TRUE(run.err.startsWith("tonobild-cli: ") && run.err.contains(c.reason)) << run.err.toStdString();
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), (QStringList{"empty.wav", "silence.wav"}));
    // The usage names the program the operator started, not the one it handed over to.
    EXPECT_TRUE(cli({"record", "--help"}).out.startsWith(QStringLiteral("Usage: %1 [options] FILE\n").arg(TONOBILD_CLI)));
}

// --half-x and --slow reach the encoder, --half-x the decoder: the signature reads back only
// when both ends halve alike (where the columns land is the window's whole road). A codeword
// longer than a receiver reads back whole is cut, and told.
TEST_F(CliTest, WholeRoadFromATestCardAndACodewordCutToWhatComesBack)
{
    ASSERT_EQ(cli({"testcards", temp("cards")}).exitCode, 0);
    const QString card = temp("cards/BARS160.BMP");
    const CliRun sent = cli({"encode", "--half-x", "--slow", "--signature", "DL1ABC", card, temp("road.wav")});
    ASSERT_TRUE(sent.exitCode == 0 && sent.out.contains("at 8000 samples per second")) << sent.err.toStdString();
    EXPECT_TRUE(cli({"decode", "--half-x", temp("road.wav"), temp("road.bmp")}).out.contains("Identification: DL1ABC"));

    // 52 characters come back whole, without a warning; of 53 the last is cut, and told.
    const QString fits = QString(51, 'K') + "Y";
    const QString cut = "tonobild-cli: warning: At 160 x 120 a receiver reads back 52 characters of the codeword. "
                        "This one has 53: \"Z\" will be cut.\n";
    for (const auto& [codeword, warning] : {std::pair{fits, QString()}, {fits + "Z", cut}}) {
        const QString wav = temp(QString::number(codeword.size()) + ".wav");
        const CliRun encoded = cli({"encode", "--signature", codeword, card, wav});
        EXPECT_EQ(std::tuple(encoded.exitCode, encoded.err), std::tuple(0, warning));
        EXPECT_TRUE(cli({"decode", wav, wav + ".bmp"}).out.contains("Identification: " + fits + "\n")) << codeword.size();
    }
}

// A sender with every setting other than the default, recorded behind the encoder's WAV header:
// detect names its settings, one option a line. Every sender from every recording is
// EverySender.IsNamedWithCertaintyFromEveryRecording. Held four times in a WAV at 44100, as a
// sound card records it, decode --condition --detect names the same ones and decodes at their size.
TEST_F(CliTest, DetectNamesTheSendersSettingsAndDecodeDetectDecodesWithThemAlsoFromAConditionedRecording)
{
    const auto stream = transmit({320, 240, true, true, true});
    const QString audio = writeBytes(temp("sent.wav"), record(stream, recordingtest::Recording::Wav));
    const CliRun detected = cli({"detect", audio});
    EXPECT_EQ(std::tuple(detected.exitCode, detected.out, detected.err.startsWith(audio + ": certain, ")),
              std::tuple(0, QString("--resolution 320x240\n--half-x\n--mono\n--compand\n"), true))
        << detected.err.toStdString();
    const auto card = held(stream, 4);
    writeBytes(temp("card.wav"), wavBytes(1, 1, 44100, 8, card, static_cast<std::uint32_t>(card.size())));
    const CliRun decoded = cli({"decode", "--condition", "--detect", temp("card.wav"), temp("card.bmp")});
    EXPECT_TRUE(decoded.out.startsWith("Conditioned: WAV at 44100 Hz, bias 0 levels, 4.0000 samples per transmitted "
                                       "sample\nDetected --resolution 320x240 --half-x --mono --compand (certain)\n") &&
                decoded.out.contains("card.bmp, 320x240\n")) << decoded.out.toStdString() << decoded.err.toStdString();
}

// The picture's peak signal-to-noise ratio against another in dB over the three colours.
double psnr(const WorkingPicture& a, const WorkingPicture& b)
{
    double squares = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            for (const int shift : {0, 8, 16}) {
                const int d = ((a.colour(x, y) >> shift) & 0xFF) - ((b.colour(x, y) >> shift) & 0xFF);
                squares += d * d;
            }
    const double mean = squares / (3.0 * a.width() * a.height());
    return mean == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mean);
}

// A transmission saved as MP3 at 128 kbit/s, as FLAC and as OGG, from what the station's player sends
// (every sample held four times at 44100), decodes with --condition and its signature reads back; detect
// --condition names its settings. "-" reads a recording from standard input and writes a RAW or WAV to
// standard output.
TEST_F(CliTest, RecordingsOfEveryKindDecodeWithConditionAndADashStandsForStandardInputOrOutput)
{
    const auto stream = readBytes(dataPath("gradient160-signed.RAW"));
    std::vector<float> player;
    for (const std::uint8_t s : held(stream, 4))
        player.push_back((s - 128.0F) / 128.0F);
    const WorkingPicture expected = reference("gradient160-signed.decode-level3.bmp");
    // Measured: MP3 36.3 dB, OGG 26.0 dB; FLAC loses nothing.
    for (const auto& [name, least] : {std::pair{"t.mp3", 33.0}, {"t.flac", 99.0}, {"t.ogg", 23.0}}) {
        SCOPED_TRACE(name);
        writeRecording(temp(name).toStdString(), player, 44100);
        const CliRun decoded = cli({"decode", "--condition", temp(name), temp("out.bmp")});
        EXPECT_TRUE(decoded.exitCode == 0 && decoded.out.contains("Identification: KLM456")) << decoded.err.toStdString();
        EXPECT_GE(psnr(pictureOf(temp("out.bmp")), expected), least);
    }
    EXPECT_EQ(cli({"detect", "--condition", temp("t.ogg")}).out, "--resolution 160x120\n");
    EXPECT_EQ(cli({"condition", temp("t.flac"), "-"}).bytesOut, QByteArray(reinterpret_cast<const char*>(stream.data()),
                                                                           static_cast<qsizetype>(stream.size())));
    const CliRun piped = cli({"decode", "-", temp("piped.bmp")}, writeBytes(temp("sent.wav"), record(stream, recordingtest::Recording::Wav)));
    EXPECT_TRUE(piped.out.contains("Identification: KLM456"));
    EXPECT_EQ(pictureOf(temp("piped.bmp")), expected);
    ASSERT_EQ(cli({"encode", "--signature", "KLM456", dataFile("gradient160.bmp"), temp("e.wav")}).exitCode, 0);
    EXPECT_EQ(cli({"encode", "--signature", "KLM456", dataFile("gradient160.bmp"), "-"}).bytesOut, fileBytes(temp("e.wav")));
}

// tonobild-cli itself links Qt Core alone, so that encode and decode of plain bitmaps start at once;
// the images and the sound live in its helper programs. A helper program is looked for where it is
// installed, then beside tonobild-cli.
TEST_F(CliTest, LinksQtCoreAloneAndFindsItsHelperProgramsInstalledOrBesideIt)
{
    const QString needed = run("readelf", {"--dynamic", TONOBILD_CLI}).out;
    EXPECT_TRUE(needed.contains("libQt6Core.so") && !needed.contains("libQt6Gui.so") &&
                !needed.contains("libQt6Multimedia.so")) << needed.toStdString();

    const QString bin = temp("usr/bin");
    EXPECT_EQ(cli::helperProgramIn(bin, "../libexec/tonobild", "tonobild-cli-sound"),
              temp("usr/libexec/tonobild/tonobild-cli-sound"));
    for (const char* program : {"usr/bin/tonobild-cli-sound", "usr/libexec/tonobild/tonobild-cli-sound"}) {
        QDir().mkpath(QFileInfo(temp(program)).path());
        EXPECT_TRUE(QFile::setPermissions(writeBytes(temp(program), {}), QFile::ReadOwner | QFile::ExeOwner));
        EXPECT_EQ(cli::helperProgramIn(bin, "../libexec/tonobild", "tonobild-cli-sound"), temp(program));
    }
}

// The standard modes: listed, sent with the options given, received with what
// was found, forced, set by hand, and a recording without one refused.
TEST_F(CliTest, StandardModesAreListedSentAndReceived)
{
    const QString modes = cli({"modes"}).out;
    EXPECT_TRUE(modes.contains(QRegularExpression("R36 +Robot 36 +VIS 8 +320x240 +36\\.9 s"))) << modes.toStdString();
    EXPECT_EQ(modes.count('\n'), 24);
    const CliRun sent = cli({"encode", "--standard", "robot-36", "--rate", "48000", "--fsk-id", "dl1abc",
                             dataFile("gradient160.bmp"), temp("r36.wav")});
    ASSERT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    // Header 910 ms, 240 lines of 150 ms, the identification's 9 characters of six 22 ms bits:
    // 38.098 s, 1828704 samples of two bytes.
    EXPECT_TRUE(sent.out.contains("240 lines of Robot 36, 3657408 bytes, 38.10 seconds at 48000")) << sent.out.toStdString();
    EXPECT_EQ(cli({"encode", "--standard", "R36", "--rate", "48000", "--fsk-id", "DL1ABC", dataFile("gradient160.bmp"), "-"})
                  .bytesOut,
              fileBytes(temp("r36.wav")));
    // A header on standard output is written before the samples: it announces exactly what follows,
    // also where the tone ends a sample past the length reckoned from the mode (PD 240 at 44100).
    const QByteArray piped = cli({"encode", "--standard", "PD240", dataFile("gradient160.bmp"), "-"}).bytesOut;
    ASSERT_GT(piped.size(), 44);
    EXPECT_EQ(std::pair(qFromLittleEndian<quint32>(piped.constData() + 4), qFromLittleEndian<quint32>(piped.constData() + 40)),
              std::pair(quint32(piped.size() - 8), quint32(piped.size() - 44)));
    const CliRun received = cli({"decode", "--standard", temp("r36.wav"), temp("r36.bmp")});
    ASSERT_EQ(received.exitCode, 0) << received.err.toStdString();
    EXPECT_TRUE(received.out.startsWith("Robot 36, VIS, +0 ppm, +0 Hz, FSK ID DL1ABC")) << received.out.toStdString();
    EXPECT_EQ(pictureOf(temp("r36.bmp")).width(), 320);
    const CliRun byHand = cli({"decode", "--standard-mode", "R36", "--ppm", "0", "--offset", "0", temp("r36.wav"),
                               temp("again.bmp")});
    EXPECT_TRUE(byHand.out.startsWith("Robot 36, VIS, +0 ppm, +0 Hz")) << byHand.out.toStdString();
    for (const auto& [given, said] :
         {std::pair{QStringList{"decode", "--standard", temp("missing.wav")}, "Cannot read"},
          {QStringList{"decode", "--standard", kSigned}, "no standard transmission found"},
          {QStringList{"decode", "--standard-mode", "M9", temp("r36.wav")}, "unknown mode \"M9\""},
          {QStringList{"decode", "--standard", "--ppm", "slow", temp("r36.wav")}, "--ppm takes a number"},
          {QStringList{"decode", "--standard", "--ppm", "inf", temp("r36.wav")}, "--ppm takes a number from -50000 to 50000"},
          {QStringList{"decode", "--standard", "--offset", "1e18", temp("r36.wav")}, "--offset takes a number from -1000"},
          {QStringList{"encode", "--standard", "M1", "--rate", "22050", dataFile("gradient160.bmp")}, "unknown rate"}}) {
        const CliRun run = cli(given + QStringList{temp("x.bmp")});
        EXPECT_TRUE(run.exitCode == 1 && run.err.contains(said)) << given.join(' ').toStdString() << ": " << run.err.toStdString();
    }
}
