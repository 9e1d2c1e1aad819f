// The receiving options of "decode": what they resolve to, and the text that
// names controls and settings as options, read back to the same values.
#include <gtest/gtest.h>

#include <tuple>

#include "cli/decode_options.h"
#include "receiver/gallery_names.h"

using namespace tonobild;
using namespace tonobild::cli;

namespace {

struct Resolved {
    std::optional<DecodeChoice> choice;
    QString error;
};

Resolved resolve(const QString& options, const DetectedSettings* detected = nullptr)
{
    QCommandLineParser parser;
    const DecodeOptions decodeOptions;
    decodeOptions.addTo(parser);
    QStringList arguments{QStringLiteral("decode")};
    if (!options.isEmpty())
        arguments += options.split(QLatin1Char(' '));
    EXPECT_TRUE(parser.parse(arguments)) << parser.errorText().toStdString();
    Resolved resolved;
    resolved.choice = decodeOptions.resolve(parser, detected, &resolved.error);
    return resolved;
}

QString optionsText(const DecoderControls& controls, const DecodeSettings& settings)
{
    return QString::fromStdString(decodeOptionsText(controls, settings));
}

// Every value a choice holds, to compare two choices at once.
auto valuesOf(const DecodeChoice& c)
{
    const DecoderControls& k = c.controls;
    const DecodeSettings& s = c.settings;
    return std::tuple{k.hsync, k.useLic, k.licLock, k.dynamicSync, k.idler, k.compand, k.third, k.licInset,
                      s.pictureWidth, s.pictureHeight, s.halfX, s.normlevel, s.syncOffset, s.syncLevel, s.xshift,
                      s.yshift, s.mono, c.size.width, c.size.height};
}

} // namespace

TEST(DecodeOptions, NoOptionsGiveTheStartUpControlsAtLevel3)
{
    const Resolved plain = resolve({});
    ASSERT_TRUE(plain.choice) << plain.error.toStdString();
    const DecodeChoice& c = *plain.choice;
    EXPECT_TRUE(c.controls.hsync && c.controls.useLic && c.controls.licLock && c.controls.dynamicSync);
    EXPECT_FALSE(c.controls.idler || c.controls.compand || c.controls.third);
    EXPECT_EQ(c.controls.licInset, 4);
    EXPECT_EQ(c.settings.pictureWidth, 160);
    EXPECT_EQ(c.settings.pictureHeight, 120);
    EXPECT_EQ(c.settings.normlevel, 3);
    EXPECT_EQ(c.settings.syncOffset, 16);
    EXPECT_EQ(c.settings.syncLevel, -32);
    EXPECT_FALSE(c.settings.halfX || c.settings.mono);
    EXPECT_EQ(optionsText(c.controls, c.settings), "--resolution 160x120 --level 3");
}

// Each case: the options given, and the text that names what they resolve to.
TEST(DecodeOptions, TheTextOfResolvedOptionsReadsBackToTheSameControls)
{
    const std::pair<QString, QString> cases[] = {
        {"--half-x --resolution 320x240 --compand", "--resolution 320x240 --level 3 --half-x --compand"},
        {"--level 2 --sync-offset 32 --lic-inset 8 --resolution 640x480 --mono",
         "--resolution 640x480 --level 2 --mono --sync-offset 32 --lic-inset 8"},
        {"--no-hsync --no-lic --xshift 21 --yshift -86", "--resolution 160x120 --level 3 --no-hsync --no-lic "
                                                         "--xshift 21 --yshift -86"},
        {"--third --idler --no-lic-lock --no-dynamic-sync --sync-level 0 --sync-offset 8 --lic-inset 1",
         "--resolution 160x120 --level 3 --third --idler --no-lic-lock --no-dynamic-sync --sync-offset 8 "
         "--lic-inset 1 --sync-level 0"},
        // "R+B HalfX" unticks "Half X": nothing of it is left to name.
        {"--half-x --rb-half-x", "--resolution 160x120 --level 3"},
    };
    for (const auto& [given, text] : cases) {
        const Resolved first = resolve(given);
        ASSERT_TRUE(first.choice) << given.toStdString() << ": " << first.error.toStdString();
        EXPECT_EQ(optionsText(first.choice->controls, first.choice->settings), text) << given.toStdString();
        const Resolved again = resolve(text);
        ASSERT_TRUE(again.choice) << text.toStdString() << ": " << again.error.toStdString();
        EXPECT_EQ(valuesOf(*again.choice), valuesOf(*first.choice)) << text.toStdString();
    }
}

TEST(DecodeOptions, SettingsReadFromTheRecordingApplyUnlessAnOptionIsGiven)
{
    DetectedSettings detected;
    detected.found = true;
    detected.pictureWidth = 320;
    detected.pictureHeight = 240;
    detected.halfX = true;
    detected.mono = true;
    detected.compand = true;
    const Resolved found = resolve({}, &detected);
    ASSERT_TRUE(found.choice);
    EXPECT_EQ(optionsText(found.choice->controls, found.choice->settings),
              "--resolution 320x240 --level 3 --half-x --compand --mono");
    const Resolved given = resolve("--resolution 160x120 --rb-half-x", &detected);
    ASSERT_TRUE(given.choice);
    EXPECT_EQ(optionsText(given.choice->controls, given.choice->settings),
              "--resolution 160x120 --level 3 --compand --mono");
}

TEST(DecodeOptions, ValuesTheDecoderDoesNotTakeAreNamed)
{
    const std::pair<QString, QString> cases[] = {
        {"--resolution 200x100", "unknown resolution \"200x100\""},
        {"--sync-offset 12", "--sync-offset must be 8, 16 or 32"},
        {"--lic-inset 3", "--lic-inset must be 1, 4, 5, 6, 7, 8, 9 or 10"},
        {"--sync-level 33", "--sync-level must be a number from -64 to 32"},
        {"--level 4", "--level must be 2 or 3"},
        {"--xshift 32768", "--xshift and --yshift must be numbers from -32767 to 32767"},
        {"--mode SSB", "unknown mode \"SSB\"; use FM, CB, HAM, TAPE or HIRES"},
    };
    for (const auto& [given, message] : cases) {
        const Resolved refused = resolve(given);
        EXPECT_FALSE(refused.choice) << given.toStdString();
        EXPECT_EQ(refused.error, message) << given.toStdString();
    }
}
