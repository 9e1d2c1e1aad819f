#include <gtest/gtest.h>

#include "settings/preset_controls.h"

namespace tonobild {
namespace {

TEST(PresetControls, SelectingAnOptionDeselectsOnlyItsOwnGroup)
{
    PresetControls window;
    window.setOption(20, true);
    EXPECT_TRUE(window.selected(20));
    EXPECT_FALSE(window.selected(24));
    EXPECT_TRUE(window.selected(1));
    EXPECT_TRUE(window.selected(14));

    window.setOption(20, false);
    for (int option = 17; option <= 24; ++option)
        EXPECT_FALSE(window.selected(option)) << "Option" << option;
}

TEST(PresetControls, NrMethodAndTimeReductionChoicesSetHSync)
{
    PresetControls window;
    window.setOption(4, true); // "None"
    EXPECT_FALSE(window.selected(5));
    EXPECT_EQ(window.checkState(1), 0);

    window.setCheck(1, 1);
    window.setOption(9, true); // "Mono Image" runs the "None" rule again
    EXPECT_EQ(window.checkState(1), 0);

    window.setOption(5, true); // "Active Norm"
    EXPECT_EQ(window.checkState(1), 1);

    window.setCheck(1, 0);
    window.setOption(5, true); // already selected: no reaction
    EXPECT_EQ(window.checkState(1), 0);
}

TEST(PresetControls, EmptyAudioFileNameBecomesTheDefaultName)
{
    PresetControls window;
    window.setText(PresetText::AudioFile, "");
    window.setText(PresetText::OutputPicture, "");
    EXPECT_EQ(window.text(PresetText::AudioFile), defaultAudioFile());
    EXPECT_EQ(window.text(PresetText::OutputPicture), "");
}

} // namespace
} // namespace tonobild
