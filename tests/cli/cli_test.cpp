// tonobild-cli run as a user runs it, against the reference files.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "picture/picture_files.h"
#include "support/test_data.h"

using namespace tonobild;

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
    QString data(const char* name) { return QString::fromStdString(testdata::dataPath(name)); }
    QString temp(const char* name) { return folder.filePath(name); }
    WorkingPicture picture(const QString& path) { return fromImage(loadPictureFile(path).image); }

    QTemporaryDir folder;
};

} // namespace

TEST_F(CliTest, EncodeWritesTheReferenceStreamAndAWavThatSoxReads)
{
    // The preparation stamps " AKLM456" exactly as the signed reference picture carries it.
    const CliRun run = cli({"encode", "--signature", "KLM456", data("gradient160.bmp"), temp("t.wav")});
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
    const CliRun run = cli({"decode", data("gradient160-signed.RAW"), temp("out.bmp")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(picture(temp("out.bmp")), picture(data("gradient160-signed.decode-level3.bmp")));
    EXPECT_TRUE(run.out.contains("Signature: Class of transmitter: Amateur; Identification: KLM456"));

    const CliRun direct = cli({"decode", "--no-hsync", "--no-lic", "--xshift", "21", "--yshift", "86",
                            data("gradient160-signed.RAW"), temp("direct.bmp")});
    ASSERT_EQ(direct.exitCode, 0);
    EXPECT_EQ(picture(temp("direct.bmp")), picture(data("gradient160-signed.decode-level3-direct-x21-y86.bmp")));
}

TEST_F(CliTest, ModeTakesTheStoredPresetAndOptionsOverrideIt)
{
    QDir().mkpath(temp("config/Tonobild 3"));
    QFile ini(temp("config/Tonobild 3/Tonobild 3.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[TAPE]\no1=1\no6=1\no14=1\no24=1\nc1=1\nc3=1\nc4=1\nc5=1\n");
    ini.close();
    // The TAPE preset decodes at level 2 (black); --level 3 overrides it.
    const CliRun tape = cli({"decode", "--mode", "tape", data("gradient160-signed.RAW"), temp("tape.bmp")});
    ASSERT_EQ(tape.exitCode, 0) << tape.err.toStdString();
    EXPECT_EQ(picture(temp("tape.bmp")), picture(data("gradient160-signed.decode-level2-startup.bmp")));
    const CliRun level3 = cli({"decode", "--mode", "TAPE", "--level", "3", data("gradient160-signed.RAW"), temp("t3.bmp")});
    ASSERT_EQ(level3.exitCode, 0);
    EXPECT_EQ(picture(temp("t3.bmp")), picture(data("gradient160-signed.decode-level3.bmp")));

    const CliRun fm = cli({"decode", "--mode", "FM", data("gradient160-signed.RAW"), temp("fm.bmp")});
    EXPECT_NE(fm.exitCode, 0);
    EXPECT_TRUE(fm.err.contains("FM preset selects no resolution"));
}

TEST_F(CliTest, DigitalCodingAndSignatureCommandsMatchTheReferences)
{
    ASSERT_EQ(cli({"digital-encode", data("gradient160.bmp"), temp("coded.bmp")}).exitCode, 0);
    EXPECT_EQ(picture(temp("coded.bmp")), picture(data("gradient160.digital-encode.bmp")));
    ASSERT_EQ(cli({"digital-decode", temp("coded.bmp"), temp("decoded.bmp")}).exitCode, 0);
    EXPECT_EQ(picture(temp("decoded.bmp")), picture(data("gradient160.digital-encode.digital-decode.bmp")));
    const CliRun signature = cli({"signature", data("gradient160-signed.bmp")});
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

    EXPECT_NE(cli({"encode", "--resolution", "100x100", data("gradient160.bmp"), temp("t.wav")}).exitCode, 0);
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
        const CliRun run = cli(QStringList{"play"} + options + QStringList{data("gradient160.bmp")});
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
    const WorkingPicture original = picture(card);
    const WorkingPicture decoded = picture(temp("road.bmp"));
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
