// The table of standard modes against the figures of their definitions, the
// names users write for them, and the VIS parity.
#include <gtest/gtest.h>

#include <tuple>

#include "standard/mode_table.h"
#include "standard/mode_figures.h"

using namespace tonobild::standard;

TEST(ModeTable, EveryModeHasTheCodeSizeAndLinePeriodOfItsDefinition)
{
    EXPECT_EQ(modeTable().size(), std::size(tonobild::standardtest::kModeFigures));
    for (const auto& figures : tonobild::standardtest::kModeFigures) {
        const StandardMode* mode = findMode(figures.name);
        ASSERT_NE(mode, nullptr) << figures.name;
        EXPECT_EQ(std::tuple(mode->vis, mode->width, mode->height, mode->leadInSyncMs),
                  std::tuple(figures.vis, figures.width, figures.height, figures.leadInMs)) << figures.name;
        EXPECT_NEAR(mode->linePeriodMs(), figures.lineMs, 0.001) << figures.name;
        EXPECT_EQ(modeOfVis(figures.vis), mode) << figures.name;
    }
    EXPECT_EQ(modeOfVis(1), nullptr);
}

TEST(ModeTable, ModesAreFoundAsUsersWriteThemAndNothingElse)
{
    for (const auto& [written, name] :
         {std::pair{"Martin 1", "Martin 1"}, {"M1", "Martin 1"}, {"martin1", "Martin 1"}, {"pd120", "PD 120"},
          {"PD-120", "PD 120"}, {"Robot 36", "Robot 36"}, {"R36", "Robot 36"}, {"Scottie DX", "Scottie DX"},
          {"SDX", "Scottie DX"}, {"sc2 180", "Wraase SC2-180"}, {"P_7", "Pasokon P7"}, {"r12bw", "Robot 12 B/W"}}) {
        const StandardMode* mode = findMode(written);
        ASSERT_NE(mode, nullptr) << written;
        EXPECT_EQ(mode->name, name) << written;
    }
    for (const char* unknown : {"", " - ", "M9", "PD", "Martin", "Robot 36x"})
        EXPECT_EQ(findMode(unknown), nullptr) << unknown;
}

// The parity bit is 1 when the seven data bits hold an odd number of ones:
// Martin 1's 44 goes out as 0xAC with it.
TEST(ModeTable, VisParityIsEvenOverTheSevenDataBits)
{
    for (const auto& [code, parity] : {std::pair{44, 1}, {8, 1}, {12, 0}, {95, 0}, {0, 0}, {127, 1}, {113, 0}})
        EXPECT_EQ(visParity(code), parity) << code;
}

// A pixel's time from the scans of the modes' definitions: Robot's colour
// differences take half its luminance's time, PD's every scan the same.
TEST(ModeTable, APixelLastsItsScanOverTheWidthAndBrightnessLeavesColourDifferencesOut)
{
    for (const auto& [name, shortest, brightness] :
         {std::tuple{"M1", 146.432 / 320, 146.432 / 320}, {"R36", 44.0 / 320, 88.0 / 320},
          {"R72", 69.0 / 320, 138.0 / 320}, {"PD120", 121.6 / 640, 121.6 / 640}}) {
        const StandardMode& mode = *findMode(name);
        EXPECT_NEAR(mode.shortestPixelMs(), shortest, 1e-9) << name;
        EXPECT_NEAR(mode.shortestBrightnessPixelMs(), brightness, 1e-9) << name;
    }
}
