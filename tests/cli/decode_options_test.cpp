// The receiving options of "decode": what they resolve to, and the text that
// names controls and settings as options, read back to the same values.
#include <gtest/gtest.h>

#include <tuple>

#include "cli/decode_options.h"
#include "decoder/decode_option_table.h"

using namespace tonobild;
using namespace tonobild::cli;

namespace {

struct Resolved { std::optional<DecodeChoice> choice; QString error; };

Resolved resolve(const QString& options, const DetectedSettings* detected = nullptr)
{
    QCommandLineParser parser;
    const DecodeOptions decodeOptions;
    decodeOptions.addTo(parser);
    EXPECT_TRUE(parser.parse(QStringList{"decode"} + options.split(QLatin1Char(' '), Qt::SkipEmptyParts)))
        << parser.errorText().toStdString();
    QString error;
    return {decodeOptions.resolve(parser, detected, &error), error}; // braced: the error is read after resolve
}

// Every value a choice holds, to compare two choices at once.
auto valuesOf(const DecodeChoice& c)
{
    const auto& [k, s] = c;
    return std::tuple{k.hsync, k.useLic, k.licLock, k.dynamicSync, k.idler, k.compand, k.third, k.licInset,
                      s.pictureWidth, s.pictureHeight, s.halfX, s.normlevel, s.syncOffset, s.syncLevel, s.xshift,
                      s.yshift, s.mono};
}

} // namespace

// Each case: the options given (and the settings read from the recording), and the text that
// names what they resolve to; that text, given again without a recording, resolves alike. No
// options name nothing but size and level: every control as the window starts. Values the
// decoder does not take are refused with their reason.
TEST(DecodeOptions, NoOptionsGiveTheStartUpControlsTheTextOfResolvedOptionsReadsBackAlikeAndRefusedValuesAreNamed)
{
    const DetectedSettings detected{.found = true, .pictureWidth = 320, .pictureHeight = 240, .halfX = true,
                                    .mono = true, .compand = true, .reason = {}};
    const struct { QString given; const DetectedSettings* read; QString text; } cases[] = {
        {"", nullptr, "--resolution 160x120 --level 3"},
        {"--half-x --resolution 320x240 --compand", nullptr, "--resolution 320x240 --level 3 --half-x --compand"},
        {"--level 2 --sync-offset 32 --lic-inset 8 --resolution 640x480 --mono", nullptr,
         "--resolution 640x480 --level 2 --mono --sync-offset 32 --lic-inset 8"},
        {"--no-hsync --no-lic --xshift 21 --yshift -86", nullptr,
         "--resolution 160x120 --level 3 --no-hsync --no-lic --xshift 21 --yshift -86"},
        {"--third --idler --no-lic-lock --no-dynamic-sync --sync-level 0 --sync-offset 8 --lic-inset 1", nullptr,
         "--resolution 160x120 --level 3 --third --idler --no-lic-lock --no-dynamic-sync --sync-offset 8 "
         "--lic-inset 1 --sync-level 0"},
        // "R+B HalfX" unticks "Half X": nothing of it is left to name.
        {"--half-x --rb-half-x", nullptr, "--resolution 160x120 --level 3"},
        // What the recording says applies unless an option is given.
        {"", &detected, "--resolution 320x240 --level 3 --half-x --compand --mono"},
        {"--resolution 160x120 --rb-half-x", &detected, "--resolution 160x120 --level 3 --compand --mono"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.given.toStdString());
        const Resolved first = resolve(c.given, c.read);
        ASSERT_TRUE(first.choice) << first.error.toStdString();
        EXPECT_EQ(QString::fromStdString(decodeOptionsText(first.choice->controls, first.choice->settings)), c.text);
        const Resolved again = resolve(c.text);
        ASSERT_TRUE(again.choice) << c.text.toStdString() << ": " << again.error.toStdString();
        EXPECT_EQ(valuesOf(*again.choice), valuesOf(*first.choice)) << c.text.toStdString();
    }

    const std::pair<QString, QString> refusals[] = {
        {"--resolution 200x100", "unknown resolution \"200x100\""}, {"--level 4", "--level must be 2 or 3"},
        {"--sync-offset 12", "--sync-offset must be 8, 16 or 32"},
        {"--lic-inset 3", "--lic-inset must be 1, 4, 5, 6, 7, 8, 9 or 10"},
        {"--sync-level 33", "--sync-level must be a number from -64 to 32"},
        {"--xshift 32768", "--xshift and --yshift must be numbers from -32767 to 32767"},
        {"--mode SSB", "unknown mode \"SSB\"; use FM, CB, HAM, TAPE or HIRES"}};
    for (const auto& [given, message] : refusals) {
        const Resolved refused = resolve(given);
        EXPECT_EQ(std::pair(refused.choice.has_value(), refused.error), std::pair(false, message)) << given.toStdString();
    }
}
