#include <gtest/gtest.h>

#include "picture/preparation.h"

using namespace tonobild;

namespace {

WorkingPicture placedWhite(int width, int height)
{
    WorkingPicture picture;
    picture.place(width, height, std::vector<ColourNumber>(static_cast<std::size_t>(width * height), kWhite));
    return picture;
}

} // namespace

TEST(Preparation, ChoosesTheResolutionByWidthAndResizesOnlyWhenItChanges)
{
    for (const auto& [width, resolution, side] : {std::tuple{250, Resolution::R160x120, 250},
                                                  std::tuple{251, Resolution::R320x240, 320},
                                                  std::tuple{500, Resolution::R320x240, 500},
                                                  std::tuple{501, Resolution::R640x480, 640}}) {
        WorkingState state;
        state.sigscale = 1;
        Resolution selected = width == 500 ? Resolution::R320x240 : Resolution::R160x120;
        WorkingPicture picture = placedWhite(width, 12);
        p1updat(picture, state, selected, false);
        EXPECT_EQ(selected, resolution) << width;
        EXPECT_EQ(picture.width(), side) << width; // 250 and 500 keep their size: nothing to select anew
        EXPECT_EQ(picture.colour(width - 1, 11), kWhite) << width; // the content stays at the top-left
        EXPECT_EQ(picture.colour(width - 1, 12), side == width ? kOutside : kBlack) << width;
    }
}

TEST(Preparation, RunningTwiceStampsOnce)
{
    WorkingState state;
    state.sigscale = 1;
    state.signature = " AKLM456";
    Resolution selected = Resolution::R160x120;
    WorkingPicture picture = placedWhite(160, 120);
    const std::string caption = p1updat(picture, state, selected, false);
    EXPECT_EQ(caption, "Class of transmitter: Amateur\r\nIdentification: KLM456");
    const WorkingPicture once = picture;

    state.signature = " AOTHER";
    EXPECT_EQ(p1updat(picture, state, selected, false), caption);
    EXPECT_EQ(picture, once);
}

TEST(PreviewClick, MapsThePreviewPositionOnThePictureWithTheUnroundedScaleForWidePictures)
{
    for (const auto& [x, y, width, expected] : {std::tuple{100, 50, 160, PicturePosition{50, 25}},
                                                std::tuple{101, 51, 160, PicturePosition{50, 25}},
                                                std::tuple{100, 50, 200, PicturePosition{100, 50}},
                                                std::tuple{100, 50, 400, PicturePosition{125, 62}},
                                                std::tuple{319, 239, 640, PicturePosition{638, 478}}})
        EXPECT_EQ(previewClickPosition(x, y, kPreviewWidth, width), expected) << x << "," << y << " on " << width;
}
