// Reading a recording between its samples: the band-limited kernel's weights,
// seen as the readings around a single impulse.
#include <gtest/gtest.h>

#include <vector>

#include "frontend/interpolator.h"

using namespace tonobild;

// An impulse of 1 at sample 20 of 40 read at t gives the kernel's weight for
// the distance 20 - t. Expected: the Lanczos kernel of half width 8,
// L(x) = 8 sin(pi x) sin(pi x / 8) / (pi^2 x^2), at the 16 distances of a
// phase f (from -7 - f to 8 - f), each divided by their sum (1.0003088 at
// f = 1/2, 1.0000001 at f = 255/256) and rounded to a float; worked out
// apart from the station's code.
TEST(Interpolator, ReadsAroundAnImpulseGiveTheScaledLanczosWeightsOfTheirPhase)
{
    std::vector<float> recording(40, 0.0F);
    recording[20] = 1.0F;
    const Interpolator interpolator;
    const struct { double t; double weight; } readings[] = {
        // Halfway between samples (phase 128).
        {20.5, 0.6323417}, {19.5, 0.6323417}, {17.5, 0.1078009}, {21.5, -0.2000841}, {13.5, 0.0106554},
        {12.5, -0.0028104}, {27.5, -0.0028104},
        // The last phase, 255/256 past a sample.
        {19 + 255.0 / 256, 0.9999744}, {20 + 255.0 / 256, 0.0038222}, {21 + 255.0 / 256, -0.0017626},
        {12 + 255.0 / 256, -0.0000773},
        // On a sample the impulse is read as it is.
        {20, 1.0}, {21, 0.0}};
    for (const auto& r : readings)
        EXPECT_NEAR(interpolator.valueAt(recording, r.t), r.weight, 2e-7) << "at " << r.t;
    // Within half the kernel of either end the straight line is read: the impulse at 5, a quarter of the
    // way from 0 to 1. From sample 8 on the kernel is read: the impulse at 15 read at 8.5 (a distance of 6.5).
    EXPECT_DOUBLE_EQ(interpolator.valueAt(std::vector<float>(recording.begin() + 15, recording.end()), 4.25), 0.25);
    EXPECT_NEAR(interpolator.valueAt(std::vector<float>(recording.begin() + 5, recording.end()), 8.5), 0.0106554, 2e-7);
}
