// The preparation of the working picture: its resolution chosen from the width.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "signature/preparation.h"

using namespace tonobild;

static WorkingPicture placedWhite(int width, int height)
{
    WorkingPicture picture;
    picture.place(width, height, std::vector<ColourNumber>(static_cast<std::size_t>(width * height), kWhite));
    return picture;
}

TEST(Preparation, ChoosesTheResolutionByWidthAndResizesOnlyWhenItChanges)
{
    for (const auto& [width, resolution, side] :
         {std::tuple{250, Resolution::R160x120, 250}, {251, Resolution::R320x240, 320}, {500, Resolution::R320x240, 500},
          {501, Resolution::R640x480, 640}}) {
        WorkingState state;
        state.sigscale = 1;
        Resolution selected = width == 500 ? Resolution::R320x240 : Resolution::R160x120;
        WorkingPicture picture = placedWhite(width, 12);
        p1updat(picture, state, selected, false);
        // 250 and 500 keep their size (nothing to select anew); the content stays at the top-left.
        EXPECT_EQ(std::tuple(selected, picture.width(), picture.colour(width - 1, 11), picture.colour(width - 1, 12)),
                  std::tuple(resolution, side, kWhite, side == width ? kOutside : kBlack)) << width;
    }
}
