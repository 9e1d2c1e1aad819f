// tonobild-cli run as a user runs it, against the reference files.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "cli/sound_program.h"
#include "picture/picture_files.h"
#include "receiver/recordings.h"
#include "support/picture_data.h"

using namespace tonobild;
using namespace tonobild::recordingtest;
using testdata::dataFile;
using testdata::pictureOf;
using testdata::writeBytes;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class CliTest : public ::testing::Test {
protected:
    CliRun cli(const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_HOME", folder.filePath("config"));
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(TONOBILD_CLI), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    QString temp(const char* name) { return folder.filePath(name); }

    QTemporaryDir folder;
};

} // namespace

TEST_F(CliTest, EncodeWritesTheReferenceStreamAndAWavThatSoxReads)
{
    // The preparation stamps " AKLM456" exactly as the signed reference picture carries it.
    const CliRun run = cli({"encode", "--signature", "KLM456", dataFile("gradient160.bmp"), temp("t.wav")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("71542 groups, 286168 bytes, 25.96 seconds"));
    EXPECT_EQ(testdata::readBytes(temp("t.RAW").toStdString()),
              testdata::readBytes(testdata::dataPath("gradient160-signed.RAW")));

    const QString sox = QStandardPaths::findExecutable("sox");
    if (sox.isEmpty())
        GTEST_SKIP() << "sox is not installed";
    QProcess info;
    info.start(sox, {"--i", temp("t.wav")});
    ASSERT_TRUE(info.waitForFinished());
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QRegularExpression("Channels\\s*: 1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QRegularExpression("Sample Rate\\s*: 11025")));
    EXPECT_TRUE(text.contains(QRegularExpression("Precision\\s*: 8-bit")));
    EXPECT_TRUE(text.contains("00:00:25.95") || text.contains("00:00:25.96")) << text.toStdString();
    EXPECT_TRUE(text.contains("286168 samples"));
    EXPECT_TRUE(text.contains("Unsigned Integer PCM"));
}

TEST_F(CliTest, DecodeWithItsDefaultsGivesTheReferencePictureAndReadOut)
{
    const CliRun run = cli({"decode", dataFile("gradient160-signed.RAW"), temp("out.bmp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(pictureOf(temp("out.bmp")), pictureOf(dataFile("gradient160-signed.decode-level3.bmp")));
    EXPECT_TRUE(run.out.contains("Signature: Class of transmitter: Amateur; Identification: KLM456"));

    const CliRun direct = cli({"decode", "--no-hsync", "--no-lic", "--xshift", "21", "--yshift", "86",
                            dataFile("gradient160-signed.RAW"), temp("direct.bmp")});
    ASSERT_EQ(direct.exitCode, 0);
    EXPECT_EQ(pictureOf(temp("direct.bmp")), pictureOf(dataFile("gradient160-signed.decode-level3-direct-x21-y86.bmp")));
}

TEST_F(CliTest, ModeTakesTheStoredPresetAndOptionsOverrideIt)
{
    QDir().mkpath(temp("config/Tonobild 3"));
    QFile ini(temp("config/Tonobild 3/Tonobild 3.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[TAPE]\no1=1\no6=1\no14=1\no24=1\nc1=1\nc3=1\nc4=1\nc5=1\n");
    ini.close();
    // The TAPE preset decodes at level 2 (black); --level 3 overrides it.
    const CliRun tape = cli({"decode", "--mode", "tape", dataFile("gradient160-signed.RAW"), temp("tape.bmp")});
    ASSERT_EQ(tape.exitCode, 0) << tape.err.toStdString();
    EXPECT_EQ(pictureOf(temp("tape.bmp")), pictureOf(dataFile("gradient160-signed.decode-level2-startup.bmp")));
    const CliRun level3 = cli({"decode", "--mode", "TAPE", "--level", "3", dataFile("gradient160-signed.RAW"), temp("t3.bmp")});
    ASSERT_EQ(level3.exitCode, 0);
    EXPECT_EQ(pictureOf(temp("t3.bmp")), pictureOf(dataFile("gradient160-signed.decode-level3.bmp")));

    const CliRun fm = cli({"decode", "--mode", "FM", dataFile("gradient160-signed.RAW"), temp("fm.bmp")});
    EXPECT_NE(fm.exitCode, 0);
    EXPECT_TRUE(fm.err.contains("FM preset selects no resolution"));
}

TEST_F(CliTest, DigitalCodingAndSignatureCommandsMatchTheReferences)
{
    ASSERT_EQ(cli({"digital-encode", dataFile("gradient160.bmp"), temp("coded.bmp")}).exitCode, 0);
    EXPECT_EQ(pictureOf(temp("coded.bmp")), pictureOf(dataFile("gradient160.digital-encode.bmp")));
    ASSERT_EQ(cli({"digital-decode", temp("coded.bmp"), temp("decoded.bmp")}).exitCode, 0);
    EXPECT_EQ(pictureOf(temp("decoded.bmp")), pictureOf(dataFile("gradient160.digital-encode.digital-decode.bmp")));
    const CliRun signature = cli({"signature", dataFile("gradient160-signed.bmp")});
    EXPECT_TRUE(signature.out.contains("Amateur")) << signature.out.toStdString();
    EXPECT_TRUE(signature.out.contains("KLM456"));
}

TEST_F(CliTest, ErrorsGiveAOneLineReasonAndCreateNothing)
{
    const CliRun missing = cli({"decode", temp("missing.wav"), temp("out.bmp")});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_TRUE(missing.err.contains("missing.wav"));
    EXPECT_EQ(missing.err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(temp("missing.wav")));
    EXPECT_FALSE(QFile::exists(temp("out.bmp")));

    const CliRun badPicture = cli({"encode", temp("nothing.bmp"), temp("t.wav")});
    EXPECT_NE(badPicture.exitCode, 0);
    EXPECT_TRUE(badPicture.err.contains("nothing.bmp"));
    EXPECT_FALSE(QFile::exists(temp("t.wav")));

    EXPECT_NE(cli({"encode", "--resolution", "100x100", dataFile("gradient160.bmp"), temp("t.wav")}).exitCode, 0);
    EXPECT_NE(cli({"frobnicate"}).exitCode, 0);
    EXPECT_EQ(cli({"--help"}).exitCode, 0);

    // Keying options that do not make a rig: said before anything is opened or played.
    const std::pair<QStringList, const char*> keying[] = {
        {{"--ptt", "rts"}, "--ptt, --lead and --tail need --rig-model and --rig-port"},
        {{"--rig-model", "2"}, "--rig-model and --rig-port go together"},
        {{"--rig-model", "two", "--rig-port", "localhost:4532"}, "--rig-model \"two\" is not a rig model number"},
        {{"--rig-model", "2", "--rig-port", "localhost:4532", "--ptt", "vox"}, "--ptt \"vox\" is not one of"},
        {{"--rig-model", "2", "--rig-port", "localhost:4532", "--tail", "11"}, "take seconds from 0 to 10"},
    };
    for (const auto& [options, reason] : keying) {
        const CliRun run = cli(QStringList{"play"} + options + QStringList{dataFile("gradient160.bmp")});
        EXPECT_EQ(run.exitCode, 1) << options.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(reason)) << run.err.toStdString();
        EXPECT_FALSE(run.out.contains("Playing"));
    }
}

TEST_F(CliTest, WholeRoadFromATestCardToTheReceivedPicture)
{
    ASSERT_EQ(cli({"testcards", temp("cards")}).exitCode, 0);
    const QString card = temp("cards/BARS160.BMP");
    ASSERT_TRUE(QFile::exists(card));
    const CliRun sent = cli({"encode", "--half-x", "--slow", "--signature", "DL1ABC", card, temp("road.wav")});
    ASSERT_EQ(sent.exitCode, 0) << sent.err.toStdString();
    EXPECT_TRUE(sent.out.contains("at 8000 samples per second"));
    const CliRun received = cli({"decode", "--half-x", temp("road.wav"), temp("road.bmp")});
    ASSERT_EQ(received.exitCode, 0) << received.err.toStdString();
    EXPECT_TRUE(received.out.contains("Signature: Class of transmitter: Amateur; Identification: DL1ABC"));
    // Group k comes back at columns 2k and 2k + 1; below the signature strip, the card itself.
    const WorkingPicture original = pictureOf(card);
    const WorkingPicture decoded = pictureOf(temp("road.bmp"));
    for (int y = 10; y < 120; ++y)
        for (int x = 30; x <= 134; x += 2)
            ASSERT_EQ(decoded.colour(x, y), original.colour(x, y)) << x << "," << y;
}

// A codeword longer than the transmission carries is cut to what a receiver reads back whole, and told.
TEST_F(CliTest, ACodewordTooLongForTheResolutionIsCutToWhatComesBackAndTold)
{
    ASSERT_EQ(cli({"testcards", temp("cards")}).exitCode, 0);
    const QString fits = QString(51, 'K') + "Y";
    const QString tooLong = fits + "Z";
    const CliRun whole = cli({"encode", "--signature", fits, temp("cards/BARS160.BMP"), temp("fits.wav")});
    ASSERT_EQ(whole.exitCode, 0) << whole.err.toStdString();
    EXPECT_EQ(whole.err, "");
    const CliRun cut = cli({"encode", "--signature", tooLong, temp("cards/BARS160.BMP"), temp("cut.wav")});
    ASSERT_EQ(cut.exitCode, 0);
    EXPECT_EQ(cut.err, "tonobild-cli: warning: At 160 x 120 a receiver reads back 52 characters of the codeword. "
                       "This one has 53: \"Z\" will be cut.\n");

    for (const char* name : {"fits", "cut"}) {
        const QString wav = temp(name) + ".wav";
        EXPECT_TRUE(cli({"decode", wav, temp(name) + ".bmp"}).out.contains("Identification: " + fits + "\n")) << name;
    }
}

namespace {

// The options of "decode" that name a sender's settings, worked out by hand.
QStringList optionsByHand(const Sender& sender)
{
    QStringList options{"--resolution", QStringLiteral("%1x%2").arg(sender.width).arg(sender.height)};
    if (sender.halfX)
        options << "--half-x";
    if (sender.mono)
        options << "--mono";
    if (sender.compand)
        options << "--compand";
    return options;
}

} // namespace

// Every sender, each recorded one of the five ways in turn: detect names its
// settings, and decode --detect paints what decode with them given by hand paints.
TEST_F(CliTest, DetectNamesTheSendersSettingsAndDecodeDetectDecodesWithThem)
{
    int turn = 0;
    for (const Sender& sender : allSenders()) {
        const Recording recording = kRecordings[turn++ % 5];
        SCOPED_TRACE(sender.name() + " " + recordingName(recording));
        const QString audio = temp("sent.wav");
        writeBytes(audio, record(transmit(sender), recording));

        const CliRun detected = cli({"detect", audio});
        ASSERT_EQ(detected.exitCode, 0) << detected.err.toStdString();
        QStringList lines = optionsByHand(sender);
        lines[0] += " " + lines.takeAt(1);
        EXPECT_EQ(detected.out, lines.join('\n') + "\n");
        EXPECT_TRUE(detected.err.startsWith(audio + ": certain, ")) << detected.err.toStdString();

        ASSERT_EQ(cli(QStringList{"decode", "--detect", audio, temp("detected.bmp")}).exitCode, 0);
        const QStringList byHand = QStringList{"decode"} + optionsByHand(sender) + QStringList{audio, temp("byhand.bmp")};
        ASSERT_EQ(cli(byHand).exitCode, 0);
        EXPECT_EQ(pictureOf(temp("detected.bmp")), pictureOf(temp("byhand.bmp")));
    }
}

TEST_F(CliTest, OptionsBesideDetectOverrideWhatItFinds)
{
    ASSERT_EQ(cli({"testcards", temp("cards")}).exitCode, 0);
    ASSERT_EQ(cli({"encode", "--mono", temp("cards/FACE320.BMP"), temp("face.wav")}).exitCode, 0);
    EXPECT_EQ(cli({"detect", temp("face.wav")}).out, "--resolution 320x240\n--mono\n");
    const CliRun found = cli({"decode", "--detect", temp("face.wav"), temp("found.bmp")});
    EXPECT_TRUE(found.out.startsWith("Detected --resolution 320x240 --mono (certain)\n")) << found.out.toStdString();
    EXPECT_TRUE(found.out.contains("into " + temp("found.bmp") + ", 320x240"));
    const CliRun given = cli({"decode", "--detect", "--resolution", "160x120", temp("face.wav"), temp("given.bmp")});
    EXPECT_TRUE(given.out.contains("into " + temp("given.bmp") + ", 160x120")) << given.out.toStdString();
    EXPECT_EQ(pictureOf(temp("given.bmp")).width(), 160);
}

TEST_F(CliTest, DetectNamesTheFileAndWhyWhenItHoldsNoTransmission)
{
    writeBytes(temp("empty.wav"), {});
    writeBytes(temp("silence.wav"), std::vector<std::uint8_t>(100000, 128));
    writeBytes(temp("noise.wav"), randomBytes(100000, 3));
    for (const char* name : {"empty.wav", "silence.wav", "noise.wav"}) {
        const CliRun run = cli({"detect", temp(name)});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.startsWith("tonobild-cli: " + temp(name) + ": no transmission found: "))
            << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), 1);
        const CliRun decode = cli({"decode", "--detect", temp(name), temp("out.bmp")});
        EXPECT_EQ(decode.exitCode, 1);
        EXPECT_FALSE(QFile::exists(temp("out.bmp")));
    }
}

// The player's 44100 hold of four, recorded by a sound card at 48000 (sox's resampler).
TEST_F(CliTest, ConditionedDecodeOfASoundCardRecordingGivesTheReferencePicture)
{
    const QString sox = QStandardPaths::findExecutable("sox");
    if (sox.isEmpty())
        GTEST_SKIP() << "sox is not installed";
    writeBytes(temp("held.raw"), testdata::held(testdata::readBytes(testdata::dataPath("gradient160-signed.RAW")), 4));
    QProcess resample;
    resample.start(sox, {"-t", "raw", "-r", "44100", "-e", "unsigned", "-b", "8", "-c", "1", temp("held.raw"), "-b",
                         "16", temp("card.wav"), "rate", "48000"});
    ASSERT_TRUE(resample.waitForFinished());
    ASSERT_EQ(resample.exitCode(), 0) << resample.readAllStandardError().toStdString();

    const CliRun plain = cli({"decode", temp("card.wav"), temp("plain.bmp")});
    EXPECT_FALSE(plain.out.contains("KLM456"));
    const CliRun run = cli({"decode", "--condition", "--detect", temp("card.wav"), temp("card.bmp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.startsWith("Conditioned: WAV at 48000 Hz, bias 0 levels, 4.3537 samples per transmitted "
                                   "sample\nDetected --resolution 160x120 (certain)\n"))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("Identification: KLM456"));
    EXPECT_EQ(pictureOf(temp("card.bmp")), pictureOf(dataFile("gradient160-signed.decode-level3.bmp")));

    // The conditioned samples alone are the stream that was sent, but for the resampler's first and last.
    ASSERT_EQ(cli({"condition", temp("card.wav"), temp("card.RAW")}).exitCode, 0);
    const auto sent = testdata::readBytes(testdata::dataPath("gradient160-signed.RAW"));
    const auto back = testdata::readBytes(temp("card.RAW").toStdString());
    ASSERT_EQ(back.size(), sent.size());
    EXPECT_TRUE(std::equal(sent.begin() + 2, sent.end() - 2, back.begin() + 2));
}

// play, record and listen run in tonobild-cli-sound: the same arguments, messages and exit codes.
TEST_F(CliTest, PlayRecordAndListenAreHandedOverWithTheirArguments)
{
    const std::pair<QStringList, QString> refused[] = {
        {{"record", "--seconds", "4000", temp("r.wav")}, "--seconds needs a length between 0 and 3600 seconds"},
        {{"play"}, "expected 1 file arguments; see --help"},
        {{"listen", "--seconds", "1"}, "--gallery needs the folder the pictures are kept in"}};
    for (const auto& [arguments, reason] : refused) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 1) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, "tonobild-cli: " + reason + "\n");
    }
    EXPECT_FALSE(QFile::exists(temp("r.wav")));

    // The usage names the program the operator started, not the one it handed over to.
    const CliRun help = cli({"record", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: %1 [options] FILE\n").arg(TONOBILD_CLI)))
        << help.out.toStdString();
    EXPECT_TRUE(help.out.contains("--seconds <N>"));
}

// The sound program is looked for where it is installed, then beside tonobild-cli.
TEST_F(CliTest, SoundProgramIsFoundInstalledOrBesideTheCommandLine)
{
    const auto program = [](const QString& path) {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    const QString bin = temp("usr/bin");
    const QString installedPath = "../libexec/tonobild/tonobild-cli-sound";
    QDir().mkpath(bin);
    EXPECT_EQ(cli::soundProgramIn(bin, installedPath), temp("usr/libexec/tonobild/tonobild-cli-sound"));
    program(temp("usr/bin/tonobild-cli-sound"));
    EXPECT_EQ(cli::soundProgramIn(bin, installedPath), temp("usr/bin/tonobild-cli-sound"));
    program(temp("usr/libexec/tonobild/tonobild-cli-sound"));
    EXPECT_EQ(cli::soundProgramIn(bin, installedPath), temp("usr/libexec/tonobild/tonobild-cli-sound"));
}
