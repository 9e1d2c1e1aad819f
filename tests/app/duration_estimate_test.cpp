#include <gtest/gtest.h>

#include "app/duration_estimate.h"

using namespace tonobild;

TEST(Timecalc, CaptionsOfEveryRateAndHalving)
{
    const struct { bool slow, cb, halfX, rbHalfX; DurationLabels expected; } rows[] = {
        {false, false, false, false, {"~26 Secs", "~89 Secs", "~341 Secs"}},
        {false, false, true, false, {"~15 Secs", "~45 Secs", "~165 Secs"}},
        {false, false, false, true, {"~19 Secs", "~61 Secs", "~229 Secs"}},
        {true, false, false, false, {"~34 Secs", "~121 Secs", "~469 Secs"}},
        {true, true, true, false, {"~15 Secs", "~57 Secs", "~225 Secs"}},
        // "R+B HalfX" wins over "Half X".
        {false, false, true, true, {"~19 Secs", "~61 Secs", "~229 Secs"}},
        // The CB leader is one second only at 8000 samples per second.
        {false, true, true, false, {"~15 Secs", "~45 Secs", "~165 Secs"}},
        {true, true, false, false, {"~30 Secs", "~117 Secs", "~465 Secs"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(timecalc(row.slow, row.cb, row.halfX, row.rbHalfX), row.expected)
            << row.slow << row.cb << row.halfX << row.rbHalfX;
}

// "HSync" is ticked and enabled with "Active Norm" only.
TEST(NrMethod, OptionCaptionsAndHSync)
{
    const struct { bool activeNorm, mono; NrMethodResult expected; } rows[] = {
        {false, false, {0, false, "160x120 (~12 Seconds)", "320x240 (~48 Seconds)", "640x480 (~3 Minutes)"}},
        {false, true, {0, false, "160x120 (~5 Seconds)", "320x240 (~20 Seconds)", "640x480 (~1 Minutes)"}},
        {true, false, {1, true, "160x120 (~23 Seconds)", "320x240 (~92 Seconds)", "640x480 (~6 Minutes)"}},
        {true, true, {1, true, "160x120 (~9 Seconds)", "320x240 (~36 Seconds)", "640x480 (~2 Minutes)"}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(nrMethodCaptions(row.activeNorm, row.mono), row.expected) << row.activeNorm << row.mono;
}
